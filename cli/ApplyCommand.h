#pragma once

// apply MAP EDITS|PATCH, and what import --apply borrows from it: edits
// written into the map as apply writes them and reported as apply reports
// them.

#include "CommandContext.h"

#include "mapfile/EditList.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quarnet::cli {

// Writes the edits into MAP, open through context.mapFiles as `map`, whose
// whole content is `original`, through the safe write. Prints "Wrote N codes
// into MAP; the backup is BACKUP" and gives exitSuccess, or prints why not
// and whether MAP was restored and gives exitTrouble.
int applyEdits(const CommandContext& context, platform::FileNumber map, const std::string& mapPath,
               std::span<const std::uint8_t> original, std::span<const edits::TerrainEdit> edits,
               const std::optional<std::string>& backupChoice);

} // namespace quarnet::cli
