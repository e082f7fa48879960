#pragma once

#include "Pixels.h"

#include <span>
#include <string_view>

namespace quarnet::terrain {

// The canvas's own background: what a canvas shows where nothing was drawn,
// and the colour of code 0 and of blocks past the file's end. Dark, so that
// it never reads as snow.
inline constexpr Rgb canvasBackground {48, 48, 48};

// The colour of codes that have no name (35 to 255).
inline constexpr Rgb unnamedGrey {128, 128, 128};

inline constexpr std::size_t nameCount = 17;

struct NameColour {
    std::string_view name;
    Rgb colour;
};

// The colour of each terrain name, in the order the names first appear in
// the legend; no two alike, and none is the grey or the background.
std::span<const NameColour> nameColours();

// The colour in which a terrain code is drawn: one colour for each terrain
// name, a neutral grey for codes without a name, the background for code 0.
Rgb colour(int code);

} // namespace quarnet::terrain
