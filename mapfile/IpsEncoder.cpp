#include "IpsEncoder.h"

#include <algorithm>

namespace quarnet::patches {

namespace {

using Bytes = std::span<const std::uint8_t>;

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

} // namespace

EncodedPatch makeIps(Bytes original, Bytes modified)
{
    return makePatch(PatchFormat::ips, original, modified, {});
}

IpsEncoder::IpsEncoder()
{
    bytes_.assign(ipsHeader.begin(), ipsHeader.end());
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
    bytes_.insert(bytes_.end(), ipsFooter.begin(), ipsFooter.end());
    return std::move(bytes_);
}

} // namespace quarnet::patches
