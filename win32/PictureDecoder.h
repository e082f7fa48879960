#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarnet::win32 {

// A decoded picture: 3 bytes a pixel (blue, green, red), top row first, rows
// without padding. The JPEG decoder's own format, so no converted copy is
// made on the way.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgr;
};

// Decodes a picture file with the Windows Imaging Component. Nothing for a
// missing, unreadable or undecodable file, or one too big to hold.
std::optional<Pixels> decodePicture(const std::wstring& path);

} // namespace quarnet::win32
