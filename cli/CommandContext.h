#pragma once

// What a command runs with: its command line, the start address, the files
// that edits go through and the two output streams. Each command prints its
// results to `out` and each error as one line to `err`, and gives the
// program's exit code.

#include "CommandLine.h"
#include "Program.h"

#include "mapfile/Message.h"
#include "platform/Files.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace quarnet::cli {

struct CommandContext {
    const CommandLine& line;
    std::int64_t baseOffset;
    platform::Files& mapFiles; // the files apply edits through
    std::ostream& out;
    std::ostream& err;
    texts::Language language; // of every text printed

    // The message in the user's language.
    std::string say(const texts::Message& message) const;

    // Prints "quarnet-terrain COMMAND: message" as one line; gives exitTrouble.
    int fail(const texts::Message& message) const;

    // The backup's path that --backup chose, or none (a numbered backup
    // beside MAP). False, after printing the error, when --backup is given
    // empty.
    bool readBackupOption(std::optional<std::string>& chosen) const;
};

} // namespace quarnet::cli
