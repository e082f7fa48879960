#pragma once

// Pictures written as PNG or JPEG files, in memory, through the encoder that
// is private to this library.

#include "Pixels.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quarnet::pictures {

enum class ImageFormat { png, jpeg };

// The format a file name asks for by its extension (.png, .jpg, .jpeg, any
// case); nothing for other names.
std::optional<ImageFormat> imageFormatFor(std::string_view fileName);

// The picture encoded as a whole file; empty when encoding failed.
std::vector<std::uint8_t> encodeImage(const RgbImage& image, ImageFormat format);

// Pixels of 1 to 4 bytes (grey, grey and alpha, RGB, RGBA), row by row,
// encoded as a PNG file; empty when encoding failed.
std::vector<std::uint8_t> encodePng(std::span<const std::uint8_t> pixels, int width, int height, int channels);

} // namespace quarnet::pictures
