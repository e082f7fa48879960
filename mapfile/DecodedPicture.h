#pragma once

// Picture files read back: PNG, BMP, TGA and JPEG, through one well-kept
// decoder, private to this library. The header is read on its own first, so
// that a picture's size can be refused before any pixel is decoded.

#include "PaintedTerrain.h"
#include "PixelLimit.h"
#include "Text.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace quarnet::pictures {

enum class PictureFormat { png, bmp, tga, jpeg };

struct PictureHeader {
    int width = 0;
    int height = 0;
    PictureFormat format = PictureFormat::png;
    bool sixteenBit = false; // 16 bits a channel
};

// The header of a picture file's bytes; nothing, with the reason, when it
// isn't a picture the decoder reads.
std::optional<PictureHeader> readPictureHeader(std::span<const std::uint8_t> file, texts::Text& reason);

// Decoded pixels, in the decoder's own memory: red, green, blue and alpha
// (255 where the file has no alpha).
class DecodedPicture {
public:
    terrain::RgbaPixels pixels() const;

private:
    friend bool decodePicture(std::span<const std::uint8_t> file, DecodedPicture& picture, texts::Text& reason);
    int width_ = 0;
    int height_ = 0;
    std::unique_ptr<std::uint8_t, void (*)(void*)> bytes_ {nullptr, std::free};
};

// False with the reason when the file can't be decoded, or when it has no
// pixels or more than largestPicturePixels.
bool decodePicture(std::span<const std::uint8_t> file, DecodedPicture& picture, texts::Text& reason);

} // namespace quarnet::pictures
