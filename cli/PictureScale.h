#pragma once

// The --scale option of the commands that draw the map: pixels a block.

#include "Commands.h"

#include "mapfile/MapGeometry.h"

#include <optional>

namespace quarnet::cli {

// The terrain view's own scale: the window's map picture, 2184 x 1548.
inline constexpr int defaultPictureScale = geometry::pictureBlockSize;
inline constexpr int largestPictureScale = 8;

// --scale N, 1 to 8, or the default; nothing, after printing the error, when
// N is no such number.
std::optional<int> pictureScale(const CommandContext& context);

} // namespace quarnet::cli
