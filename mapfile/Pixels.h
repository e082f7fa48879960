#pragma once

#include <cstdint>
#include <vector>

namespace quarnet {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Pixels computed from the map, row by row from the top-left corner.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels; // width * height
};

} // namespace quarnet
