#pragma once

#include <string>
#include <string_view>

namespace quarnet::cli {

// Each command's own help, as the command table names it; "{offset}" stands
// for the default start address.
extern const std::string_view renderHelp;
extern const std::string_view diffHelp;
extern const std::string_view exportHelp;
extern const std::string_view applyHelp;
extern const std::string_view importHelp;
extern const std::string_view patchHelp;

// The help of the program (command empty) or of one command.
std::string helpText(std::string_view command);

} // namespace quarnet::cli
