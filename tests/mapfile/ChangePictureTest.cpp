// The change picture's rules, read directly: changed blocks in full colour,
// the rest dimmed, an outline on the unchanged pixels around the change.
// Colours are written out as values of the palette.
#include "mapfile/ChangePicture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace quarnet::testing {
namespace {

constexpr Rgb road {170, 130, 80};          // 道路, code 05, in full
constexpr Rgb dimmedGrassland {79, 97, 60}; // 草原 (126, 170, 78), three fifths toward the background (48, 48, 48)
constexpr Rgb black {0, 0, 0};
constexpr Rgb white {255, 255, 255};

// Five by five blocks of grassland; the middle one, block 13, changed to road.
struct Drawn {
    RgbImage image;
    Rgb at(int x, int y) const
    {
        return image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(x)];
    }
};

Drawn drawMiddleChanged(int pixelsPerBlock)
{
    std::vector<std::uint8_t> codes(25, 0x03);
    codes[12] = 0x05;
    const std::vector<std::int32_t> changed = {13};
    return {terrain::drawChanges(codes, changed, 5, 5, pixelsPerBlock)};
}

TEST(ChangePicture, ChangedBlocksInFullColourTheRestDimmed)
{
    const Drawn drawn = drawMiddleChanged(4);
    ASSERT_EQ(drawn.image.width, 20);
    ASSERT_EQ(drawn.image.height, 20);
    for (int y = 8; y < 12; ++y) {
        for (int x = 8; x < 12; ++x)
            EXPECT_EQ(drawn.at(x, y), road) << x << "," << y;
    }
    EXPECT_EQ(drawn.at(0, 0), dimmedGrassland);
    EXPECT_EQ(drawn.at(19, 19), dimmedGrassland);
    EXPECT_EQ(drawn.at(5, 5), dimmedGrassland); // two pixels from the change
}

// The ring of pixels just outside the changed block, sides and corners, is
// black and white by turns, two pixels each.
TEST(ChangePicture, TheOutlineRingsTheChangeOnItsUnchangedNeighbours)
{
    const Drawn drawn = drawMiddleChanged(4);
    // The top side, y 7, x 7 to 12: black where (x + y) / 2 is even.
    const std::vector<Rgb> top = {white, white, black, black, white, white};
    for (int x = 7; x <= 12; ++x)
        EXPECT_EQ(drawn.at(x, 7), top[static_cast<std::size_t>(x - 7)]) << x;
    EXPECT_EQ(drawn.at(7, 12), white);  // bottom-left corner: (7 + 12) / 2 = 9
    EXPECT_EQ(drawn.at(12, 12), black); // bottom-right corner: 12
    EXPECT_EQ(drawn.at(12, 9), black);  // right side: 10
    EXPECT_EQ(drawn.at(12, 11), white); // 11
}

TEST(ChangePicture, NoOutlineAtOnePixelABlock)
{
    const Drawn drawn = drawMiddleChanged(1);
    EXPECT_EQ(drawn.at(2, 2), road);
    for (const auto& [x, y] : {std::pair {1, 1}, {2, 1}, {3, 3}, {1, 2}})
        EXPECT_EQ(drawn.at(x, y), dimmedGrassland) << x << "," << y;
}

} // namespace
} // namespace quarnet::testing
