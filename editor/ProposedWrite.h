#pragma once

#include "mapfile/SafeWrite.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarnet {

// How much a box lists before it counts the rest: the pairs of terrain
// names a write changes, and the reasons a file is refused.
inline constexpr std::size_t namePairsListed = 12;
inline constexpr std::size_t reasonsListed = 5;

// An import or a patch read and checked, waiting for the user's Yes: the
// whole map as it was read, and the bytes it changes.
struct ProposedWrite {
    std::string title;  // "导入地形图 terrain.png": what the boxes and the history name it by
    std::string action; // "导入", "应用补丁": the verb of its messages
    std::vector<std::uint8_t> original;
    std::vector<edits::ByteChange> changes;   // in offset order
    std::optional<std::uint32_t> expectedCrc; // of the whole file once written (a BPS patch's)
    std::string summary; // what changes, the question's first lines
};

} // namespace quarnet
