#include "CliFixture.h"

namespace quarnet::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The line of one block in an export.
std::string exportLine(const std::string& csv, std::int32_t block)
{
    std::size_t start = 0;
    for (std::int32_t line = 0; line < block; ++line)
        start = csv.find('\n', start) + 1;
    return csv.substr(start, csv.find('\n', start) - start);
}

TEST(TerrainExport, EveryBlockWithRowColumnCodeAndName)
{
    TempDir dir;
    Bytes map = cyclingMap();
    map[codeAt(3)] = 0x30;
    map[codeAt(4)] = 0x00;
    const std::string mapPath = dir.write("SANGO7.MPC", map);
    const CliRun run = runCli({"export", mapPath});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(lineCount(run.out), 211303u);
    EXPECT_TRUE(run.out.starts_with("block,row,column,code,name\n1,1,1,02,雪原\n2,1,2,03,草原\n3,1,3,30,\n4,1,4,00,\n"));
    EXPECT_EQ(exportLine(run.out, 548), "548,2,2,05,道路");
    EXPECT_EQ(exportLine(run.out, 211302), "211302,387,546,1B,不明");

    const std::string outPath = utf8FromPath(dir.path() / "blocks.csv");
    const CliRun toFile = runCli({"export", mapPath, outPath});
    EXPECT_EQ(toFile.exitCode, 0);
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(textOf(TempDir::read(outPath)), run.out);
}

TEST(TerrainExport, AShortFileOrAnotherOffset)
{
    TempDir dir;
    const Bytes map = mapFileBytes([](std::size_t block) { return static_cast<std::uint8_t>(block); }, 68, 5);
    const std::string mapPath = dir.write("SANGO7.MPC", map);
    CliRun run = runCli({"export", mapPath});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(lineCount(run.out), 6u);
    EXPECT_EQ(run.err, "quarnet-terrain export: " + mapPath
                           + " ends before block 6's code byte; blocks 6 to 211302 are left out\n");

    // The window's rules read "4c" as 64 (a lower-case c counts 0): block 1's
    // code byte is then the header's filler at 64, block 2's a record's.
    run = runCli({"export", mapPath, "--offset", "4c"});
    EXPECT_TRUE(run.out.starts_with("block,row,column,code,name\n1,1,1,EE,\n2,1,2,EE,\n")) << run.out.substr(0, 80);
}

TEST(TerrainExport, NeverOverwritesTheMap)
{
    TempDir dir;
    const std::string mapPath = dir.write("SANGO7.MPC", cyclingMap());
    const CliRun run = runCli({"export", mapPath, mapPath});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "quarnet-terrain export: OUT is MAP itself; the map is never overwritten\n");
    EXPECT_EQ(TempDir::read(mapPath), cyclingMap());
}

// Names outside any ANSI code page (Windows passes them as UTF-16 and the
// program hands them on as UTF-8).
TEST(TerrainPaths, WorkOutsideTheAnsiCodePage)
{
    TempDir dir;
    const Bytes original = cyclingMap();
    const std::string mapPath = dir.write("地图-Ωλ.MPC", original);
    const std::string editsPath = dir.write("编辑-Ωλ.csv", bytesOf("548,07\n"));
    const CliRun applied = runCli({"apply", mapPath, editsPath});
    EXPECT_EQ(applied.exitCode, 0) << applied.err;
    EXPECT_EQ(TempDir::read(mapPath + ".bak"), original);

    const std::string outPath = utf8FromPath(dir.path() / "区块-Ωλ.csv");
    EXPECT_EQ(runCli({"export", mapPath, outPath}).exitCode, 0);
    EXPECT_EQ(exportLine(textOf(TempDir::read(outPath)), 548), "548,2,2,07,高山");

    const CliRun diff = runCli({"diff", mapPath + ".bak", mapPath, "--csv"});
    EXPECT_EQ(diff.exitCode, 1);
    EXPECT_EQ(diff.out, "block,code\n548,07\n");
}

} // namespace
} // namespace quarnet::testing
