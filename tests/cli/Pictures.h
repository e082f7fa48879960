#pragma once

// Picture files in the tests: decoded with the program's own reader, and
// written with its own encoder.

#include "mapfile/ImageEncoding.h"
#include "mapfile/DecodedPicture.h"
#include "support/TempDir.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quarnet::testing {

// A decoded picture file: width, height and its pixels' colours (alpha
// dropped); empty when it can't be decoded.
struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Rgb at(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
};

inline Decoded decode(const std::string& path)
{
    pictures::DecodedPicture decoded;
    texts::Text reason {};
    if (!pictures::decodePicture(TempDir::read(path), decoded, reason))
        return {};
    const terrain::RgbaPixels rgba = decoded.pixels();
    Decoded picture {rgba.width, rgba.height, {}};
    picture.pixels.reserve(rgba.bytes.size() / 4);
    for (std::size_t i = 0; i < rgba.bytes.size(); i += 4)
        picture.pixels.push_back({rgba.bytes[i], rgba.bytes[i + 1], rgba.bytes[i + 2]});
    return picture;
}

inline RgbImage imageOf(const Decoded& picture)
{
    return {picture.width, picture.height, picture.pixels};
}

// Writes the picture as a PNG or JPEG by the name's extension; its path.
inline std::string writePicture(const TempDir& dir, const std::string& name, const RgbImage& image)
{
    const auto format = pictures::imageFormatFor(name);
    return dir.write(name, pictures::encodeImage(image, format.value_or(pictures::ImageFormat::png)));
}

} // namespace quarnet::testing
