#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarnet::win32 {

// A decoded picture: 32-bit pixels (blue, green, red, unused), top row first.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> bgrx;
};

// Decodes a picture file with the Windows Imaging Component. Nothing for a
// missing, unreadable or undecodable file, or one too big to hold.
std::optional<Pixels> decodePicture(const std::wstring& path);

} // namespace quarnet::win32
