#include "PatchedMap.h"

#include "BlockLayout.h"

namespace quarnet::patches {

texts::Message changeSummary(const ChangeCounts& counts)
{
    if (counts.others() == 0)
        return texts::message(texts::Text::changeSummary, counts.blocks, 0);
    return texts::message(texts::Text::changeSummaryWhere, counts.blocks, counts.others(), counts.header, counts.records,
                          counts.afterRecords);
}

PatchedMap patchMap(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> map, std::int64_t baseOffset)
{
    PatchedMap result;
    result.format = patchFormatOf(patch);
    PatchedBytes patched = applyPatch(patch, map);
    if (patched.refusal) {
        result.refusal = std::move(patched.refusal);
        return result;
    }
    // The formats' readers keep the length; a patch is refused otherwise
    // rather than trusted.
    if (patched.target.size() != map.size()) {
        result.refusal = texts::message(texts::Text::patchChangesLength);
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
