#pragma once

#include "mapfile/Pixels.h"

#include <string>
#include <string_view>
#include <vector>

// What the empty map canvas tells a new user while no map is open and no
// picture is shown: how to open a map and where the demo map lies.
namespace quarnet::startHint {

// Light grey on the empty canvas's dark grey.
inline constexpr Rgb colour {200, 200, 200};

// The first line says what to do; a second one, with a demo map, where it is.
std::vector<std::string> lines(std::string_view demoMapPath);

} // namespace quarnet::startHint
