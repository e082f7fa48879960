#pragma once

#include "Change.h"

#include <cstddef>
#include <string>

namespace quarnet {

// How much a box lists before it counts the rest: the pairs of terrain
// names a write changes, and the reasons a file is refused.
inline constexpr std::size_t namePairsListed = 12;
inline constexpr std::size_t reasonsListed = 5;

// An import or a patch read and checked, waiting for the user's Yes: the
// change, with the whole map as it was read, and what the question says of it.
struct ProposedWrite {
    Change change;
    std::string summary; // what changes, the question's first lines
};

} // namespace quarnet
