#include "platform/DataFiles.h"
#include "platform/ExecutableDirectory.h"
#include "platform/NativeFiles.h"
#include "platform/UserDemo.h"
#include "platform/UserFolders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <fstream>
#include <iterator>

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

// A folder of the user's that a test fills, emptied again afterwards.
class UserFolder {
public:
    explicit UserFolder(const std::string& utf8) : path_(testing::pathFromUtf8(utf8))
    {
        std::filesystem::create_directories(path_);
    }
    ~UserFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return testing::utf8FromPath(path_ / name); }

private:
    std::filesystem::path path_;
};

void put(const std::string& utf8Path, const std::string& bytes)
{
    std::ofstream(testing::pathFromUtf8(utf8Path), std::ios::binary | std::ios::trunc) << bytes;
}

std::string bytesOf(const std::string& utf8Path)
{
    std::ifstream in(testing::pathFromUtf8(utf8Path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DataFilesWindows, ThePictureBesideTheProgramElseInTheUsersAppData)
{
    const std::string appData = userDataFolder();
    ASSERT_FALSE(appData.empty());
    EXPECT_EQ(appData.substr(appData.size() - 8), "\\Quarnet");
    testing::TempDir program;
    const std::string programFolder = testing::utf8FromPath(program.path());
    const std::string beside = joinPath(programFolder, "SANGO7.0.125.jpg");
    EXPECT_EQ(dataFileCandidates(programFolder, "SANGO7.0.125.jpg"),
              (std::vector<std::string> {beside, joinPath(appData, "SANGO7.0.125.jpg")}));

    EXPECT_EQ(findDataFile(programFolder, "SANGO7.0.125.jpg"), beside); // neither: beside
    UserFolder user(appData);
    put(user.file("SANGO7.0.125.jpg"), "jpeg");
    EXPECT_EQ(findDataFile(programFolder, "SANGO7.0.125.jpg"), user.file("SANGO7.0.125.jpg"));
    put(beside, "jpeg");
    EXPECT_EQ(findDataFile(programFolder, "SANGO7.0.125.jpg"), beside);
}

// A program folder with its demo, as the packages lay it out.
struct InstalledDemo {
    InstalledDemo()
    {
        std::filesystem::create_directory(program.path() / "demo");
        put(file("demo\\SANGO7.MPC"), "the demo map");
        put(file("demo\\SANGO7.0.125.jpg"), "its picture");
    }
    std::string folder() const { return testing::utf8FromPath(program.path()); }
    std::string file(const char* name) const { return joinPath(folder(), name); }
    testing::TempDir program;
};

TEST(UserDemo, CopiedOnceAndNeverOverAFile)
{
    InstalledDemo installed;
    // Made with its parents where the user's folder lacks them.
    testing::TempDir documents;
    const std::string target = testing::utf8FromPath(documents.path() / "Quarnet" / "demo");
    // A read-only original gives a copy the user can write.
    ::SetFileAttributesW(testing::pathFromUtf8(installed.file("demo\\SANGO7.MPC")).c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(copyDemo(installed.folder(), target));
    EXPECT_EQ(bytesOf(joinPath(target, "SANGO7.MPC")), "the demo map");
    EXPECT_EQ(bytesOf(joinPath(target, "SANGO7.0.125.jpg")), "its picture");
    const DWORD attributes = ::GetFileAttributesW(testing::pathFromUtf8(joinPath(target, "SANGO7.MPC")).c_str());
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY);

    // The user edits the copy and loses the picture; a later start puts the
    // picture back and leaves the map as the user made it.
    put(joinPath(target, "SANGO7.MPC"), "edited");
    std::filesystem::remove(testing::pathFromUtf8(joinPath(target, "SANGO7.0.125.jpg")));
    ASSERT_TRUE(copyDemo(installed.folder(), target));
    EXPECT_EQ(bytesOf(joinPath(target, "SANGO7.MPC")), "edited");
    EXPECT_EQ(bytesOf(joinPath(target, "SANGO7.0.125.jpg")), "its picture");
}

TEST(UserDemo, NothingToCopyLeavesNoFolder)
{
    testing::TempDir program; // no demo folder
    testing::TempDir documents;
    const std::filesystem::path target = documents.path() / "Quarnet" / "demo";
    EXPECT_FALSE(copyDemo(testing::utf8FromPath(program.path()), testing::utf8FromPath(target)));
    EXPECT_FALSE(std::filesystem::exists(documents.path() / "Quarnet"));
}

// The copy is for a program folder its user can't write, without a map of
// its own beside the program: a folder unpacked from the .zip needs none.
TEST(UserDemo, SkippedWhereTheProgramsFolderIsWritableOrHoldsAMap)
{
    InstalledDemo installed;
    EXPECT_TRUE(canCreateFilesIn(installed.folder()));
    EXPECT_FALSE(needsUserDemo(installed.folder()));
    // The probe leaves nothing behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(installed.program.path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_FALSE(canCreateFilesIn(installed.file("no such folder")));
    // A folder that can't be written, as far as the probe can tell.
    EXPECT_TRUE(needsUserDemo(installed.file("no such folder")));

    put(installed.file("SANGO7.MPC"), "the game's map");
    EXPECT_FALSE(needsUserDemo(installed.folder()));

    // And the start itself, in a writable folder, copies nothing.
    const std::string user = userDemoFolder();
    ASSERT_FALSE(user.empty());
    std::filesystem::remove(testing::pathFromUtf8(installed.file("SANGO7.MPC")));
    prepareUserDemo(installed.folder());
    EXPECT_FALSE(std::filesystem::exists(testing::pathFromUtf8(user)));
}

TEST(UserDemo, TheUsersCopyIsTheDemoNamed)
{
    InstalledDemo installed;
    EXPECT_EQ(findDemoMap(installed.folder()), installed.file("demo\\SANGO7.MPC"));
    UserFolder user(userDemoFolder());
    put(user.file("SANGO7.MPC"), "copy");
    EXPECT_EQ(findDemoMap(installed.folder()), user.file("SANGO7.MPC"));
}

} // namespace
} // namespace quarnet::platform
