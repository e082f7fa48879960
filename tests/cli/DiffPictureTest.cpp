#include "CliFixture.h"
#include "Pictures.h"

#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainTable.h"
#include "support/MapFixtures.h"

#include <filesystem>
#include <string_view>
#include <tuple>
#include <vector>

namespace quarnet::testing {
namespace {

namespace g = geometry;
using Bytes = std::vector<std::uint8_t>;

// The colours the pictures must show, written out from the palette table:
// a changed block in its terrain's colour, an unchanged one dimmed three
// fifths of the way to the background (48, 48, 48), rounded.
constexpr Rgb dryGrassland {176, 176, 96};  // 06
constexpr Rgb mountains {120, 100, 84};     // 07
constexpr Rgb wasteland {180, 140, 120};    // 10
constexpr Rgb dimSnowfield {120, 123, 127}; // 02
constexpr Rgb dimGrassland {79, 97, 60};    // 03, 04
constexpr Rgb dimRoad {97, 81, 61};         // 05
constexpr Rgb dimMountains {77, 69, 62};    // 07
constexpr Rgb dimDeepSea {41, 55, 81};      // 0D
constexpr Rgb dimDesert {118, 107, 81};     // 0E
constexpr Rgb dimWasteland {101, 85, 77};   // 10
constexpr Rgb background {48, 48, 48};
constexpr Rgb black {0, 0, 0};
constexpr Rgb white {255, 255, 255};

// Two small maps of three rows of blocks, block N holding code N % 34 + 1:
// NEW changes blocks 548 (05 to 06) and 549 (06 to 07), side by side, and
// 1000 (0F to 10).
class DiffPicture : public ::testing::Test {
protected:
    DiffPicture()
    {
        for (const std::int32_t block : {548, 549, 1000})
            modded[codeAt(block)] = static_cast<std::uint8_t>(modded[codeAt(block)] % 34 + 1);
        newPath = dir.write("NEW.MPC", modded);
    }

    TempDir dir;
    Bytes original = mapFileBytes([](std::size_t block) { return static_cast<std::uint8_t>(block % 34 + 1); }, 68,
                                  3 * g::columns);
    Bytes modded = original;
    std::string oldPath = dir.write("OLD.MPC", original);
    std::string newPath;
    std::string picturePath = utf8FromPath(dir.path() / "change.png");
};

TEST_F(DiffPicture, ChangedBlocksInFullColourInsideAnOutline)
{
    const CliRun run = runCli({"diff", oldPath, newPath, "--picture", picturePath});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(lineCount(run.out), 4u); // the listing as ever
    const Decoded picture = decode(picturePath);
    ASSERT_EQ(picture.width, 2184);
    ASSERT_EQ(picture.height, 1548);

    // 548 and 549 are (1, 1) and (2, 1), 0-based: pixels 4..11, 4..7.
    for (int y = 4; y < 8; ++y) {
        for (int x = 4; x < 12; ++x)
            EXPECT_EQ(picture.at(x, y), x < 8 ? dryGrassland : mountains) << x << "," << y;
    }
    // The outline: every pixel around the pair, corners included, and none
    // between them; black and white in turns, two pixels each, so that it
    // shows on every terrain colour.
    const auto outline = [](std::string_view pattern) {
        std::vector<Rgb> colours;
        for (const char c : pattern)
            colours.push_back(c == 'B' ? black : white);
        return colours;
    };
    const auto row = [&](int y) {
        std::vector<Rgb> colours;
        for (int x = 3; x <= 12; ++x)
            colours.push_back(picture.at(x, y));
        return colours;
    };
    const auto column = [&](int x) {
        std::vector<Rgb> colours;
        for (int y = 3; y <= 8; ++y)
            colours.push_back(picture.at(x, y));
        return colours;
    };
    EXPECT_EQ(row(3), outline("WWBBWWBBWW"));
    EXPECT_EQ(row(8), outline("WBBWWBBWWB"));
    EXPECT_EQ(column(3), outline("WWBBWW"));
    EXPECT_EQ(column(12), outline("WBBWWB"));

    // Unchanged blocks dimmed toward the background: the rest of a
    // neighbour (block 1, 02), and a block far away (block 1193, 04).
    EXPECT_EQ(picture.at(2, 2), dimSnowfield);
    EXPECT_EQ(picture.at(400, 8), dimGrassland);
    // Past the small map's end: the background, which dims to itself.
    EXPECT_EQ(picture.at(1000, 1000), background);
    // Block 1000 at (453, 1): its own outline.
    EXPECT_EQ(picture.at(453 * 4 + 1, 5), wasteland);
    EXPECT_EQ(picture.at(453 * 4 - 1, 5), black);
    EXPECT_EQ(picture.at(454 * 4, 8), black);
}

TEST_F(DiffPicture, AtOnePixelABlockNoOutline)
{
    const CliRun run = runCli({"diff", oldPath, newPath, "--picture", picturePath, "--scale", "1", "--csv"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out, "block,code\n548,"
                           + terrain::formatCode(modded[codeAt(548)]) + "\n549," + terrain::formatCode(modded[codeAt(549)])
                           + "\n1000," + terrain::formatCode(modded[codeAt(1000)]) + "\n");
    const Decoded picture = decode(picturePath);
    ASSERT_EQ(picture.width, 546);
    EXPECT_EQ(picture.at(1, 1), dryGrassland);
    EXPECT_EQ(picture.at(2, 1), mountains);
    EXPECT_EQ(picture.at(453, 1), wasteland);
    // The neighbours, unchanged: blocks 1, 547, 550, 1094, 999, 1001, 454.
    const std::vector<std::tuple<int, int, Rgb>> neighbours = {
        {0, 0, dimSnowfield}, {0, 1, dimGrassland}, {3, 1, dimMountains}, {1, 2, dimMountains},
        {452, 1, dimDesert},  {454, 1, dimWasteland}, {453, 0, dimDeepSea},
    };
    for (const auto& [x, y, colour] : neighbours)
        EXPECT_EQ(picture.at(x, y), colour) << x << "," << y;
}

TEST_F(DiffPicture, SameMapsGiveAWhollyDimmedPicture)
{
    const CliRun run = runCli({"diff", oldPath, oldPath, "--picture", picturePath, "--scale", "2"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const Decoded picture = decode(picturePath);
    ASSERT_EQ(picture.width, 1092);
    // Blocks 1 to 4, two pixels each: 02, 03, 04, 05.
    const std::vector<Rgb> dimmedRow = {dimSnowfield, dimSnowfield, dimGrassland, dimGrassland,
                                        dimGrassland, dimGrassland, dimRoad,      dimRoad};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(picture.at(x, 0), dimmedRow[static_cast<std::size_t>(x)]) << x;
}

TEST_F(DiffPicture, BadOptionsWriteNothing)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--scale", "1"}, "quarnet-terrain diff: --scale goes with --picture\n"},
        {{"--picture", utf8FromPath(dir.path() / "change.gif")},
         "quarnet-terrain diff: --picture " + utf8FromPath(dir.path() / "change.gif")
             + " must end in .png, .jpg or .jpeg\n"},
        {{"--picture", picturePath, "--scale", "9"},
         "quarnet-terrain diff: --scale takes a whole number of pixels a block, 1 to 8, not \"9\"\n"},
    };
    for (const auto& [options, message] : cases) {
        SCOPED_TRACE(message);
        std::vector<std::string> arguments = {"diff", oldPath, newPath};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, message);
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(picturePath)));
    }
    // NEW named as the picture (a map named like a picture) is never overwritten.
    const std::string pictureNamedMap = dir.write("NEW.png", modded);
    const CliRun run = runCli({"diff", oldPath, pictureNamedMap, "--picture", pictureNamedMap});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "quarnet-terrain diff: --picture names OLD or NEW; neither is ever overwritten\n");
    EXPECT_EQ(TempDir::read(pictureNamedMap), modded);
}

TEST_F(DiffPicture, PathOutsideTheAnsiCodePage)
{
    const std::string path = utf8FromPath(dir.path() / "变化-Ωλ.png");
    const CliRun run = runCli({"diff", oldPath, newPath, "--picture", path});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(decode(path).at(5, 5), dryGrassland);
}

} // namespace
} // namespace quarnet::testing
