#include "editor/EventTable.h"
#include "mapfile/TerrainTable.h"
#include "support/EditorFixture.h"
#include "support/MapFixtures.h"

#include <filesystem>
#include <fstream>

namespace quarnet::testing {
namespace {

namespace c = control;

constexpr Rgb green {0, 255, 0};
constexpr Rgb red {255, 0, 0};

class UndoRedo : public EditorFixture {
protected:
    void SetUp() override
    {
        editor.setUp();
        original = mapFileBytes([](std::size_t block) { return static_cast<std::uint8_t>(block % 34 + 1); });
        path = dir.write("SANGO7.MPC", original);
        open(path);
    }

    // Calculates the block at a map pixel and writes a code to it.
    void writeAt(const std::string& x, const std::string& y, const std::string& code)
    {
        ASSERT_TRUE(calculate("44", x, y));
        controls.texts[std::string(c::修改数据编辑框)] = code;
        editor.writeTerrainCode();
    }

    ByteChanges changes() const { return changedBytes(original, TempDir::read(path)); }

    // ByteChanges one byte of the map as another program would.
    void changeOutside(std::size_t offset, std::uint8_t byte) const
    {
        std::fstream file(pathFromUtf8(path), std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(static_cast<std::streamoff>(offset));
        file.put(static_cast<char>(byte));
    }

    const WriteHistory& history() const { return editor.state().mapFile.history; }
    Rgb lastMarker() const { return canvas.rectangles.back().colour; }
    bool exists(const std::string& file) const { return std::filesystem::exists(pathFromUtf8(file)); }

    std::vector<std::uint8_t> original;
    std::string path;
};

TEST_F(UndoRedo, WriteWriteUndoUndoRedoOnDisk)
{
    writeAt("64", "32", "0A"); // block 549
    writeAt("100", "200", "1F"); // block 3280
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(549), 0x0A}, {codeOffset(3280), 0x1F}}));
    EXPECT_EQ(history().size(), 2u);

    // The undo steps onto the block, writes the old code back and reports it
    // as the write button does.
    ASSERT_TRUE(calculate("44", "0", "0"));
    editor.undoWrite();
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(549), 0x0A}}));
    EXPECT_EQ(text(c::当前区块序号编辑框), "3280");
    EXPECT_EQ(text(c::当前区块行号编辑框), "7");
    EXPECT_EQ(text(c::当前区块列号编辑框), "4");
    EXPECT_EQ(text(c::当前区块位址编辑框), "66BC");
    EXPECT_EQ(text(c::当前区块像素范围X编辑框), "96～127");
    EXPECT_EQ(text(c::当前区块像素范围Y编辑框), "192～223");
    EXPECT_EQ(text(c::修改数据编辑框), formatTerrainCode(3280 % 34 + 1));
    EXPECT_EQ(text(c::标签19), "当前地形:" + std::string(*terrain::name(3280 % 34 + 1)) + "\r\r地形代码:"
                                   + formatTerrainCode(3280 % 34 + 1));
    EXPECT_EQ(lastMarker(), green);
    EXPECT_EQ(editor.state().view.viewPageRow, 0);

    editor.undoWrite();
    EXPECT_TRUE(changes().empty());
    EXPECT_EQ(text(c::当前区块序号编辑框), "549");
    EXPECT_EQ(text(c::修改数据编辑框), formatTerrainCode(549 % 34 + 1));

    // Nothing more to undo: nothing happens.
    const std::size_t drawn = canvas.rectangles.size();
    const std::size_t written = controls.writes.size();
    editor.undoWrite();
    EXPECT_EQ(canvas.rectangles.size(), drawn);
    EXPECT_EQ(controls.writes.size(), written);

    editor.redoWrite();
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(549), 0x0A}}));
    EXPECT_EQ(text(c::修改数据编辑框), "0A");
    EXPECT_EQ(text(c::标签19), "当前地形:丘陵\r\r地形代码:0A");
    editor.redoWrite();
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(549), 0x0A}, {codeOffset(3280), 0x1F}}));
    editor.redoWrite(); // nothing left to redo
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(549), 0x0A}, {codeOffset(3280), 0x1F}}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(UndoRedo, ShowsThePageOfTheBlock)
{
    writeAt("17243", "3643", "05"); // page 5, 1
    ASSERT_TRUE(calculate("44", "0", "0"));
    EXPECT_EQ(editor.state().view.viewPageColumn, 0);
    editor.undoWrite();
    EXPECT_EQ(editor.state().view.viewPageColumn, 5);
    EXPECT_EQ(editor.state().view.viewPageRow, 1);
    EXPECT_EQ(canvas.pictures.back(), (RecordingCanvas::PictureDraw {7, -5 * 384, -240}));
    EXPECT_EQ(lastMarker(), green);
}

TEST_F(UndoRedo, RestoresAnyByteTheWriteButtonRefuses)
{
    // Real maps hold 00 and codes past 22, which the legend can't write.
    for (const std::uint8_t old : {std::uint8_t {0x00}, std::uint8_t {0x23}, std::uint8_t {0xFF}}) {
        changeOutside(codeOffset(1), old);
        original[codeOffset(1)] = old;
        writeAt("0", "0", "07");
        EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x07}}));
        editor.undoWrite();
        EXPECT_TRUE(changes().empty()) << int(old);
        EXPECT_EQ(text(c::修改数据编辑框), formatTerrainCode(old));
        EXPECT_EQ(lastMarker(), green);
    }
}

TEST_F(UndoRedo, UsesTheRecordedOffsetWhateverTheStartAddressSince)
{
    writeAt("64", "32", "0A"); // block 549 with the start address 44
    ASSERT_TRUE(calculate("100", "0", "0"));
    editor.undoWrite();
    EXPECT_TRUE(changes().empty());
    EXPECT_EQ(text(c::当前区块偏移编辑框), std::to_string(codeOffset(549)));
    EXPECT_EQ(editor.state().calculator.currentBlockOffset, std::int64_t(codeOffset(549)));
    editor.redoWrite();
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(549), 0x0A}}));
}

TEST_F(UndoRedo, AWriteAfterAnUndoDropsTheRedo)
{
    writeAt("0", "0", "05");
    writeAt("32", "0", "06");
    editor.undoWrite();
    writeAt("64", "0", "07");
    EXPECT_EQ(history().size(), 2u);
    editor.redoWrite(); // nothing to redo
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}, {codeOffset(3), 0x07}}));
    editor.undoWrite();
    editor.undoWrite();
    EXPECT_TRUE(changes().empty());
}

TEST_F(UndoRedo, RefusedWritesAreNotRecorded)
{
    writeAt("0", "0", "23"); // out of range
    files.failWrites(true);
    writeAt("0", "0", "05");
    files.failWrites(false);
    EXPECT_EQ(history().size(), 0u);
    editor.undoWrite();
    EXPECT_TRUE(changes().empty());
}

TEST_F(UndoRedo, RefusedFlushKeepsTheEntryAndATryAgainFinishes)
{
    writeAt("0", "0", "05");
    files.failFlushes(true);
    editor.undoWrite();
    EXPECT_EQ(lastMarker(), red);
    EXPECT_EQ(history().undoable(), 1u);
    // The byte may already be in the file, though not on disk: trying again
    // must not take it for another program's change.
    files.failFlushes(false);
    editor.undoWrite();
    EXPECT_EQ(lastMarker(), green);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(changes().empty());
    EXPECT_EQ(history().undoable(), 0u);
}

TEST_F(UndoRedo, AByteChangedOutsideIsLeftAlone)
{
    writeAt("64", "32", "0A"); // block 549
    changeOutside(codeOffset(549), 0x11);
    editor.undoWrite();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "区块 549 的地形代码已在 Quarnet 之外被改为 11，不再是 Quarnet 写入的 0A。\n"
                                "没有撤销，这一步仍留在记录中。");
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(549), 0x11}}));
    EXPECT_EQ(history().undoable(), 1u);
    EXPECT_EQ(text(c::当前区块序号编辑框), "549"); // shown, so the user sees which block
    EXPECT_EQ(text(c::标签19), "当前地形:湿地\r\r地形代码:11");

    // Put back as Quarnet left it, the undo goes through; then a redo finds
    // the byte changed again.
    changeOutside(codeOffset(549), 0x0A);
    editor.undoWrite();
    EXPECT_TRUE(changes().empty());
    changeOutside(codeOffset(549), 0x22);
    editor.redoWrite();
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1], "区块 549 的地形代码已在 Quarnet 之外被改为 22，不再是 Quarnet 写入的 "
                                    + formatTerrainCode(549 % 34 + 1) + "。\n没有重做，这一步仍留在记录中。");
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(549), 0x22}}));
}

TEST_F(UndoRedo, AByteThatCantBeReadIsLeftAlone)
{
    writeAt("0", "0", "05");
    files.failReads(true);
    editor.undoWrite();
    files.failReads(false);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "区块 1 的地形代码读不出来，无法确认它仍是 Quarnet 写入的 05。\n"
                                "没有撤销，这一步仍留在记录中。");
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}}));
    EXPECT_EQ(history().undoable(), 1u);
}

TEST_F(UndoRedo, ClosingOrOpeningClearsTheHistory)
{
    writeAt("0", "0", "05");
    editor.closeMapFile();
    EXPECT_EQ(history().size(), 0u);
    editor.undoWrite(); // no file: nothing
    open(path);
    EXPECT_EQ(history().size(), 0u);
    editor.undoWrite();
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}}));

    writeAt("32", "0", "06");
    editor.openMapFile(path); // from outside, as a drop
    EXPECT_EQ(history().size(), 0u);
    writeAt("64", "0", "07");
    host.nextAnswer.reset();
    editor.openMapFile(); // cancelled
    EXPECT_EQ(history().size(), 0u);
}

// Every change goes one way: the write button's single byte read back, the
// map as it was opened kept once, and the watch told of each write.

TEST_F(UndoRedo, ASingleWriteWhoseReadBackDiffersIsRedAndLeavesTheOldByte)
{
    writeAt("0", "0", "05"); // block 1; the map as opened is kept first
    ASSERT_EQ(lastMarker(), green);

    files.changeReadOnce(); // the read-back of the next write finds another byte
    writeAt("32", "0", "0A"); // block 2
    EXPECT_EQ(lastMarker(), red);
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}}));
    EXPECT_EQ(history().size(), 1u);
    EXPECT_EQ(text(c::标签19), "当前地形:" + std::string(*terrain::name(original[codeOffset(2)]))
                                   + "\r\r地形代码:" + formatTerrainCode(original[codeOffset(2)]));

    // Written again, it goes through.
    writeAt("32", "0", "0A");
    EXPECT_EQ(lastMarker(), green);
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}, {codeOffset(2), 0x0A}}));
}

TEST_F(UndoRedo, TheFirstWriteKeepsTheMapAsOpenedAndLaterOnesKeepNone)
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
    EXPECT_EQ(canvas.lastToast(), "已备份打开时的地图：SANGO7.MPC.1.bak");

    // Opened once more just as the newest backup holds it: that backup is
    // the copy, and no other is made.
    editor.undoWrite();
    editor.openMapFile(path);
    writeAt("64", "0", "0C");
    EXPECT_FALSE(exists(path + ".2.bak"));
    EXPECT_EQ(canvas.toasts.size(), 2u);
}

TEST_F(UndoRedo, AMapChangedByAnotherProgramIsKeptAgainBeforeTheNextWrite)
{
    writeAt("0", "0", "05");
    std::vector<std::uint8_t> changed = TempDir::read(path);
    changed[codeOffset(9)] = 0x22;
    dir.write("SANGO7.MPC", changed); // as another program writes it
    editor.mapFileChangedOutside(path);
    writeAt("32", "0", "0A");
    EXPECT_EQ(TempDir::read(path + ".1.bak"), changed);
}

TEST_F(UndoRedo, AWriteThatCantKeepTheMapAsOpenedWritesNothing)
{
    files.failOnce(platform::FaultInjectingFiles::Operation::append);
    writeAt("0", "0", "05");
    EXPECT_TRUE(changes().empty());
    EXPECT_EQ(lastMarker(), red);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "没有写入：无法先把打开时的地图备份为 " + path + ".bak，什么也没有写入。");
    EXPECT_FALSE(exists(path + ".bak"));
    EXPECT_EQ(history().size(), 0u);

    writeAt("0", "0", "05");
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}}));
    EXPECT_EQ(TempDir::read(path + ".bak"), original);
}

// The watch is told before each write and after it, and the file is as it
// was when it is told before.
TEST_F(UndoRedo, TheWatchIsToldOfEveryWriteOfTheEditorsOwn)
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

// A step of so many bytes, each at the offset given, named by the name.
Change step(std::size_t bytes, std::int64_t offset, std::string title = "group")
{
    Change change;
    change.title = texts::message(texts::Text::titleWithFile).withFile(std::move(title));
    change.bytes.assign(bytes, {offset, 0, 0, 1});
    return change;
}

TEST(WriteHistory, KeepsTheNewestWritesUpToItsCapacity)
{
    WriteHistory history;
    const std::size_t total = WriteHistory::capacity + 5;
    for (std::size_t i = 0; i < total; ++i)
        history.record(step(1, static_cast<std::int64_t>(i + 1)));
    static_assert(WriteHistory::capacity >= 10000);
    EXPECT_EQ(history.size(), WriteHistory::capacity);
    ASSERT_NE(history.nextUndo(), nullptr);
    EXPECT_EQ(history.nextUndo()->bytes.front().offset, std::int64_t(total));
    for (std::size_t i = 0; i < WriteHistory::capacity; ++i)
        history.undone();
    EXPECT_EQ(history.nextUndo(), nullptr);
    EXPECT_EQ(history.nextRedo()->bytes.front().offset, 6); // the five oldest were forgotten
}

TEST(WriteHistory, StepsCountTheirBytesButTheNewestIsAlwaysKept)
{
    WriteHistory history;
    const std::size_t half = WriteHistory::byteCapacity / 2;
    for (int offset = 1; offset <= 3; ++offset)
        history.record(step(half, offset));
    EXPECT_EQ(history.size(), 2u); // the first was forgotten for the bytes of the other two
    EXPECT_EQ(history.nextUndo()->bytes.front().offset, 3);
    history.record(step(WriteHistory::byteCapacity + 1, 4, "huge"));
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history.nextUndo()->title.file, "huge");

    // An undone step is dropped by a new step, its bytes with it.
    history.undone();
    history.record(step(1, 68));
    for (int offset = 1; offset <= 2; ++offset)
        history.record(step(half - 1, offset));
    EXPECT_EQ(history.size(), 3u);

    // The file an import read is never kept in the history.
    Change imported = step(1, 5);
    imported.fileAsRead.assign(1000, 0);
    imported.expectedCrc = 1;
    history.record(imported);
    EXPECT_TRUE(history.nextUndo()->fileAsRead.empty());
    EXPECT_FALSE(history.nextUndo()->expectedCrc);
}

TEST_F(UndoRedo, KeysOfTheKeyTable)
{
    ASSERT_NE(findKey('Z', false), nullptr);
    ASSERT_NE(findKey('Y', false), nullptr);
    ASSERT_NE(findKey('Z', true), nullptr);
    EXPECT_EQ(findKey('Y', true), nullptr);
    EXPECT_EQ(findKey('V', false), nullptr);

    writeAt("0", "0", "05");
    findKey('Z', false)->run(editor); // Ctrl+Z
    EXPECT_TRUE(changes().empty());
    findKey('Y', false)->run(editor); // Ctrl+Y
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}}));
    findKey('Z', false)->run(editor);
    findKey('Z', true)->run(editor); // Ctrl+Shift+Z
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}}));
}

TEST_F(EditorFixture, OpeningFromOutsideIsTheDialogsOpen)
{
    const std::string path = dir.write("地图 SANGO7.MPC", std::vector<std::uint8_t>(211302, 1));
    editor.openMapFile(path);
    EXPECT_TRUE(editor.isMapFileOpen());
    EXPECT_EQ(host.dialogsShown, 0);
    EXPECT_EQ(text(c::编辑框1), "当前已打开的文件:" + path + " | 文件长度:211302字节");

    editor.openMapFile(path + ".missing");
    EXPECT_FALSE(editor.isMapFileOpen());
    EXPECT_EQ(text(c::编辑框1), "无法打开文件:" + path + ".missing");
}

} // namespace
} // namespace quarnet::testing
