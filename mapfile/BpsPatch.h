#pragma once

// BPS as published: "BPS1", the source size, target size and metadata size
// as variable-length numbers, the metadata, the actions, and the CRC-32s of
// the source, the target and the patch before them (little-endian).

#include "FileChanges.h"
#include "PatchFormat.h"

namespace quarnet::patches {

// Equal bytes as SourceRead runs, the others as TargetRead runs; files of
// different lengths are refused.
EncodedPatch makeBps(std::span<const std::uint8_t> original, std::span<const std::uint8_t> modified,
                     std::string_view metadata);

// Writes a BPS patch window by window: the equal bytes between windows as
// SourceRead runs.
class BpsEncoder {
public:
    BpsEncoder(std::size_t fileSize, std::string_view metadata);
    void add(const ChangeWindow& window); // in file order
    std::vector<std::uint8_t> finish(std::uint32_t originalCrc, std::uint32_t modifiedCrc);

private:
    std::size_t size_;
    std::size_t at_ = 0; // where the actions have reached
    std::vector<std::uint8_t> bytes_;
};

// Checks the patch's own CRC-32 first, then that `source` is the file the
// patch was made for (size and CRC-32), that the target is as long as the
// source, and that every action stays inside the source, the target and the
// patch; then the target's CRC-32. Each refusal is one line.
PatchedBytes applyBps(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source);

// The metadata a patch carries; empty when it is too damaged to tell.
std::string bpsMetadata(std::span<const std::uint8_t> patch);

} // namespace quarnet::patches
