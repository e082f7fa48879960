#include "PatchedMap.h"

#include "BlockLayout.h"

namespace quarnet::patches {

namespace {

std::string countText(std::int64_t count, std::string_view one, std::string_view many)
{
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

} // namespace

std::string changeSummary(const ChangeCounts& counts)
{
    std::string text = countText(counts.blocks, "terrain block", "terrain blocks") + " and "
                       + countText(counts.others(), "other byte", "other bytes");
    if (counts.others() != 0)
        text += " (" + std::to_string(counts.header) + " in the header, " + std::to_string(counts.records)
                + " in the records, " + std::to_string(counts.afterRecords) + " after the records)";
    return text;
}

PatchedMap patchMap(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> map, std::int64_t baseOffset)
{
    PatchedMap result;
    result.format = patchFormatOf(patch);
    PatchedBytes patched = applyPatch(patch, map);
    if (!patched.refusal.empty()) {
        result.refusal = std::move(patched.refusal);
        return result;
    }
    // The formats' readers keep the length; a patch is refused otherwise
    // rather than trusted.
    if (patched.target.size() != map.size()) {
        result.refusal = "the patch would change the file's length";
        return result;
    }
    for (std::size_t i = 0; i < map.size(); ++i) {
        if (patched.target[i] == map[i])
            continue;
        const auto offset = static_cast<std::int64_t>(i);
        result.changes.push_back({offset, patched.target[i]});
        switch (blocks::regionOf(baseOffset, offset)) {
        case blocks::FileRegion::header:
            ++result.counts.header;
            break;
        case blocks::FileRegion::codeByte:
            ++result.counts.blocks;
            break;
        case blocks::FileRegion::recordRest:
            ++result.counts.records;
            break;
        case blocks::FileRegion::afterRecords:
            ++result.counts.afterRecords;
            break;
        }
    }
    result.target = std::move(patched.target);
    result.targetCrc = patched.targetCrc;
    return result;
}

} // namespace quarnet::patches
