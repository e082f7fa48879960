// The rules by which a painted picture becomes terrain codes, read directly:
// the colours are the palette's own values, written out here.
#include "mapfile/MapGeometry.h"
#include "mapfile/PaintedTerrain.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace quarnet::testing {
namespace {

namespace g = geometry;
using terrain::PixelMatch;

constexpr Rgb grassland {126, 170, 78}; // 草原: codes 03, 04, 08
constexpr Rgb road {170, 130, 80};      // 道路: codes 05, 09, 20
constexpr Rgb mountain {120, 100, 84};  // 高山: code 07
constexpr Rgb deepSea {30, 66, 130};    // 深海: codes 0D, 13, 22

// A whole map painted at `scale` pixels a block, every block grassland, as
// its code says.
class PaintedPicture {
public:
    explicit PaintedPicture(int scale)
        : scale_(scale), width_(g::columns * scale), bytes_(static_cast<std::size_t>(width_) * g::rows * scale * 4)
    {
        for (int y = 0; y < g::rows * scale; ++y) {
            for (int x = 0; x < width_; ++x)
                set(x, y, grassland);
        }
    }

    void set(int x, int y, Rgb colour)
    {
        std::uint8_t* pixel = &bytes_[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)) * 4];
        pixel[0] = colour.red;
        pixel[1] = colour.green;
        pixel[2] = colour.blue;
        pixel[3] = 255;
    }
    // The block's pixel k (0..scale*scale-1, row by row).
    void setInBlock(std::int32_t block, int k, Rgb colour)
    {
        const int column = (block - 1) % g::columns;
        const int row = (block - 1) / g::columns;
        set(column * scale_ + k % scale_, row * scale_ + k / scale_, colour);
    }

    terrain::PaintedTerrain read(const std::vector<std::uint8_t>& codes, PixelMatch match) const
    {
        return terrain::readPaintedTerrain({width_, g::rows * scale_, bytes_}, codes, g::blockCount, match, 20);
    }

private:
    int scale_;
    int width_;
    std::vector<std::uint8_t> bytes_;
};

std::vector<std::uint8_t> grasslandCodes()
{
    return std::vector<std::uint8_t>(g::blockCount, 0x03);
}

TEST(PaintedTerrain, ABlockTakesTheNameMostOfItsPixelsShow)
{
    PaintedPicture picture(4);
    for (int k = 0; k < 9; ++k)
        picture.setInBlock(548, k, road); // 9 of 16 road, 7 grassland
    for (int k = 0; k < 7; ++k)
        picture.setInBlock(549, k, road); // 7 of 16: stays grassland
    const terrain::PaintedTerrain painted = picture.read(grasslandCodes(), PixelMatch::exact);
    ASSERT_TRUE(painted.faultless());
    ASSERT_EQ(painted.edits.size(), 1u);
    EXPECT_EQ(painted.edits[0].block, 548);
    EXPECT_EQ(painted.edits[0].code, 0x05);
    ASSERT_EQ(painted.changes.size(), 1u);
    EXPECT_EQ(terrain::shadeName(painted.changes[0].from), "草原");
    EXPECT_EQ(terrain::shadeName(painted.changes[0].to), "道路");
    EXPECT_EQ(painted.changes[0].blocks, 1);
}

// An exact even split between the block's present name and others keeps
// it, and is counted; one between other names, or with the background, is
// a fault, not a guess.
TEST(PaintedTerrain, ABlockSplitEvenlyKeepsItsOwnNameOrIsAFault)
{
    constexpr Rgb background {48, 48, 48};
    PaintedPicture picture(4);
    for (int k = 0; k < 8; ++k) {
        picture.setInBlock(1000, k, road);     // half its own 草原
        picture.setInBlock(1002, k, road);     // half 道路, half 高山: neither its own
        picture.setInBlock(1002, k + 8, mountain);
        picture.setInBlock(1003, k, background); // half its own 草原, half background
    }
    // A third each, its own 草原 among them.
    PaintedPicture threeWay(3);
    for (int k = 0; k < 3; ++k) {
        threeWay.setInBlock(1001, k, road);
        threeWay.setInBlock(1001, k + 3, mountain);
    }
    const terrain::PaintedTerrain painted = picture.read(grasslandCodes(), PixelMatch::exact);
    EXPECT_TRUE(painted.edits.empty());
    EXPECT_EQ(painted.keptEvenSplits, 1);
    ASSERT_EQ(painted.faultyBlockCount, 2);
    EXPECT_EQ(painted.faultyBlocks[0].block, 1002);
    EXPECT_EQ(painted.faultyBlocks[0].fault, terrain::BlockFault::evenSplit);
    ASSERT_EQ(painted.faultyBlocks[0].shades.size(), 2u);
    EXPECT_EQ(terrain::shadeName(painted.faultyBlocks[0].shades[0]), "道路");
    EXPECT_EQ(terrain::shadeName(painted.faultyBlocks[0].shades[1]), "高山");
    EXPECT_EQ(painted.faultyBlocks[1].block, 1003);
    EXPECT_EQ(painted.faultyBlocks[1].fault, terrain::BlockFault::evenSplit);
    const terrain::PaintedTerrain threeWays = threeWay.read(grasslandCodes(), PixelMatch::exact);
    EXPECT_TRUE(threeWays.faultless());
    EXPECT_TRUE(threeWays.edits.empty());
    EXPECT_EQ(threeWays.keptEvenSplits, 1);
}

// A block that shows the name it has keeps its code, whichever of the
// name's codes it is; one that gets another name gets that name's first
// code in the legend.
TEST(PaintedTerrain, AKeptNameKeepsItsCodeAndANewNameGetsItsFirstCode)
{
    std::vector<std::uint8_t> codes = grasslandCodes();
    codes[9] = 0x08;  // block 10: 草原 by its third code
    codes[10] = 0x20; // block 11: 道路 by its last code
    PaintedPicture picture(1);
    picture.setInBlock(11, 0, road);
    picture.setInBlock(20, 0, mountain);
    picture.setInBlock(21, 0, deepSea);
    picture.setInBlock(22, 0, road);
    const terrain::PaintedTerrain painted = picture.read(codes, PixelMatch::exact);
    ASSERT_TRUE(painted.faultless());
    ASSERT_EQ(painted.edits.size(), 3u);
    EXPECT_EQ(painted.edits[0].block, 20);
    EXPECT_EQ(painted.edits[0].code, 0x07);
    EXPECT_EQ(painted.edits[1].block, 21);
    EXPECT_EQ(painted.edits[1].code, 0x0D);
    EXPECT_EQ(painted.edits[2].block, 22);
    EXPECT_EQ(painted.edits[2].code, 0x05);
}

// One pixel of a colour a little off the road's, among exact ones: matched
// exactly it is named as no terrain colour; matched to the nearest it is
// road, and counted as moved.
TEST(PaintedTerrain, AnOffColourIsRefusedExactlyAndTakesTheNearestWhenAsked)
{
    PaintedPicture picture(1);
    picture.setInBlock(547, 0, road);
    picture.setInBlock(548, 0, Rgb {172, 127, 83});
    picture.setInBlock(549, 0, road);

    const terrain::PaintedTerrain exact = picture.read(grasslandCodes(), PixelMatch::exact);
    ASSERT_EQ(exact.strayPixelCount, 1);
    EXPECT_EQ(exact.strayPixels[0].x, 1);
    EXPECT_EQ(exact.strayPixels[0].y, 1);
    EXPECT_EQ(exact.strayPixels[0].block, 548);
    EXPECT_EQ(exact.strayPixels[0].colour, (Rgb {172, 127, 83}));

    const terrain::PaintedTerrain nearest = picture.read(grasslandCodes(), PixelMatch::nearest);
    ASSERT_TRUE(nearest.faultless());
    EXPECT_EQ(nearest.movedPixels, 1);
    ASSERT_EQ(nearest.edits.size(), 3u);
    for (const terrain::BlockCode& edit : nearest.edits)
        EXPECT_EQ(edit.code, 0x05) << edit.block;
}

} // namespace
} // namespace quarnet::testing
