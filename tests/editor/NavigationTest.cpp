#include "support/EditorFixture.h"

#include "platform/NumberText.h"

namespace quarnet::testing {
namespace {

namespace c = control;

struct Block {
    int column;
    int row;
};

struct MoveCase {
    const char* name;
    Block from;
    Direction direction;
    std::string step;
    std::optional<Block> to; // nothing: refused
};

void PrintTo(const MoveCase& k, std::ostream* out)
{
    *out << k.name;
}

class MoveTable : public EditorFixture, public ::testing::WithParamInterface<MoveCase> {
protected:
    void startAt(Block block)
    {
        ASSERT_TRUE(calculate("44", std::to_string((block.column - 1) * 32), std::to_string((block.row - 1) * 32)));
    }
};

TEST_P(MoveTable, MovesOrRefusesWhole)
{
    const MoveCase& k = GetParam();
    startAt(k.from);
    controls.texts[std::string(c::步长编辑框)] = k.step;
    controls.texts[std::string(c::标签19)] = "before";
    const auto before = controls.texts;
    controls.writes.clear();
    editor.moveCurrentBlock(k.direction);

    if (!k.to) {
        EXPECT_EQ(controls.texts, before);
        EXPECT_TRUE(controls.writes.empty());
        return;
    }
    const int block = (k.to->row - 1) * 546 + k.to->column;
    const std::int64_t offset = 68 + std::int64_t {block - 1} * 8;
    const auto range = [](int index) {
        return std::to_string((index - 1) * 32) + "～" + std::to_string(index * 32 - 1);
    };
    EXPECT_EQ(text(c::当前区块序号编辑框), std::to_string(block));
    EXPECT_EQ(text(c::当前区块行号编辑框), std::to_string(k.to->row));
    EXPECT_EQ(text(c::当前区块列号编辑框), std::to_string(k.to->column));
    EXPECT_EQ(text(c::当前区块偏移编辑框), std::to_string(offset));
    EXPECT_EQ(text(c::当前区块位址编辑框), platform::hexText(offset));
    EXPECT_EQ(text(c::当前区块像素范围X编辑框), range(k.to->column));
    EXPECT_EQ(text(c::当前区块像素范围Y编辑框), range(k.to->row));
    // All seven current boxes in their order, then the terrain report; the
    // start block stays.
    EXPECT_EQ(controls.writes,
              (std::vector<std::string> {std::string(c::当前区块序号编辑框), std::string(c::当前区块行号编辑框),
                                         std::string(c::当前区块列号编辑框), std::string(c::当前区块位址编辑框),
                                         std::string(c::当前区块偏移编辑框), std::string(c::当前区块像素范围X编辑框),
                                         std::string(c::当前区块像素范围Y编辑框), std::string(c::标签19)}));
    EXPECT_EQ(text(c::起始区块序号编辑框), before.at(std::string(c::起始区块序号编辑框)));
    EXPECT_EQ(text(c::标签19), "当前地形:\r\r地形代码:00"); // no file: no byte
}

using D = Direction;
INSTANTIATE_TEST_SUITE_P(
    BlockNavigation, MoveTable,
    ::testing::Values(
        MoveCase {"UpFromRow1Refused", {7, 1}, D::Up, "1", std::nullopt},
        MoveCase {"UpFromRow2", {7, 2}, D::Up, "1", Block {7, 1}},
        MoveCase {"UpStep4FromRow5", {3, 5}, D::Up, "4", Block {3, 1}},
        MoveCase {"UpStep5FromRow5Refused", {3, 5}, D::Up, "5", std::nullopt},
        MoveCase {"DownFromRow387Refused", {3, 387}, D::Down, "1", std::nullopt},
        MoveCase {"DownFromRow386", {3, 386}, D::Down, "1", Block {3, 387}},
        MoveCase {"LeftWrapsToRowAbove", {1, 2}, D::Left, "1", Block {546, 1}},
        MoveCase {"RightWrapsToRowBelow", {546, 1}, D::Right, "1", Block {1, 2}},
        MoveCase {"LeftStep600", {10, 5}, D::Left, "600", Block {502, 3}},
        MoveCase {"RightStep546KeepsColumn", {10, 5}, D::Right, "546", Block {10, 6}},
        MoveCase {"LeftFromBlock1Refused", {1, 1}, D::Left, "1", std::nullopt},
        MoveCase {"RightFromLastBlockRefused", {546, 387}, D::Right, "1", std::nullopt},
        MoveCase {"RightWithinLastRow", {540, 387}, D::Right, "6", Block {546, 387}},
        MoveCase {"RightTooFarRefusedNotShortened", {540, 387}, D::Right, "7", std::nullopt},
        MoveCase {"UpLeftFromColumn1Refused", {1, 5}, D::UpLeft, "1", std::nullopt},
        MoveCase {"DownLeftFromColumn1Refused", {1, 5}, D::DownLeft, "1", std::nullopt},
        MoveCase {"UpRightFromColumn546Refused", {546, 5}, D::UpRight, "1", std::nullopt},
        MoveCase {"DownRightFromColumn546Refused", {546, 5}, D::DownRight, "1", std::nullopt},
        MoveCase {"UpRightFromRow1Refused", {5, 1}, D::UpRight, "1", std::nullopt},
        MoveCase {"DownLeftFromRow387Refused", {5, 387}, D::DownLeft, "1", std::nullopt},
        MoveCase {"UpLeftToBlock1", {2, 2}, D::UpLeft, "1", Block {1, 1}},
        MoveCase {"UpRight", {5, 5}, D::UpRight, "2", Block {7, 3}},
        MoveCase {"DownLeft", {5, 5}, D::DownLeft, "4", Block {1, 9}},
        MoveCase {"DownRightToLastBlock", {544, 385}, D::DownRight, "2", Block {546, 387}},
        MoveCase {"StepTruncated", {5, 5}, D::Right, "2.9", Block {7, 5}},
        MoveCase {"StepWithSpacesAndPlus", {5, 5}, D::Down, " +3 ", Block {5, 8}},
        MoveCase {"StepHalfRefused", {5, 5}, D::Right, "0.5", std::nullopt},
        MoveCase {"StepZeroRefused", {5, 5}, D::Right, "0", std::nullopt},
        MoveCase {"StepNegativeRefused", {5, 5}, D::Right, "-1", std::nullopt},
        MoveCase {"StepEmptyRefused", {5, 5}, D::Right, "", std::nullopt},
        MoveCase {"StepWithoutNumberRefused", {5, 5}, D::Right, "abc", std::nullopt},
        MoveCase {"StepLargestInt32Refused", {5, 5}, D::Down, "2147483647", std::nullopt},
        MoveCase {"StepBeyondInt32Refused", {5, 5}, D::UpLeft, "99999999999", std::nullopt},
        MoveCase {"StepHugeRefused", {5, 5}, D::Left, "1e300", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorFixture, NoMoveBeforeTheFirstCalculation)
{
    for (const Direction d : {D::UpLeft, D::Up, D::UpRight, D::Left, D::Right, D::DownLeft, D::Down, D::DownRight}) {
        editor.moveCurrentBlock(d);
    }
    EXPECT_TRUE(controls.writes.empty());
}

TEST_F(EditorFixture, MoveRightFromBlock1ShowsOffset76)
{
    ASSERT_TRUE(calculate("44", "0", "0"));
    controls.texts[std::string(c::步长编辑框)] = "1";
    editor.moveCurrentBlock(D::Right);
    EXPECT_EQ(text(c::当前区块偏移编辑框), "76");
    EXPECT_EQ(text(c::当前区块位址编辑框), "4C");
}

TEST_F(EditorFixture, OffsetMovesByTheDifferenceAlsoBeyond32Bits)
{
    ASSERT_TRUE(calculate("FFFFFFFC", "0", "0"));
    controls.texts[std::string(c::步长编辑框)] = "1";
    editor.moveCurrentBlock(D::Right);
    EXPECT_EQ(text(c::当前区块偏移编辑框), "4294967300");
    EXPECT_EQ(text(c::当前区块位址编辑框), "4");
    editor.moveCurrentBlock(D::Down);
    EXPECT_EQ(editor.state().calculator.currentBlockOffset, 4294967300 + 4368);
}

TEST_F(EditorFixture, MovesReadTheTerrainAndRefusalsDoNot)
{
    open(dir.write("SANGO7.MPC", mapFileBytes([](std::size_t block) {
        return static_cast<std::uint8_t>(block == 2 ? 0x19 : 0x03);
    })));
    ASSERT_TRUE(calculate("44", "0", "0"));
    controls.texts[std::string(c::步长编辑框)] = "1";
    editor.moveCurrentBlock(D::Right);
    EXPECT_EQ(text(c::标签19), "当前地形:森林\r\r地形代码:19");
    editor.moveCurrentBlock(D::Up); // refused: row 1
    EXPECT_EQ(text(c::标签19), "当前地形:森林\r\r地形代码:19");
    editor.moveCurrentBlock(D::Left);
    EXPECT_EQ(text(c::标签19), "当前地形:草原\r\r地形代码:03");
}

TEST_F(EditorFixture, MovesNeverTouchTheView)
{
    ASSERT_TRUE(calculate("44", "0", "0"));
    canvas.pictures.clear();
    controls.texts[std::string(c::步长编辑框)] = "200";
    editor.moveCurrentBlock(D::DownRight);
    EXPECT_TRUE(canvas.pictures.empty());
    EXPECT_TRUE(canvas.rectangles.empty());
    EXPECT_EQ(editor.state().view.viewLeft, 0);
}

} // namespace
} // namespace quarnet::testing
