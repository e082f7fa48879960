#include "CommandLine.h"

#include <algorithm>
#include <array>

namespace quarnet::cli {

namespace {

struct CommandShape {
    std::string_view name;
    std::string_view operands; // as the usage line names them
    std::size_t fewestOperands;
    std::size_t mostOperands;
};

constexpr std::array<CommandShape, 4> commands = {{
    {"render", "MAP OUT", 2, 2},
    {"diff", "OLD NEW", 2, 2},
    {"export", "MAP [OUT]", 1, 2},
    {"apply", "MAP EDITS", 2, 2},
}};

struct OptionShape {
    std::string_view name;
    bool takesValue;
    std::array<std::string_view, 4> commands; // those that take it
};

constexpr std::array<OptionShape, 5> options = {{
    {"--offset", true, {"render", "diff", "export", "apply"}},
    {"--scale", true, {"render"}},
    {"--csv", false, {"diff"}},
    {"--backup", true, {"apply"}},
    {"--help", false, {"render", "diff", "export", "apply"}},
}};

const OptionShape* findOption(std::string_view name)
{
    const auto it = std::ranges::find(options, name, &OptionShape::name);
    return it == options.end() ? nullptr : &*it;
}

const CommandShape* findCommand(std::string_view name)
{
    const auto it = std::ranges::find(commands, name, &CommandShape::name);
    return it == commands.end() ? nullptr : &*it;
}

ParsedCommandLine failure(std::string reason)
{
    return {{}, std::move(reason)};
}

} // namespace

const std::string* CommandLine::value(std::string_view option) const
{
    const auto it = values.find(option);
    return it == values.end() ? nullptr : &it->second;
}

bool isCommand(std::string_view word)
{
    return findCommand(word) != nullptr;
}

ParsedCommandLine parseCommandLine(std::span<const std::string> arguments)
{
    CommandLine line;
    std::vector<std::string> given; // options in the order given, for the check below
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        const bool looksLikeOption = word.size() > 1 && word[0] == '-';
        if (optionsEnded || !looksLikeOption) {
            if (line.command.empty())
                line.command = word;
            else
                line.operands.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word == "-h") {
            line.help = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const OptionShape* option = findOption(name);
        if (!option)
            return failure("unknown option " + name);
        given.push_back(name);
        if (!option->takesValue) {
            if (equals != std::string::npos)
                return failure(name + " takes no value");
            if (name == "--help")
                line.help = true;
            else
                line.csv = true;
            continue;
        }
        if (equals != std::string::npos) {
            line.values[name] = word.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            line.values[name] = arguments[++i];
        } else {
            return failure(name + " needs a value");
        }
    }

    if (line.command.empty()) {
        if (line.help)
            return {std::move(line), {}};
        return failure("no command given");
    }
    const CommandShape* command = findCommand(line.command);
    if (!command)
        return failure("unknown command " + line.command);
    for (const std::string& name : given) {
        const auto& takers = findOption(name)->commands;
        if (std::ranges::find(takers, line.command) == takers.end())
            return failure(line.command + " takes no option " + name);
    }
    if (line.help)
        return {std::move(line), {}};
    const std::size_t count = line.operands.size();
    if (count < command->fewestOperands || count > command->mostOperands)
        return failure(line.command + " takes " + std::string(command->operands) + ", got " + std::to_string(count)
                       + (count == 1 ? " operand" : " operands"));
    return {std::move(line), {}};
}

} // namespace quarnet::cli
