#pragma once

// The edit list: terrain codes by block, one a line as CSV ("548,05" or
// "32,32,05"), as diff --csv and import write it and apply reads it. Pure
// text; checked against a map file's length before anything is written.

#include "Message.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarnet::edits {

struct TerrainEdit {
    int line;            // in the edit list, from 1
    std::int32_t block;  // 1..211302
    std::uint8_t code;   // 1..34
};

// An edit list read and checked against a map file: the edits, each block
// once, in the order given; or one message for each bad line.
struct CheckedEditList {
    std::vector<TerrainEdit> edits;
    std::vector<texts::Message> errors; // each names its line
};

// Reads CSV lines of "BLOCK,CODE" or "X,Y,CODE" (CODE two hexadecimal digits,
// 01 to 22). Skips empty lines and a first line of words (a header). Checks
// every line: fields, ranges, the code byte inside a file of fileLength bytes
// whose block 1 starts at baseOffset, and no block given two different codes.
CheckedEditList checkEditList(std::string_view text, std::int64_t baseOffset, std::int64_t fileLength);

// The first line of an edit list as diff --csv writes it.
inline constexpr std::string_view editListHeader = "block,code";

// Appends one line of that list: "548,05" and a line feed.
void appendEditLine(std::string& text, std::int32_t block, int code);

} // namespace quarnet::edits
