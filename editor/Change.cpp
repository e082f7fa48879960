#include "Change.h"

#include "mapfile/BlockLayout.h"

#include <utility>

namespace quarnet {

Change Change::reversed() const
{
    Change back;
    back.title = title;
    back.action = action;
    back.currentBlock = currentBlock;
    back.backedUp = backedUp;
    back.bytes = bytes;
    for (ByteWrite& byte : back.bytes)
        std::swap(byte.before, byte.after);
    return back;
}

std::vector<std::int32_t> Change::blocks() const
{
    // Code bytes lie in block order, so offset order is block order.
    std::vector<std::int32_t> found;
    for (const ByteWrite& byte : bytes) {
        if (byte.block != 0)
            found.push_back(byte.block);
    }
    return found;
}

std::vector<ByteWrite> byteWrites(std::span<const std::uint8_t> fileAsRead,
                                  std::span<const edits::ByteChange> changes, std::int64_t baseOffset)
{
    std::vector<ByteWrite> bytes;
    bytes.reserve(changes.size());
    for (const edits::ByteChange& change : changes)
        bytes.push_back({change.offset, blocks::blockOfCodeByte(baseOffset, change.offset),
                         fileAsRead[static_cast<std::size_t>(change.offset)], change.byte});
    return bytes;
}

} // namespace quarnet
