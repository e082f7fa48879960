#pragma once

// How the command line names a block and a code.

#include <cstdint>
#include <string>

namespace quarnet::cli {

// Appends "block 548, row 2, column 2, x 32～63, y 32～63" (a diff lists
// thousands, so no temporary texts).
void appendBlockPlace(std::string& text, std::int32_t block);

// "05 道路", or "30" for a code without a name.
std::string codeWithNameText(int code);

} // namespace quarnet::cli
