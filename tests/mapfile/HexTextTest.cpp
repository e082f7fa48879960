#include "mapfile/HexText.h"
#include "mapfile/TerrainTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace quarnet {
namespace {

TEST(ParseHexText, ReadsGbkBytesFromTheLastOne)
{
    const std::vector<std::pair<std::string, std::int64_t>> cases = {
        {"", 0},
        {"0", 0},
        {"44", 68},
        {"4G", 64},
        {"4c", 64},          // lower case is not a hexadecimal letter
        {" 44", 68},
        {"44 ", 1088},
        {"4 4", 1028},
        {"ABCDEF", 0xABCDEF},
        {"FFFFFFFF", 0xFFFFFFFF},
        {"-1", 1},           // a sign is a digit 0 in its place
        {"4西4", 0x4004},   // a double-byte character takes two places
        {"西", 0},
        {"丄", 0},           // GBK 81 41: a trail byte that looks like "A" still counts 0
        {"1丄", 0x100},
        {"1～", 0x100},      // the full-width tilde is two GBK bytes
        {"7FFFFFFFFFFFFFFF", std::numeric_limits<std::int64_t>::max()},
        {"8000000000000000", std::numeric_limits<std::int64_t>::max()}, // saturates
        // A digit whose place is beyond any 64-bit value saturates the sum.
        {"1" + std::string(300, '0'), std::numeric_limits<std::int64_t>::max()},
        {std::string(300, '0') + "1", 1},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(parseHexText(text), value) << '"' << text << '"';
}

TEST(ParseHexText, LongTextsOfLettersSaturate)
{
    EXPECT_EQ(parseHexText(std::string(400, 'F')), std::numeric_limits<std::int64_t>::max());
}

TEST(FormatTerrainCode, TwoDigitsAtLeastInUpperCase)
{
    const std::vector<std::pair<int, std::string>> cases = {
        {0, "00"}, {1, "01"}, {10, "0A"}, {29, "1D"}, {34, "22"}, {48, "30"}, {255, "FF"},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(formatTerrainCode(code), text) << code;
}

} // namespace
} // namespace quarnet
