#include "platform/ExecutableDirectory.h"
#include "support/EditorFixture.h"

namespace quarnet::testing {
namespace {

namespace c = control;

class MapViewing : public EditorFixture {
protected:
    void SetUp() override { editor.setUp(); }
};

TEST_F(MapViewing, StartUpDrawsThePictureAtTheOrigin)
{
    EXPECT_EQ(canvas.loadedPath, platform::joinPath(editor.state().runDirectory, "SANGO7.0.125.jpg"));
    EXPECT_EQ(canvas.pictures, (std::vector<RecordingCanvas::PictureDraw> {{7, 0, 0}}));
    EXPECT_EQ(text(c::编辑框1), "当前程序所在目录： " + editor.state().runDirectory);
    EXPECT_EQ(text(c::起始位址编辑框), "44");
    EXPECT_EQ(text(c::步长编辑框), "1");
    EXPECT_EQ(text(c::修改数据编辑框), " 07");
}

TEST_F(MapViewing, PageOfABlock)
{
    // Left edges 380 and 384 picture pixels: columns 96 and 97.
    ASSERT_TRUE(calculate("44", "3040", "0"));
    EXPECT_EQ(editor.state().view.viewPageColumn, 0);
    ASSERT_TRUE(calculate("44", "3072", "0"));
    EXPECT_EQ(editor.state().view.viewPageColumn, 1);
    EXPECT_EQ(canvas.pictures.back(), (RecordingCanvas::PictureDraw {7, -384, 0}));
    // Top edges 236 and 240: rows 60 and 61.
    ASSERT_TRUE(calculate("44", "0", "1888"));
    EXPECT_EQ(editor.state().view.viewPageRow, 0);
    ASSERT_TRUE(calculate("44", "0", "1920"));
    EXPECT_EQ(editor.state().view.viewPageRow, 1);
}

TEST_F(MapViewing, MouseCoordinates)
{
    editor.showMouseCoordinates(0, 0);
    EXPECT_EQ(text(c::标签20), "座标:0,0");
    editor.showMouseCoordinates(100, 50);
    EXPECT_EQ(text(c::标签20), "座标:800,400");
    ASSERT_TRUE(calculate("44", "3072", "3840")); // page (1, 2)
    editor.showMouseCoordinates(100, 50);
    EXPECT_EQ(text(c::标签20), "座标:3872,4240");
}

TEST_F(MapViewing, LocateMarksOnThePageShownWithoutRedrawing)
{
    editor.locateCurrentBlock(); // nothing before a calculation
    EXPECT_TRUE(canvas.rectangles.empty());
    ASSERT_TRUE(calculate("44", "0", "0"));
    const std::size_t draws = canvas.pictures.size();
    editor.locateCurrentBlock();
    controls.texts[std::string(c::步长编辑框)] = "1";
    editor.moveCurrentBlock(Direction::Right);
    editor.locateCurrentBlock();
    EXPECT_EQ(canvas.pictures.size(), draws);
    const Rgb white {255, 255, 255};
    EXPECT_EQ(canvas.rectangles, (std::vector<RecordingCanvas::Rectangle> {{0, 0, 3, 3, white}, {4, 0, 7, 3, white}}));
}

TEST_F(MapViewing, LocateOnAnotherPageRedrawsFirst)
{
    ASSERT_TRUE(calculate("44", "3040", "0"));
    controls.texts[std::string(c::步长编辑框)] = "1";
    editor.moveCurrentBlock(Direction::Right);
    editor.locateCurrentBlock();
    EXPECT_EQ(canvas.pictures.back(), (RecordingCanvas::PictureDraw {7, -384, 0}));
    EXPECT_EQ(canvas.rectangles.back(), (RecordingCanvas::Rectangle {0, 0, 3, 3, Rgb {255, 255, 255}}));
    EXPECT_EQ(editor.state().view.viewLeft, 384);
    EXPECT_EQ(editor.state().view.viewRight, 767);
}

TEST_F(MapViewing, RightClickPicksOrIsRefused)
{
    ASSERT_TRUE(calculate("44", "6224", "2080")); // page (2, 1)
    editor.pickBlockAtMouse(10, 20);
    EXPECT_EQ(text(c::起始像素点X编辑框), "6224");
    EXPECT_EQ(text(c::起始像素点Y编辑框), "2080");
    EXPECT_EQ(text(c::当前区块序号编辑框), std::to_string(65 * 546 + 195));

    ASSERT_TRUE(calculate("44", "17471", "12383")); // page (5, 6)
    const auto before = controls.texts;
    editor.pickBlockAtMouse(300, 200); // beyond the picture
    EXPECT_EQ(text(c::起始像素点X编辑框), "17760");
    EXPECT_EQ(text(c::当前区块序号编辑框), before.at(std::string(c::当前区块序号编辑框)));

    controls.texts[std::string(c::起始位址编辑框)] = "";
    controls.writes.clear();
    editor.pickBlockAtMouse(0, 0);
    EXPECT_EQ(controls.writes.size(), 2u); // only the two pixel boxes
}

} // namespace
} // namespace quarnet::testing
