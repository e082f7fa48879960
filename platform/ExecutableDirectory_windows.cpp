#include "ExecutableDirectory.h"

#include "WindowsText.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <vector>

namespace quarnet::platform {

std::string executableDirectory()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD got = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (got == 0)
            return {};
        if (got < buffer.size()) {
            std::wstring path(buffer.data(), got);
            const auto separator = path.find_last_of(L"\\/");
            if (separator == std::wstring::npos)
                return {};
            return wideToUtf8(path.substr(0, separator));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string joinPath(std::string_view directory, std::string_view fileName)
{
    // The directory comes without a trailing separator; a drive root keeps its own.
    std::string path(directory);
    if (path.empty() || (path.back() != '\\' && path.back() != '/'))
        path += '\\';
    path += fileName;
    return path;
}

} // namespace quarnet::platform
