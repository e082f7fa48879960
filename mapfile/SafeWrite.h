#pragma once

// The ways bytes are written into a map file in place; every write of the
// command line and of the window goes through one of them.
//
// writeSafely, for many bytes (apply, import --apply, the window's imports
// and patches and their undo and redo): a backup copy of the whole file
// first, written and flushed; then the bytes, one flush, the whole file read
// back (and, where a patch promises one, its CRC-32 checked); on any failure
// the original bytes are written back from memory and checked, and the
// backup stays.
//
// writeByte, for one byte (the window's write button and the undo and redo
// of its writes), with no backup file: the byte written, flushed and read
// back; when that fails or finds another byte, the old byte is written back
// from memory and flushed. Its caller keeps a copy of the map as it was
// opened (keepBackupCopy) before the first such write.

#include "EditList.h"
#include "Message.h"

#include "platform/Files.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarnet::edits {

struct ByteChange {
    std::int64_t offset; // inside the file
    std::uint8_t byte;
};

struct MapWrite {
    platform::FileNumber map;                // open for reading and writing through the files given
    std::string_view mapPath;                // as the messages name it
    std::span<const std::uint8_t> original;  // the whole file as it is: what the backup holds
    std::span<const ByteChange> changes;     // each offset inside the file
    std::function<texts::Message(std::size_t)> nameChange; // "block 5 (line 2)": the change a failed write names
    std::optional<std::uint32_t> expectedCrc;           // of the whole file once written
};

struct WriteResult {
    bool written = false;
    std::string backupPath; // where the backup went, once it is complete
    // Why not, ending with whether the map was left as it was, restored, or
    // may be damaged; none when written.
    std::optional<texts::Message> failure;
};

// Where the backup goes: a path the user chose, which must not exist yet,
// or, without one, the first of MAP.bak, MAP.1.bak, MAP.2.bak, ... that does
// not exist. No file is ever overwritten, and an existing backup never stops
// a write that chose no path.
using BackupChoice = std::optional<std::string>;

// The backup paths beside a map, in the order they are tried: n = 0 gives
// MAP.bak, n = 1 MAP.1.bak.
std::string numberedBackupPath(std::string_view mapPath, int n);

// Writes the changes as the header says.
WriteResult writeSafely(platform::Files& files, const MapWrite& write, const BackupChoice& backup);

// Writes one byte as the header says. `before` is the byte the caller found
// there, put back when the write can't be confirmed.
struct ByteWriteResult {
    bool written = false;
    // Why not, ending with whether the old byte is back; none when written.
    std::optional<texts::Message> failure;
};
ByteWriteResult writeByte(platform::Files& files, platform::FileNumber map, std::string_view mapPath,
                          std::int64_t offset, std::uint8_t before, std::uint8_t after);

// A copy of the whole file in the first free numbered backup beside the map
// (numberedBackupPath), written and flushed; its path in backupPath, or why
// not in failure. An incomplete copy is deleted.
WriteResult keepBackupCopy(platform::Files& files, std::string_view mapPath, std::span<const std::uint8_t> bytes);

// The edits (each block once, every code byte inside the file) written as
// writeSafely writes, a failed one named by its block and line.
WriteResult writeEdits(platform::Files& files, platform::FileNumber map, std::string_view mapPath,
                       std::span<const std::uint8_t> original, std::span<const TerrainEdit> edits,
                       std::int64_t baseOffset, const BackupChoice& backup);

// The whole of an open file, for MapWrite::original; nothing when it can't
// be read whole.
std::optional<std::vector<std::uint8_t>> readWholeMap(platform::Files& files, platform::FileNumber map);

} // namespace quarnet::edits
