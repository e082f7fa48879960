#include "WholeFiles.h"

#include "WindowsCalls.h"
#include "WindowsText.h"

#include <system_error>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace quarnet::platform {

namespace {

std::string lastErrorText()
{
    return std::system_category().message(static_cast<int>(::GetLastError()));
}

} // namespace

bool createFlushedFile(const std::string& utf8Path, std::span<const std::uint8_t> bytes, std::string& reason,
                       bool& existed)
{
    existed = false;
    // CREATE_NEW: an existing file is never opened.
    const std::wstring path = utf8ToWide(utf8Path);
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        existed = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
        reason = std::system_category().message(static_cast<int>(error));
        return false;
    }
    if (!windows::writeAll(file, bytes)) {
        reason = lastErrorText();
        ::CloseHandle(file);
        ::DeleteFileW(path.c_str()); // ours, and incomplete
        return false;
    }
    if (!::FlushFileBuffers(file)) {
        reason = lastErrorText();
        ::CloseHandle(file);
        ::DeleteFileW(path.c_str());
        return false;
    }
    ::CloseHandle(file);
    return true;
}

} // namespace quarnet::platform
