#include "mapfile/BlockLayout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace quarnet::blocks {
namespace {

// The map's corners and the edges between blocks, both ways round.
TEST(BlockLayout, PixelsBlocksRowsAndColumns)
{
    struct Case {
        std::int32_t x, y, block, row, column, xFirst, yFirst;
    };
    const std::vector<Case> cases = {
        {0, 0, 1, 1, 1, 0, 0},
        {31, 31, 1, 1, 1, 0, 0},
        {32, 0, 2, 1, 2, 32, 0},
        {17471, 0, 546, 1, 546, 17440, 0},
        {0, 32, 547, 2, 1, 0, 32},
        {32, 32, 548, 2, 2, 32, 32},
        {63, 63, 548, 2, 2, 32, 32},
        {17471, 12383, 211302, 387, 546, 17440, 12352},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.block);
        EXPECT_EQ(blockAtPixel(c.x, c.y), c.block);
        EXPECT_EQ(rowOf(c.block), c.row);
        EXPECT_EQ(columnOf(c.block), c.column);
        EXPECT_EQ(blockNumber(c.row, c.column), c.block);
        EXPECT_EQ(pixelRange(c.column).first, c.xFirst);
        EXPECT_EQ(pixelRange(c.column).last, c.xFirst + 31);
        EXPECT_EQ(pixelRange(c.row).first, c.yFirst);
    }
}

// Outside the map the whole-number test still answers, by its own rule.
TEST(BlockLayout, IndexOfPixelBeyondTheMap)
{
    EXPECT_EQ(indexOfPixel(-1), 0);
    EXPECT_EQ(indexOfPixel(-32), 0);
    EXPECT_EQ(indexOfPixel(-33), -1);
    EXPECT_EQ(indexOfPixel(std::numeric_limits<std::int32_t>::max()), 67108864);
}

TEST(BlockLayout, RecordOffsets)
{
    EXPECT_EQ(recordOffset(68, 1), 68);
    EXPECT_EQ(recordOffset(68, 548), 4444);
    EXPECT_EQ(recordOffset(68, 211302), 1690476);
    EXPECT_EQ(recordOffset(0, 2), 8);
    EXPECT_EQ(recordOffset(std::numeric_limits<std::int64_t>::max() - 8, 3), std::numeric_limits<std::int64_t>::max());
}

TEST(BlockLayout, BlocksInFile)
{
    struct Case {
        std::int64_t base, length;
        std::int32_t blocks;
    };
    const std::vector<Case> cases = {
        {68, 0, 0},          {68, 68, 0},          {68, 69, 1},          {68, 76, 1},
        {68, 77, 2},         {68, 1690477, 211302}, {68, 1690476, 211301}, {0, 1LL << 40, 211302},
        {-1, 100, 0},        {100, 50, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(blocksInFile(c.base, c.length), c.blocks) << c.base << " " << c.length;
}

} // namespace
} // namespace quarnet::blocks
