#include "Crc32.h"

#include <array>

// The Windows build has no zlib to link (none is packaged for the
// cross-compiler), so the checksum is computed here from a 256-entry table.

namespace quarnet::platform {

namespace {

constexpr std::array<std::uint32_t, 256> makeTable()
{
    std::array<std::uint32_t, 256> table {};
    for (std::uint32_t value = 0; value < 256; ++value) {
        std::uint32_t crc = value;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) != 0 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        table[value] = crc;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> table = makeTable();

} // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc)
{
    crc = ~crc;
    for (const std::uint8_t byte : bytes)
        crc = table[(crc ^ byte) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}

} // namespace quarnet::platform
