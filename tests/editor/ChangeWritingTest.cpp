// Every change to the map goes one way: the write button's single byte read
// back, the map as it was opened kept once, and the watch told of each write.
#include "mapfile/TerrainTable.h"
#include "support/EditorFixture.h"
#include "support/MapFixtures.h"

#include <filesystem>

namespace quarnet::testing {
namespace {

namespace c = control;

constexpr Rgb green {0, 255, 0};
constexpr Rgb red {255, 0, 0};

class ChangeWriting : public EditorFixture {
protected:
    void SetUp() override
    {
        editor.setUp();
        original = mapFileBytes([](std::size_t block) { return static_cast<std::uint8_t>(block % 34 + 1); });
        path = dir.write("SANGO7.MPC", original);
        open(path);
    }

    void writeAt(const std::string& x, const std::string& y, const std::string& code)
    {
        ASSERT_TRUE(calculate("44", x, y));
        controls.texts[std::string(c::修改数据编辑框)] = code;
        editor.writeTerrainCode();
    }

    ByteChanges changes() const { return changedBytes(original, TempDir::read(path)); }
    bool exists(const std::string& file) const { return std::filesystem::exists(pathFromUtf8(file)); }
    Rgb lastMarker() const { return canvas.rectangles.back().colour; }

    std::vector<std::uint8_t> original;
    std::string path;
};

TEST_F(ChangeWriting, ASingleWriteWhoseReadBackDiffersIsRedAndLeavesTheOldByte)
{
    writeAt("0", "0", "05"); // block 1; the map as opened is kept first
    ASSERT_EQ(lastMarker(), green);

    files.changeReadOnce(); // the read-back of the next write finds another byte
    writeAt("32", "0", "0A"); // block 2
    EXPECT_EQ(lastMarker(), red);
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}}));
    EXPECT_EQ(editor.state().mapFile.history.size(), 1u);
    EXPECT_EQ(text(c::标签19), "当前地形:" + std::string(*terrain::name(original[codeOffset(2)]))
                                   + "\r\r地形代码:" + formatTerrainCode(original[codeOffset(2)]));

    // Written again, it goes through.
    writeAt("32", "0", "0A");
    EXPECT_EQ(lastMarker(), green);
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}, {codeOffset(2), 0x0A}}));
}

TEST_F(ChangeWriting, TheFirstWriteKeepsTheMapAsOpenedAndLaterOnesKeepNone)
{
    writeAt("0", "0", "05");
    EXPECT_EQ(TempDir::read(path + ".bak"), original);
    EXPECT_EQ(canvas.toasts, (std::vector<std::string> {"已备份打开时的地图：SANGO7.MPC.bak"}));
    writeAt("32", "0", "0A");
    editor.undoWrite();
    editor.redoWrite();
    EXPECT_FALSE(exists(path + ".1.bak"));
    EXPECT_EQ(canvas.toasts.size(), 1u);

    // Opened again: its first write keeps the map as it is now.
    const std::vector<std::uint8_t> reopened = TempDir::read(path);
    editor.openMapFile(path);
    writeAt("64", "0", "0B");
    EXPECT_EQ(TempDir::read(path + ".1.bak"), reopened);
    EXPECT_EQ(canvas.toasts.back(), "已备份打开时的地图：SANGO7.MPC.1.bak");

    // Opened once more just as the newest backup holds it: that backup is
    // the copy, and no other is made.
    editor.undoWrite();
    editor.openMapFile(path);
    writeAt("64", "0", "0C");
    EXPECT_FALSE(exists(path + ".2.bak"));
    EXPECT_EQ(canvas.toasts.size(), 2u);
}

TEST_F(ChangeWriting, AMapChangedByAnotherProgramIsKeptAgainBeforeTheNextWrite)
{
    writeAt("0", "0", "05");
    std::vector<std::uint8_t> changed = TempDir::read(path);
    changed[codeOffset(9)] = 0x22;
    dir.write("SANGO7.MPC", changed); // as another program writes it
    editor.mapFileChangedOutside(path);
    writeAt("32", "0", "0A");
    EXPECT_EQ(TempDir::read(path + ".1.bak"), changed);
}

TEST_F(ChangeWriting, AWriteThatCantKeepTheMapAsOpenedWritesNothing)
{
    files.failOnce(platform::FaultInjectingFiles::Operation::append);
    writeAt("0", "0", "05");
    EXPECT_TRUE(changes().empty());
    EXPECT_EQ(lastMarker(), red);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "没有写入：无法先把打开时的地图备份为 " + path + ".bak，什么也没有写入。");
    EXPECT_FALSE(exists(path + ".bak"));
    EXPECT_EQ(editor.state().mapFile.history.size(), 0u);

    writeAt("0", "0", "05");
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}}));
    EXPECT_EQ(TempDir::read(path + ".bak"), original);
}

// The watch is told before each write and after it, and the file is as it
// was when it is told before.
TEST_F(ChangeWriting, TheWatchIsToldOfEveryWriteOfTheEditorsOwn)
{
    std::vector<std::uint8_t> atStart;
    host.whenOwnWriteStarts = [&] { atStart = TempDir::read(path); };
    writeAt("0", "0", "05");
    ASSERT_EQ(host.ownWritesStarted, 1);
    EXPECT_EQ(atStart, original);
    EXPECT_EQ(host.ownWritesDone, 1);
    editor.undoWrite();
    ASSERT_EQ(host.ownWritesStarted, 2);
    EXPECT_EQ(host.ownWritesDone, 2);
    EXPECT_EQ(atStart[codeOffset(1)], 0x05);

    // A write refused before the disk is touched tells nothing.
    editor.undoWrite();
    files.failReads(true);
    writeAt("0", "0", "05");
    files.failReads(false);
    EXPECT_EQ(host.ownWritesStarted, 2);
}

} // namespace
} // namespace quarnet::testing
