#pragma once

// Writes BPS patches (BpsPatch.h): from two whole files, or window by window
// as ChangeFinder finds the changes.

#include "BpsPatch.h"
#include "ChangeFinder.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

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

} // namespace quarnet::patches
