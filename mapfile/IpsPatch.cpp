#include "IpsPatch.h"

#include <algorithm>
#include <string>

namespace quarnet::patches {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::string_view header = "PATCH";
constexpr std::string_view footer = "EOF";
constexpr std::size_t longestRecord = 0xFFFF;

// Writes one window's records into a patch, never starting one at the offset
// that reads as "EOF".
class IpsWriter {
public:
    IpsWriter(std::vector<std::uint8_t>& bytes, const ChangeWindow& window) : window_(window), bytes_(bytes) {}

    // The modified bytes from `start` to `end` as literal records.
    void literal(std::size_t start, std::size_t end)
    {
        while (start < end) {
            // One byte earlier: it is rewritten with its own modified value.
            if (start == ipsEofOffset)
                --start;
            const std::size_t count = std::min(end - start, longestRecord);
            recordHeader(start, count);
            for (std::size_t at = start; at < start + count; ++at)
                bytes_.push_back(modifiedAt(at));
            start += count;
        }
    }

    // `count` copies of the modified byte at `start` as RLE records.
    void run(std::size_t start, std::size_t count)
    {
        const std::uint8_t value = modifiedAt(start);
        while (count > 0) {
            if (start == ipsEofOffset) {
                // Two literal bytes from a byte earlier move the run past it.
                literal(start - 1, start + 1);
                ++start;
                --count;
                continue;
            }
            const std::size_t piece = std::min(count, longestRecord);
            recordHeader(start, 0);
            bytes_.push_back(static_cast<std::uint8_t>(piece >> 8));
            bytes_.push_back(static_cast<std::uint8_t>(piece));
            bytes_.push_back(value);
            start += piece;
            count -= piece;
        }
    }

private:
    // The modified byte at a file offset inside the window, or just before it.
    std::uint8_t modifiedAt(std::size_t offset) const
    {
        return offset < window_.offset ? window_.before : window_.modified[offset - window_.offset];
    }

    void recordHeader(std::size_t offset, std::size_t length)
    {
        bytes_.push_back(static_cast<std::uint8_t>(offset >> 16));
        bytes_.push_back(static_cast<std::uint8_t>(offset >> 8));
        bytes_.push_back(static_cast<std::uint8_t>(offset));
        bytes_.push_back(static_cast<std::uint8_t>(length >> 8));
        bytes_.push_back(static_cast<std::uint8_t>(length));
    }

    const ChangeWindow& window_;
    std::vector<std::uint8_t>& bytes_;
};

// How many bytes from `at` repeat the byte there, up to `end`.
std::size_t runLength(Bytes bytes, std::size_t at, std::size_t end)
{
    std::size_t length = 1;
    while (at + length < end && bytes[at + length] == bytes[at])
        ++length;
    return length;
}

// One stretch of changed bytes (unchanged gaps shorter than a record header
// included) as literal and RLE records, whichever is shorter for each run.
void writeStretch(IpsWriter& writer, const ChangeWindow& window, std::size_t start, std::size_t end)
{
    const Bytes modified = window.modified;
    const std::size_t base = window.offset;
    constexpr std::size_t rleRecord = 8;   // offset, 0, run length, byte
    constexpr std::size_t headerSize = 5;  // offset, length
    std::size_t literalStart = start;
    std::size_t at = start;
    while (at < end) {
        const std::size_t length = runLength(modified, at, end);
        const bool literalPending = literalStart < at;
        const bool moreAfter = at + length < end;
        // A run costs an RLE record, and a new literal header when literal
        // bytes follow it; left in, it costs its bytes, and a header when no
        // literal is under way to hold it.
        const std::size_t asRun = rleRecord + (moreAfter ? headerSize : 0);
        const std::size_t inLiteral = length + (literalPending ? 0 : headerSize);
        if (asRun < inLiteral) {
            writer.literal(base + literalStart, base + at);
            writer.run(base + at, length);
            literalStart = at + length;
        }
        at += length;
    }
    writer.literal(base + literalStart, base + end);
}

std::uint32_t bigEndian(Bytes bytes, std::size_t at, std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value = value << 8 | bytes[at + i];
    return value;
}

} // namespace

EncodedPatch makeIps(Bytes original, Bytes modified)
{
    return makePatch(PatchFormat::ips, original, modified, {});
}

std::string ipsSizeRefusal(std::size_t fileSize)
{
    if (fileSize <= ipsLargestFile)
        return {};
    return "IPS reaches only the first 16 MiB of a file, and this one has " + std::to_string(fileSize)
           + " bytes; make a BPS patch instead";
}

IpsEncoder::IpsEncoder()
{
    bytes_.assign(header.begin(), header.end());
}

void IpsEncoder::add(const ChangeWindow& window)
{
    constexpr std::size_t headerSize = 5;
    IpsWriter writer(bytes_, window);
    const Bytes original = window.original;
    const Bytes modified = window.modified;
    std::size_t at = 0;
    while (at < original.size()) {
        if (original[at] == modified[at]) {
            ++at;
            continue;
        }
        // The stretch ends where as many equal bytes follow as a new record's
        // header would cost.
        const std::size_t start = at;
        std::size_t end = at + 1;
        for (std::size_t equal = 0; end + equal < original.size() && equal < headerSize;) {
            if (original[end + equal] == modified[end + equal]) {
                ++equal;
            } else {
                end += equal + 1;
                equal = 0;
            }
        }
        writeStretch(writer, window, start, end);
        at = end;
    }
}

std::vector<std::uint8_t> IpsEncoder::finish()
{
    bytes_.insert(bytes_.end(), footer.begin(), footer.end());
    return std::move(bytes_);
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
