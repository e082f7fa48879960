#pragma once

// Every command and every option of quarnet-terrain, each declared once. A
// command is its file: its row (name, operands, options, summary, help and
// run function) is defined there, and named once in the list in
// CommandTable.cpp, which gives the order the help lists them in.

#include "CommandContext.h"

#include <span>
#include <string_view>

namespace quarnet::cli {

struct Option {
    std::string_view name;  // "--offset"
    bool takesValue;        // "--offset 44" or "--offset=44"; without, a flag
    bool everyCommand;      // else only the commands that list it
};

struct Command {
    std::string_view name;
    std::string_view operands;                 // as the usage line names them; "[OUT]" may be left out
    std::span<const std::string_view> options; // besides those of every command
    std::string_view summary;                  // its line in the program's help
    std::string_view chineseSummary;           // the same in 简体中文
    std::string_view help;                     // its own help; "{offset}" stands for the default start address
    std::string_view chineseHelp;              // the same in 简体中文
    int (*run)(const CommandContext& context);

    std::size_t fewestOperands() const;
    std::size_t mostOperands() const;
    bool takes(const Option& option) const;
};

// In the order the help lists them.
std::span<const Command> commands();
std::span<const Option> options();

const Command* findCommand(std::string_view name);
const Option* findOption(std::string_view name);

} // namespace quarnet::cli
