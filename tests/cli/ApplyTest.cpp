#include "CliFixture.h"

#include <filesystem>

namespace quarnet::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

class TerrainApply : public ::testing::Test {
protected:
    CliRun apply(const std::string& edits, std::vector<std::string> options = {})
    {
        std::vector<std::string> arguments = {"apply", mapPath, dir.write("edits.csv", bytesOf(edits))};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return runCli(arguments);
    }
    CliRun applyThrough(platform::Files& files, const std::string& edits)
    {
        return runCli({"apply", mapPath, dir.write("edits.csv", bytesOf(edits))}, files);
    }
    bool backupExists() const { return std::filesystem::exists(pathFromUtf8(mapPath + ".bak")); }

    TempDir dir;
    Bytes original = cyclingMap();
    std::string mapPath = dir.write("SANGO7.MPC", original);
};

// What diff --csv lists, applied to a copy of the old map, gives the new
// map's bytes exactly.
TEST_F(TerrainApply, DiffCsvRoundTripGivesTheModdedMapExactly)
{
    const std::vector<std::vector<std::int32_t>> changedBlocks = {
        {548},
        {1, 211302},
        {2, 3, 4, 546, 547, 1000, 100000, 211301},
    };
    for (const auto& blocks : changedBlocks) {
        SCOPED_TRACE(blocks.size());
        Bytes modded = original;
        for (const std::int32_t block : blocks)
            modded[codeAt(block)] = static_cast<std::uint8_t>(modded[codeAt(block)] % 34 + 1);
        const std::string originalPath = dir.write("ORIGINAL.MPC", original);
        const std::string moddedPath = dir.write("MODDED.MPC", modded);
        const CliRun listed = runCli({"diff", originalPath, moddedPath, "--csv"});
        ASSERT_EQ(listed.exitCode, 1);
        std::filesystem::remove(pathFromUtf8(mapPath + ".bak"));
        dir.write("SANGO7.MPC", original);

        const CliRun run = apply(listed.out);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "Wrote " + std::to_string(blocks.size()) + (blocks.size() == 1 ? " code" : " codes")
                               + " into " + mapPath + "; the backup is " + mapPath + ".bak\n");
        EXPECT_EQ(TempDir::read(mapPath), modded);
        EXPECT_EQ(TempDir::read(mapPath + ".bak"), original);
    }
}

TEST_F(TerrainApply, RowsByBlockOrByMapPixel)
{
    // x,y 32,32 is block 548; 17471,12383 is block 211302; a header, a byte
    // order mark, CRLF, spaces, lower-case hex and a repeated same edit pass.
    const CliRun run = apply("\xEF\xBB\xBFx,y,code\r\n32,32,05\r\n 17471 , 12383 , 0a \r\n\r\n1,22\n1,22\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    Bytes expected = original;
    expected[codeAt(548)] = 0x05;
    expected[codeAt(211302)] = 0x0A;
    expected[codeAt(1)] = 0x22;
    EXPECT_EQ(TempDir::read(mapPath), expected);
}

// Every line is checked before anything is written; each bad one is named,
// and the map and its folder stay as they were.
TEST_F(TerrainApply, BadLinesAreNamedAndChangeNothing)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"548,23", {"line 1: code 23 is outside 01 to 22"}},
        {"548,00", {"line 1: code 00 is outside 01 to 22"}},
        {"548,5G", {"line 1: code \"5G\" is not a hexadecimal code such as 05"}},
        {"548,005", {"line 1: code \"005\" is not a hexadecimal code such as 05"}},
        {"548,", {"line 1: code \"\" is not a hexadecimal code such as 05"}},
        {"0,05", {"line 1: block 0 is outside 1 to 211302"}},
        {"211303,05", {"line 1: block 211303 is outside 1 to 211302"}},
        {"-1,05", {"line 1: block \"-1\" is not a whole number"}},
        {"548.0,05", {"line 1: block \"548.0\" is not a whole number"}},
        {"1,05\nblock,05", {"line 2: block \"block\" is not a whole number"}}, // a header only comes first
        {"17472,0,05", {"line 1: x 17472 is outside 0 to 17471"}},
        {"0,12384,05", {"line 1: y 12384 is outside 0 to 12383"}},
        {"0,y,05", {"line 1: y \"y\" is not a whole number"}},
        {"548", {"line 1: expected BLOCK,CODE or X,Y,CODE, found 1 fields"}},
        {"1,2,3,4", {"line 1: expected BLOCK,CODE or X,Y,CODE, found 4 fields"}},
        {"548,05\n32,32,07", {"line 2: block 548 gets code 07 here but 05 on line 1"}},
        {"548,23\n\n1,05\n1,99", {"line 1: code 23 is outside 01 to 22", "line 4: code 99 is outside 01 to 22"}},
    };
    for (const auto& [edits, errors] : cases) {
        SCOPED_TRACE(edits);
        const CliRun run = apply(edits);
        EXPECT_EQ(run.exitCode, 2);
        std::string expected;
        for (const std::string& error : errors)
            expected += "quarnet-terrain apply: " + utf8FromPath(dir.path() / "edits.csv") + " " + error + "\n";
        expected += "quarnet-terrain apply: " + std::to_string(errors.size())
                    + (errors.size() == 1 ? " bad line; " : " bad lines; ") + mapPath + " left as it was\n";
        EXPECT_EQ(run.err, expected);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(TempDir::read(mapPath), original);
        EXPECT_FALSE(backupExists());
    }
}

TEST_F(TerrainApply, BlocksMustLieInsideTheFile)
{
    // Ten records from 44: block 10's code byte is the file's last byte.
    const Bytes small = mapFileBytes([](std::size_t) { return std::uint8_t {3}; }, 68, 10);
    dir.write("SANGO7.MPC", small);
    CliRun run = apply("11,05");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("line 1: block 11's code byte lies past the end of the file (148 bytes)"),
              std::string::npos) << run.err;
    EXPECT_EQ(TempDir::read(mapPath), small);

    run = apply("10,05", {"--offset", "44"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    Bytes expected = small;
    expected[codeAt(10)] = 5;
    EXPECT_EQ(TempDir::read(mapPath), expected);
}

// Each apply backs the map up to the first of MAP.bak, MAP.1.bak, ... that
// does not exist: three in a row leave three backups, each the map as it was
// before its own apply, and the summary names the one written.
TEST_F(TerrainApply, EachApplyWritesTheNextNumberedBackup)
{
    std::vector<Bytes> before;
    const std::vector<std::string> backups = {mapPath + ".bak", mapPath + ".1.bak", mapPath + ".2.bak"};
    const std::vector<std::string> edits = {"548,07\n", "549,0D\n", "548,0A\n"};
    for (std::size_t i = 0; i < edits.size(); ++i) {
        before.push_back(TempDir::read(mapPath));
        const CliRun run = apply(edits[i]);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, "Wrote 1 code into " + mapPath + "; the backup is " + backups[i] + "\n");
    }
    for (std::size_t i = 0; i < backups.size(); ++i)
        EXPECT_EQ(TempDir::read(backups[i]), before[i]) << backups[i];
    EXPECT_TRUE(before[0] != before[1] && before[1] != before[2]); // each apply changed the map
    EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(mapPath + ".3.bak")));
}

// A gap in the numbers is filled; an existing file, or a folder, in the way
// is passed over and never touched.
TEST_F(TerrainApply, NeverOverwritesABackupAndNeverStopsForOne)
{
    const std::string oldBackup = dir.write("SANGO7.MPC.bak", bytesOf("an older backup"));
    std::filesystem::create_directory(pathFromUtf8(mapPath + ".1.bak"));
    const std::string third = dir.write("SANGO7.MPC.3.bak", bytesOf("a third"));
    const CliRun run = apply("548,05");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Wrote 1 code into " + mapPath + "; the backup is " + mapPath + ".2.bak\n");
    EXPECT_EQ(TempDir::read(mapPath + ".2.bak"), original);
    EXPECT_EQ(TempDir::read(mapPath)[codeAt(548)], 0x05);
    EXPECT_EQ(textOf(TempDir::read(oldBackup)), "an older backup");
    EXPECT_EQ(textOf(TempDir::read(third)), "a third");
}

// A backup path given with --backup must not exist: apply stops instead.
TEST_F(TerrainApply, AChosenBackupPathThatExistsStopsApply)
{
    const std::string chosen = dir.write("before-roads.MPC", bytesOf("an older backup"));
    CliRun run = apply("548,05", {"--backup", chosen});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "quarnet-terrain apply: the backup " + chosen
                           + " already exists and is never overwritten; move it away or name another with "
                             "--backup PATH; " + mapPath + " left as it was\n");
    EXPECT_EQ(TempDir::read(mapPath), original);
    EXPECT_EQ(textOf(TempDir::read(chosen)), "an older backup");
    EXPECT_FALSE(backupExists());

    const std::string otherBackup = utf8FromPath(dir.path() / "before-rivers.MPC");
    run = apply("548,05", {"--backup", otherBackup});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Wrote 1 code into " + mapPath + "; the backup is " + otherBackup + "\n");
    EXPECT_EQ(TempDir::read(otherBackup), original);
    EXPECT_EQ(TempDir::read(mapPath)[codeAt(548)], 0x05);
    EXPECT_FALSE(backupExists());
}

TEST_F(TerrainApply, AnEmptyListTouchesNothing)
{
    const CliRun run = apply("block,code\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, utf8FromPath(dir.path() / "edits.csv") + " holds no edits; " + mapPath + " left as it was\n");
    EXPECT_FALSE(backupExists());
    EXPECT_EQ(TempDir::read(mapPath), original);
}

// A write or the flush refused halfway: the file is restored byte for byte
// and one line says what happened.
TEST_F(TerrainApply, ARefusedWriteOrFlushRestoresTheFile)
{
    using Operation = platform::FaultInjectingFiles::Operation;
    struct Case {
        Operation what;
        int which;
        std::string failure;
    };
    // The backup's flush comes before the map's.
    const std::vector<Case> cases = {
        {Operation::replaceByte, 1, "writing block 1 (line 1) at offset 68 failed"},
        {Operation::replaceByte, 3, "writing block 548 (line 3) at offset 4444 failed"},
        {Operation::flush, 2, "flushing " + mapPath + " failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failure);
        std::filesystem::remove(pathFromUtf8(mapPath + ".bak"));
        platform::NativeFiles native;
        platform::FaultInjectingFiles files(native);
        files.failOnce(c.what, c.which);
        const CliRun run = applyThrough(files, "1,05\n2,05\n548,05\n211302,05\n");
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, "quarnet-terrain apply: " + c.failure + "; " + mapPath
                               + " restored byte for byte from the backup " + mapPath + ".bak\n");
        EXPECT_EQ(TempDir::read(mapPath), original);
        EXPECT_EQ(TempDir::read(mapPath + ".bak"), original);
    }
}

TEST_F(TerrainApply, SaysSoWhenEvenTheRestoreIsRefused)
{
    platform::NativeFiles native;
    platform::FaultInjectingFiles files(native);
    files.failWrites(true);
    const CliRun run = applyThrough(files, "548,05\n");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "quarnet-terrain apply: writing block 548 (line 1) at offset 4444 failed; restoring " + mapPath
                           + " failed too, so " + mapPath + " may be damaged: copy the complete backup " + mapPath
                           + ".bak over it\n");
    EXPECT_EQ(TempDir::read(mapPath), original);
    EXPECT_EQ(TempDir::read(mapPath + ".bak"), original);
}

} // namespace
} // namespace quarnet::testing
