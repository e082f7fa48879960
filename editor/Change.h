#pragma once

#include "mapfile/Message.h"
#include "mapfile/SafeWrite.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quarnet {

// One byte of a change: where it lies, the block whose code it is (0 for a
// byte that is no block's code, as a patch's header), the byte the change
// expects to find there and the byte it writes.
struct ByteWrite {
    std::int64_t offset = 0;
    std::int32_t block = 0;
    std::uint8_t before = 0;
    std::uint8_t after = 0;
    friend bool operator==(const ByteWrite&, const ByteWrite&) = default;
};

// One change to the open map, whatever made it: the write button, an import,
// a patch, or the undo or redo of one of those. Each is applied in one place
// (MapEditor::applyChange), and the history keeps them as its steps.
struct Change {
    // What the messages name it by: "写入区块 5479", "导入地形图 terrain.png".
    texts::Message title;
    // The verb of its messages: "写入", "导入", "应用补丁".
    texts::Text action {};
    // In offset order. Blocks became offsets when the change was built.
    std::vector<ByteWrite> bytes;
    // The block the write button wrote, which an undo or a redo makes
    // current again; 0 for a change whose blocks are shown on their page.
    std::int32_t currentBlock = 0;
    // Written with a backup of the whole file first (imports, patches and
    // their undo and redo); otherwise one byte at a time, each read back.
    bool backedUp = false;
    // An import or a patch: the whole file as it was read, which its preview
    // showed, and the CRC-32 a patch promises for the file once written.
    // Neither is kept in the history.
    std::vector<std::uint8_t> fileAsRead;
    std::optional<std::uint32_t> expectedCrc;

    // The change that takes this one back: each byte expects what this one
    // writes and writes what it expected.
    Change reversed() const;
    // The blocks whose code it changes, in block order.
    std::vector<std::int32_t> blocks() const;
};

// The bytes that turn a file as read into one with the changes made, each
// named by its block when it is a code byte.
std::vector<ByteWrite> byteWrites(std::span<const std::uint8_t> fileAsRead,
                                  std::span<const edits::ByteChange> changes, std::int64_t baseOffset);

} // namespace quarnet
