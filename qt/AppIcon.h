#pragma once

#include <QIcon>
#include <QImage>

namespace quarnet::qt {

// The program's artwork: a tile of the map with its block grid and a marked
// block, drawn at any size.
QImage drawAppIcon(int size);

// The program's icon at 48, 32 and 16 pixels.
QIcon appIcon();

} // namespace quarnet::qt
