#pragma once

#include "ProgramState.h"

namespace quarnet::terrain {

// The canvas's own background: what a canvas shows where nothing was drawn,
// and the colour of code 0 and of blocks past the file's end. Dark, so that
// it never reads as snow.
inline constexpr Rgb canvasBackground {48, 48, 48};

// The colour in which a terrain code is drawn: one colour for each terrain
// name, a neutral grey for codes without a name, the background for code 0.
Rgb colour(int code);

} // namespace quarnet::terrain
