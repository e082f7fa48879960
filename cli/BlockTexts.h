#pragma once

// How the command line names a block and a code.

#include <cstddef>
#include <cstdint>
#include <string>

namespace quarnet::cli {

// Room enough for any block's place text.
inline constexpr std::size_t blockPlaceMaxSize = 128;

// Writes "block 548, row 2, column 2, x 32～63, y 32～63" at `out`, which
// has room for blockPlaceMaxSize bytes, and gives the end. In place: a diff
// lists thousands.
char* writeBlockPlace(char* out, std::int32_t block);

// "05 道路", or "30" for a code without a name.
std::string codeWithNameText(int code);

} // namespace quarnet::cli
