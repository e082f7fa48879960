#include "BpsPatch.h"

#include "platform/Crc32.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>

namespace quarnet::patches {

namespace {

using Bytes = std::span<const std::uint8_t>;
using texts::Text;

PatchedBytes refused(texts::Message why)
{
    return {{}, {}, std::move(why)};
}

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
    std::optional<std::uint64_t> number(std::optional<texts::Message>& reason)
    {
        std::uint64_t value = 0;
        std::uint64_t shift = 1;
        const std::size_t start = at_;
        for (;;) {
            if (atEnd()) {
                reason = texts::message(Text::bpsNumberCutShort, start);
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
        reason = texts::message(Text::bpsNumberOverflows, start);
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
std::optional<Header> readHeader(PatchReader& reader, std::optional<texts::Message>& reason)
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
        reason = texts::message(Text::bpsMetadataPastEnd, *metadataSize);
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
        return refused(texts::message(Text::notBps));
    if (patch.size() < magic.size() + 3 + footerSize)
        return refused(texts::message(Text::bpsTooShort, patch.size()));
    const std::size_t bodyEnd = patch.size() - footerSize;
    const std::uint32_t sourceCrc = littleEndian(patch, bodyEnd);
    const std::uint32_t targetCrc = littleEndian(patch, bodyEnd + 4);
    const std::uint32_t patchCrc = littleEndian(patch, bodyEnd + 8);
    const std::uint32_t actualPatchCrc = platform::crc32(patch.first(bodyEnd + 8));
    if (actualPatchCrc != patchCrc)
        return refused(texts::message(Text::bpsPatchCrc, actualPatchCrc, patchCrc));

    std::optional<texts::Message> reason;
    PatchReader reader(patch, bodyEnd);
    const std::optional<Header> header = readHeader(reader, reason);
    if (!header)
        return refused(std::move(*reason));
    const std::uint32_t actualSourceCrc = platform::crc32(source);
    if (header->sourceSize != source.size() || sourceCrc != actualSourceCrc)
        return refused(texts::message(Text::bpsOtherFile, header->sourceSize, sourceCrc, source.size(), actualSourceCrc));
    if (header->targetSize != source.size())
        return refused(texts::message(Text::bpsChangesLength, source.size(), header->targetSize));

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
            return refused(std::move(*reason));
        const std::uint64_t length = (*command >> 2) + 1;
        if (length > size - written)
            return refused(texts::message(Text::bpsWritesPastEnd, actionAt, length, written));
        const auto into = target.begin() + static_cast<std::ptrdiff_t>(written);
        switch (*command & 3) {
        case bpsSourceRead:
            std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(written), length, into);
            break;
        case bpsTargetRead:
            if (length > reader.left())
                return refused(texts::message(Text::bpsReadsPastPatchEnd, actionAt, length));
            std::ranges::copy(reader.take(static_cast<std::size_t>(length)), into);
            break;
        case bpsSourceCopy: {
            const auto step = reader.number(reason);
            if (!step)
                return refused(std::move(*reason));
            if (!moveOffset(*step, sourceCopyAt, size) || length > size - sourceCopyAt)
                return refused(texts::message(Text::bpsCopiesOutsideSource, actionAt));
            std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(sourceCopyAt), length, into);
            sourceCopyAt += length;
            break;
        }
        case bpsTargetCopy: {
            const auto step = reader.number(reason);
            if (!step)
                return refused(std::move(*reason));
            // Byte by byte: a copy may repeat the bytes it has just written,
            // but never read one not yet written.
            if (!moveOffset(*step, targetCopyAt, size) || targetCopyAt >= written)
                return refused(texts::message(Text::bpsCopiesUnwritten, actionAt));
            for (std::uint64_t i = 0; i < length; ++i)
                target[written + i] = target[targetCopyAt + i];
            targetCopyAt += length;
            break;
        }
        }
        written += length;
    }
    if (written != size)
        return refused(texts::message(Text::bpsActionsEndEarly, written, size));
    const std::uint32_t actualTargetCrc = platform::crc32(target);
    if (actualTargetCrc != targetCrc)
        return refused(texts::message(Text::bpsTargetCrc, actualTargetCrc, targetCrc));
    return result;
}

std::string bpsMetadata(Bytes patch)
{
    if (!startsWithMagic(patch) || patch.size() < magic.size() + footerSize)
        return {};
    std::optional<texts::Message> reason;
    PatchReader reader(patch, patch.size() - footerSize);
    const std::optional<Header> header = readHeader(reader, reason);
    return header ? std::string(header->metadata.begin(), header->metadata.end()) : std::string();
}

} // namespace quarnet::patches
