#include "CommandLine.h"

#include "CommandTable.h"

namespace quarnet::cli {

namespace {

using texts::Text;

ParsedCommandLine failure(texts::Message reason)
{
    return {{}, nullptr, texts::message(Text::commandSeeHelp).withPart(std::move(reason))};
}

texts::Message aboutOption(Text text, std::string_view name)
{
    return texts::message(text).withOther(std::string(name));
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
            return failure(aboutOption(Text::unknownOption, name));
        given.push_back(option);
        if (!option->takesValue) {
            if (equals != std::string::npos)
                return failure(aboutOption(Text::optionTakesNoValue, name));
            line.flags.insert(name);
            continue;
        }
        if (equals != std::string::npos)
            line.values[name] = word.substr(equals + 1);
        else if (i + 1 < arguments.size())
            line.values[name] = arguments[++i];
        else
            return failure(aboutOption(Text::optionNeedsValue, name));
    }

    const bool help = line.flag("--help");
    if (line.command.empty()) {
        if (help)
            return {std::move(line), nullptr, {}};
        return failure(texts::message(Text::noCommand));
    }
    const Command* command = findCommand(line.command);
    if (!command)
        return {{}, nullptr, texts::message(Text::commandsAre)
                                 .withOther(commandNames())
                                 .withPart(failure(aboutOption(Text::unknownCommand, line.command)).error.value())};
    for (const Option* option : given) {
        if (!command->takes(*option))
            return failure(aboutOption(Text::commandTakesNoOption, option->name).withFile(line.command));
    }
    const std::size_t count = line.operands.size();
    if (!help && (count < command->fewestOperands() || count > command->mostOperands()))
        return failure(texts::message(Text::operandCount, count).withFile(line.command).withOther(std::string(command->operands)));
    return {std::move(line), command, {}};
}

} // namespace quarnet::cli
