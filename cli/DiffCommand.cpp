#include "Commands.h"

#include "EditList.h"
#include "MapLayout.h"
#include "ReadOnlyFiles.h"

#include "model/MapGeometry.h"
#include "model/TerrainTable.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <span>
#include <string>
#include <vector>

namespace quarnet::cli {

namespace {

namespace g = geometry;

struct Differences {
    std::vector<std::int32_t> blocks; // whose code byte differs, in block order
    std::int64_t header = 0;          // bytes before block 1's record
    std::int64_t records = 0;         // the records' other bytes
    std::int64_t afterRecords = 0;
    std::int64_t pastShorterEnd = 0;  // when the lengths differ
};

Differences compare(std::span<const std::uint8_t> oldBytes, std::span<const std::uint8_t> newBytes,
                    std::int64_t baseOffset)
{
    Differences found;
    const std::size_t common = std::min(oldBytes.size(), newBytes.size());
    found.pastShorterEnd = static_cast<std::int64_t>(std::max(oldBytes.size(), newBytes.size()) - common);
    const std::int64_t recordsEnd = baseOffset > std::numeric_limits<std::int64_t>::max() - std::int64_t {g::blockCount} * g::recordSize
                                        ? std::numeric_limits<std::int64_t>::max()
                                        : baseOffset + std::int64_t {g::blockCount} * g::recordSize;
    // Whole chunks are compared first: most of two versions of a map is equal.
    constexpr std::size_t chunk = 256;
    for (std::size_t start = 0; start < common; start += chunk) {
        const std::size_t size = std::min(chunk, common - start);
        if (std::memcmp(oldBytes.data() + start, newBytes.data() + start, size) == 0)
            continue;
        for (std::size_t i = start; i < start + size; ++i) {
            if (oldBytes[i] == newBytes[i])
                continue;
            const auto offset = static_cast<std::int64_t>(i);
            if (offset < baseOffset)
                ++found.header;
            else if (offset >= recordsEnd)
                ++found.afterRecords;
            else if ((offset - baseOffset) % g::recordSize != 0)
                ++found.records;
            else
                found.blocks.push_back(static_cast<std::int32_t>((offset - baseOffset) / g::recordSize + 1));
        }
    }
    return found;
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
    ReadOnlyFiles files;
    const platform::FileNumber oldFile = files.open(oldPath);
    if (oldFile == 0)
        return context.fail("can't read OLD " + oldPath + ": " + files.openFailure());
    const platform::FileNumber newFile = files.open(newPath);
    if (newFile == 0)
        return context.fail("can't read NEW " + newPath + ": " + files.openFailure());
    const std::span<const std::uint8_t> oldBytes = files.bytes(oldFile);
    const std::span<const std::uint8_t> newBytes = files.bytes(newFile);

    const Differences found = compare(oldBytes, newBytes, context.baseOffset);
    const auto oldLength = static_cast<std::int64_t>(oldBytes.size());
    const auto newLength = static_cast<std::int64_t>(newBytes.size());
    const bool othersDiffer = found.header + found.records + found.afterRecords + found.pastShorterEnd != 0;

    std::string text;
    text.reserve(found.blocks.size() * 80 + 200);
    if (context.line.csv) {
        text += editListHeader;
        text += '\n';
        for (const std::int32_t block : found.blocks) {
            text += std::to_string(block);
            text += ',';
            text += terrain::formatCode(newBytes[static_cast<std::size_t>(codeOffset(context.baseOffset, block))]);
            text += '\n';
        }
        context.out << text;
        if (othersDiffer) {
            context.err << "quarnet-terrain diff: the edit list holds terrain codes only; "
                        << otherBytesText(found, oldLength, newLength) << '\n';
        }
    } else {
        for (const std::int32_t block : found.blocks) {
            const auto offset = static_cast<std::size_t>(codeOffset(context.baseOffset, block));
            text += blockPlaceText(block);
            text += ": ";
            text += codeWithNameText(oldBytes[offset]);
            text += " -> ";
            text += codeWithNameText(newBytes[offset]);
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
