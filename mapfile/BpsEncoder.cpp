#include "BpsEncoder.h"

#include "platform/Crc32.h"

#include <string>

namespace quarnet::patches {

namespace {

using Bytes = std::span<const std::uint8_t>;

void appendNumber(std::vector<std::uint8_t>& bytes, std::uint64_t value)
{
    // Each byte holds seven bits; the last is marked by its top bit, and each
    // earlier one stands for one more than its bits, so no number has two forms.
    for (;;) {
        const auto low = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
        if (value == 0) {
            bytes.push_back(low | 0x80);
            return;
        }
        bytes.push_back(low);
        --value;
    }
}

void appendLittleEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void appendAction(std::vector<std::uint8_t>& bytes, BpsAction action, std::size_t length)
{
    appendNumber(bytes, (std::uint64_t {length} - 1) << 2 | action);
}

// One window of changes, which starts and ends with a differing byte: the
// differing bytes as TargetRead runs, and the equal ones between them as
// SourceRead runs where that is shorter.
void appendWindow(std::vector<std::uint8_t>& bytes, Bytes original, Bytes modified)
{
    // Equal stretches of up to two bytes cost no more inside a TargetRead
    // than as a SourceRead of their own between two TargetReads.
    constexpr std::size_t shortestSourceRead = 3;
    const std::size_t size = original.size();
    std::size_t at = 0;
    while (at < size) {
        std::size_t equal = 0;
        while (at + equal < size && original[at + equal] == modified[at + equal])
            ++equal;
        if (equal > 0) {
            appendAction(bytes, bpsSourceRead, equal);
            at += equal;
            continue;
        }
        // Differing bytes, with the short equal stretches between them.
        std::size_t end = at;
        for (;;) {
            while (end < size && original[end] != modified[end])
                ++end;
            std::size_t gap = 0;
            while (end + gap < size && gap < shortestSourceRead && original[end + gap] == modified[end + gap])
                ++gap;
            if (gap == 0 || gap >= shortestSourceRead)
                break;
            end += gap;
        }
        appendAction(bytes, bpsTargetRead, end - at);
        bytes.insert(bytes.end(), modified.begin() + static_cast<std::ptrdiff_t>(at),
                     modified.begin() + static_cast<std::ptrdiff_t>(end));
        at = end;
    }
}

} // namespace

EncodedPatch makeBps(Bytes original, Bytes modified, std::string_view metadata)
{
    return makePatch(PatchFormat::bps, original, modified, metadata);
}

BpsEncoder::BpsEncoder(std::size_t fileSize, std::string_view metadata) : size_(fileSize)
{
    bytes_.assign(bpsMagic.begin(), bpsMagic.end());
    appendNumber(bytes_, fileSize);
    appendNumber(bytes_, fileSize);
    appendNumber(bytes_, metadata.size());
    bytes_.insert(bytes_.end(), metadata.begin(), metadata.end());
}

void BpsEncoder::add(const ChangeWindow& window)
{
    if (window.offset > at_)
        appendAction(bytes_, bpsSourceRead, window.offset - at_);
    appendWindow(bytes_, window.original, window.modified);
    at_ = window.end();
}

std::vector<std::uint8_t> BpsEncoder::finish(std::uint32_t originalCrc, std::uint32_t modifiedCrc)
{
    if (size_ > at_)
        appendAction(bytes_, bpsSourceRead, size_ - at_);
    appendLittleEndian(bytes_, originalCrc);
    appendLittleEndian(bytes_, modifiedCrc);
    appendLittleEndian(bytes_, platform::crc32(bytes_));
    return std::move(bytes_);
}

} // namespace quarnet::patches
