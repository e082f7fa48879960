#include "DecodedPicture.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <utility>

// The decoder's code lives in this file alone, private to it.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_FAILURE_USERMSG
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_JPEG
#include <stb_image.h>

namespace quarnet::pictures {

namespace {

bool startsWith(std::span<const std::uint8_t> file, std::string_view signature)
{
    return file.size() >= signature.size() && std::memcmp(file.data(), signature.data(), signature.size()) == 0;
}

// TGA has no signature: it is what the decoder takes that is none of the others.
PictureFormat formatOf(std::span<const std::uint8_t> file)
{
    if (startsWith(file, "\x89PNG\r\n\x1A\n"))
        return PictureFormat::png;
    // A JPEG starts with its start-of-image marker: 0xFF, any number of fill
    // bytes 0xFF, then 0xD8, as the decoder reads it.
    const auto firstOther = std::ranges::find_if(file, [](std::uint8_t byte) { return byte != 0xFF; });
    if (!file.empty() && file.front() == 0xFF && firstOther != file.end() && *firstOther == 0xD8)
        return PictureFormat::jpeg;
    if (startsWith(file, "BM"))
        return PictureFormat::bmp;
    return PictureFormat::tga;
}

// The decoder as Debian ships it (2.27) writes past its tables when a JPEG's
// Huffman table has more than 256 codes, which no sound JPEG has. Every
// place that could start a Huffman table segment is read as the decoder
// would read it, also inside other segments and past the segment's end
// (where the decoder reads zeros past the file's end), and such a table is
// refused before the decoder sees it.
bool hasOverfullHuffmanTable(std::span<const std::uint8_t> file)
{
    const auto byteAt = [&](std::size_t at) -> std::uint8_t { return at < file.size() ? file[at] : 0; };
    constexpr std::uint8_t defineHuffmanTables = 0xC4;
    constexpr int mostCodes = 256;
    for (std::size_t marker = 0; marker + 1 < file.size(); ++marker) {
        if (file[marker] != 0xFF || file[marker + 1] != defineHuffmanTables)
            continue;
        std::int64_t left = (std::int64_t {byteAt(marker + 2)} << 8 | byteAt(marker + 3)) - 2;
        std::size_t at = marker + 4;
        while (left > 0 && at < file.size()) {
            int codes = 0;
            for (std::size_t i = 1; i <= 16; ++i)
                codes += byteAt(at + i);
            if (codes > mostCodes)
                return true;
            at += 17 + static_cast<std::size_t>(codes);
            left -= 17 + codes;
        }
    }
    return false;
}

} // namespace

std::optional<PictureHeader> readPictureHeader(std::span<const std::uint8_t> file, texts::Text& reason)
{
    if (file.empty() || file.size() > static_cast<std::size_t>(INT_MAX)) {
        reason = file.empty() ? texts::Text::pictureFileEmpty : texts::Text::pictureFileTooLarge;
        return std::nullopt;
    }
    const auto* bytes = file.data();
    const int length = static_cast<int>(file.size());
    if (formatOf(file) == PictureFormat::jpeg && hasOverfullHuffmanTable(file)) {
        reason = texts::Text::pictureOverfullHuffman;
        return std::nullopt;
    }
    PictureHeader header;
    int channels = 0;
    if (stbi_info_from_memory(bytes, length, &header.width, &header.height, &channels) == 0) {
        reason = texts::Text::pictureUndecodable;
        return std::nullopt;
    }
    header.format = formatOf(file);
    header.sixteenBit = stbi_is_16_bit_from_memory(bytes, length) != 0;
    return header;
}

terrain::RgbaPixels DecodedPicture::pixels() const
{
    return {width_, height_,
            {bytes_.get(), bytes_ ? static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4 : 0}};
}

bool decodePicture(std::span<const std::uint8_t> file, DecodedPicture& picture, texts::Text& reason)
{
    const std::optional<PictureHeader> header = readPictureHeader(file, reason);
    if (!header)
        return false;
    const std::int64_t pixels = std::int64_t {header->width} * header->height;
    if (pixels <= 0 || pixels > largestPicturePixels) {
        reason = pixels <= 0 ? texts::Text::pictureNoPixelsDecoded : texts::Text::pictureTooManyPixels;
        return false;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    std::unique_ptr<std::uint8_t, void (*)(void*)> decoded(
        stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width, &height, &channels, 4),
        stbi_image_free);
    if (!decoded) {
        reason = texts::Text::pictureUndecodable;
        return false;
    }
    // The header promised the size that was checked; the pixels must keep to it.
    if (width != header->width || height != header->height) {
        reason = texts::Text::pictureSizeChanged;
        return false;
    }
    picture.width_ = width;
    picture.height_ = height;
    picture.bytes_ = std::move(decoded);
    return true;
}

} // namespace quarnet::pictures
