#pragma once

// Patches that turn one version of a file into another, in the two formats
// other patchers share: IPS (IpsPatch.h) and BPS (BpsPatch.h).
// Every reader is a pure function over bytes that either gives the patched
// bytes or why the patch can't be applied. None of them
// changes a file's length: a map never grows or shrinks.

#include "Message.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarnet::patches {

enum class PatchFormat { none, ips, bps };

// The format a patch's first bytes announce, whatever the file's name.
PatchFormat patchFormatOf(std::span<const std::uint8_t> patch);

// The format a patch file's name asks for: ".ips" or ".bps", any case.
PatchFormat patchFormatOfName(std::string_view fileName);

// Whether a file is to be read as a patch: by its first bytes (at least
// patchMagicSize of them where it has that many), whatever its name, or by
// its name, so that a damaged patch is refused as one rather than read as
// something else.
inline constexpr std::size_t patchMagicSize = 5;
bool isPatch(std::span<const std::uint8_t> firstBytes, std::string_view fileName);

std::string_view formatName(PatchFormat format); // "IPS", "BPS"

// A CRC-32 as eight upper-case hexadecimal digits: "0A1B2C3D".
std::string crcText(std::uint32_t crc);

struct PatchedBytes {
    std::vector<std::uint8_t> target;       // the source with the patch applied
    std::optional<std::uint32_t> targetCrc; // the CRC-32 the patch promises for the target (BPS)
    std::optional<texts::Message> refusal;  // why not; none when applied
};

// Applies a patch of either format to `source`. Refuses an empty patch and
// one that is neither format, besides each format's own refusals.
PatchedBytes applyPatch(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source);

struct EncodedPatch {
    std::vector<std::uint8_t> bytes;
    std::optional<texts::Message> refusal; // why not; none when made
};

// The patch that turns `original` into `modified`, which must be as long.
// `metadata` goes into a BPS patch as it is; IPS has no place for it.
EncodedPatch makePatch(PatchFormat format, std::span<const std::uint8_t> original,
                       std::span<const std::uint8_t> modified, std::string_view metadata);

} // namespace quarnet::patches
