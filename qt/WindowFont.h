#pragma once

#include <QFont>

namespace quarnet::qt {

// The font the window's fixed layout was drawn for: a Song-style CJK face
// 12 pixels high whose lines are 12 pixels apart (the help text's 19 lines
// take 228 of its label's 230 pixels). A pixel size, not a point size, so
// that the text keeps its size against the control sizes, which are pixels
// too. Without that face installed, the platform's default font.
QFont windowFont();

} // namespace quarnet::qt
