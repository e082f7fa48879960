#include "Commands.h"

#include "EditList.h"
#include "MapLayout.h"
#include "WholeFiles.h"

#include "model/MapGeometry.h"
#include "model/TerrainTable.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <limits>
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

// Compares two open files a chunk at a time, as far as the shorter one goes.
// False when reading fails.
bool compare(std::istream& oldIn, std::istream& newIn, std::int64_t baseOffset, Differences& found)
{
    const std::int64_t recordsEnd = baseOffset > std::numeric_limits<std::int64_t>::max() - recordsSpan
                                        ? std::numeric_limits<std::int64_t>::max()
                                        : baseOffset + recordsSpan;
    constexpr std::size_t chunk = 64 * 1024;
    std::vector<char> oldBytes(chunk);
    std::vector<char> newBytes(chunk);
    const auto classify = [&](std::int64_t offset, char oldByte, char newByte) {
        if (offset < baseOffset) {
            ++found.header;
        } else if (offset >= recordsEnd) {
            ++found.afterRecords;
        } else if ((offset - baseOffset) % g::recordSize != 0) {
            ++found.records;
        } else {
            found.blocks.push_back(static_cast<std::int32_t>((offset - baseOffset) / g::recordSize + 1));
            found.oldCodes.push_back(static_cast<std::uint8_t>(oldByte));
            found.newCodes.push_back(static_cast<std::uint8_t>(newByte));
        }
    };
    for (std::int64_t position = 0;; position += static_cast<std::int64_t>(chunk)) {
        oldIn.read(oldBytes.data(), chunk);
        newIn.read(newBytes.data(), chunk);
        if (oldIn.bad() || newIn.bad())
            return false;
        const auto common = static_cast<std::size_t>(std::min(oldIn.gcount(), newIn.gcount()));
        // Eight bytes at a time first: even 10,000 changed blocks leave most
        // runs of eight equal.
        std::size_t i = 0;
        for (; i + 8 <= common; i += 8) {
            std::uint64_t oldRun = 0;
            std::uint64_t newRun = 0;
            std::memcpy(&oldRun, oldBytes.data() + i, 8);
            std::memcpy(&newRun, newBytes.data() + i, 8);
            if (oldRun == newRun)
                continue;
            for (std::size_t j = i; j < i + 8; ++j) {
                if (oldBytes[j] != newBytes[j])
                    classify(position + static_cast<std::int64_t>(j), oldBytes[j], newBytes[j]);
            }
        }
        for (; i < common; ++i) {
            if (oldBytes[i] != newBytes[i])
                classify(position + static_cast<std::int64_t>(i), oldBytes[i], newBytes[i]);
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
    std::ifstream oldIn;
    std::ifstream newIn;
    std::string reason;
    std::int64_t oldLength = 0;
    std::int64_t newLength = 0;
    if (!openForReading(oldPath, oldIn, oldLength, reason))
        return context.fail("can't read OLD " + oldPath + ": " + reason);
    if (!openForReading(newPath, newIn, newLength, reason))
        return context.fail("can't read NEW " + newPath + ": " + reason);

    Differences found;
    if (!compare(oldIn, newIn, context.baseOffset, found))
        return context.fail("reading OLD or NEW failed");
    found.pastShorterEnd = oldLength > newLength ? oldLength - newLength : newLength - oldLength;
    const bool othersDiffer = found.header + found.records + found.afterRecords + found.pastShorterEnd != 0;

    std::string text;
    text.reserve(found.blocks.size() * 100 + 200);
    if (context.line.csv) {
        text += editListHeader;
        text += '\n';
        for (std::size_t i = 0; i < found.blocks.size(); ++i) {
            text += std::to_string(found.blocks[i]);
            text += ',';
            text += terrain::formatCode(found.newCodes[i]);
            text += '\n';
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
