#include "ImageEncoding.h"

#include <algorithm>
#include <cctype>
#include <string>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace quarnet::pictures {

namespace {

constexpr int jpegQuality = 90;

static_assert(sizeof(Rgb) == 3, "RgbImage pixels are packed red, green, blue bytes");

void appendTo(void* context, void* data, int size)
{
    auto& bytes = *static_cast<std::vector<std::uint8_t>*>(context);
    const auto* first = static_cast<const std::uint8_t*>(data);
    bytes.insert(bytes.end(), first, first + size);
}

} // namespace

std::optional<ImageFormat> imageFormatFor(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    std::string extension(fileName.substr(dot + 1));
    std::ranges::transform(extension, extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "png")
        return ImageFormat::png;
    if (extension == "jpg" || extension == "jpeg")
        return ImageFormat::jpeg;
    return std::nullopt;
}

std::vector<std::uint8_t> encodeImage(const RgbImage& image, ImageFormat format)
{
    const std::span bytes(reinterpret_cast<const std::uint8_t*>(image.pixels.data()), image.pixels.size() * 3);
    if (format == ImageFormat::png)
        return encodePng(bytes, image.width, image.height, 3);
    std::vector<std::uint8_t> encoded;
    if (image.width <= 0 || image.height <= 0
        || image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        return encoded;
    if (stbi_write_jpg_to_func(appendTo, &encoded, image.width, image.height, 3, bytes.data(), jpegQuality) == 0)
        encoded.clear();
    return encoded;
}

std::vector<std::uint8_t> encodePng(std::span<const std::uint8_t> pixels, int width, int height, int channels)
{
    std::vector<std::uint8_t> encoded;
    if (width <= 0 || height <= 0 || channels < 1 || channels > 4
        || pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)
                                * static_cast<std::size_t>(channels))
        return encoded;
    if (stbi_write_png_to_func(appendTo, &encoded, width, height, channels, pixels.data(), width * channels) == 0)
        encoded.clear();
    return encoded;
}

} // namespace quarnet::pictures
