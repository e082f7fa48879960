#include "CliFixture.h"
#include "Pictures.h"

#include "mapfile/ChangePicture.h"
#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainPalette.h"
#include "mapfile/TerrainTable.h"
#include "support/MapFixtures.h"

#include <filesystem>

namespace quarnet::testing {
namespace {

namespace g = geometry;
using Bytes = std::vector<std::uint8_t>;

// Two small maps of three rows of blocks: NEW changes blocks 548 and 549
// (side by side) and 1000.
class DiffPicture : public ::testing::Test {
protected:
    DiffPicture()
    {
        for (const std::int32_t block : {548, 549, 1000})
            modded[codeAt(block)] = static_cast<std::uint8_t>(modded[codeAt(block)] % 34 + 1);
        newPath = dir.write("NEW.MPC", modded);
    }

    Rgb newColour(std::int32_t block) const { return terrain::colour(modded[codeAt(block)]); }

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
            EXPECT_EQ(picture.at(x, y), newColour(x < 8 ? 548 : 549)) << x << "," << y;
    }
    // The outline: every pixel around the pair, corners included, and none
    // between them.
    const auto isOutline = [](Rgb c) { return c == Rgb {0, 0, 0} || c == Rgb {255, 255, 255}; };
    for (int x = 3; x <= 12; ++x) {
        EXPECT_TRUE(isOutline(picture.at(x, 3))) << x;
        EXPECT_TRUE(isOutline(picture.at(x, 8))) << x;
        EXPECT_EQ(picture.at(x, 3), terrain::outlineColour(x, 3));
    }
    for (int y = 3; y <= 8; ++y) {
        EXPECT_TRUE(isOutline(picture.at(3, y))) << y;
        EXPECT_TRUE(isOutline(picture.at(12, y))) << y;
    }
    // Both colours show along each side, so it shows on every terrain colour.
    EXPECT_NE(picture.at(4, 3), picture.at(6, 3));

    // Unchanged blocks dimmed toward the background: the rest of a
    // neighbour, and a block far away.
    EXPECT_EQ(picture.at(2, 2), terrain::dimmed(terrain::colour(original[codeAt(1)])));
    EXPECT_EQ(picture.at(400, 8), terrain::dimmed(terrain::colour(original[codeAt(2 * g::columns + 101)])));
    // Past the small map's end: the background, which dims to itself.
    EXPECT_EQ(picture.at(1000, 1000), terrain::canvasBackground);
    // Block 1000 at (453, 1): its own outline.
    EXPECT_EQ(picture.at(453 * 4 + 1, 5), newColour(1000));
    EXPECT_TRUE(isOutline(picture.at(453 * 4 - 1, 5)));
    EXPECT_TRUE(isOutline(picture.at(454 * 4, 8)));
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
    EXPECT_EQ(picture.at(1, 1), newColour(548));
    EXPECT_EQ(picture.at(2, 1), newColour(549));
    EXPECT_EQ(picture.at(453, 1), newColour(1000));
    for (const auto& [x, y] : {std::pair {0, 0}, {0, 1}, {3, 1}, {1, 2}, {452, 1}, {454, 1}, {453, 0}}) {
        const std::int32_t block = y * g::columns + x + 1;
        EXPECT_EQ(picture.at(x, y), terrain::dimmed(terrain::colour(original[codeAt(block)]))) << x << "," << y;
    }
}

TEST_F(DiffPicture, SameMapsGiveAWhollyDimmedPicture)
{
    const CliRun run = runCli({"diff", oldPath, oldPath, "--picture", picturePath, "--scale", "2"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const Decoded picture = decode(picturePath);
    ASSERT_EQ(picture.width, 1092);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(picture.at(x, 0), terrain::dimmed(terrain::colour(original[codeAt(x / 2 + 1)])));
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
    EXPECT_EQ(decode(path).at(5, 5), newColour(548));
}

} // namespace
} // namespace quarnet::testing
