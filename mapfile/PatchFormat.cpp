#include "PatchFormat.h"

#include "PatchMaker.h"

#include "BpsPatch.h"
#include "IpsPatch.h"

#include <algorithm>
#include <cctype>

namespace quarnet::patches {

namespace {

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view magic)
{
    return bytes.size() >= magic.size() && std::ranges::equal(bytes.first(magic.size()), magic);
}

bool endsWithNoCase(std::string_view text, std::string_view ending)
{
    return text.size() >= ending.size()
           && std::ranges::equal(text.substr(text.size() - ending.size()), ending, [](char a, char b) {
                  return std::tolower(static_cast<unsigned char>(a)) == b;
              });
}

} // namespace

PatchFormat patchFormatOf(std::span<const std::uint8_t> patch)
{
    if (startsWith(patch, "PATCH"))
        return PatchFormat::ips;
    if (startsWith(patch, "BPS1"))
        return PatchFormat::bps;
    return PatchFormat::none;
}

PatchFormat patchFormatOfName(std::string_view fileName)
{
    if (endsWithNoCase(fileName, ".ips"))
        return PatchFormat::ips;
    if (endsWithNoCase(fileName, ".bps"))
        return PatchFormat::bps;
    return PatchFormat::none;
}

bool isPatch(std::span<const std::uint8_t> firstBytes, std::string_view fileName)
{
    return patchFormatOf(firstBytes) != PatchFormat::none || patchFormatOfName(fileName) != PatchFormat::none;
}

std::string_view formatName(PatchFormat format)
{
    switch (format) {
    case PatchFormat::ips:
        return "IPS";
    case PatchFormat::bps:
        return "BPS";
    case PatchFormat::none:
        break;
    }
    return "neither IPS nor BPS";
}

std::string crcText(std::uint32_t crc)
{
    constexpr std::string_view digits = "0123456789ABCDEF";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, crc >>= 4)
        text[static_cast<std::size_t>(i)] = digits[crc & 0xF];
    return text;
}

PatchedBytes applyPatch(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source)
{
    switch (patchFormatOf(patch)) {
    case PatchFormat::ips:
        return applyIps(patch, source);
    case PatchFormat::bps:
        return applyBps(patch, source);
    case PatchFormat::none:
        break;
    }
    if (patch.empty())
        return {{}, {}, texts::message(texts::Text::patchEmpty)};
    return {{}, {}, texts::message(texts::Text::notAPatch)};
}

EncodedPatch makePatch(PatchFormat format, std::span<const std::uint8_t> original,
                       std::span<const std::uint8_t> modified, std::string_view metadata)
{
    if (original.size() != modified.size())
        return {{}, texts::message(texts::Text::patchInputsDiffer, original.size(), modified.size())};
    PatchMaker maker(format, original.size(), metadata);
    maker.add(original, modified);
    return maker.finish();
}

} // namespace quarnet::patches
