// Every text that goes through the GBK conversion: the city names and item
// texts, and the terrain names and legend items.

#include "mapfile/CityTable.h"
#include "mapfile/TerrainTable.h"
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quarnet::testing {
namespace {

std::vector<std::string> convertedTexts()
{
    std::vector<std::string> texts;
    for (const cities::City& city : cities::table()) {
        texts.emplace_back(city.name);
        texts.push_back(cities::itemText(city));
    }
    for (int code = terrain::lowestCode; code <= terrain::highestCode; ++code) {
        texts.emplace_back(*terrain::name(code));
        texts.push_back(terrain::legendItemText(code));
    }
    return texts;
}

std::uint64_t fnv1a(const std::string& bytes, std::uint64_t hash)
{
    for (const unsigned char byte : bytes)
        hash = (hash ^ byte) * 0x100000001B3u;
    return hash;
}

TEST(GbkTexts, EveryConvertedTextSurvivesTheRoundTrip)
{
    std::uint64_t hash = 0xCBF29CE484222325u;
    for (const std::string& text : convertedTexts()) {
        const std::string gbk = platform::utf8ToGbk(text);
        EXPECT_EQ(gbk.find('?'), std::string::npos) << text;
        EXPECT_EQ(platform::gbkToUtf8(gbk), text);
        hash = fnv1a(gbk, hash);
    }
    // The GBK bytes of all of them, as every codec so far has given them.
    EXPECT_EQ(hash, 0xF22DEE5325641A98u);
}

} // namespace
} // namespace quarnet::testing
