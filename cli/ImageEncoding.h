#pragma once

#include "mapfile/Pixels.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quarnet::cli {

enum class ImageFormat { png, jpeg };

// The format a file name asks for by its extension (.png, .jpg, .jpeg, any
// case); nothing for other names.
std::optional<ImageFormat> imageFormatFor(std::string_view fileName);

// The picture encoded as a whole file; empty when encoding failed.
std::vector<std::uint8_t> encodeImage(const RgbImage& image, ImageFormat format);

// Pixels of 1 to 4 bytes (grey, grey and alpha, RGB, RGBA), row by row,
// encoded as a PNG file; empty when encoding failed.
std::vector<std::uint8_t> encodePng(std::span<const std::uint8_t> pixels, int width, int height, int channels);

} // namespace quarnet::cli
