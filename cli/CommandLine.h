#pragma once

#include "mapfile/Message.h"

#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quarnet::cli {

struct Command;

// The words of a command line, sorted into the command, its operands and its
// options. Options may stand anywhere; "--" ends them.
struct CommandLine {
    std::string command;               // empty when none was given
    std::vector<std::string> operands; // after the command
    std::map<std::string, std::string, std::less<>> values; // options with a value: "--offset" -> "44"
    std::set<std::string, std::less<>> flags;               // options without: "--csv"

    const std::string* value(std::string_view option) const;
    bool flag(std::string_view option) const;
};

// The command line and its command (none when only the program's help is
// asked for), or what is wrong with it. Checks that each
// option exists, takes a value or not as declared, and belongs to the
// command, and that the operands are as many as the command takes; --help
// skips the operand count.
struct ParsedCommandLine {
    CommandLine line;
    const Command* command = nullptr;
    std::optional<texts::Message> error;
};
ParsedCommandLine parseCommandLine(std::span<const std::string> arguments);

} // namespace quarnet::cli
