#pragma once

// quarnet-terrain itself: the arguments to a command of the command table,
// run with its options; main only supplies the arguments, the files and the
// streams.

#include "mapfile/Message.h"
#include "platform/Files.h"

#include <ostream>
#include <span>
#include <string>

namespace quarnet::cli {

inline constexpr int exitSuccess = 0;
inline constexpr int exitDifferent = 1; // diff: the terrain differs
inline constexpr int exitTrouble = 2;

// Runs quarnet-terrain with its arguments (without the program's name, as
// UTF-8). Map edits go through `mapFiles`; results go to `out`, messages to
// `err`, in `language`. Gives the exit code: 0 success, 1 diff found
// different terrain, 2 error.
int runProgram(std::span<const std::string> arguments, platform::Files& mapFiles, std::ostream& out, std::ostream& err,
               texts::Language language);

} // namespace quarnet::cli
