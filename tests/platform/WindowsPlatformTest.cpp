#include "platform/NativeFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace quarnet::platform {
namespace {

HANDLE openOther(const std::filesystem::path& path, DWORD share)
{
    return ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(NativeFilesWindows, SharedWithOtherPrograms)
{
    testing::TempDir dir;
    const std::string path = dir.write("map", {1, 2, 3});
    NativeFiles files;
    const FileNumber number = files.open(path);
    ASSERT_GT(number, 0);
    // Another program can open it for reading and writing beside us...
    const HANDLE other = openOther(testing::pathFromUtf8(path), FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const char byte = 9;
    DWORD put = 0;
    ASSERT_TRUE(::WriteFile(other, &byte, 1, &put, nullptr));
    ::CloseHandle(other);
    std::uint8_t read = 0;
    ASSERT_TRUE(files.readByte(number, 0, read));
    EXPECT_EQ(read, 9);
    // ...but one that wants the file to itself is refused while we hold it.
    const HANDLE exclusive = openOther(testing::pathFromUtf8(path), 0);
    EXPECT_EQ(exclusive, INVALID_HANDLE_VALUE);
    if (exclusive != INVALID_HANDLE_VALUE)
        ::CloseHandle(exclusive);
}

TEST(NativeFilesWindows, DevicesAreRefused)
{
    NativeFiles files;
    EXPECT_EQ(files.open("NUL"), 0);
    EXPECT_EQ(files.open("CON"), 0);
}

} // namespace
} // namespace quarnet::platform
