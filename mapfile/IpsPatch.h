#pragma once

// IPS as published: "PATCH", then records of a 3-byte offset and a 2-byte
// length (both big-endian) followed by that many bytes, or, for length 0, a
// 2-byte run length and the byte to repeat (RLE); then "EOF". An offset of
// 0x454F46 would read as "EOF", so no record starts there.

#include "PatchFormat.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quarnet::patches {

inline constexpr std::size_t ipsLargestFile = std::size_t {1} << 24; // 3-byte offsets: 16 MiB
inline constexpr std::uint32_t ipsEofOffset = 0x454F46;              // "EOF"
inline constexpr std::string_view ipsHeader = "PATCH";
inline constexpr std::string_view ipsFooter = "EOF";

// Why a file of this size can't have an IPS patch; none when it can.
std::optional<texts::Message> ipsSizeRefusal(std::size_t fileSize);

// Refuses a truncated patch, a record running past the patch's end, and a
// record reaching past the source's end: the source's length never changes.
// A truncation length after "EOF" is accepted only where it is the source's
// own length.
PatchedBytes applyIps(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source);

} // namespace quarnet::patches
