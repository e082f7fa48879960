#include "ChangePicture.h"

#include "TerrainPalette.h"
#include "TerrainRaster.h"

#include <algorithm>
#include <array>
#include <vector>

namespace quarnet::terrain {

namespace {

constexpr Rgb black {0, 0, 0};
constexpr Rgb white {255, 255, 255};

// Three fifths of the way to the background: still readable, plainly not
// the change.
std::uint8_t dimmedPart(std::uint8_t part, std::uint8_t toward)
{
    return static_cast<std::uint8_t>((2 * int {part} + 3 * int {toward} + 2) / 5);
}

} // namespace

Rgb dimmed(Rgb colour)
{
    return {dimmedPart(colour.red, canvasBackground.red), dimmedPart(colour.green, canvasBackground.green),
            dimmedPart(colour.blue, canvasBackground.blue)};
}

Rgb outlineColour(int x, int y)
{
    return (x + y) / 2 % 2 == 0 ? black : white;
}

RgbImage drawChanges(std::span<const std::uint8_t> newCodes, std::span<const std::int32_t> changed, int columns,
                     int rows, int pixelsPerBlock)
{
    std::array<Rgb, 256> dimColours;
    for (int code = 0; code < 256; ++code)
        dimColours[static_cast<std::size_t>(code)] = dimmed(colour(code));
    RgbImage image = rasterize(newCodes, columns, rows, pixelsPerBlock, dimColours);
    if (image.pixels.empty())
        return image;

    const int blocks = columns * rows;
    std::vector<bool> isChanged(static_cast<std::size_t>(blocks), false);
    for (const std::int32_t block : changed) {
        if (block >= 1 && block <= blocks)
            isChanged[static_cast<std::size_t>(block - 1)] = true;
    }
    const auto pixelAt = [&](int x, int y) -> Rgb& {
        return image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width)
                            + static_cast<std::size_t>(x)];
    };
    const auto changedAt = [&](int x, int y) {
        return isChanged[static_cast<std::size_t>(y / pixelsPerBlock * columns + x / pixelsPerBlock)];
    };

    for (int index = 0; index < blocks; ++index) {
        if (!isChanged[static_cast<std::size_t>(index)])
            continue;
        const std::size_t code = static_cast<std::size_t>(index) < newCodes.size() ? newCodes[static_cast<std::size_t>(index)] : 0;
        const Rgb full = colour(static_cast<int>(code));
        const int left = index % columns * pixelsPerBlock;
        const int top = index / columns * pixelsPerBlock;
        for (int y = top; y < top + pixelsPerBlock; ++y)
            std::fill_n(&pixelAt(left, y), pixelsPerBlock, full);
        if (pixelsPerBlock < 2)
            continue;
        // The ring of pixels around the block, where they lie in unchanged blocks.
        for (int y = std::max(top - 1, 0); y <= std::min(top + pixelsPerBlock, image.height - 1); ++y) {
            for (int x = std::max(left - 1, 0); x <= std::min(left + pixelsPerBlock, image.width - 1); ++x) {
                const bool inside = x >= left && x < left + pixelsPerBlock && y >= top && y < top + pixelsPerBlock;
                if (!inside && !changedAt(x, y))
                    pixelAt(x, y) = outlineColour(x, y);
            }
        }
    }
    return image;
}

} // namespace quarnet::terrain
