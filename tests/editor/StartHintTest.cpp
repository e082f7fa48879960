// The first-minute hint: drawn over the empty canvas, and only there.

#include "editor/StartHint.h"
#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainPalette.h"
#include "support/EditorFixture.h"

namespace quarnet::testing {
namespace {

const std::vector<Rgb> emptyPage(geometry::pageWidth * geometry::pageHeight, terrain::canvasBackground);

class StartHint : public EditorFixture {
protected:
    // Each hint drawn so far came right over an empty page.
    void expectHintsOverEmptyPages() const
    {
        for (const auto& hint : canvas.texts) {
            EXPECT_EQ(hint.colour, startHint::colour);
            ASSERT_FALSE(hint.lines.empty());
            EXPECT_EQ(hint.lines.front(), "用“打开文件”打开地图，或把 SANGO7.MPC 拖到本窗口");
        }
        EXPECT_EQ(canvas.images.back().image.pixels, emptyPage);
    }
};

TEST_F(StartHint, OverEveryEmptyPageWithoutAMapOrPicture)
{
    canvas.pictureToLoad = 0;
    editor.setUp();
    ASSERT_EQ(canvas.texts.size(), 1u);
    ASSERT_EQ(canvas.images.size(), 1u);
    expectHintsOverEmptyPages();
    // No demo beside the tests: one line.
    EXPECT_EQ(canvas.texts.front().lines.size(), 1u);

    // A page redraw draws it again; a marker goes over it.
    ASSERT_TRUE(calculate("44", "6224", "2080"));
    ASSERT_EQ(canvas.texts.size(), 2u);
    expectHintsOverEmptyPages();
    editor.locateCurrentBlock();
    EXPECT_EQ(canvas.rectangles.size(), 1u);
    EXPECT_EQ(canvas.texts.size(), 2u);

    // A file that can't be opened leaves the empty canvas with its hint.
    open(utf8FromPath(dir.path() / "missing.MPC"));
    EXPECT_EQ(canvas.texts.size(), canvas.images.size());
    expectHintsOverEmptyPages();
}

TEST_F(StartHint, GoneWhileAMapIsOpenBackOnceItCloses)
{
    canvas.pictureToLoad = 0;
    editor.setUp();
    open(dir.write("SANGO7.MPC", mapFileBytes([](std::size_t) { return std::uint8_t {0x0D}; })));
    const std::size_t hints = canvas.texts.size();
    ASSERT_TRUE(calculate("44", "6224", "2080"));
    editor.locateCurrentBlock();
    EXPECT_EQ(canvas.texts.size(), hints);
    EXPECT_NE(canvas.images.back().image.pixels, emptyPage);

    editor.closeMapFile();
    ASSERT_EQ(canvas.texts.size(), hints + 1);
    expectHintsOverEmptyPages();
}

TEST_F(StartHint, NeverWhileThePictureIsShown)
{
    editor.setUp();
    ASSERT_TRUE(calculate("44", "6224", "2080"));
    open(dir.write("SANGO7.MPC", mapFileBytes([](std::size_t) { return std::uint8_t {0x0D}; })));
    editor.closeMapFile();
    EXPECT_TRUE(canvas.texts.empty());

    // Once the picture turns out broken, the canvas is the empty one.
    canvas.breakPicture(7, true);
    ASSERT_EQ(canvas.texts.size(), 1u);
    expectHintsOverEmptyPages();
}

} // namespace
} // namespace quarnet::testing
