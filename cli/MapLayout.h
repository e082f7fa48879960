#pragma once

// Where the blocks' records lie in a map file, and how a block is named.

#include <cstdint>
#include <string>

namespace quarnet::cli {

// How many blocks, from block 1 on, have their code byte inside a file of the
// given length when block 1's record starts at baseOffset.
std::int32_t blocksInFile(std::int64_t baseOffset, std::int64_t fileLength);

// The offset of a block's code byte; only for blocks that blocksInFile counts.
std::int64_t codeOffset(std::int64_t baseOffset, std::int32_t block);

// Appends "block 548, row 2, column 2, x 32～63, y 32～63" (a diff lists
// thousands, so no temporary texts).
void appendBlockPlace(std::string& text, std::int32_t block);

// "05 道路", or "30" for a code without a name.
std::string codeWithNameText(int code);

} // namespace quarnet::cli
