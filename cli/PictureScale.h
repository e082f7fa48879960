#pragma once

// The --scale option of the commands that draw the map: pixels a block.

#include "CommandContext.h"

#include "mapfile/TerrainPicture.h"

#include <optional>

namespace quarnet::cli {

// --scale N, 1 to 8, or the default; nothing, after printing the error, when
// N is no such number.
std::optional<int> pictureScale(const CommandContext& context);

} // namespace quarnet::cli
