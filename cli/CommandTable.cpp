#include "CommandTable.h"

#include <algorithm>
#include <array>

namespace quarnet::cli {

// Each command's row is in its own file.
extern const Command renderCommand;
extern const Command diffCommand;
extern const Command exportCommand;
extern const Command applyCommand;
extern const Command importCommand;
extern const Command patchCommand;

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

// Made on first use, from the rows other files define.
std::span<const Command> commandRows()
{
    static const std::array<Command, 6> rows = {
        renderCommand, diffCommand, exportCommand, applyCommand, importCommand, patchCommand,
    };
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
