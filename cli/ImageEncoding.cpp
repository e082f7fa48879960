#include "ImageEncoding.h"

#include <algorithm>
#include <cctype>
#include <string>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace quarnet::cli {

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
    std::vector<std::uint8_t> bytes;
    if (image.width <= 0 || image.height <= 0)
        return bytes;
    const void* pixels = image.pixels.data();
    const int written = format == ImageFormat::png
                            ? stbi_write_png_to_func(appendTo, &bytes, image.width, image.height, 3, pixels,
                                                     image.width * 3)
                            : stbi_write_jpg_to_func(appendTo, &bytes, image.width, image.height, 3, pixels,
                                                     jpegQuality);
    if (written == 0)
        bytes.clear();
    return bytes;
}

} // namespace quarnet::cli
