#pragma once

// apply MAP EDITS|PATCH: what the two kinds of input share once MAP is open.
// Both write through writeSafely (EditApplication.h), so everything is
// checked in memory before a byte is written.

#include "Commands.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quarnet::cli {

// MAP as apply opened it through context.mapFiles.
struct OpenMap {
    const std::string& path;
    platform::FileNumber number;
    std::int64_t length;
    const std::string& backupPath;
};

// apply MAP PATCH: an IPS or BPS patch, checked whole against MAP before a
// byte is written.
int applyPatchFile(const CommandContext& context, const OpenMap& opened, const std::string& patchPath,
                   const std::vector<std::uint8_t>& patch);

} // namespace quarnet::cli
