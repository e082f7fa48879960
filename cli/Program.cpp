#include "Program.h"

#include "CommandContext.h"
#include "CommandTable.h"
#include "Help.h"

#include "mapfile/HexText.h"
#include "mapfile/MapGeometry.h"

namespace quarnet::cli {

int runProgram(std::span<const std::string> arguments, platform::Files& mapFiles, std::ostream& out, std::ostream& err)
{
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (!parsed.error.empty()) {
        err << "quarnet-terrain: " << parsed.error << '\n';
        return exitTrouble;
    }
    const CommandLine& line = parsed.line;
    if (line.flag("--help")) {
        out << helpText(line.command);
        return exitSuccess;
    }

    // The start address follows the window's hexadecimal-text rules; only an
    // empty one, which the window ignores, is refused.
    const std::string* offsetText = line.value("--offset");
    if (offsetText && offsetText->empty()) {
        err << "quarnet-terrain " << line.command << ": --offset needs a hexadecimal start address such as "
            << geometry::defaultStartAddress << '\n';
        return exitTrouble;
    }
    const std::int64_t baseOffset = parseHexText(offsetText ? *offsetText : geometry::defaultStartAddress);
    return parsed.command->run({line, baseOffset, mapFiles, out, err});
}

} // namespace quarnet::cli
