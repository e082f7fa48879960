#pragma once

// A picture of how a map changed: the new terrain, its changed blocks
// standing out from the rest.

#include "Pixels.h"

#include <cstdint>
#include <span>

namespace quarnet::terrain {

// Unchanged blocks are drawn dimmed toward the background.
Rgb dimmed(Rgb colour);

// The outline's colour at a picture pixel: black and white in turns, two
// pixels each along a line, so that it shows on every terrain colour.
Rgb outlineColour(int x, int y);

// The new codes (block order, columns x rows) as squares of pixelsPerBlock
// pixels: blocks in `changed` (block numbers, 1-based) in full colour, the
// others dimmed. From two pixels a block on, each area of changed blocks is
// outlined on the unchanged pixels that touch it, sides and corners.
RgbImage drawChanges(std::span<const std::uint8_t> newCodes, std::span<const std::int32_t> changed, int columns,
                     int rows, int pixelsPerBlock);

} // namespace quarnet::terrain
