#pragma once

// apply's way of writing into a map in place, which every input it takes
// shares (an edit list, a patch): everything is checked in memory first;
// then a flushed backup, the bytes, one flush, every byte read back, and the
// original restored on any failure.

#include "Commands.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quarnet::cli {

// Closes the map however apply ends.
class ClosesFiles {
public:
    explicit ClosesFiles(platform::Files& files) : files_(files) {}
    ~ClosesFiles() { files_.closeAll(); }
    ClosesFiles(const ClosesFiles&) = delete;
    ClosesFiles& operator=(const ClosesFiles&) = delete;

private:
    platform::Files& files_;
};

struct ByteChange {
    std::int64_t offset; // inside the file
    std::uint8_t byte;
};

struct MapWrite {
    const std::string& mapPath;
    platform::FileNumber map;               // open through context.mapFiles
    const std::vector<std::uint8_t>& original; // the whole file as it is
    std::span<const ByteChange> changes;
    std::function<std::string(std::size_t)> nameChange; // "block 5 (line 2)": the change a failed write names
    std::optional<std::uint32_t> expectedCrc;           // of the whole file once written
};

// The backup's path from --backup, or MAP.bak; empty when --backup is given
// empty.
std::string backupPathOf(const CommandContext& context, const std::string& mapPath);

// Writes the changes as the header says. Empty on success; else why not,
// ending with whether MAP was restored, ready for context.fail.
std::string writeSafely(const CommandContext& context, const MapWrite& write, const std::string& backupPath);

// MAP as apply opened it through context.mapFiles.
struct OpenMap {
    const std::string& path;
    platform::FileNumber number;
    std::int64_t length;
};

// apply MAP PATCH: an IPS or BPS patch, checked whole against MAP before a
// byte is written.
int applyPatchFile(const CommandContext& context, const OpenMap& opened, const std::string& patchPath,
                   const std::vector<std::uint8_t>& patch);

} // namespace quarnet::cli
