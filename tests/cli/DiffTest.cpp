#include "CliFixture.h"

#include <functional>

namespace quarnet::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

class TerrainDiff : public ::testing::Test {
protected:
    CliRun diff(const Bytes& changed, std::vector<std::string> options = {})
    {
        std::vector<std::string> arguments = {"diff", oldPath, dir.write("NEW.MPC", changed)};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return runCli(arguments);
    }

    TempDir dir;
    Bytes original = cyclingMap();
    std::string oldPath = dir.write("OLD.MPC", original);
};

TEST_F(TerrainDiff, ListsEachChangedBlockWithItsPlaceAndNames)
{
    Bytes changed = original;
    changed[codeAt(1)] = 0x00;      // no name
    changed[codeAt(548)] = 0x07;    // was 548 % 34 + 1 = 5
    changed[codeAt(211302)] = 0x30; // no name either
    const CliRun run = diff(changed);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "block 1, row 1, column 1, x 0～31, y 0～31: 02 雪原 -> 00\n"
                       "block 548, row 2, column 2, x 32～63, y 32～63: 05 道路 -> 07 高山\n"
                       "block 211302, row 387, column 546, x 17440～17471, y 12352～12383: 1B 不明 -> 30\n"
                       "3 blocks differ in terrain; other bytes that differ: 0 in the header, 0 in the records, "
                       "0 after the records\n");
    EXPECT_EQ(run.err, "");
}

// Bytes that are not terrain codes are counted by where they lie, so no
// change goes unseen; they alone leave the exit code at 0.
TEST_F(TerrainDiff, CountsTheOtherBytesThatDiffer)
{
    struct Case {
        std::string name;
        std::function<void(Bytes&)> change;
        std::vector<std::string> options;
        int exitCode;
        std::string summary;
    };
    const std::vector<Case> cases = {
        {"same", [](Bytes&) {}, {}, 0,
         "The terrain is the same; other bytes that differ: 0 in the header, 0 in the records, 0 after the records\n"},
        {"header and records", [](Bytes& b) { b[0] ^= 1; b[67] ^= 1; b[codeAt(9) + 1] ^= 1; b[codeAt(9) + 7] ^= 1; },
         {}, 0,
         "The terrain is the same; other bytes that differ: 2 in the header, 2 in the records, 0 after the records\n"},
        {"after the records", [](Bytes& b) { b.insert(b.end(), {1, 2, 3}); }, {}, 1,
         "The terrain is the same; other bytes that differ: 0 in the header, 0 in the records, 0 after the records; "
         "OLD has 1690484 bytes and NEW 1690487, so 3 lie past the shorter one's end\n"},
        {"records at the ends of the read chunks and of the file",
         [](Bytes& b) { b[65535] ^= 1; b[65536] ^= 1; b[b.size() - 1] ^= 1; }, {}, 0,
         "The terrain is the same; other bytes that differ: 0 in the header, 3 in the records, 0 after the records\n"},
        {"offset 4G reads from 64", [](Bytes& b) { b[64] ^= 1; b[65] ^= 1; }, {"--offset", "4G"}, 1,
         "1 block differs in terrain; other bytes that differ: 0 in the header, 1 in the records, 0 after the records\n"},
        {"offset 0 makes no header", [](Bytes& b) { b[0] ^= 1; b[8] ^= 1; }, {"--offset=0"}, 1,
         "2 blocks differ in terrain; other bytes that differ: 0 in the header, 0 in the records, 0 after the records\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes changed = original;
        c.change(changed);
        const CliRun run = diff(changed, c.options);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.out.ends_with(c.summary)) << run.out;
    }
}

TEST_F(TerrainDiff, CsvIsAnEditListAndNotesOtherBytesApart)
{
    Bytes changed = original;
    changed[codeAt(548)] = 0x07;
    changed[codeAt(2)] = 0x22;
    CliRun run = diff(changed, {"--csv"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "block,code\n2,22\n548,07\n");
    EXPECT_EQ(run.err, "");

    changed[codeAt(548) + 3] ^= 1;
    run = diff(changed, {"--csv"});
    EXPECT_EQ(run.out, "block,code\n2,22\n548,07\n");
    EXPECT_EQ(run.err, "quarnet-terrain diff: the edit list holds terrain codes only; other bytes that differ: "
                       "0 in the header, 1 in the records, 0 after the records\n");

    run = diff(original, {"--csv"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "block,code\n");
}

} // namespace
} // namespace quarnet::testing
