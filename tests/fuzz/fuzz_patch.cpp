// The IPS and BPS readers on any bytes. The first byte picks the source: the
// 16 bytes below, the rest of the input itself (bit 0), or a source that the
// input carries (bit 2): two bytes of its length, low byte first, the source,
// then the patch. The seeds made from real map pairs carry their map that
// way, so their BPS patches pass the source's CRC-32. For BPS, inputs with
// bit 1 get their own CRC-32 set right first, so the fuzzer reaches the
// actions instead of stopping at the checksum.
#include "FuzzCheck.h"
#include "mapfile/BpsPatch.h"
#include "mapfile/IpsPatch.h"
#include "platform/Crc32.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

using namespace quarnet::patches;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t choice = data[0];
    std::span<const std::uint8_t> rest(data + 1, size - 1);
    std::vector<std::uint8_t> carried;
    if ((choice & 4) != 0 && rest.size() >= 2) {
        const std::size_t length = std::min<std::size_t>(rest[0] | std::size_t {rest[1]} << 8, rest.size() - 2);
        carried.assign(rest.begin() + 2, rest.begin() + 2 + static_cast<std::ptrdiff_t>(length));
        rest = rest.subspan(2 + length);
    }
    std::vector<std::uint8_t> patch(rest.begin(), rest.end());
    static constexpr std::string_view sixteenText = "ABCDEFGHIJKLMNOP";
    const std::vector<std::uint8_t> sixteen(sixteenText.begin(), sixteenText.end());
    const std::vector<std::uint8_t> source = (choice & 4) != 0 ? carried : (choice & 1) != 0 ? patch : sixteen;
    if ((choice & 2) != 0 && patch.size() >= 4) {
        const std::uint32_t crc = quarnet::platform::crc32(std::span(patch).first(patch.size() - 4));
        for (int i = 0; i < 4; ++i)
            patch[patch.size() - 4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (8 * i));
    }

    const PatchedBytes applied = applyPatch(patch, source);
    for (const auto language : {quarnet::texts::Language::english, quarnet::texts::Language::chinese})
        QUARNET_FUZZ_CHECK(!applied.refusal
                           || quarnet::texts::renderMessage(*applied.refusal, language).find('\n') == std::string::npos);
    if (!applied.refusal) {
        // A map's length never changes.
        QUARNET_FUZZ_CHECK(applied.target.size() == source.size());
        if (applied.targetCrc)
            QUARNET_FUZZ_CHECK(quarnet::platform::crc32(applied.target) == *applied.targetCrc);
    } else {
        QUARNET_FUZZ_CHECK(applied.target.empty());
    }
    (void)bpsMetadata(patch);

    // What the writers make from the source and the target, read back, gives
    // the target again.
    if (!applied.refusal) {
        for (const PatchFormat format : {PatchFormat::ips, PatchFormat::bps}) {
            const EncodedPatch made = makePatch(format, source, applied.target, "fuzz");
            QUARNET_FUZZ_CHECK(!made.refusal);
            QUARNET_FUZZ_CHECK(applyPatch(made.bytes, source).target == applied.target);
        }
    }
    return 0;
}
