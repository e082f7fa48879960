// Matching the nearest colour on soft edges, read directly at 4 x 4 pixels a
// block: a ramp between two paints, and a block that a soft edge halves.
// The colours are the palette's own values, written out here.
#include "mapfile/MapGeometry.h"
#include "mapfile/PaintedTerrain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace quarnet::testing {
namespace {

namespace g = geometry;
using terrain::PixelMatch;

constexpr Rgb grassland {126, 170, 78}; // 草原: code 03 first
constexpr Rgb river {56, 160, 232};     // 河流: 01
constexpr Rgb forest {56, 112, 56};     // 森林: 19
constexpr Rgb desert {222, 196, 130};   // 沙漠: 0E
constexpr int scale = g::pictureBlockSize;

// A whole map's picture, every block grassland to begin with.
class Picture {
public:
    Picture() : bytes_(static_cast<std::size_t>(width * height) * 4)
    {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                set(x, y, grassland);
        }
    }

    void set(int x, int y, Rgb colour)
    {
        std::uint8_t* pixel = &bytes_[static_cast<std::size_t>(y * width + x) * 4];
        pixel[0] = colour.red;
        pixel[1] = colour.green;
        pixel[2] = colour.blue;
        pixel[3] = 255;
    }

    void fillBlock(int column, int row, Rgb colour)
    {
        for (int y = 0; y < scale; ++y) {
            for (int x = 0; x < scale; ++x)
                set(column * scale + x, row * scale + y, colour);
        }
    }

    terrain::PaintedTerrain read(const std::vector<std::uint8_t>& codes) const
    {
        return terrain::readPaintedTerrain({width, height, bytes_}, codes, g::blockCount, PixelMatch::nearest, 20);
    }

    static constexpr int width = g::columns * scale;
    static constexpr int height = g::rows * scale;

private:
    std::vector<std::uint8_t> bytes_;
};

std::int32_t blockAt(int column, int row) // 0-based
{
    return row * g::columns + column + 1;
}

double toLight(double value)
{
    const double v = value / 255;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

std::uint8_t toPictureValue(double light)
{
    return static_cast<std::uint8_t>(
        std::lround(255 * (light <= 0.0031308 ? light * 12.92 : 1.055 * std::pow(light, 1 / 2.4) - 0.055)));
}

// Forest and desert painted side by side over grassland, with a gradient
// between them 20 blocks wide, mixed as linear light: halfway it passes
// within 3 of hills' colour, and a block there looks flat hills. A ramp is
// no flat colour: no block takes hills, nor any colour but the two painted
// and its own.
TEST(SoftBrush, ARampBetweenTwoPaintsShowsNoColourOnTheWay)
{
    Picture picture;
    constexpr int rampStart = 100 * scale;
    constexpr int rampEnd = 120 * scale;
    for (int y = 100 * scale; y < 110 * scale; ++y) {
        for (int x = 80 * scale; x < 140 * scale; ++x) {
            const double t = std::clamp((x + 0.5 - rampStart) / (rampEnd - rampStart), 0.0, 1.0);
            const auto mixed = [t](std::uint8_t from, std::uint8_t to) {
                return toPictureValue(toLight(from) + t * (toLight(to) - toLight(from)));
            };
            picture.set(x, y, {mixed(forest.red, desert.red), mixed(forest.green, desert.green),
                               mixed(forest.blue, desert.blue)});
        }
    }
    const terrain::PaintedTerrain painted = picture.read(std::vector<std::uint8_t>(g::blockCount, 0x03));
    ASSERT_TRUE(painted.faultless());
    int forestBlocks = 0;
    int desertBlocks = 0;
    for (const terrain::BlockCode& edit : painted.edits) {
        EXPECT_TRUE(edit.code == 0x19 || edit.code == 0x0E)
            << "block " << edit.block << " took code " << std::hex << int {edit.code};
        forestBlocks += edit.code == 0x19;
        desertBlocks += edit.code == 0x0E;
    }
    // The flat paint on either side, at least.
    EXPECT_GE(forestBlocks, 20 * 10);
    EXPECT_GE(desertBlocks, 20 * 10);
}

// A soft river edge runs through the middle of block 548: two of its inner
// pixels lean to grassland, two as far to river, and their mean lies halfway.
// The block keeps its grassland rather than stopping the import; a block
// halved between two names neither of which it has is still an even split.
TEST(SoftBrush, ABlockHalvedBySoftEdgeKeepsItsShade)
{
    const auto blend = [](Rgb from, Rgb to, int twentieths) {
        const auto part = [twentieths](std::uint8_t a, std::uint8_t b) {
            return static_cast<std::uint8_t>(a + (b - a) * twentieths / 20);
        };
        return Rgb {part(from.red, to.red), part(from.green, to.green), part(from.blue, to.blue)};
    };
    // Two pixels 6 twentieths of the way to river, two mirrored about the
    // midpoint: their mean lies exactly halfway.
    const Rgb nearGrass = blend(grassland, river, 6);
    const Rgb nearRiver {static_cast<std::uint8_t>(grassland.red + river.red - nearGrass.red),
                         static_cast<std::uint8_t>(grassland.green + river.green - nearGrass.green),
                         static_cast<std::uint8_t>(grassland.blue + river.blue - nearGrass.blue)};
    Picture picture;
    picture.fillBlock(2, 1, river); // block 549, the river shown flat beside it
    for (const auto& [column, row] : {std::pair {1, 1}, {4, 1}}) {
        const int x = column * scale;
        const int y = row * scale;
        picture.set(x + 1, y + 1, nearGrass);
        picture.set(x + 2, y + 1, nearRiver);
        picture.set(x + 1, y + 2, nearRiver);
        picture.set(x + 2, y + 2, nearGrass);
    }
    picture.fillBlock(5, 1, river); // beside block 551 too

    std::vector<std::uint8_t> codes(g::blockCount, 0x03);
    codes[static_cast<std::size_t>(blockAt(4, 1) - 1)] = 0x19; // block 551: forest, halved between two others
    const terrain::PaintedTerrain painted = picture.read(codes);
    ASSERT_EQ(painted.faultyBlockCount, 1);
    EXPECT_EQ(painted.faultyBlocks[0].block, blockAt(4, 1));
    EXPECT_EQ(painted.faultyBlocks[0].fault, terrain::BlockFault::evenSplit);
    for (const terrain::BlockCode& edit : painted.edits)
        EXPECT_NE(edit.block, blockAt(1, 1));
}

} // namespace
} // namespace quarnet::testing
