#pragma once

// Conversions between UTF-8, in which texts travel through the program, and
// GBK (code page 936), in which the map's texts count their bytes.

#include <string>
#include <string_view>

namespace quarnet::platform {

// Characters that GBK can't represent become "?".
std::string utf8ToGbk(std::string_view utf8);

// Bytes that are not GBK become U+FFFD; an incomplete double-byte character
// at the very end is dropped.
std::string gbkToUtf8(std::string_view gbk);

} // namespace quarnet::platform
