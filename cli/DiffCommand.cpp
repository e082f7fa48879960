#include "Commands.h"

#include "BlockTexts.h"
#include "EditList.h"
#include "PatchedMap.h"

#include "model/BlockLayout.h"
#include "model/MapGeometry.h"
#include "model/TerrainRaster.h"
#include "model/TerrainTable.h"
#include "platform/ReadOnlyFiles.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <span>
#include <string>
#include <vector>

namespace quarnet::cli {

namespace {

namespace g = geometry;

constexpr std::int64_t recordsSpan = std::int64_t {g::blockCount} * g::recordSize;

struct Differences {
    std::vector<std::int32_t> blocks;   // whose code byte differs, in block order
    std::vector<std::uint8_t> oldCodes; // their codes, one for each
    std::vector<std::uint8_t> newCodes;
    std::int64_t header = 0;            // bytes before block 1's record
    std::int64_t records = 0;           // the records' other bytes
    std::int64_t afterRecords = 0;
    std::int64_t pastShorterEnd = 0;    // when the lengths differ
};

// The blocks whose codes differ, among the first `blocks`, whose code bytes
// both files hold. A band of rows at a time, so the memory stays small and
// warm. False when reading fails.
bool compareCodes(platform::Files& files, platform::FileNumber oldMap, platform::FileNumber newMap,
                  std::int64_t baseOffset, std::int32_t blocks, Differences& found)
{
    constexpr int bandRows = 16;
    for (int firstRow = 0; firstRow < g::rows; firstRow += bandRows) {
        const int rows = std::min(bandRows, g::rows - firstRow);
        const auto oldCodes = terrain::readBlockCodes(files, oldMap, baseOffset, 0, firstRow, g::columns, rows);
        const auto newCodes = terrain::readBlockCodes(files, newMap, baseOffset, 0, firstRow, g::columns, rows);
        if (!oldCodes || !newCodes)
            return false;
        const std::int32_t firstBlock = blocks::blockNumber(firstRow + 1, 1);
        const auto count = static_cast<std::size_t>(std::clamp(blocks - firstBlock + 1, 0, rows * g::columns));
        for (std::size_t i = 0; i < count; ++i) {
            if ((*oldCodes)[i] == (*newCodes)[i])
                continue;
            found.blocks.push_back(firstBlock + static_cast<std::int32_t>(i));
            found.oldCodes.push_back((*oldCodes)[i]);
            found.newCodes.push_back((*newCodes)[i]);
        }
    }
    return true;
}

// Writes the text out once it holds this much, and starts it again: a diff
// of the whole map is megabytes.
void writeOutWhenFull(std::string& text, std::ostream& out)
{
    constexpr std::size_t full = 16 * 1024;
    if (text.size() < full)
        return;
    out << text;
    text.clear();
}

// Counts the bytes other than code bytes that differ, as far as the shorter
// file goes, reading both a chunk at a time. False when reading fails.
bool countOtherBytes(platform::Files& files, platform::FileNumber oldMap, platform::FileNumber newMap,
                     std::int64_t baseOffset, Differences& found)
{
    const std::int64_t recordsEnd = baseOffset > std::numeric_limits<std::int64_t>::max() - recordsSpan
                                        ? std::numeric_limits<std::int64_t>::max()
                                        : baseOffset + recordsSpan;
    const auto classify = [&](std::int64_t offset) {
        if (offset < baseOffset)
            ++found.header;
        else if (offset >= recordsEnd)
            ++found.afterRecords;
        else if ((offset - baseOffset) % g::recordSize != 0)
            ++found.records;
    };
    constexpr std::size_t chunk = 64 * 1024;
    std::vector<std::uint8_t> oldBytes(chunk);
    std::vector<std::uint8_t> newBytes(chunk);
    for (std::int64_t position = 0;; position += static_cast<std::int64_t>(chunk)) {
        const std::int64_t oldGot = files.readBytes(oldMap, position, oldBytes);
        const std::int64_t newGot = files.readBytes(newMap, position, newBytes);
        if (oldGot < 0 || newGot < 0)
            return false;
        const auto common = static_cast<std::size_t>(std::min(oldGot, newGot));
        // Eight bytes at a time first: even 10,000 changed blocks leave most
        // runs of eight equal.
        std::size_t i = 0;
        for (; i + 8 <= common; i += 8) {
            if (std::memcmp(oldBytes.data() + i, newBytes.data() + i, 8) == 0)
                continue;
            for (std::size_t j = i; j < i + 8; ++j) {
                if (oldBytes[j] != newBytes[j])
                    classify(position + static_cast<std::int64_t>(j));
            }
        }
        for (; i < common; ++i) {
            if (oldBytes[i] != newBytes[i])
                classify(position + static_cast<std::int64_t>(i));
        }
        if (common < chunk)
            return true;
    }
}

std::string otherBytesText(const Differences& found, std::int64_t oldLength, std::int64_t newLength)
{
    std::string text = "other bytes that differ: " + std::to_string(found.header) + " in the header, "
                       + std::to_string(found.records) + " in the records, " + std::to_string(found.afterRecords)
                       + " after the records";
    if (found.pastShorterEnd != 0) {
        text += "; OLD has " + std::to_string(oldLength) + " bytes and NEW " + std::to_string(newLength) + ", so "
                + std::to_string(found.pastShorterEnd) + " lie past the shorter one's end";
    }
    return text;
}

} // namespace

int runDiff(const CommandContext& context)
{
    const std::string& oldPath = context.line.operands[0];
    const std::string& newPath = context.line.operands[1];
    platform::ReadOnlyFiles mapFiles;
    platform::MemoryFiles patchedFiles;
    // A patch as NEW: OLD and OLD with the patch applied, compared alike.
    const bool newIsPatch = isPatchFile(newPath);
    platform::Files& files = newIsPatch ? static_cast<platform::Files&>(patchedFiles) : mapFiles;
    if (newIsPatch) {
        if (const std::string failure = loadPatchedMap(oldPath, newPath, patchedFiles); !failure.empty())
            return context.fail(failure);
    }
    const platform::FileNumber oldMap = newIsPatch ? 1 : mapFiles.open(oldPath);
    if (oldMap == 0)
        return context.fail("can't read OLD " + oldPath + ": " + mapFiles.openFailure());
    const platform::FileNumber newMap = newIsPatch ? 2 : mapFiles.open(newPath);
    if (newMap == 0)
        return context.fail("can't read NEW " + newPath + ": " + mapFiles.openFailure());
    const std::int64_t oldLength = files.length(oldMap);
    const std::int64_t newLength = files.length(newMap);
    Differences found;
    if (oldLength < 0 || newLength < 0
        || !compareCodes(files, oldMap, newMap, context.baseOffset,
                         blocks::blocksInFile(context.baseOffset, std::min(oldLength, newLength)), found)
        || !countOtherBytes(files, oldMap, newMap, context.baseOffset, found))
        return context.fail("reading OLD or NEW failed");
    found.pastShorterEnd = oldLength > newLength ? oldLength - newLength : newLength - oldLength;
    const bool othersDiffer = found.header + found.records + found.afterRecords + found.pastShorterEnd != 0;

    std::string text;
    if (context.line.flag("--csv")) {
        text += editListHeader;
        text += '\n';
        for (std::size_t i = 0; i < found.blocks.size(); ++i) {
            text += std::to_string(found.blocks[i]);
            text += ',';
            text += terrain::formatCode(found.newCodes[i]);
            text += '\n';
            writeOutWhenFull(text, context.out);
        }
        context.out << text;
        if (othersDiffer) {
            context.err << "quarnet-terrain diff: the edit list holds terrain codes only; "
                        << otherBytesText(found, oldLength, newLength) << '\n';
        }
    } else {
        std::array<std::string, 256> codeTexts;
        for (int code = 0; code < 256; ++code)
            codeTexts[static_cast<std::size_t>(code)] = codeWithNameText(code);
        for (std::size_t i = 0; i < found.blocks.size(); ++i) {
            appendBlockPlace(text, found.blocks[i]);
            text += ": ";
            text += codeTexts[found.oldCodes[i]];
            text += " -> ";
            text += codeTexts[found.newCodes[i]];
            text += '\n';
            writeOutWhenFull(text, context.out);
        }
        if (found.blocks.empty())
            text += "The terrain is the same; ";
        else
            text += std::to_string(found.blocks.size()) + (found.blocks.size() == 1 ? " block differs" : " blocks differ")
                    + " in terrain; ";
        text += otherBytesText(found, oldLength, newLength) + "\n";
        context.out << text;
    }
    return found.blocks.empty() && found.pastShorterEnd == 0 ? exitSuccess : exitDifferent;
}

} // namespace quarnet::cli
