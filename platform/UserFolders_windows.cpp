#include "UserFolders.h"

#include "ExecutableDirectory.h"
#include "WindowsText.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

namespace quarnet::platform {

namespace {

// A known folder's path, wherever the user or an administrator moved it.
std::string knownFolder(const KNOWNFOLDERID& id)
{
    PWSTR path = nullptr;
    std::string found;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)))
        found = wideToUtf8(path);
    ::CoTaskMemFree(path);
    return found;
}

std::string below(const std::string& folder, std::string_view relative)
{
    return folder.empty() ? std::string() : joinPath(folder, relative);
}

} // namespace

std::string userDataFolder()
{
    return below(knownFolder(FOLDERID_RoamingAppData), "Quarnet");
}

std::string userDemoFolder()
{
    return below(knownFolder(FOLDERID_Documents), "Quarnet\\demo");
}

bool isExistingFile(std::string_view utf8Path)
{
    const DWORD attributes = ::GetFileAttributesW(utf8ToWide(utf8Path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace quarnet::platform
