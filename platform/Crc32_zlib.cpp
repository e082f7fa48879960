#include "Crc32.h"

#include <zlib.h>

#include <algorithm>
#include <cstddef>

namespace quarnet::platform {

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc)
{
    // zlib counts bytes in an unsigned int: longer spans go in pieces.
    constexpr std::size_t piece = 1u << 30;
    uLong running = crc;
    while (!bytes.empty()) {
        const std::size_t count = std::min(bytes.size(), piece);
        running = ::crc32(running, bytes.data(), static_cast<uInt>(count));
        bytes = bytes.subspan(count);
    }
    return static_cast<std::uint32_t>(running);
}

} // namespace quarnet::platform
