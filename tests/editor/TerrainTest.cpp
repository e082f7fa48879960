#include "mapfile/TerrainTable.h"
#include "support/EditorFixture.h"

namespace quarnet::testing {
namespace {

namespace c = control;

// A map file with the given code bytes at blocks 1, 2, 3, ... and 0x01
// elsewhere; block n lies at 68 + (n - 1) x 8.
std::vector<std::uint8_t> mapWithCodes(const std::vector<std::uint8_t>& codes)
{
    return mapFileBytes([&codes](std::size_t block) -> std::uint8_t {
        return block <= codes.size() ? codes[block - 1] : 0x01;
    });
}

class TerrainReading : public EditorFixture {
protected:
    void openMap(const std::vector<std::uint8_t>& codes) { open(dir.write("SANGO7.MPC", mapWithCodes(codes))); }

    // Calculates block n of row 1.
    void calculateBlock(int n) { ASSERT_TRUE(calculate("44", std::to_string((n - 1) * 32), "0")); }
};

TEST(TerrainTable, LegendItemsAndNames)
{
    EXPECT_EQ(terrain::legendItemText(1), "01 河流");
    EXPECT_EQ(terrain::legendItemText(6), "06 干草原");
    EXPECT_EQ(terrain::legendItemText(29), "1D 残雪");
    EXPECT_EQ(terrain::legendItemText(34), "22 深海");
    EXPECT_EQ(terrain::legendItemText(0), "");
    EXPECT_EQ(terrain::name(15), "不明");
    EXPECT_FALSE(terrain::name(0));
    EXPECT_FALSE(terrain::name(35));
    EXPECT_FALSE(terrain::name(255));
}

TEST_F(TerrainReading, ReportIsExactBytes)
{
    openMap({0x03, 0x22, 0x0F});
    calculateBlock(1);
    EXPECT_EQ(text(c::标签19), "\xE5\xBD\x93\xE5\x89\x8D\xE5\x9C\xB0\xE5\xBD\xA2:"
                               "\xE8\x8D\x89\xE5\x8E\x9F\r\r"
                               "\xE5\x9C\xB0\xE5\xBD\xA2\xE4\xBB\xA3\xE7\xA0\x81:03");
    calculateBlock(2);
    EXPECT_EQ(text(c::标签19), "当前地形:深海\r\r地形代码:22");
    calculateBlock(3);
    EXPECT_EQ(text(c::标签19), "当前地形:不明\r\r地形代码:0F");
}

TEST_F(TerrainReading, FileNotOpenTextIsExactBytes)
{
    calculateBlock(1);
    EXPECT_EQ(text(c::标签19), "\xE5\xBD\x93\xE5\x89\x8D\xE5\x9C\xB0\xE5\xBD\xA2:"
                               "\xE6\x96\x87\xE4\xBB\xB6\xE6\x9C\xAA\xE6\x89\x93\xE5\xBC\x80\xEF\xBC\x81\r"
                               "\xE5\x9C\xB0\xE5\xBD\xA2\xE4\xBB\xA3\xE7\xA0\x81:(\xE7\xA9\xBA)\xEF\xBC\x81");
}

TEST_F(TerrainReading, UnnamedCodeKeepsTheLastName)
{
    openMap({0x07, 0x00, 0x30});
    calculateBlock(1);
    calculateBlock(2);
    EXPECT_EQ(text(c::标签19), "当前地形:高山\r\r地形代码:00");

    // Closing forgets the name; a reopened file's unnamed code shows none.
    editor.closeMapFile();
    openMap({0x07, 0x00, 0x30});
    calculateBlock(3);
    EXPECT_EQ(text(c::标签19), "当前地形:\r\r地形代码:30");
}

TEST_F(TerrainReading, EveryReadGoesToTheFile)
{
    openMap({0x03});
    calculateBlock(1);
    // Another program changes the byte between two reads.
    {
        std::fstream file(dir.path() / "SANGO7.MPC", std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(68);
        file.put(static_cast<char>(0x19));
    }
    calculateBlock(1);
    EXPECT_EQ(text(c::标签19), "当前地形:森林\r\r地形代码:19");
}

TEST_F(TerrainReading, ReadAtOrPastTheEndGivesCodeZero)
{
    // Two whole records and one byte: block 3's code byte is the file's last
    // byte, block 4's lies past the end.
    std::vector<std::uint8_t> bytes(68 + 16 + 1, 0);
    bytes[68] = 0x07;
    bytes[68 + 16] = 0x05;
    open(dir.write("short.MPC", bytes));
    calculateBlock(3);
    EXPECT_EQ(text(c::标签19), "当前地形:道路\r\r地形代码:05");
    calculateBlock(4);
    EXPECT_EQ(editor.state().calculator.terrainCode, 0);
    EXPECT_EQ(text(c::标签19), "当前地形:道路\r\r地形代码:00");
    // An offset far beyond 32 bits reads nothing either, and never wraps onto
    // block 1's byte.
    ASSERT_TRUE(calculate("100000044", "0", "0"));
    EXPECT_EQ(text(c::标签19), "当前地形:道路\r\r地形代码:00");
}

TEST_F(TerrainReading, ZeroLengthFile)
{
    open(dir.write("empty.MPC", {}));
    EXPECT_TRUE(editor.isMapFileOpen());
    calculateBlock(1);
    EXPECT_EQ(text(c::标签19), "当前地形:\r\r地形代码:00");
}

} // namespace
} // namespace quarnet::testing
