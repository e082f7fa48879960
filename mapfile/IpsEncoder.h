#pragma once

// Writes IPS patches (IpsPatch.h): from two whole files, or window by window
// as ChangeFinder finds the changes.

#include "ChangeFinder.h"
#include "IpsPatch.h"

#include <cstdint>
#include <span>
#include <vector>

namespace quarnet::patches {

// A literal record where it is shorter, an RLE record where that is; files
// over 16 MiB and files of different lengths are refused.
EncodedPatch makeIps(std::span<const std::uint8_t> original, std::span<const std::uint8_t> modified);

// Writes an IPS patch window by window; the file must be at most
// ipsLargestFile bytes.
class IpsEncoder {
public:
    IpsEncoder();
    void add(const ChangeWindow& window); // in file order
    std::vector<std::uint8_t> finish();

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace quarnet::patches
