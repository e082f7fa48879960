#pragma once

// A map's bytes with a patch applied in memory, with every check apply makes
// before a byte is written, and what the patch changes counted by where it
// lies in the file: what apply writes, diff compares and the window imports.

#include "PatchFormat.h"
#include "SafeWrite.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quarnet::patches {

// What a patch changes, counted so that one made for another file shows
// itself as a wall of changes outside the terrain codes.
struct ChangeCounts {
    std::int64_t blocks = 0;       // terrain code bytes
    std::int64_t header = 0;       // bytes before block 1's record
    std::int64_t records = 0;      // the records' other bytes
    std::int64_t afterRecords = 0;

    std::int64_t others() const { return header + records + afterRecords; }
};

// "3 terrain blocks and 0 other bytes", with where the other bytes lie when
// there are any.
texts::Message changeSummary(const ChangeCounts& counts);

struct PatchedMap {
    PatchFormat format = PatchFormat::none;
    std::vector<std::uint8_t> target;         // the map with the patch applied
    std::vector<edits::ByteChange> changes;   // the bytes that differ from the map, in file order
    ChangeCounts counts;
    std::optional<std::uint32_t> targetCrc;   // what the patch promises for the target (BPS)
    std::optional<texts::Message> refusal;    // why the patch can't be applied; none when it can
};

// Applies an IPS or BPS patch to the map's bytes, whose block 1 starts at
// baseOffset. Refuses what applyPatch refuses: a damaged patch, a BPS patch
// made for another file, and any patch that would change the map's length.
PatchedMap patchMap(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> map, std::int64_t baseOffset);

} // namespace quarnet::patches
