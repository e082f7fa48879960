#include "support/EditorFixture.h"

namespace quarnet::testing {
namespace {

namespace c = control;

constexpr const char* closedText = "打开文件已关闭，当前没有打开的文件";

TEST_F(EditorFixture, OpenShowsPathAndLength)
{
    const std::string path = dir.write("SANGO7.MPC", std::vector<std::uint8_t>(211302, 1));
    open(path);
    EXPECT_TRUE(editor.isMapFileOpen());
    EXPECT_EQ(editor.state().mapFile.mapFileName, path);
    EXPECT_EQ(text(c::编辑框1), "当前已打开的文件:" + path + " | 文件长度:211302字节");
}

TEST_F(EditorFixture, ZeroLengthFileShowsLengthZero)
{
    const std::string path = dir.write("empty", {});
    open(path);
    EXPECT_TRUE(editor.isMapFileOpen());
    EXPECT_EQ(text(c::编辑框1), "当前已打开的文件:" + path + " | 文件长度:0字节");
}

TEST_F(EditorFixture, PathsOutsideGbkOpenAsGiven)
{
    // Characters that GBK lacks, and spaces.
    const std::string path = dir.write("carte d'été 🗺 ẞ.MPC", {1, 2, 3});
    open(path);
    EXPECT_TRUE(editor.isMapFileOpen());
    EXPECT_EQ(text(c::编辑框1), "当前已打开的文件:" + path + " | 文件长度:3字节");
}

TEST_F(EditorFixture, CloseWithoutFile)
{
    editor.closeMapFile();
    EXPECT_FALSE(editor.isMapFileOpen());
    EXPECT_EQ(text(c::编辑框1), closedText);
}

TEST_F(EditorFixture, CloseKeepsLengthAndLabelButClearsTerrain)
{
    open(dir.write("SANGO7.MPC", mapFileBytes([](std::size_t) { return std::uint8_t {0x07}; })));
    ASSERT_TRUE(calculate("44", "0", "0"));
    const std::string report = text(c::标签19);
    ASSERT_EQ(report, "当前地形:高山\r\r地形代码:07");

    editor.closeMapFile();
    const ProgramState& s = editor.state();
    EXPECT_FALSE(editor.isMapFileOpen());
    EXPECT_EQ(s.mapFile.mapFileNumber, 0);
    EXPECT_EQ(s.mapFile.mapFileName, "");
    EXPECT_EQ(s.mapFile.mapFileLength, 68 + 211302 * 8);
    EXPECT_EQ(s.calculator.terrainCode, 0);
    EXPECT_EQ(s.calculator.terrainCodeText, "");
    EXPECT_EQ(s.calculator.terrainName, "");
    EXPECT_EQ(text(c::编辑框1), closedText);
    EXPECT_EQ(text(c::标签19), report);
}

TEST_F(EditorFixture, OpeningAgainClosesTheFirstFileBeforeAsking)
{
    const std::string first = dir.write("first", {0x07});
    const std::string second = dir.write("second", {0x05, 0x05});
    open(first);
    const platform::FileNumber firstNumber = editor.state().mapFile.mapFileNumber;
    open(second);
    EXPECT_EQ(host.dialogsShown, 2);
    EXPECT_EQ(editor.state().mapFile.mapFileName, second);
    // The first file's number no longer names an open file.
    EXPECT_EQ(nativeFiles.length(firstNumber), -1);
    EXPECT_EQ(nativeFiles.length(editor.state().mapFile.mapFileNumber), 2);
}

TEST_F(EditorFixture, CancelledDialogLeavesNoFileOpen)
{
    open(dir.write("SANGO7.MPC", mapFileBytes([](std::size_t) { return std::uint8_t {0x07}; })));
    host.nextAnswer.reset();
    editor.openMapFile();
    EXPECT_FALSE(editor.isMapFileOpen());
    EXPECT_EQ(text(c::编辑框1), closedText);
    ASSERT_TRUE(calculate("44", "0", "0"));
    EXPECT_EQ(text(c::标签19), "当前地形:文件未打开！\r地形代码:(空)！");
}

TEST_F(EditorFixture, FailedOpensLeaveTheFileClosed)
{
    const std::vector<std::string> unopenable = {
        utf8FromPath(dir.path() / "missing.MPC"),
        utf8FromPath(dir.path()), // a folder
        "",
    };
    for (const std::string& path : unopenable) {
        open(path);
        EXPECT_FALSE(editor.isMapFileOpen()) << path;
        EXPECT_EQ(editor.state().mapFile.mapFileNumber, 0);
        EXPECT_EQ(editor.state().mapFile.mapFileName, path);
        EXPECT_EQ(text(c::编辑框1), "无法打开文件:" + path);
        ASSERT_TRUE(calculate("44", "0", "0"));
        EXPECT_EQ(text(c::标签19), "当前地形:文件未打开！\r地形代码:(空)！");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing.MPC")); // never created
}

TEST_F(EditorFixture, OpenNeverEmptiesTheFile)
{
    const std::vector<std::uint8_t> bytes = {9, 8, 7, 6};
    const std::string path = dir.write("keep", bytes);
    open(path);
    editor.closeMapFile();
    EXPECT_EQ(TempDir::read(path), bytes);
}

TEST_F(EditorFixture, CloseAndExitClosesReleasesAndEnds)
{
    canvas.pictureToLoad = 5;
    editor.setUp();
    open(dir.write("SANGO7.MPC", {1}));
    const platform::FileNumber number = editor.state().mapFile.mapFileNumber;
    editor.closeAndExit();
    EXPECT_EQ(nativeFiles.length(number), -1);
    EXPECT_EQ(canvas.released, std::vector<int> {5});
    EXPECT_EQ(host.exitCode, 0);
    // Nothing runs after the end, not even a second close.
    controls.writes.clear();
    editor.closeAndExit();
    editor.closeMapFile();
    EXPECT_TRUE(controls.writes.empty());
    EXPECT_EQ(canvas.released.size(), 1u);
}

} // namespace
} // namespace quarnet::testing
