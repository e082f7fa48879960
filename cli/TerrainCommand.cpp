#include "TerrainCommand.h"

#include "Commands.h"
#include "Help.h"

#include "model/HexText.h"

namespace quarnet::cli {

int CommandContext::fail(std::string_view message) const
{
    err << "quarnet-terrain " << line.command << ": " << message << '\n';
    return exitTrouble;
}

int runTerrainCommand(std::span<const std::string> arguments, platform::Files& mapFiles, std::ostream& out,
                      std::ostream& err)
{
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (!parsed.error.empty()) {
        err << "quarnet-terrain: " << parsed.error << " (see quarnet-terrain --help)\n";
        return exitTrouble;
    }
    const CommandLine& line = parsed.line;
    if (line.help) {
        out << helpText(line.command);
        return exitSuccess;
    }

    // The start address follows the window's hexadecimal-text rules; only an
    // empty one, which the window ignores, is refused.
    const std::string* offsetText = line.value("--offset");
    if (offsetText && offsetText->empty()) {
        err << "quarnet-terrain " << line.command << ": --offset needs a hexadecimal start address such as 44\n";
        return exitTrouble;
    }
    const CommandContext context {line, parseHexText(offsetText ? *offsetText : "44"), mapFiles, out, err};
    if (line.command == "render")
        return runRender(context);
    if (line.command == "diff")
        return runDiff(context);
    if (line.command == "export")
        return runExport(context);
    return runApply(context);
}

} // namespace quarnet::cli
