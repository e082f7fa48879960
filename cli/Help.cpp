#include "Help.h"

#include "CommandTable.h"

#include "mapfile/MapGeometry.h"

#include <algorithm>
#include <string>

namespace quarnet::cli {

namespace {

constexpr std::string_view programUsage = R"(Usage: quarnet-terrain COMMAND ARGUMENTS [OPTIONS]
Reads and edits the terrain codes of the game's big map file SANGO7.MPC.

Commands:
)";

constexpr std::string_view programOptions = R"(
Options of every command:
  --offset HEX       where block 1's record starts, hexadecimal (default {offset})
  --help             show the help of the program or of a command

Exit codes: 0 success (diff: the terrain is the same; import without
--apply: no block changes), 1 diff: the terrain or the files' lengths differ
(import without --apply: blocks change), 2 error. "quarnet-terrain COMMAND
--help" tells more.
)";

// The help texts name the default start address where they say "{offset}".
std::string withDefaultOffset(std::string_view text)
{
    constexpr std::string_view mark = "{offset}";
    std::string filled;
    for (std::size_t at = text.find(mark); at != std::string_view::npos; at = text.find(mark)) {
        filled.append(text.substr(0, at)).append(geometry::defaultStartAddress);
        text.remove_prefix(at + mark.size());
    }
    return filled.append(text);
}

std::string programHelp()
{
    constexpr std::size_t usageWidth = 27; // the summaries start in one column
    std::string help(programUsage);
    for (const Command& command : commands()) {
        std::string usage = std::string(command.name) + " " + std::string(command.operands);
        usage.resize(std::max(usage.size() + 1, usageWidth), ' ');
        help += "  " + usage + std::string(command.summary) + "\n";
    }
    return help + std::string(programOptions);
}

} // namespace

std::string helpText(std::string_view command)
{
    if (const Command* found = findCommand(command))
        return withDefaultOffset(found->help);
    return withDefaultOffset(programHelp());
}

} // namespace quarnet::cli
