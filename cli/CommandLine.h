#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarnet::cli {

// The words of a command line, sorted into the command, its operands and its
// options. Options may stand anywhere; "--" ends them.
struct CommandLine {
    std::string command;               // empty when none was given
    std::vector<std::string> operands; // after the command
    std::map<std::string, std::string, std::less<>> values; // "--offset" -> "44"
    bool help = false;
    bool csv = false;

    const std::string* value(std::string_view option) const;
};

// The command line, or a one-line reason why it can't be one. Checks that
// each option belongs to the command and that the operands are as many as
// the command takes; --help skips the operand count.
struct ParsedCommandLine {
    CommandLine line;
    std::string error;
};
ParsedCommandLine parseCommandLine(std::span<const std::string> arguments);

// The commands, in the order the help lists them.
bool isCommand(std::string_view word);

} // namespace quarnet::cli
