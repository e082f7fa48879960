#pragma once

// Conversions between UTF-8 and the UTF-16 of the Win32 API; Windows only.

#include <string>
#include <string_view>

namespace quarnet::platform {

std::wstring utf8ToWide(std::string_view utf8);
std::string wideToUtf8(std::wstring_view wide);

} // namespace quarnet::platform
