#pragma once

// The user's own folders on Windows: a program installed under Program Files
// can't write beside itself, so what its user reads or changes lives there.
// Windows only.

#include "DataFiles.h" // isExistingFile

#include <string>
#include <string_view>

namespace quarnet::platform {

// %APPDATA%\Quarnet, the user's data for the program; empty when the system
// can't tell.
std::string userDataFolder();

// Documents\Quarnet\demo, the user's copy of the demo; empty when the system
// can't tell.
std::string userDemoFolder();

} // namespace quarnet::platform
