// The three descriptions of the command line, --help, the manual page and
// docs/command-line.md, name every command of the command table in its order,
// and, in each command's own part, every option it takes.

#include "cli/CommandTable.h"
#include "cli/Help.h"
#include "cli/OwnConsoleHelp.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace quarnet::testing {
namespace {

std::string sourceFile(const std::string& path)
{
    std::ifstream in(std::string(QUARNET_SOURCE_DIR) + "/" + path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The manual page with roff's escaped hyphens as plain ones.
std::string manualPage()
{
    std::string text = sourceFile("cli/quarnet-terrain.1");
    for (std::size_t at = text.find("\\-"); at != std::string::npos; at = text.find("\\-", at))
        text.erase(at, 1);
    return text;
}

// The text from `start` to the next `end`, or to the text's end.
std::string partOf(const std::string& text, const std::string& start, const std::string& end)
{
    const std::size_t from = text.find(start);
    if (from == std::string::npos)
        return {};
    const std::size_t to = text.find(end, from + start.size());
    return text.substr(from, to == std::string::npos ? std::string::npos : to - from);
}

struct Description {
    std::string name;
    std::string text;
    // Where a command's part starts, and what starts the next part.
    std::string (*commandStart)(std::string_view command);
    std::string partEnd;
};

std::vector<Description> descriptions()
{
    return {
        {"--help", cli::helpText("", texts::Language::english), [](std::string_view c) { return "\n  " + std::string(c) + " "; }, "\n"},
        {"quarnet-terrain.1 SYNOPSIS", partOf(manualPage(), ".SH SYNOPSIS", ".SH DESCRIPTION"),
         [](std::string_view c) { return ".B quarnet-terrain " + std::string(c) + "\n"; }, ".br"},
        {"quarnet-terrain.1 DESCRIPTION", partOf(manualPage(), ".SH DESCRIPTION", ".SH OPTIONS"),
         [](std::string_view c) { return ".TP\n.B " + std::string(c) + "\n"; }, ".TP"},
        {"docs/command-line.md", sourceFile("docs/command-line.md"),
         [](std::string_view c) { return "\n## " + std::string(c) + "\n"; }, "\n## "},
    };
}

TEST(CommandLineReference, EveryCommandInTheTablesOrder)
{
    for (const Description& description : descriptions()) {
        SCOPED_TRACE(description.name);
        ASSERT_FALSE(description.text.empty());
        std::size_t previous = 0;
        for (const cli::Command& command : cli::commands()) {
            const std::size_t at = description.text.find(description.commandStart(command.name));
            EXPECT_NE(at, std::string::npos) << command.name << " is missing";
            EXPECT_GT(at, previous) << command.name << " is out of the command table's order";
            previous = at == std::string::npos ? previous : at;
        }
    }
}

TEST(CommandLineReference, EveryOptionWhereItsCommandIsDescribed)
{
    const std::string manual = manualPage();
    const std::string manualOptions = partOf(manual, ".SH OPTIONS", ".SH EXIT STATUS");
    const std::string reference = sourceFile("docs/command-line.md");
    const std::string everyCommand = partOf(reference, "## Options of every command", "\n## ");
    for (const cli::Option& option : cli::options()) {
        SCOPED_TRACE(option.name);
        const std::string name(option.name);
        EXPECT_TRUE(manualOptions.find(".B " + name + "\n") != std::string::npos
                    || manualOptions.find(".BI " + name + " ") != std::string::npos
                    || manualOptions.find(".BR " + name + " ") != std::string::npos)
            << "manual page OPTIONS";
        if (option.everyCommand) {
            EXPECT_NE(cli::helpText("", texts::Language::english).find(option.name), std::string::npos) << "--help";
            EXPECT_NE(everyCommand.find("`" + std::string(option.name)), std::string::npos) << "command-line.md";
        }
        for (const cli::Command& command : cli::commands()) {
            if (!command.takes(option) || option.name == "--help")
                continue;
            SCOPED_TRACE(command.name);
            EXPECT_NE(cli::helpText(command.name, texts::Language::english).find(option.name), std::string::npos) << command.name << " --help";
            for (const Description& description : descriptions()) {
                if (description.name == "--help" || description.name == "quarnet-terrain.1 DESCRIPTION")
                    continue;
                const std::string part =
                    partOf(description.text, description.commandStart(command.name), description.partEnd);
                EXPECT_NE(part.find(option.name), std::string::npos) << description.name;
            }
        }
    }
}

TEST(CommandLineReference, DoubleClickedHelpInChineseThenEnglish)
{
    const std::string help = cli::ownConsoleHelp();
    const std::size_t chinese = help.find("命令行程序");
    const std::size_t english = help.find("is a command-line program");
    ASSERT_NE(chinese, std::string::npos);
    ASSERT_NE(english, std::string::npos);
    EXPECT_LT(chinese, english);
    EXPECT_NE(help.find(cli::helpText("", texts::Language::english), english), std::string::npos) << "the English help follows";
    for (const cli::Command& command : cli::commands()) {
        SCOPED_TRACE(command.name);
        const std::string_view summary = cli::chineseSummary(command.name);
        ASSERT_FALSE(summary.empty());
        EXPECT_LT(help.find(summary), english);
    }
}

} // namespace
} // namespace quarnet::testing
