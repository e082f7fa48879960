#include "BpsPatch.h"

#include "platform/Crc32.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>

namespace quarnet::patches {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::string_view magic = "BPS1";
constexpr std::size_t footerSize = 12; // three CRC-32s

enum Action : std::uint64_t { sourceRead = 0, targetRead = 1, sourceCopy = 2, targetCopy = 3 };

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

std::uint32_t littleEndian(Bytes bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

void appendAction(std::vector<std::uint8_t>& bytes, Action action, std::size_t length)
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
            appendAction(bytes, sourceRead, equal);
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
        appendAction(bytes, targetRead, end - at);
        bytes.insert(bytes.end(), modified.begin() + static_cast<std::ptrdiff_t>(at),
                     modified.begin() + static_cast<std::ptrdiff_t>(end));
        at = end;
    }
}

// Reads the patch's numbers and bytes in order, from after the magic up to
// the footer. Positions count from the patch's first byte.
class PatchReader {
public:
    PatchReader(Bytes patch, std::size_t end) : patch_(patch.first(end)) {}

    bool atEnd() const { return at_ == patch_.size(); }
    std::size_t position() const { return at_; }
    std::size_t left() const { return patch_.size() - at_; }

    // Empty, with the reason set, when the number is cut short or needs more
    // than 64 bits.
    std::optional<std::uint64_t> number(std::string& reason)
    {
        std::uint64_t value = 0;
        std::uint64_t shift = 1;
        const std::size_t start = at_;
        for (;;) {
            if (atEnd()) {
                reason = "the patch is truncated: the number at patch byte " + std::to_string(start) + " is cut short";
                return std::nullopt;
            }
            const std::uint8_t byte = patch_[at_++];
            std::uint64_t part = 0;
            if (__builtin_mul_overflow(std::uint64_t {byte & 0x7Fu}, shift, &part)
                || __builtin_add_overflow(value, part, &value))
                break;
            if ((byte & 0x80) != 0)
                return value;
            if (shift > std::numeric_limits<std::uint64_t>::max() >> 7)
                break;
            shift <<= 7;
            if (__builtin_add_overflow(value, shift, &value))
                break;
        }
        reason = "the number at patch byte " + std::to_string(start) + " overflows 64 bits";
        return std::nullopt;
    }

    Bytes take(std::size_t count)
    {
        const Bytes taken = patch_.subspan(at_, count);
        at_ += count;
        return taken;
    }

private:
    Bytes patch_;
    std::size_t at_ = magic.size();
};

// Moves a copy offset by a signed step: the low bit is the sign. False when
// the result would leave 0..limit.
bool moveOffset(std::uint64_t step, std::uint64_t& offset, std::uint64_t limit)
{
    const std::uint64_t distance = step >> 1;
    if ((step & 1) != 0) {
        if (distance > offset)
            return false;
        offset -= distance;
    } else {
        if (distance > limit - std::min(offset, limit))
            return false;
        offset += distance;
    }
    return offset <= limit;
}

struct Header {
    std::uint64_t sourceSize = 0;
    std::uint64_t targetSize = 0;
    Bytes metadata;
};

// The header after the magic; empty with the reason set when it is damaged.
std::optional<Header> readHeader(PatchReader& reader, std::string& reason)
{
    Header header;
    const auto sourceSize = reader.number(reason);
    if (!sourceSize)
        return std::nullopt;
    const auto targetSize = reader.number(reason);
    if (!targetSize)
        return std::nullopt;
    const auto metadataSize = reader.number(reason);
    if (!metadataSize)
        return std::nullopt;
    if (*metadataSize > reader.left()) {
        reason = "the patch's metadata of " + std::to_string(*metadataSize) + " bytes runs past the patch's end";
        return std::nullopt;
    }
    header.sourceSize = *sourceSize;
    header.targetSize = *targetSize;
    header.metadata = reader.take(static_cast<std::size_t>(*metadataSize));
    return header;
}

bool startsWithMagic(Bytes patch)
{
    return patch.size() >= magic.size() && std::ranges::equal(patch.first(magic.size()), magic);
}

} // namespace

EncodedPatch makeBps(Bytes original, Bytes modified, std::string_view metadata)
{
    return makePatch(PatchFormat::bps, original, modified, metadata);
}

BpsEncoder::BpsEncoder(std::size_t fileSize, std::string_view metadata) : size_(fileSize)
{
    bytes_.assign(magic.begin(), magic.end());
    appendNumber(bytes_, fileSize);
    appendNumber(bytes_, fileSize);
    appendNumber(bytes_, metadata.size());
    bytes_.insert(bytes_.end(), metadata.begin(), metadata.end());
}

void BpsEncoder::add(const ChangeWindow& window)
{
    if (window.offset > at_)
        appendAction(bytes_, sourceRead, window.offset - at_);
    appendWindow(bytes_, window.original, window.modified);
    at_ = window.end();
}

std::vector<std::uint8_t> BpsEncoder::finish(std::uint32_t originalCrc, std::uint32_t modifiedCrc)
{
    if (size_ > at_)
        appendAction(bytes_, sourceRead, size_ - at_);
    appendLittleEndian(bytes_, originalCrc);
    appendLittleEndian(bytes_, modifiedCrc);
    appendLittleEndian(bytes_, platform::crc32(bytes_));
    return std::move(bytes_);
}

PatchedBytes applyBps(Bytes patch, Bytes source)
{
    if (!startsWithMagic(patch))
        return {{}, {}, "not a BPS patch: it doesn't start with \"BPS1\""};
    if (patch.size() < magic.size() + 3 + footerSize)
        return {{}, {}, "the patch is truncated: " + std::to_string(patch.size())
                            + " bytes are too few for a BPS patch's header and checksums"};
    const std::size_t bodyEnd = patch.size() - footerSize;
    const std::uint32_t sourceCrc = littleEndian(patch, bodyEnd);
    const std::uint32_t targetCrc = littleEndian(patch, bodyEnd + 4);
    const std::uint32_t patchCrc = littleEndian(patch, bodyEnd + 8);
    const std::uint32_t actualPatchCrc = platform::crc32(patch.first(bodyEnd + 8));
    if (actualPatchCrc != patchCrc)
        return {{}, {}, "the patch is damaged or truncated: its CRC32 is " + crcText(actualPatchCrc)
                            + " where its last bytes say " + crcText(patchCrc)};

    std::string reason;
    PatchReader reader(patch, bodyEnd);
    const std::optional<Header> header = readHeader(reader, reason);
    if (!header)
        return {{}, {}, reason};
    const std::uint32_t actualSourceCrc = platform::crc32(source);
    if (header->sourceSize != source.size() || sourceCrc != actualSourceCrc)
        return {{}, {}, "the patch was made for another version of the file: it expects "
                            + std::to_string(header->sourceSize) + " bytes with CRC32 " + crcText(sourceCrc)
                            + ", and the file has " + std::to_string(source.size()) + " bytes with CRC32 "
                            + crcText(actualSourceCrc)};
    if (header->targetSize != source.size())
        return {{}, {}, "the patch would change the file's length from " + std::to_string(source.size()) + " to "
                            + std::to_string(header->targetSize) + " bytes; a map's length never changes"};

    PatchedBytes result {std::vector<std::uint8_t>(source.size()), targetCrc, {}};
    std::vector<std::uint8_t>& target = result.target;
    const std::uint64_t size = target.size();
    std::uint64_t written = 0;
    std::uint64_t sourceCopyAt = 0;
    std::uint64_t targetCopyAt = 0;
    while (!reader.atEnd()) {
        const std::size_t actionAt = reader.position();
        const auto command = reader.number(reason);
        if (!command)
            return {{}, {}, reason};
        const std::uint64_t length = (*command >> 2) + 1;
        const std::string which = "the action at patch byte " + std::to_string(actionAt);
        if (length > size - written)
            return {{}, {}, which + " writes " + std::to_string(length) + " bytes at target offset "
                                + std::to_string(written) + ", past the target's end"};
        const auto into = target.begin() + static_cast<std::ptrdiff_t>(written);
        switch (*command & 3) {
        case sourceRead:
            std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(written), length, into);
            break;
        case targetRead:
            if (length > reader.left())
                return {{}, {}, which + " reads " + std::to_string(length) + " bytes, which run past the patch's end"};
            std::ranges::copy(reader.take(static_cast<std::size_t>(length)), into);
            break;
        case sourceCopy: {
            const auto step = reader.number(reason);
            if (!step)
                return {{}, {}, reason};
            if (!moveOffset(*step, sourceCopyAt, size) || length > size - sourceCopyAt)
                return {{}, {}, which + " copies from outside the source"};
            std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(sourceCopyAt), length, into);
            sourceCopyAt += length;
            break;
        }
        case targetCopy: {
            const auto step = reader.number(reason);
            if (!step)
                return {{}, {}, reason};
            // Byte by byte: a copy may repeat the bytes it has just written,
            // but never read one not yet written.
            if (!moveOffset(*step, targetCopyAt, size) || targetCopyAt >= written)
                return {{}, {}, which + " copies from a part of the target not yet written"};
            for (std::uint64_t i = 0; i < length; ++i)
                target[written + i] = target[targetCopyAt + i];
            targetCopyAt += length;
            break;
        }
        }
        written += length;
    }
    if (written != size)
        return {{}, {}, "the patch's actions end after " + std::to_string(written) + " of the target's "
                            + std::to_string(size) + " bytes"};
    const std::uint32_t actualTargetCrc = platform::crc32(target);
    if (actualTargetCrc != targetCrc)
        return {{}, {}, "the patched bytes' CRC32 is " + crcText(actualTargetCrc) + " where the patch expects "
                            + crcText(targetCrc)};
    return result;
}

std::string bpsMetadata(Bytes patch)
{
    if (!startsWithMagic(patch) || patch.size() < magic.size() + footerSize)
        return {};
    std::string reason;
    PatchReader reader(patch, patch.size() - footerSize);
    const std::optional<Header> header = readHeader(reader, reason);
    return header ? std::string(header->metadata.begin(), header->metadata.end()) : std::string();
}

} // namespace quarnet::patches
