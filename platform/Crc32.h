#pragma once

#include <cstdint>
#include <span>

namespace quarnet::platform {

// The CRC-32 of ISO-HDLC (polynomial 0xEDB88320, reflected, inverted), the
// checksum patch formats carry. Continue a running checksum by passing the
// previous result as `crc`; start from 0.
std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

} // namespace quarnet::platform
