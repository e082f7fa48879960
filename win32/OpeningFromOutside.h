#pragma once

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>

namespace quarnet::win32 {

// The map file named on a command line (its first argument after the
// program), as the full path that the open-file dialog would give; nothing
// without an argument. Quotes and backslashes are read as Windows reads them.
std::optional<std::wstring> mapPathArgument(const wchar_t* commandLine);

// The first file of a drop, as a full path; nothing for a drop without one.
// The drop itself is left for the caller to finish.
std::optional<std::wstring> droppedMapPath(HDROP drop);

} // namespace quarnet::win32
