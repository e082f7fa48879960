#pragma once

#include <cstdint>
#include <string_view>

namespace quarnet {

// The value of a hexadecimal text, read byte by byte from its GBK form, the
// last byte first. "0"-"9" count 0-9, the capitals "A"-"F" 10-15, and every
// other byte (lower-case letters, spaces, signs, either byte of a double-byte
// character) counts 0 and still takes its place: "4c" gives 64, " 44" 68 and
// "44 " 1088. Sums past the 64-bit range saturate.
std::int64_t parseHexText(std::string_view utf8Text);

} // namespace quarnet
