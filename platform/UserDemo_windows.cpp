#include "UserDemo.h"

#include "DataFiles.h"
#include "ExecutableDirectory.h"
#include "UserFolders.h"
#include "WindowsText.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace quarnet::platform {

namespace {

constexpr std::string_view demoFiles[] = {mapFileName, mapPictureName};

// A file made by the copy is the user's to change, whatever the original's
// attributes were.
void makeWritable(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(path.c_str(), attributes & ~DWORD {FILE_ATTRIBUTE_READONLY});
}

} // namespace

bool canCreateFilesIn(std::string_view utf8Folder)
{
    const std::wstring probe =
        utf8ToWide(joinPath(utf8Folder, "quarnet-write-test-" + std::to_string(::GetCurrentProcessId()) + ".tmp"));
    const HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

bool needsUserDemo(std::string_view programDirectory)
{
    return !isExistingFile(joinPath(programDirectory, mapFileName)) && !canCreateFilesIn(programDirectory);
}

bool copyDemo(std::string_view programDirectory, std::string_view utf8Folder)
{
    const std::string from = joinPath(programDirectory, "demo");
    // Without a demo to copy, no empty folder is left behind.
    if (!isExistingFile(joinPath(from, mapFileName)))
        return isExistingFile(joinPath(utf8Folder, mapFileName));
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(utf8ToWide(utf8Folder)), ignored);
    for (const std::string_view file : demoFiles) {
        const std::wstring source = utf8ToWide(joinPath(from, file));
        const std::wstring target = utf8ToWide(joinPath(utf8Folder, file));
        // Fails, leaving it alone, where the target exists.
        if (::CopyFileW(source.c_str(), target.c_str(), TRUE))
            makeWritable(target);
    }
    return isExistingFile(joinPath(utf8Folder, mapFileName));
}

void prepareUserDemo(std::string_view programDirectory)
{
    // Cheapest first: the map beside the program, then the copy made at an
    // earlier start, and only then a trial write into the program's folder.
    if (isExistingFile(joinPath(programDirectory, mapFileName)))
        return;
    const std::string folder = userDemoFolder();
    if (folder.empty())
        return;
    bool complete = true;
    for (const std::string_view file : demoFiles)
        complete = complete && isExistingFile(joinPath(folder, file));
    if (!complete && !canCreateFilesIn(programDirectory))
        copyDemo(programDirectory, folder);
}

} // namespace quarnet::platform
