#include "NativeFiles.h"

#include "WindowsCalls.h"
#include "WindowsText.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace quarnet::platform {

namespace {

HANDLE toHandle(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

std::int64_t currentLength(HANDLE file)
{
    LARGE_INTEGER size {};
    if (!::GetFileSizeEx(file, &size))
        return -1;
    return size.QuadPart;
}

bool seek(HANDLE file, std::int64_t offset)
{
    LARGE_INTEGER position {};
    position.QuadPart = offset;
    return ::SetFilePointerEx(file, position, nullptr, FILE_BEGIN) != 0;
}

} // namespace

FileNumber NativeFiles::open(const std::string& utf8Path)
{
    if (utf8Path.empty() || utf8Path.find('\0') != std::string::npos)
        return 0;
    const std::wstring path = utf8ToWide(utf8Path);
    // OPEN_EXISTING: never creates or empties. Sharing lets the game and other
    // tools keep the file open beside us.
    const DWORD access = access_ == Access::readOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    const HANDLE file = ::CreateFileW(path.c_str(), access,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        return 0;
    }
    return remember(reinterpret_cast<std::intptr_t>(file));
}

std::int64_t NativeFiles::length(FileNumber number)
{
    NativeHandle handle;
    if (!find(number, handle))
        return -1;
    return currentLength(toHandle(handle));
}

bool NativeFiles::readByte(FileNumber number, std::int64_t offset, std::uint8_t& byte)
{
    NativeHandle handle;
    if (!find(number, handle) || offset < 0)
        return false;
    const HANDLE file = toHandle(handle);
    if (!seek(file, offset))
        return false;
    std::uint8_t buffer = 0;
    if (windows::readAll(file, std::span(&buffer, 1)) != 1)
        return false;
    byte = buffer;
    return true;
}

std::int64_t NativeFiles::readBytes(FileNumber number, std::int64_t offset, std::span<std::uint8_t> buffer)
{
    NativeHandle handle;
    if (!find(number, handle) || offset < 0)
        return -1;
    const HANDLE file = toHandle(handle);
    if (!seek(file, offset))
        return -1;
    return windows::readAll(file, buffer);
}

bool NativeFiles::replaceByte(FileNumber number, std::int64_t offset, std::uint8_t byte)
{
    NativeHandle handle;
    if (!find(number, handle) || offset < 0)
        return false;
    const HANDLE file = toHandle(handle);
    if (offset >= currentLength(file) || !seek(file, offset))
        return false;
    return windows::writeAll(file, std::span(&byte, 1));
}

bool NativeFiles::flush(FileNumber number)
{
    NativeHandle handle;
    if (!find(number, handle))
        return false;
    return ::FlushFileBuffers(toHandle(handle)) != 0;
}

FileNumber NativeFiles::create(const std::string& utf8Path, bool& existed)
{
    existed = false;
    if (access_ == Access::readOnly || utf8Path.empty() || utf8Path.find('\0') != std::string::npos)
        return 0;
    // CREATE_NEW: an existing file is never opened. Shared for reading only
    // while it is written.
    const std::wstring path = utf8ToWide(utf8Path);
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        // A folder in the way is refused as denied access, not as existing.
        existed = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS
                  || ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        return 0;
    }
    return rememberCreated(reinterpret_cast<std::intptr_t>(file), utf8Path);
}

bool NativeFiles::append(FileNumber number, std::span<const std::uint8_t> bytes)
{
    NativeHandle handle;
    if (!findCreated(number, handle))
        return false;
    const HANDLE file = toHandle(handle);
    const std::int64_t end = currentLength(file);
    return end >= 0 && seek(file, end) && windows::writeAll(file, bytes);
}

void NativeFiles::discard(FileNumber number)
{
    const auto it = created_.find(number);
    const std::wstring path = it == created_.end() ? std::wstring() : utf8ToWide(it->second);
    // A file is deleted once closed.
    close(number);
    if (!path.empty())
        ::DeleteFileW(path.c_str());
}

void NativeFiles::closeHandle(NativeHandle handle)
{
    ::CloseHandle(toHandle(handle));
}

} // namespace quarnet::platform
