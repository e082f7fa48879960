#pragma once

#include <string>
#include <string_view>

namespace quarnet::cli {

// The help of the program (command empty) or of one command, from the
// command table's rows.
std::string helpText(std::string_view command);

} // namespace quarnet::cli
