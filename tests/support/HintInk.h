#pragma once

// Finding the first-minute hint's lines on a canvas, for the tests of both
// windows.

#include <algorithm>
#include <utility>
#include <vector>

namespace quarnet::testing {

// The hint's light grey, as antialiasing leaves it: bright and grey, which
// neither the empty canvas nor the test picture nor deep sea is.
inline bool isHintInk(int red, int green, int blue)
{
    const int low = std::min({red, green, blue});
    const int high = std::max({red, green, blue});
    return low >= 110 && high - low < 24;
}

// The rows that hold hint ink, as bands of consecutive rows (first, last);
// inkAt(x, y) tells whether a pixel is ink.
template <typename InkAt>
std::vector<std::pair<int, int>> inkBands(int width, int height, InkAt inkAt)
{
    std::vector<std::pair<int, int>> bands;
    for (int y = 0; y < height; ++y) {
        bool ink = false;
        for (int x = 0; x < width && !ink; ++x)
            ink = inkAt(x, y);
        if (!ink)
            continue;
        if (!bands.empty() && bands.back().second == y - 1)
            bands.back().second = y;
        else
            bands.emplace_back(y, y);
    }
    return bands;
}

} // namespace quarnet::testing
