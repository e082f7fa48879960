#pragma once

#include <string_view>

namespace quarnet::cli {

// The help of the program (command empty) or of one command.
std::string_view helpText(std::string_view command);

} // namespace quarnet::cli
