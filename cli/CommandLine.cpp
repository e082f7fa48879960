#include "CommandLine.h"

#include "CommandTable.h"

namespace quarnet::cli {

namespace {

ParsedCommandLine failure(const std::string& reason, const std::string& afterHint = {})
{
    return {{}, nullptr, reason + " (see quarnet-terrain --help)" + afterHint};
}

std::string commandNames()
{
    std::string names;
    for (const Command& command : commands())
        names += (names.empty() ? "" : ", ") + std::string(command.name);
    return names;
}

} // namespace

const std::string* CommandLine::value(std::string_view option) const
{
    const auto it = values.find(option);
    return it == values.end() ? nullptr : &it->second;
}

bool CommandLine::flag(std::string_view option) const
{
    return flags.contains(option);
}

ParsedCommandLine parseCommandLine(std::span<const std::string> arguments)
{
    CommandLine line;
    std::vector<const Option*> given; // in the order given, for the check below
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
        const std::size_t equals = word.find('=');
        const std::string name = word == "-h" ? "--help" : word.substr(0, equals);
        const Option* option = findOption(name);
        if (!option)
            return failure("unknown option " + name);
        given.push_back(option);
        if (!option->takesValue) {
            if (equals != std::string::npos)
                return failure(name + " takes no value");
            line.flags.insert(name);
            continue;
        }
        if (equals != std::string::npos)
            line.values[name] = word.substr(equals + 1);
        else if (i + 1 < arguments.size())
            line.values[name] = arguments[++i];
        else
            return failure(name + " needs a value");
    }

    const bool help = line.flag("--help");
    if (line.command.empty()) {
        if (help)
            return {std::move(line), nullptr, {}};
        return failure("no command given");
    }
    const Command* command = findCommand(line.command);
    if (!command)
        return failure("unknown command " + line.command, "; the commands are " + commandNames());
    for (const Option* option : given) {
        if (!command->takes(*option))
            return failure(line.command + " takes no option " + std::string(option->name));
    }
    const std::size_t count = line.operands.size();
    if (!help && (count < command->fewestOperands() || count > command->mostOperands()))
        return failure(line.command + " takes " + std::string(command->operands) + ", got " + std::to_string(count)
                       + (count == 1 ? " operand" : " operands"));
    return {std::move(line), command, {}};
}

} // namespace quarnet::cli
