#include "BpsPatch.h"

#include "platform/Crc32.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>

namespace quarnet::patches {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::string_view magic = bpsMagic;
constexpr std::size_t footerSize = 12; // three CRC-32s

std::uint32_t littleEndian(Bytes bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    return value;
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
        case bpsSourceRead:
            std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(written), length, into);
            break;
        case bpsTargetRead:
            if (length > reader.left())
                return {{}, {}, which + " reads " + std::to_string(length) + " bytes, which run past the patch's end"};
            std::ranges::copy(reader.take(static_cast<std::size_t>(length)), into);
            break;
        case bpsSourceCopy: {
            const auto step = reader.number(reason);
            if (!step)
                return {{}, {}, reason};
            if (!moveOffset(*step, sourceCopyAt, size) || length > size - sourceCopyAt)
                return {{}, {}, which + " copies from outside the source"};
            std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(sourceCopyAt), length, into);
            sourceCopyAt += length;
            break;
        }
        case bpsTargetCopy: {
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
