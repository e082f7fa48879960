#include "support/EditorFixture.h"

#include <array>

namespace quarnet::testing {
namespace {

namespace c = control;

// The fifteen boxes that a calculation writes, in the order it writes them.
constexpr std::array<std::string_view, 15> resultBoxes = {
    c::偏移长度编辑框, c::起始区块行号编辑框, c::起始区块列号编辑框, c::起始区块序号编辑框,
    c::像素范围X编辑框1, c::像素范围Y编辑框1, c::起始区块偏移长度编辑框, c::起始区块位址编辑框,
    c::当前区块序号编辑框, c::当前区块行号编辑框, c::当前区块列号编辑框, c::当前区块位址编辑框,
    c::当前区块偏移编辑框, c::当前区块像素范围X编辑框, c::当前区块像素范围Y编辑框,
};

struct CalculationCase {
    const char* name;
    std::string address, x, y;
    // base offset, row, column, block, X range, Y range, offset, address
    std::array<std::string, 8> start;
};

void PrintTo(const CalculationCase& k, std::ostream* out)
{
    *out << k.name;
}

class CalculationTable : public EditorFixture, public ::testing::WithParamInterface<CalculationCase> {};

TEST_P(CalculationTable, FillsAllFifteenBoxesInOrder)
{
    const CalculationCase& k = GetParam();
    ASSERT_TRUE(calculate(k.address, k.x, k.y));
    const auto& s = k.start;
    // The current block repeats the start block: number, row, column, address,
    // offset, ranges.
    const std::array<std::string, 15> expected = {s[0], s[1], s[2], s[3], s[4], s[5], s[6], s[7],
                                                  s[3], s[1], s[2], s[7], s[6], s[4], s[5]};
    for (std::size_t i = 0; i < resultBoxes.size(); ++i)
        EXPECT_EQ(text(resultBoxes[i]), expected[i]) << resultBoxes[i];

    std::vector<std::string> written;
    for (const auto& name : controls.writes)
        if (name != c::标签19)
            written.push_back(name);
    EXPECT_EQ(written, std::vector<std::string>(resultBoxes.begin(), resultBoxes.end()));
}

INSTANTIATE_TEST_SUITE_P(
    BlockCalculator, CalculationTable,
    ::testing::Values(
        CalculationCase {"Origin", "44", "0", "0", {"68", "1", "1", "1", "0～31", "0～31", "68", "44"}},
        CalculationCase {"EmptyXAndYCountAsZero", "44", "", "", {"68", "1", "1", "1", "0～31", "0～31", "68", "44"}},
        CalculationCase {"X31StaysInColumn1", "44", "31", "31", {"68", "1", "1", "1", "0～31", "0～31", "68", "44"}},
        CalculationCase {"X32StartsColumn2", "44", "32", "0", {"68", "1", "2", "2", "32～63", "0～31", "76", "4C"}},
        CalculationCase {"X63EndsColumn2", "44", "63", "63", {"68", "2", "2", "548", "32～63", "32～63", "4444", "115C"}},
        CalculationCase {"X64StartsColumn3", "44", "64", "64", {"68", "3", "3", "1095", "64～95", "64～95", "8820", "2274"}},
        CalculationCase {"Block548", "44", "32", "32", {"68", "2", "2", "548", "32～63", "32～63", "4444", "115C"}},
        CalculationCase {"LastPixel", "44", "17471", "12383",
                         {"68", "387", "546", "211302", "17440～17471", "12352～12383", "1690476", "19CB6C"}},
        CalculationCase {"AddressZero", "0", "0", "0", {"0", "1", "1", "1", "0～31", "0～31", "0", "0"}},
        CalculationCase {"LetterAfterFIsZero", "4G", "0", "0", {"64", "1", "1", "1", "0～31", "0～31", "64", "40"}},
        CalculationCase {"LowerCaseIsZero", "4c", "0", "0", {"64", "1", "1", "1", "0～31", "0～31", "64", "40"}},
        CalculationCase {"TrailingSpaceTakesAPlace", "44 ", "0", "0",
                         {"1088", "1", "1", "1", "0～31", "0～31", "1088", "440"}},
        CalculationCase {"LeadingSpaceIsALeadingZero", " 44", "0", "0", {"68", "1", "1", "1", "0～31", "0～31", "68", "44"}},
        // Offsets of 2^32 and beyond stay whole; only the address text shows
        // the low 32 bits.
        CalculationCase {"OffsetBeyond32Bits", "FFFFFFFFF", "32", "0",
                         {"68719476735", "1", "2", "2", "32～63", "0～31", "68719476743", "7"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorFixture, RefusedInputChangesNothing)
{
    ASSERT_TRUE(calculate("44", "100", "100"));
    const auto before = controls.texts;
    const ProgramState stateBefore = editor.state();
    const std::vector<std::array<std::string, 3>> refused = {
        {"44", "17472", "0"},     {"44", "0", "12384"},     {"44", "-1", "0"},
        {"44", "0", "-1"},        {"", "0", "0"},           {"44", "99999999999", "0"},
        {"44", "0", "-99999999999"},
    };
    for (const auto& input : refused) {
        controls.writes.clear();
        canvas.pictures.clear();
        EXPECT_FALSE(calculate(input[0], input[1], input[2])) << input[0] << " " << input[1] << " " << input[2];
        EXPECT_TRUE(controls.writes.empty());
        EXPECT_TRUE(canvas.pictures.empty());
        controls.texts[std::string(c::起始位址编辑框)] = before.at(std::string(c::起始位址编辑框));
        controls.texts[std::string(c::起始像素点X编辑框)] = before.at(std::string(c::起始像素点X编辑框));
        controls.texts[std::string(c::起始像素点Y编辑框)] = before.at(std::string(c::起始像素点Y编辑框));
        EXPECT_EQ(controls.texts, before);
    }
    EXPECT_EQ(editor.state().calculator.startBlockNumber, stateBefore.calculator.startBlockNumber);
    EXPECT_EQ(editor.state().calculator.currentBlockOffset, stateBefore.calculator.currentBlockOffset);
}

TEST_F(EditorFixture, HugeStartAddressSaturatesInsteadOfWrapping)
{
    ASSERT_TRUE(calculate("FFFFFFFFFFFFFFFFFFFFFFFF", "17471", "12383"));
    EXPECT_EQ(editor.state().calculator.baseOffset, INT64_MAX);
    EXPECT_EQ(editor.state().calculator.startBlockOffset, INT64_MAX);
    EXPECT_EQ(text(c::起始区块偏移长度编辑框), "9223372036854775807");
}

TEST_F(EditorFixture, WithoutFileTheReportSaysSoAndThePageIsShown)
{
    editor.setUp(); // with the map picture
    ASSERT_TRUE(calculate("44", "17471", "12383"));
    EXPECT_EQ(text(c::标签19), "当前地形:文件未打开！\r地形代码:(空)！");
    ASSERT_EQ(canvas.pictures.size(), 2u);
    EXPECT_EQ(canvas.pictures[1], (RecordingCanvas::PictureDraw {7, -1920, -1440}));
    EXPECT_TRUE(canvas.rectangles.empty()); // the calculation draws no marker
}

TEST_F(EditorFixture, CalculationResetsAMovedCurrentBlock)
{
    ASSERT_TRUE(calculate("44", "32", "32"));
    controls.texts[std::string(c::步长编辑框)] = "3";
    editor.moveCurrentBlock(Direction::Right);
    ASSERT_EQ(text(c::当前区块序号编辑框), "551");
    ASSERT_TRUE(editor.calculateStartBlock());
    EXPECT_EQ(text(c::当前区块序号编辑框), "548");
    EXPECT_EQ(text(c::当前区块偏移编辑框), "4444");
}

} // namespace
} // namespace quarnet::testing
