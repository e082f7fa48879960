#include "OpeningFromOutside.h"

namespace quarnet::win32 {

namespace {

// Absolute, against the working folder, as the dialog gives it.
std::wstring fullPath(const std::wstring& path)
{
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring full(size, L'\0');
    const DWORD got = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (got == 0 || got >= size)
        return path;
    full.resize(got);
    return full;
}

} // namespace

std::optional<std::wstring> mapPathArgument(const wchar_t* commandLine)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(commandLine, &count);
    if (!arguments)
        return std::nullopt;
    std::optional<std::wstring> path;
    if (count >= 2 && arguments[1][0] != L'\0')
        path = fullPath(arguments[1]);
    LocalFree(arguments);
    return path;
}

std::optional<std::wstring> droppedMapPath(HDROP drop)
{
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 0)
        return std::nullopt;
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    path.resize(DragQueryFileW(drop, 0, path.data(), length + 1));
    if (path.empty())
        return std::nullopt;
    return fullPath(path);
}

} // namespace quarnet::win32
