#pragma once

// Writes checked terrain edits into a map file in place, safely: a flushed
// backup first, then the bytes, one flush, every byte read back, and the
// original restored on any failure. What apply, import --apply and every
// later command that edits a map share.

#include "Commands.h"
#include "EditList.h"

#include <span>
#include <string>

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

// Applies edits (each block once, every code byte inside the file of
// `length` bytes) to the map, open through context.mapFiles as `map`. Prints
// "Wrote N codes into MAP; the backup is BACKUP" and gives exitSuccess, or
// prints why not and whether MAP was restored and gives exitTrouble. An
// existing backup is never overwritten.
int applyEdits(const CommandContext& context, platform::FileNumber map, const std::string& mapPath,
               std::int64_t length, std::span<const TerrainEdit> edits, const std::string& backupPath);

} // namespace quarnet::cli
