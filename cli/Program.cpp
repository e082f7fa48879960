#include "Program.h"

#include "CommandContext.h"
#include "CommandTable.h"
#include "Help.h"

#include "mapfile/HexText.h"
#include "mapfile/MapGeometry.h"

namespace quarnet::cli {

int runProgram(std::span<const std::string> arguments, platform::Files& mapFiles, std::ostream& out, std::ostream& err,
               texts::Language language)
{
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (parsed.error) {
        err << "quarnet-terrain: " << texts::renderMessage(*parsed.error, language) << '\n';
        return exitTrouble;
    }
    const CommandLine& line = parsed.line;
    if (line.flag("--help")) {
        out << helpText(line.command, language);
        return exitSuccess;
    }

    // The start address follows the window's hexadecimal-text rules; only an
    // empty one, which the window ignores, is refused.
    const std::string* offsetText = line.value("--offset");
    const std::int64_t baseOffset = parseHexText(offsetText ? *offsetText : geometry::defaultStartAddress);
    const CommandContext context {line, baseOffset, mapFiles, out, err, language};
    if (offsetText && offsetText->empty())
        return context.fail(
            texts::message(texts::Text::offsetNeedsValue).withOther(std::string(geometry::defaultStartAddress)));
    return parsed.command->run(context);
}

} // namespace quarnet::cli
