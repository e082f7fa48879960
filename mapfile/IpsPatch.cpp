#include "IpsPatch.h"

#include <algorithm>
#include <string>

namespace quarnet::patches {

namespace {

using Bytes = std::span<const std::uint8_t>;

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

std::string ipsSizeRefusal(std::size_t fileSize)
{
    if (fileSize <= ipsLargestFile)
        return {};
    return "IPS reaches only the first 16 MiB of a file, and this one has " + std::to_string(fileSize)
           + " bytes; make a BPS patch instead";
}

PatchedBytes applyIps(Bytes patch, Bytes source)
{
    PatchedBytes result;
    if (patch.size() < header.size() || !std::ranges::equal(patch.first(header.size()), header))
        return {{}, {}, "not an IPS patch: it doesn't start with \"PATCH\""};
    result.target.assign(source.begin(), source.end());
    std::size_t at = header.size();
    for (int record = 1;; ++record) {
        if (at + footer.size() <= patch.size() && std::ranges::equal(patch.subspan(at, footer.size()), footer)) {
            at += footer.size();
            break;
        }
        const std::string which = "record " + std::to_string(record) + " (patch byte " + std::to_string(at) + ")";
        if (at + 5 > patch.size())
            return {{}, {}, "the patch is truncated: " + which + " is cut short and \"EOF\" never comes"};
        const std::uint32_t offset = bigEndian(patch, at, 3);
        std::size_t length = bigEndian(patch, at + 3, 2);
        at += 5;
        const bool rle = length == 0;
        if (rle) {
            if (at + 3 > patch.size())
                return {{}, {}, "the patch is truncated: " + which + ", an RLE record, is cut short"};
            length = bigEndian(patch, at, 2);
        } else if (length > patch.size() - at) {
            return {{}, {}, which + " holds " + std::to_string(length) + " bytes, which run past the patch's end"};
        }
        if (offset + length > source.size())
            return {{}, {}, which + " writes " + std::to_string(length) + " bytes at offset " + std::to_string(offset)
                                + ", past the end of the file's " + std::to_string(source.size())
                                + " bytes; a map's length never changes"};
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
            return {{}, {}, "the patch cuts the file to " + std::to_string(truncatedLength) + " bytes from "
                                + std::to_string(source.size()) + "; a map's length never changes"};
    } else if (rest != 0) {
        return {{}, {}, "the patch holds " + std::to_string(rest) + " stray bytes after its \"EOF\""};
    }
    return result;
}

} // namespace quarnet::patches
