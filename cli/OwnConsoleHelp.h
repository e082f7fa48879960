#pragma once

#include <string>
#include <string_view>

namespace quarnet::cli {

// What quarnet-terrain.exe shows when it was started by a double-click, with a
// console of its own that closes when it ends: that it is a command-line
// program and how to run one, then the program's help, in Chinese first and
// then in English. The caller then waits for Enter.
std::string ownConsoleHelp();

// The last line before the caller waits for Enter, in both languages.
inline constexpr std::string_view pressEnterToClose = "按 Enter 键关闭此窗口。 Press Enter to close this window.\n";

// A command's one-line summary in Chinese, or empty for a name that is no command.
std::string_view chineseSummary(std::string_view command);

} // namespace quarnet::cli
