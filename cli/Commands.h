#pragma once

// The commands, which CommandTable.cpp lists. Each prints its results to `out` and each error as one
// line to `err`, and gives the program's exit code.

#include "CommandLine.h"
#include "TerrainCommand.h"

#include "platform/Files.h"

#include <cstdint>
#include <ostream>
#include <string_view>

namespace quarnet::cli {

struct CommandContext {
    const CommandLine& line;
    std::int64_t baseOffset;
    platform::Files& mapFiles; // the files apply edits through
    std::ostream& out;
    std::ostream& err;

    // Prints "quarnet-terrain COMMAND: message" as one line; gives exitTrouble.
    int fail(std::string_view message) const;
};

int runRender(const CommandContext& context);
int runDiff(const CommandContext& context);
int runExport(const CommandContext& context);
int runApply(const CommandContext& context);
int runImport(const CommandContext& context);
int runPatch(const CommandContext& context);

} // namespace quarnet::cli
