#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainPalette.h"
#include "mapfile/TerrainRaster.h"
#include "mapfile/TerrainTable.h"
#include "platform/FaultInjectingFiles.h"
#include "platform/NativeFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <tuple>

namespace quarnet::testing {
namespace {

// A code for every block that differs between neighbours: 1 + block % 200.
std::uint8_t codeOfBlock(std::size_t block)
{
    return static_cast<std::uint8_t>(1 + block % 200);
}

// The code that a block at 0-based (column, row) should read as, in a file
// holding the first `blocksInFile` blocks at base 68.
std::uint8_t expectedCode(int column, int row, std::size_t blocksInFile = geometry::blockCount)
{
    if (column < 0 || column >= geometry::columns || row < 0 || row >= geometry::rows)
        return 0;
    const std::size_t block = static_cast<std::size_t>(row) * geometry::columns + column + 1;
    return block <= blocksInFile ? codeOfBlock(block) : 0;
}

class TerrainRaster : public ::testing::Test {
protected:
    platform::FileNumber openMap(std::vector<std::uint8_t> bytes)
    {
        const platform::FileNumber number = files.open(dir.write("SANGO7.MPC", bytes));
        EXPECT_NE(number, 0);
        return number;
    }

    TempDir dir;
    platform::NativeFiles native;
    platform::FaultInjectingFiles files {native};
};

TEST_F(TerrainRaster, ReadsRectanglesOfBlocksRowByRow)
{
    const auto number = openMap(mapFileBytes(codeOfBlock));
    struct Case {
        const char* what;
        int firstColumn, firstRow, columns, rows;
    };
    const Case cases[] = {
        {"top-left page", 0, 0, 96, 60},
        {"inside the map", 100, 10, 7, 3},
        {"last page, partly beyond the map", 480, 360, 96, 60},
        {"before the first column and row", -3, -2, 6, 5},
        {"wholly beyond the map", 600, 400, 4, 4},
        {"the whole map", 0, 0, geometry::columns, geometry::rows},
        {"whole rows from before the first row", 0, -5, geometry::columns, 30},
        {"whole rows to beyond the last row", 0, 370, geometry::columns, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto codes = terrain::readBlockCodes(files, number, 68, c.firstColumn, c.firstRow, c.columns, c.rows);
        ASSERT_TRUE(codes);
        ASSERT_EQ(codes->size(), static_cast<std::size_t>(c.columns * c.rows));
        for (int row = 0; row < c.rows; ++row)
            for (int column = 0; column < c.columns; ++column)
                ASSERT_EQ((*codes)[static_cast<std::size_t>(row * c.columns + column)],
                          expectedCode(c.firstColumn + column, c.firstRow + row))
                    << "column " << c.firstColumn + column << " row " << c.firstRow + row;
    }
}

TEST_F(TerrainRaster, BlocksPastTheFilesEndReadAsZero)
{
    // The file ends just after block 1001's code byte (row 1, column 454),
    // in the middle of a row and of a record.
    auto bytes = mapFileBytes(codeOfBlock);
    bytes.resize(68 + 1000 * 8 + 1);
    const auto number = openMap(bytes);
    const auto codes = terrain::readBlockCodes(files, number, 68, 450, 0, 10, 3);
    ASSERT_TRUE(codes);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 10; ++column)
            EXPECT_EQ((*codes)[static_cast<std::size_t>(row * 10 + column)], expectedCode(450 + column, row, 1001))
                << "column " << 450 + column << " row " << row;
    EXPECT_EQ((*codes)[10 + 4], codeOfBlock(1001));
    EXPECT_EQ((*codes)[10 + 5], 0);

    // Whole rows, read several at a time, end at the same byte.
    const auto rows = terrain::readBlockCodes(files, number, 68, 0, 0, geometry::columns, 3);
    ASSERT_TRUE(rows);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < geometry::columns; ++column)
            ASSERT_EQ((*rows)[static_cast<std::size_t>(row * geometry::columns + column)],
                      expectedCode(column, row, 1001))
                << "column " << column << " row " << row;

    // An empty file has no codes at all.
    const auto empty = terrain::readBlockCodes(files, openMap({}), 68, 0, 0, 4, 4);
    ASSERT_TRUE(empty);
    EXPECT_EQ(*empty, std::vector<std::uint8_t>(16, 0));
}

TEST_F(TerrainRaster, TheBaseOffsetPlacesBlockOne)
{
    const auto number = openMap(mapFileBytes(codeOfBlock));
    // Base 76 starts one record later: block 1 reads block 2's code.
    const auto shifted = terrain::readBlockCodes(files, number, 76, 0, 0, 3, 1);
    ASSERT_TRUE(shifted);
    EXPECT_EQ(*shifted, (std::vector<std::uint8_t> {codeOfBlock(2), codeOfBlock(3), codeOfBlock(4)}));
    // Base 52 starts two records earlier: blocks 1 and 2 lie in the header.
    const auto earlier = terrain::readBlockCodes(files, number, 52, 2, 0, 2, 1);
    ASSERT_TRUE(earlier);
    EXPECT_EQ(*earlier, (std::vector<std::uint8_t> {codeOfBlock(1), codeOfBlock(2)}));
    // Records before the file's start or far beyond its end have no byte.
    const auto negative = terrain::readBlockCodes(files, number, -16, 0, 0, 4, 1);
    ASSERT_TRUE(negative);
    EXPECT_EQ((*negative)[0], 0);
    EXPECT_EQ((*negative)[1], 0);
    const auto beyond = terrain::readBlockCodes(files, number, std::int64_t {1} << 62, 0, 0, 4, 4);
    ASSERT_TRUE(beyond);
    EXPECT_EQ(*beyond, std::vector<std::uint8_t>(16, 0));
}

TEST_F(TerrainRaster, AFailedReadGivesNothing)
{
    const auto number = openMap(mapFileBytes(codeOfBlock));
    files.failReads(true);
    EXPECT_FALSE(terrain::readBlockCodes(files, number, 68, 0, 0, 96, 60));
    files.failReads(false);
    EXPECT_FALSE(terrain::readBlockCodes(files, number + 1, 68, 0, 0, 96, 60)); // no such file
}

TEST(TerrainRasterImage, EachBlockIsASquareInItsColour)
{
    const std::vector<std::uint8_t> codes {1, 3, 0, 34, 35, 255};
    const RgbImage image = terrain::rasterize(codes, 3, 2, 4);
    ASSERT_EQ(image.width, 12);
    ASSERT_EQ(image.height, 8);
    ASSERT_EQ(image.pixels.size(), 96u);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            ASSERT_EQ(image.pixels[static_cast<std::size_t>(y * 12 + x)],
                      terrain::colour(codes[static_cast<std::size_t>(y / 4 * 3 + x / 4)]))
                << x << "," << y;
    EXPECT_TRUE(terrain::rasterize({}, 0, 0, 4).pixels.empty());
}

TEST(TerrainPalette, OneColourPerTerrainNameGreyForOthersBackgroundForZero)
{
    EXPECT_EQ(terrain::colour(0), terrain::canvasBackground);
    const Rgb grey = terrain::colour(35);
    EXPECT_EQ(terrain::colour(255), grey);
    std::set<std::string_view> names;
    std::set<std::tuple<int, int, int>> colours;
    for (int code = terrain::lowestCode; code <= terrain::highestCode; ++code) {
        const Rgb c = terrain::colour(code);
        EXPECT_NE(c, grey) << code;
        EXPECT_NE(c, terrain::canvasBackground) << code;
        names.insert(*terrain::name(code));
        colours.insert({c.red, c.green, c.blue});
        for (int other = terrain::lowestCode; other < code; ++other)
            if (terrain::name(other) == terrain::name(code)) {
                EXPECT_EQ(terrain::colour(other), c) << other << " and " << code;
            }
    }
    EXPECT_EQ(names.size(), 17u);
    EXPECT_EQ(colours.size(), 17u);
}

TEST(TerrainPalette, EveryTerrainStandsOutFromTheOthersTheBackgroundAndTheGrey)
{
    const auto distance = [](Rgb a, Rgb b) {
        return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
    };
    const Rgb grey = terrain::colour(35);
    EXPECT_GE(distance(grey, terrain::canvasBackground), 96);
    for (int code = terrain::lowestCode; code <= terrain::highestCode; ++code) {
        EXPECT_GE(distance(terrain::colour(code), terrain::canvasBackground), 60) << code;
        EXPECT_GE(distance(terrain::colour(code), grey), 48) << code;
        for (int other = terrain::lowestCode; other < code; ++other) {
            if (terrain::name(other) != terrain::name(code)) {
                EXPECT_GE(distance(terrain::colour(code), terrain::colour(other)), 48) << other << " and " << code;
            }
        }
    }
}

} // namespace
} // namespace quarnet::testing
