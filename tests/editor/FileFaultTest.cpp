// Faults of the world around an open map file: it is deleted, replaced,
// made read-only, or its path is very long; the process dies right after a
// write. The program keeps working, its controls tell the truth, and no byte
// of the map file is lost.

#include "support/EditorFixture.h"

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quarnet::testing {
namespace {

namespace c = control;

class FileFaults : public EditorFixture {
protected:
    void SetUp() override
    {
        editor.setUp();
        original = mapFileBytes([](std::size_t) { return std::uint8_t {0x03}; });
        path = dir.write("SANGO7.MPC", original);
        open(path);
        ASSERT_TRUE(editor.isMapFileOpen());
        ASSERT_TRUE(calculate("44", "0", "0"));
    }

    Rgb lastMarker() const { return canvas.rectangles.empty() ? Rgb {1, 2, 3} : canvas.rectangles.back().colour; }

    std::vector<std::uint8_t> original;
    std::string path;
};

TEST_F(FileFaults, DeletedWhileOpen)
{
    std::filesystem::remove(pathFromUtf8(path));
    // The open file lives on until it is closed: reads and writes still work
    // on it, and nothing recreates the path.
    editor.writeTerrainCode();
    EXPECT_EQ(lastMarker(), (Rgb {0, 255, 0}));
    EXPECT_EQ(text(c::标签19), "当前地形:高山\r\r地形代码:07");
    EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(path)));
    // Opening it again fails, and says so.
    open(path);
    EXPECT_FALSE(editor.isMapFileOpen());
    EXPECT_EQ(text(c::编辑框1), "无法打开文件:" + path);
    editor.writeTerrainCode();
    EXPECT_EQ(lastMarker(), (Rgb {255, 0, 0}));
    EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(path)));
}

TEST_F(FileFaults, ReplacedWhileOpen)
{
    // Another program saves a new file over the path (write and rename, as
    // editors do). Writes go to the file that was opened, never into the new
    // one; opening again shows the new one.
    const std::vector<std::uint8_t> replacement(100, 0x09);
    const std::string other = dir.write("new.MPC", replacement);
    std::filesystem::rename(pathFromUtf8(other), pathFromUtf8(path));
    editor.writeTerrainCode();
    EXPECT_EQ(TempDir::read(path), replacement);
    open(path);
    EXPECT_EQ(text(c::编辑框1), "当前已打开的文件:" + path + " | 文件长度:100字节");
}

TEST_F(FileFaults, MadeReadOnlyWhileOpen)
{
    std::filesystem::permissions(pathFromUtf8(path), std::filesystem::perms::owner_read);
    // The file was opened for writing: the write stands, and is reported so.
    editor.writeTerrainCode();
    EXPECT_EQ(lastMarker(), (Rgb {0, 255, 0}));
    EXPECT_EQ(TempDir::read(path)[68], 0x07);
    std::filesystem::permissions(pathFromUtf8(path), std::filesystem::perms::owner_all);
}

TEST_F(FileFaults, TruncatedToNothingWhileOpen)
{
    std::filesystem::resize_file(pathFromUtf8(path), 0);
    editor.writeTerrainCode();
    EXPECT_EQ(lastMarker(), (Rgb {255, 0, 0}));
    EXPECT_EQ(std::filesystem::file_size(pathFromUtf8(path)), 0u);
    // No byte to read: code 00, and the name of the last code read stays.
    EXPECT_EQ(text(c::标签19), "当前地形:草原\r\r地形代码:00");
}

TEST_F(FileFaults, ByteIsInTheFileWhenTheProcessDiesRightAfterGreen)
{
    editor.closeMapFile();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A fresh program state in the child: open, calculate, write, die.
        MemoryControls childControls;
        RecordingCanvas childCanvas;
        ScriptedHost childHost;
        platform::NativeFiles childFiles;
        MapEditor childEditor(childControls, childCanvas, childHost, childFiles);
        childEditor.setUp();
        childHost.nextAnswer = path;
        childEditor.openMapFile();
        childControls.texts[std::string(c::起始像素点X编辑框)] = "32";
        childControls.texts[std::string(c::起始像素点Y编辑框)] = "0";
        childEditor.calculateStartBlock();
        childEditor.writeTerrainCode();
        const bool green = !childCanvas.rectangles.empty() && childCanvas.rectangles.back().colour == Rgb {0, 255, 0};
        if (!green)
            ::_exit(1);
        ::raise(SIGKILL);
        ::_exit(2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child did not see green";
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    const std::vector<std::uint8_t> now = TempDir::read(path);
    ASSERT_EQ(now.size(), original.size());
    EXPECT_EQ(now[68 + 8], 0x07);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < now.size(); ++i)
        differing += now[i] != original[i];
    EXPECT_EQ(differing, 1u);
}

TEST_F(EditorFixture, VeryLongPaths)
{
    // A path of about 1000 bytes, with a 255-byte name, opens normally.
    std::filesystem::path folder = dir.path();
    for (int i = 0; i < 6; ++i)
        folder /= std::string(120, static_cast<char>('a' + i));
    std::filesystem::create_directories(folder);
    const auto file = folder / (std::string(251, 'm') + ".MPC");
    { std::ofstream(file, std::ios::binary) << "abc"; }
    open(utf8FromPath(file));
    EXPECT_TRUE(editor.isMapFileOpen());
    EXPECT_EQ(text(c::编辑框1), "当前已打开的文件:" + utf8FromPath(file) + " | 文件长度:3字节");

    // Beyond what the system takes: a failed open, said so, nothing created.
    const std::string tooLong = utf8FromPath(dir.path()) + "/" + std::string(5000, 'x');
    open(tooLong);
    EXPECT_FALSE(editor.isMapFileOpen());
    EXPECT_EQ(text(c::编辑框1), "无法打开文件:" + tooLong);
}

} // namespace
} // namespace quarnet::testing
