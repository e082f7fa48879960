// Every step of the safe write made to fail once, on real files through the
// fault-injecting files: what the map and the backup hold afterwards, and the
// one line that says so.
#include "mapfile/PatchFormat.h"
#include "mapfile/SafeWrite.h"
#include "platform/Crc32.h"
#include "platform/FaultInjectingFiles.h"
#include "platform/NativeFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quarnet::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Operation = platform::FaultInjectingFiles::Operation;

class SafeWrite : public ::testing::Test {
protected:
    // Writes two bytes, at 1 and 5, into the map through `files`.
    edits::WriteResult write(std::optional<std::uint32_t> expectedCrc = std::nullopt)
    {
        const platform::FileNumber map = files.open(mapPath);
        EXPECT_NE(map, 0);
        const std::vector<edits::ByteChange> changes = {{1, 0xA1}, {5, 0xA5}};
        const auto nameChange = [](std::size_t i) { return texts::message(texts::Text::changeOfBlockAlone, i + 1); };
        const edits::WriteResult result =
            edits::writeSafely(files, {map, mapPath, original, changes, nameChange, expectedCrc}, std::nullopt);
        files.closeAll();
        return result;
    }
    void expectFailure(const edits::WriteResult& result, const std::string& failure)
    {
        EXPECT_FALSE(result.written);
        ASSERT_TRUE(result.failure);
        EXPECT_EQ(texts::renderMessage(*result.failure, texts::Language::english), failure);
    }
    bool backupExists() const { return std::filesystem::exists(pathFromUtf8(backupPath)); }

    TempDir dir;
    const Bytes original = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    const Bytes written = {0, 0xA1, 2, 3, 4, 0xA5, 6, 7, 8, 9};
    const std::string mapPath = dir.write("SANGO7.MPC", original);
    const std::string backupPath = mapPath + ".bak";
    const std::string restored = "; " + mapPath + " restored byte for byte from the backup " + backupPath;
    platform::NativeFiles native;
    platform::FaultInjectingFiles files {native};
};

TEST_F(SafeWrite, WritesTheBytesAfterAFlushedBackup)
{
    const edits::WriteResult result = write(platform::crc32(written));
    EXPECT_TRUE(result.written);
    EXPECT_FALSE(result.failure);
    EXPECT_EQ(result.backupPath, backupPath);
    EXPECT_EQ(TempDir::read(mapPath), written);
    EXPECT_EQ(TempDir::read(backupPath), original);
}

// Before the map is touched: it is left as it was, and no incomplete backup
// stays behind.
TEST_F(SafeWrite, AFailedBackupLeavesTheMapAsItWas)
{
    files.failOnce(Operation::append);
    expectFailure(write(), "writing the backup " + backupPath + " failed; " + mapPath + " left as it was");
    EXPECT_EQ(TempDir::read(mapPath), original);
    EXPECT_FALSE(backupExists());

    files.failOnce(Operation::flush); // the backup's, the first
    expectFailure(write(), "flushing the backup " + backupPath + " failed; " + mapPath + " left as it was");
    EXPECT_EQ(TempDir::read(mapPath), original);
    EXPECT_FALSE(backupExists());

    files.failOnce(Operation::create);
    expectFailure(write(), "can't create the backup " + backupPath + "; " + mapPath + " left as it was");
    EXPECT_EQ(TempDir::read(mapPath), original);
    EXPECT_FALSE(backupExists());
}

TEST_F(SafeWrite, AFailedWriteRestoresTheMap)
{
    files.failOnce(Operation::replaceByte, 2);
    expectFailure(write(), "writing block 2 at offset 5 failed" + restored);
    EXPECT_EQ(TempDir::read(mapPath), original);
    EXPECT_EQ(TempDir::read(backupPath), original);
}

TEST_F(SafeWrite, AFailedFlushRestoresTheMap)
{
    files.failOnce(Operation::flush, 2); // after the backup's
    expectFailure(write(), "flushing " + mapPath + " failed" + restored);
    EXPECT_EQ(TempDir::read(mapPath), original);
    EXPECT_EQ(TempDir::read(backupPath), original);
}

// The bytes as written are read back: a disk that gives another byte is
// caught, and the map restored.
TEST_F(SafeWrite, AReadBackThatFindsAnotherByteRestoresTheMap)
{
    files.changeReadOnce();
    expectFailure(write(), "reading the file back found byte FF at offset 0 where 00 was written" + restored);
    EXPECT_EQ(TempDir::read(mapPath), original);
    EXPECT_EQ(TempDir::read(backupPath), original);

    std::filesystem::remove(pathFromUtf8(backupPath));
    files.failOnce(Operation::read);
    expectFailure(write(), "reading the file back failed" + restored);
    EXPECT_EQ(TempDir::read(mapPath), original);
}

// A patch promises its target's CRC-32: a file that comes out otherwise,
// though every byte is as meant, is restored.
TEST_F(SafeWrite, AWrongCrcAfterWritingRestoresTheMap)
{
    const std::uint32_t promised = platform::crc32(written) ^ 1;
    expectFailure(write(promised), "the written file's CRC32 is " + patches::crcText(platform::crc32(written))
                                       + " where the patch expects " + patches::crcText(promised) + restored);
    EXPECT_EQ(TempDir::read(mapPath), original);
    EXPECT_EQ(TempDir::read(backupPath), original);
}

// When the restore itself fails the map may be damaged: the line says so and
// names the backup, which is complete.
TEST_F(SafeWrite, AFailedRestoreSaysTheMapMayBeDamaged)
{
    files.failOnce(Operation::replaceByte, 2);
    files.failOnce(Operation::flush, 2); // the restore's: the map's own flush never came
    expectFailure(write(), "writing block 2 at offset 5 failed; restoring " + mapPath + " failed too, so " + mapPath
                               + " may be damaged: copy the complete backup " + backupPath + " over it");
    EXPECT_EQ(TempDir::read(backupPath), original);
    // The original bytes are back in the file; only their flush failed.
    EXPECT_EQ(TempDir::read(mapPath), original);
}

// With no path chosen, the first of MAP.bak, MAP.1.bak, ... that does not
// exist; a chosen path must not exist.
TEST_F(SafeWrite, BackupsAreNumberedAndNeverOverwritten)
{
    EXPECT_EQ(edits::numberedBackupPath("a/MAP", 0), "a/MAP.bak");
    EXPECT_EQ(edits::numberedBackupPath("a/MAP", 12), "a/MAP.12.bak");
    dir.write("SANGO7.MPC.bak", {9});
    const edits::WriteResult result = write();
    EXPECT_TRUE(result.written);
    EXPECT_FALSE(result.failure);
    EXPECT_EQ(result.backupPath, mapPath + ".1.bak");
    EXPECT_EQ(TempDir::read(mapPath + ".1.bak"), original);
    EXPECT_EQ(TempDir::read(backupPath), Bytes {9});

    const platform::FileNumber map = files.open(mapPath);
    const std::vector<edits::ByteChange> none;
    const edits::WriteResult chosen =
        edits::writeSafely(files, {map, mapPath, written, none, {}, std::nullopt}, backupPath);
    files.closeAll();
    expectFailure(chosen, "the backup " + backupPath
                              + " already exists and is never overwritten; move it away or name another with "
                                "--backup PATH; "
                              + mapPath + " left as it was");
    EXPECT_EQ(TempDir::read(backupPath), Bytes {9});
}

// One byte with no backup: written, flushed and read back; on any failure
// the old byte is put back from memory and the line says so.
TEST_F(SafeWrite, OneByteIsReadBackAndPutBackWhenItCantBeConfirmed)
{
    const auto writeOne = [this] {
        const platform::FileNumber map = files.open(mapPath);
        const edits::ByteWriteResult result = edits::writeByte(files, map, mapPath, 5, 5, 0xA5);
        files.closeAll();
        return result;
    };
    const std::string putBack = "; the byte there is 05 again, as it was";

    const auto failure = [](const edits::ByteWriteResult& result) {
        return result.failure ? texts::renderMessage(*result.failure, texts::Language::english) : std::string();
    };
    files.changeReadOnce();
    edits::ByteWriteResult result = writeOne();
    EXPECT_FALSE(result.written);
    EXPECT_EQ(failure(result), "reading the file back found byte 5A at offset 5 where A5 was written" + putBack);
    EXPECT_EQ(TempDir::read(mapPath), original);

    files.failOnce(Operation::flush);
    result = writeOne();
    EXPECT_EQ(failure(result), "flushing " + mapPath + " failed" + putBack);
    EXPECT_EQ(TempDir::read(mapPath), original);

    files.failOnce(Operation::replaceByte);
    result = writeOne();
    EXPECT_EQ(failure(result), "writing the byte at offset 5 failed" + putBack);

    files.failFlushes(true);
    result = writeOne();
    files.failFlushes(false);
    EXPECT_EQ(failure(result), "flushing " + mapPath + " failed; putting back its old byte 05 failed too");

    result = writeOne();
    EXPECT_TRUE(result.written) << failure(result);
    EXPECT_EQ(TempDir::read(mapPath), (Bytes {0, 1, 2, 3, 4, 0xA5, 6, 7, 8, 9}));
    EXPECT_FALSE(backupExists());
}

// The copy of a map as it was opened: the next free numbered backup, never
// an existing one overwritten, and none left behind half written.
TEST_F(SafeWrite, ABackupCopyTakesTheNextFreeNameAndIsCompleteOrGone)
{
    dir.write("SANGO7.MPC.bak", {9});
    edits::WriteResult copy = edits::keepBackupCopy(files, mapPath, original);
    EXPECT_TRUE(copy.written);
    EXPECT_EQ(copy.backupPath, mapPath + ".1.bak");
    EXPECT_EQ(TempDir::read(mapPath + ".1.bak"), original);
    EXPECT_EQ(TempDir::read(backupPath), Bytes {9});

    files.failOnce(Operation::append);
    copy = edits::keepBackupCopy(files, mapPath, original);
    expectFailure(copy, "writing the backup " + mapPath + ".2.bak failed");
    EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(mapPath + ".2.bak")));
}

} // namespace
} // namespace quarnet::testing
