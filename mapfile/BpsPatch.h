#pragma once

// BPS as published: "BPS1", the source size, target size and metadata size
// as variable-length numbers, the metadata, the actions, and the CRC-32s of
// the source, the target and the patch before them (little-endian).

#include "PatchFormat.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quarnet::patches {

inline constexpr std::string_view bpsMagic = "BPS1";

// What an action does, in its number's two low bits.
enum BpsAction : std::uint64_t { bpsSourceRead = 0, bpsTargetRead = 1, bpsSourceCopy = 2, bpsTargetCopy = 3 };

// Checks the patch's own CRC-32 first, then that `source` is the file the
// patch was made for (size and CRC-32), that the target is as long as the
// source, and that every action stays inside the source, the target and the
// patch; then the target's CRC-32. Each refusal is one line.
PatchedBytes applyBps(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source);

// The metadata a patch carries; empty when it is too damaged to tell.
std::string bpsMetadata(std::span<const std::uint8_t> patch);

} // namespace quarnet::patches
