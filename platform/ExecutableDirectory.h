#pragma once

#include <string>
#include <string_view>

namespace quarnet::platform {

// The directory that holds the running executable, in UTF-8, without a
// trailing separator; empty when the system can't tell.
std::string executableDirectory();

// A file name joined to a directory with the system's separator.
std::string joinPath(std::string_view directory, std::string_view fileName);

} // namespace quarnet::platform
