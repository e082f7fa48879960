#include "IpsPatch.h"

#include <algorithm>
#include <string>

namespace quarnet::patches {

namespace {

using Bytes = std::span<const std::uint8_t>;
using texts::Text;

PatchedBytes refused(texts::Message why)
{
    return {{}, {}, std::move(why)};
}

constexpr std::string_view header = ipsHeader;
constexpr std::string_view footer = ipsFooter;
std::uint32_t bigEndian(Bytes bytes, std::size_t at, std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value = value << 8 | bytes[at + i];
    return value;
}

} // namespace

std::optional<texts::Message> ipsSizeRefusal(std::size_t fileSize)
{
    if (fileSize <= ipsLargestFile)
        return std::nullopt;
    return texts::message(texts::Text::ipsTooLarge, fileSize);
}

PatchedBytes applyIps(Bytes patch, Bytes source)
{
    PatchedBytes result;
    if (patch.size() < header.size() || !std::ranges::equal(patch.first(header.size()), header))
        return refused(texts::message(Text::notIps));
    result.target.assign(source.begin(), source.end());
    std::size_t at = header.size();
    for (int record = 1;; ++record) {
        if (at + footer.size() <= patch.size() && std::ranges::equal(patch.subspan(at, footer.size()), footer)) {
            at += footer.size();
            break;
        }
        if (at + 5 > patch.size())
            return refused(texts::message(Text::ipsRecordCutShort, record, at));
        const std::uint32_t offset = bigEndian(patch, at, 3);
        std::size_t length = bigEndian(patch, at + 3, 2);
        at += 5;
        const bool rle = length == 0;
        if (rle) {
            if (at + 3 > patch.size())
                return refused(texts::message(Text::ipsRleCutShort, record, at - 5));
            length = bigEndian(patch, at, 2);
        } else if (length > patch.size() - at) {
            return refused(texts::message(Text::ipsRecordPastPatchEnd, record, at - 5, length));
        }
        if (offset + length > source.size())
            return refused(texts::message(Text::ipsRecordPastFileEnd, record, at - 5, length, offset, source.size()));
        const auto into = result.target.begin() + offset;
        if (rle) {
            std::fill_n(into, length, patch[at + 2]);
            at += 3;
        } else {
            std::copy_n(patch.begin() + static_cast<std::ptrdiff_t>(at), length, into);
            at += length;
        }
    }
    const std::size_t rest = patch.size() - at;
    if (rest == 3) {
        const std::uint32_t truncatedLength = bigEndian(patch, at, 3);
        if (truncatedLength != source.size())
            return refused(texts::message(Text::ipsCutsFile, truncatedLength, source.size()));
    } else if (rest != 0) {
        return refused(texts::message(Text::ipsStrayBytes, rest));
    }
    return result;
}

} // namespace quarnet::patches
