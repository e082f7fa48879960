#pragma once

#include <cstdint>

namespace quarnet {

// Larger pictures are never decoded: 64 Mpixel, 256 MiB of pixels at four
// bytes a pixel, far above the map picture's 2184 x 1548. A header that
// claims more is not trusted with the memory.
inline constexpr std::int64_t largestPicturePixels = std::int64_t {64} * 1024 * 1024;

// Whether a picture of this size has pixels and may be decoded.
constexpr bool decodableSize(std::int64_t width, std::int64_t height)
{
    return width > 0 && height > 0 && width <= largestPicturePixels / height;
}

} // namespace quarnet
