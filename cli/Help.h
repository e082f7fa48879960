#pragma once

#include "mapfile/Message.h"

#include <string>
#include <string_view>

namespace quarnet::cli {

// The help of the program (command empty) or of one command, from the
// command table's rows, in the language given.
std::string helpText(std::string_view command, texts::Language language);

} // namespace quarnet::cli
