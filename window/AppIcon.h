#pragma once

#include <QIcon>

namespace quarnet::window {

// The program's icon at 48, 32 and 16 pixels: a tile of the map with its
// block grid and a marked block.
QIcon appIcon();

} // namespace quarnet::window
