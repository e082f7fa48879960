#include "CommandTable.h"

#include "Help.h"

#include <algorithm>
#include <array>

namespace quarnet::cli {

namespace {

constexpr std::array<Option, 10> allOptions = {{
    {.name = "--offset", .takesValue = true, .everyCommand = true},
    {.name = "--help", .takesValue = false, .everyCommand = true},
    {.name = "--scale", .takesValue = true, .everyCommand = false},
    {.name = "--csv", .takesValue = false, .everyCommand = false},
    {.name = "--picture", .takesValue = true, .everyCommand = false},
    {.name = "--backup", .takesValue = true, .everyCommand = false},
    {.name = "-o", .takesValue = true, .everyCommand = false},
    {.name = "--apply", .takesValue = false, .everyCommand = false},
    {.name = "--nearest", .takesValue = false, .everyCommand = false},
    {.name = "--dry-run", .takesValue = false, .everyCommand = false},
}};

constexpr std::array<std::string_view, 1> renderOptions = {"--scale"};
constexpr std::array<std::string_view, 3> diffOptions = {"--csv", "--picture", "--scale"};
constexpr std::array<std::string_view, 2> applyOptions = {"--backup", "--dry-run"};
constexpr std::array<std::string_view, 4> importOptions = {"-o", "--apply", "--nearest", "--backup"};

// Made on first use: the help texts are another file's.
std::span<const Command> commandRows()
{
    static const std::array<Command, 6> rows = {{
        {"render", "MAP OUT", renderOptions, "write the map's terrain as a PNG or JPEG picture", renderHelp, runRender},
        {"diff", "OLD NEW", diffOptions, "list the blocks whose terrain code differs", diffHelp, runDiff},
        {"export", "MAP [OUT]", {}, "write every block's terrain code as CSV", exportHelp, runExport},
        {"apply", "MAP EDITS|PATCH", applyOptions, "write edits or a patch into the map, backed up",
         applyHelp, runApply},
        {"import", "MAP PICTURE", importOptions, "turn a painted terrain picture into an edit list", importHelp,
         runImport},
        {"patch", "ORIGINAL MODDED OUT", {}, "write the IPS or BPS patch from ORIGINAL to MODDED", patchHelp,
         runPatch},
    }};
    return rows;
}

// The operand names of a usage line, each with whether it is optional.
template <typename Visit>
void forEachOperand(std::string_view operands, Visit visit)
{
    while (!operands.empty()) {
        const std::size_t space = operands.find(' ');
        const std::string_view word = operands.substr(0, space);
        visit(word.starts_with('['));
        operands.remove_prefix(space == std::string_view::npos ? operands.size() : space + 1);
    }
}

} // namespace

std::size_t Command::fewestOperands() const
{
    std::size_t count = 0;
    forEachOperand(operands, [&](bool optional) { count += optional ? 0 : 1; });
    return count;
}

std::size_t Command::mostOperands() const
{
    std::size_t count = 0;
    forEachOperand(operands, [&](bool) { ++count; });
    return count;
}

bool Command::takes(const Option& option) const
{
    return option.everyCommand || std::ranges::find(options, option.name) != options.end();
}

std::span<const Command> commands()
{
    return commandRows();
}

std::span<const Option> options()
{
    return allOptions;
}

const Command* findCommand(std::string_view name)
{
    const std::span<const Command> rows = commandRows();
    const auto it = std::ranges::find(rows, name, &Command::name);
    return it == rows.end() ? nullptr : &*it;
}

const Option* findOption(std::string_view name)
{
    const auto it = std::ranges::find(allOptions, name, &Option::name);
    return it == allOptions.end() ? nullptr : &*it;
}

} // namespace quarnet::cli
