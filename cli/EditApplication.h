#pragma once

// Writes changes into a map file in place, safely: a flushed backup first,
// then the bytes, one flush, every byte read back (and, where given, the
// whole file's CRC-32 checked), and the original restored on any failure.
// apply (edit lists and patches) and import --apply share it.

#include "Commands.h"
#include "EditList.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quarnet::cli {

// Closes the map however a command ends.
class ClosesFiles {
public:
    explicit ClosesFiles(platform::Files& files) : files_(files) {}
    ~ClosesFiles() { files_.closeAll(); }
    ClosesFiles(const ClosesFiles&) = delete;
    ClosesFiles& operator=(const ClosesFiles&) = delete;

private:
    platform::Files& files_;
};

// The backup's path from --backup, or MAP.bak; empty, after printing the
// error, when --backup is given empty.
std::string backupPathOf(const CommandContext& context, const std::string& mapPath);

struct ByteChange {
    std::int64_t offset; // inside the file
    std::uint8_t byte;
};

struct MapWrite {
    const std::string& mapPath;
    platform::FileNumber map;                  // open through context.mapFiles
    const std::vector<std::uint8_t>& original; // the whole file as it is
    std::span<const ByteChange> changes;
    std::function<std::string(std::size_t)> nameChange; // "block 5 (line 2)": the change a failed write names
    std::optional<std::uint32_t> expectedCrc;           // of the whole file once written
};

// Writes the changes as the header says. Empty on success; else why not,
// ending with whether MAP was restored, ready for context.fail. An existing
// backup is never overwritten.
std::string writeSafely(const CommandContext& context, const MapWrite& write, const std::string& backupPath);

// Applies edits (each block once, every code byte inside the file of
// `length` bytes) to the map, open through context.mapFiles as `map`. Prints
// "Wrote N codes into MAP; the backup is BACKUP" and gives exitSuccess, or
// prints why not and whether MAP was restored and gives exitTrouble.
int applyEdits(const CommandContext& context, platform::FileNumber map, const std::string& mapPath,
               std::int64_t length, std::span<const TerrainEdit> edits, const std::string& backupPath);

} // namespace quarnet::cli
