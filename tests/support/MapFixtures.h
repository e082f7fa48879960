#pragma once

// Map files shared by the window suites of both front ends: a patterned map
// whose blocks show their colours, and what an edit changed in a file.

#include "TempDir.h"
#include "mapfile/MapGeometry.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

namespace quarnet::testing {

// Block (column, row), 1-based, holds 1 + (column + 3 x row) % 34: every
// neighbour differs and every named code appears on each page.
inline std::uint8_t patternedCode(int column, int row)
{
    return static_cast<std::uint8_t>(1 + (column + 3 * row) % 34);
}

inline std::vector<std::uint8_t> patternedMap()
{
    return mapFileBytes([](std::size_t block) {
        const int index = static_cast<int>(block) - 1;
        return patternedCode(index % geometry::columns + 1, index / geometry::columns + 1);
    });
}

// The offset of a block's code byte in a map from mapFileBytes with its
// 68-byte header.
constexpr std::size_t codeOffset(std::size_t block)
{
    return 68 + (block - 1) * 8;
}

// Changed bytes by offset, as changedBytes gives them.
using ByteChanges = std::map<std::size_t, std::uint8_t>;

// Every byte of now that differs from original, by offset; a changed length
// shows as an entry at SIZE_MAX.
inline std::map<std::size_t, std::uint8_t> changedBytes(const std::vector<std::uint8_t>& original,
                                                         const std::vector<std::uint8_t>& now)
{
    std::map<std::size_t, std::uint8_t> changed;
    if (now.size() != original.size())
        changed[SIZE_MAX] = 0;
    for (std::size_t i = 0; i < std::min(now.size(), original.size()); ++i)
        if (now[i] != original[i])
            changed[i] = now[i];
    return changed;
}

} // namespace quarnet::testing
