#include "mapfile/TerrainTable.h"
#include "support/EditorFixture.h"

namespace quarnet::testing {
namespace {

namespace c = control;

constexpr Rgb green {0, 255, 0};
constexpr Rgb red {255, 0, 0};

class TerrainWriting : public EditorFixture {
protected:
    void SetUp() override
    {
        editor.setUp(); // " 07" in the code box
        original = mapFileBytes([](std::size_t block) { return static_cast<std::uint8_t>(block % 34 + 1); });
        path = dir.write("SANGO7.MPC", original);
    }

    void setCode(const std::string& code) { controls.texts[std::string(c::修改数据编辑框)] = code; }

    // The file's bytes that differ from the original, by offset.
    std::map<std::size_t, std::uint8_t> changes() const
    {
        const std::vector<std::uint8_t> now = TempDir::read(path);
        std::map<std::size_t, std::uint8_t> changed;
        EXPECT_EQ(now.size(), original.size());
        for (std::size_t i = 0; i < std::min(now.size(), original.size()); ++i)
            if (now[i] != original[i])
                changed[i] = now[i];
        return changed;
    }

    std::vector<std::uint8_t> original;
    std::string path;
};

TEST_F(TerrainWriting, WritesExactlyOneByteAndReadsItBack)
{
    open(path);
    ASSERT_TRUE(calculate("44", "64", "32")); // block 549 at 68 + 548 x 8
    editor.writeTerrainCode();
    EXPECT_EQ(changes(), (std::map<std::size_t, std::uint8_t> {{68 + 548 * 8, 0x07}}));
    EXPECT_EQ(text(c::标签19), "当前地形:高山\r\r地形代码:07");
    EXPECT_EQ(text(c::修改数据编辑框), " 07"); // kept for the next block
    ASSERT_EQ(canvas.rectangles.size(), 1u);
    EXPECT_EQ(canvas.rectangles[0], (RecordingCanvas::Rectangle {8, 4, 11, 7, green}));
    EXPECT_EQ(editor.state().view.markerColour, green);
}

TEST_F(TerrainWriting, CodesAtTheEdgesOfTheRange)
{
    open(path);
    const std::vector<std::pair<std::string, std::optional<std::uint8_t>>> cases = {
        {"01", 0x01}, {"22", 0x22}, {"1D", 0x1D}, {" 5", 0x05}, {"0A", 0x0A},
        {"23", std::nullopt}, {"00", std::nullopt}, {"FF", std::nullopt}, {"0a", std::nullopt},
        {"西", std::nullopt},
    };
    for (const auto& [code, byte] : cases) {
        ASSERT_TRUE(calculate("44", "0", "0"));
        canvas.rectangles.clear();
        const std::string report = text(c::标签19);
        setCode(code);
        editor.writeTerrainCode();
        std::uint8_t inFile = TempDir::read(path)[68];
        if (byte) {
            EXPECT_EQ(inFile, *byte) << code;
            EXPECT_EQ(canvas.rectangles.size(), 1u) << code;
        } else {
            EXPECT_EQ(text(c::修改数据编辑框), "代码超出范围！") << code;
            EXPECT_TRUE(canvas.rectangles.empty()) << code;
            EXPECT_EQ(text(c::标签19), report) << code;
            // Refused again: the message reads as 0.
            editor.writeTerrainCode();
            EXPECT_EQ(text(c::修改数据编辑框), "代码超出范围！");
            EXPECT_TRUE(canvas.rectangles.empty());
        }
    }
    EXPECT_EQ(changes().size(), 1u); // only block 1's code byte ever changed
}

TEST_F(TerrainWriting, WithoutFileTheMarkerIsRedAndNothingIsWritten)
{
    ASSERT_TRUE(calculate("44", "0", "0"));
    editor.writeTerrainCode();
    EXPECT_TRUE(changes().empty());
    ASSERT_EQ(canvas.rectangles.size(), 1u);
    EXPECT_EQ(canvas.rectangles[0].colour, red);
    EXPECT_EQ(text(c::标签19), "当前地形:\r\r地形代码:00");
}

TEST_F(TerrainWriting, NothingBeforeTheFirstCalculationOrWithAnEmptyCode)
{
    open(path);
    editor.writeTerrainCode();
    ASSERT_TRUE(calculate("44", "0", "0"));
    setCode("");
    editor.writeTerrainCode();
    EXPECT_TRUE(changes().empty());
    EXPECT_TRUE(canvas.rectangles.empty());
}

TEST_F(TerrainWriting, OffsetsOutsideTheFileAreNeverWritten)
{
    // A file that ends inside block 3's record, as the file reports it now:
    // shortened by another program after it was opened.
    open(path);
    std::filesystem::resize_file(pathFromUtf8(path), 68 + 16 + 1);
    original.resize(68 + 16 + 1);
    ASSERT_TRUE(calculate("44", "64", "0")); // block 3: its code byte is the last byte
    editor.writeTerrainCode();
    EXPECT_EQ(changes(), (std::map<std::size_t, std::uint8_t> {{68 + 16, 0x07}}));
    EXPECT_EQ(canvas.rectangles.back().colour, green);

    for (const char* x : {"96", "17471"}) { // block 4 and beyond: past the end
        ASSERT_TRUE(calculate("44", x, "0"));
        editor.writeTerrainCode();
        EXPECT_EQ(canvas.rectangles.back().colour, red) << x;
        EXPECT_EQ(std::filesystem::file_size(pathFromUtf8(path)), 68u + 16 + 1) << x;
    }
    // A start address far past the end, beyond 32 bits too.
    ASSERT_TRUE(calculate("100000044", "0", "0"));
    editor.writeTerrainCode();
    EXPECT_EQ(canvas.rectangles.back().colour, red);
    EXPECT_EQ(changes().size(), 1u);
}

TEST_F(TerrainWriting, OffsetBeyond32BitsWritesThereAndNotAtItsLowBits)
{
    const std::int64_t far = (std::int64_t {1} << 32) + 68;
    std::filesystem::resize_file(pathFromUtf8(path), static_cast<std::uintmax_t>(far + 8));
    open(path);
    ASSERT_TRUE(calculate("100000044", "0", "0"));
    EXPECT_EQ(text(c::起始区块位址编辑框), "44"); // the text shows the low 32 bits
    editor.writeTerrainCode();
    EXPECT_EQ(canvas.rectangles.back().colour, green);
    std::uint8_t byte = 0;
    ASSERT_TRUE(nativeFiles.readByte(editor.state().mapFile.mapFileNumber, far, byte));
    EXPECT_EQ(byte, 0x07);
    ASSERT_TRUE(nativeFiles.readByte(editor.state().mapFile.mapFileNumber, 68, byte));
    EXPECT_EQ(byte, original[68]);
}

TEST_F(TerrainWriting, AFailedWriteOrFlushIsRed)
{
    open(path);
    ASSERT_TRUE(calculate("44", "0", "0"));
    files.failWrites(true);
    editor.writeTerrainCode();
    EXPECT_EQ(canvas.rectangles.back().colour, red);
    EXPECT_TRUE(changes().empty());
    EXPECT_EQ(text(c::标签19), "当前地形:" + std::string(*terrain::name(original[68])) + "\r\r地形代码:0"
                                   + formatTerrainCode(original[68]).substr(1));

    files.failWrites(false);
    files.failFlushes(true);
    editor.writeTerrainCode();
    EXPECT_EQ(canvas.rectangles.back().colour, red);

    files.failFlushes(false);
    editor.writeTerrainCode();
    EXPECT_EQ(canvas.rectangles.back().colour, green);
}

TEST_F(TerrainWriting, WrittenCodeShowsAgainAfterMovingAwayAndBack)
{
    open(path);
    ASSERT_TRUE(calculate("44", "320", "320"));
    setCode("19");
    editor.writeTerrainCode();
    controls.texts[std::string(c::步长编辑框)] = "3";
    editor.moveCurrentBlock(Direction::DownRight);
    EXPECT_NE(text(c::标签19), "当前地形:森林\r\r地形代码:19");
    editor.moveCurrentBlock(Direction::UpLeft);
    EXPECT_EQ(text(c::标签19), "当前地形:森林\r\r地形代码:19");
}

TEST_F(EditorFixture, PickLegendCodeUsesTheItemsValue)
{
    controls.values[std::string(c::列表框1)] = {1, 10, 29, 34};
    controls.texts[std::string(c::修改数据编辑框)] = " 07";
    editor.pickLegendCode(); // nothing selected
    EXPECT_EQ(text(c::修改数据编辑框), " 07");
    const std::vector<std::pair<int, std::string>> cases = {{0, "01"}, {1, "0A"}, {2, "1D"}, {3, "22"}};
    for (const auto& [index, code] : cases) {
        controls.selection[std::string(c::列表框1)] = index;
        controls.writes.clear();
        editor.pickLegendCode();
        EXPECT_EQ(text(c::修改数据编辑框), code);
        EXPECT_EQ(controls.writes, std::vector<std::string> {std::string(c::修改数据编辑框)});
    }
}

} // namespace
} // namespace quarnet::testing
