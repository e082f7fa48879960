#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainPalette.h"
#include "support/EditorFixture.h"

namespace quarnet::testing {
namespace {

namespace c = control;

constexpr Rgb green {0, 255, 0};
constexpr Rgb red {255, 0, 0};

// Block n (1-based) holds 1 + n % 34 at 68 + (n - 1) x 8.
std::uint8_t codeOfBlock(std::size_t block)
{
    return static_cast<std::uint8_t>(1 + block % 34);
}

Rgb colourOfBlock(int column, int row) // 1-based
{
    return terrain::colour(codeOfBlock(static_cast<std::size_t>((row - 1) * geometry::columns + column)));
}

Rgb pixel(const RgbImage& image, int x, int y)
{
    return image.pixels.at(static_cast<std::size_t>(y * image.width + x));
}

// No map picture: the view draws the open file's terrain.
class TerrainView : public EditorFixture {
protected:
    void SetUp() override
    {
        canvas.pictureToLoad = 0;
        editor.setUp();
        path = dir.write("SANGO7.MPC", mapFileBytes(codeOfBlock));
    }

    const RgbImage& lastPage() const
    {
        EXPECT_FALSE(canvas.images.empty());
        EXPECT_EQ(canvas.images.back().x, 0);
        EXPECT_EQ(canvas.images.back().y, 0);
        EXPECT_EQ(canvas.images.back().image.width, geometry::pageWidth);
        EXPECT_EQ(canvas.images.back().image.height, geometry::pageHeight);
        return canvas.images.back().image;
    }

    std::string path;
};

TEST_F(TerrainView, OpeningAndPageMovesDrawTheFilesTerrain)
{
    open(path);
    EXPECT_EQ(pixel(lastPage(), 0, 0), colourOfBlock(1, 1));
    EXPECT_EQ(pixel(lastPage(), 383, 239), colourOfBlock(96, 60));
    EXPECT_EQ(pixel(lastPage(), 9, 6), colourOfBlock(3, 2));
    EXPECT_EQ(controls.itemColours[std::string(c::列表框1)].size(), 34u);
    EXPECT_EQ(controls.itemColours[std::string(c::列表框1)][0], terrain::colour(1));

    // The last page: the map ends at canvas x 264 and y 108.
    ASSERT_TRUE(calculate("44", "17471", "12383"));
    const RgbImage& last = lastPage();
    EXPECT_EQ(pixel(last, 263, 107), colourOfBlock(546, 387));
    EXPECT_EQ(pixel(last, 260, 0), colourOfBlock(546, 361));
    EXPECT_EQ(pixel(last, 264, 0), terrain::canvasBackground);
    EXPECT_EQ(pixel(last, 0, 108), terrain::canvasBackground);
}

TEST_F(TerrainView, TheStartAddressPlacesTheTerrain)
{
    // Before a calculation the typed start address; 4C starts a record later.
    controls.texts[std::string(c::起始位址编辑框)] = "4C";
    open(path);
    EXPECT_EQ(pixel(lastPage(), 0, 0), colourOfBlock(2, 1));
    // After one, the calculation's own, whatever is typed since.
    ASSERT_TRUE(calculate("44", "0", "0"));
    controls.texts[std::string(c::起始位址编辑框)] = "4C";
    open(path);
    EXPECT_EQ(pixel(lastPage(), 0, 0), colourOfBlock(1, 1));
}

TEST_F(TerrainView, AWriteDrawsTheBlocksNewColourAndAFailedOneDrawsNothing)
{
    open(path);
    ASSERT_TRUE(calculate("44", "64", "32")); // column 3, row 2: canvas 8..11 x 4..7
    controls.texts[std::string(c::修改数据编辑框)] = "13"; // 0x13, not the block's code
    const std::size_t draws = canvas.images.size();
    editor.writeTerrainCode();
    ASSERT_EQ(canvas.images.size(), draws + 1);
    const auto& block = canvas.images.back();
    EXPECT_EQ(block.x, 8);
    EXPECT_EQ(block.y, 4);
    EXPECT_EQ(block.image.width, 4);
    EXPECT_EQ(block.image.pixels, std::vector<Rgb>(16, terrain::colour(0x13)));
    EXPECT_EQ(canvas.rectangles.back(), (RecordingCanvas::Rectangle {8, 4, 11, 7, green}));

    files.failWrites(true);
    controls.texts[std::string(c::修改数据编辑框)] = "01";
    editor.writeTerrainCode();
    EXPECT_EQ(canvas.images.size(), draws + 1);
    EXPECT_EQ(canvas.rectangles.back(), (RecordingCanvas::Rectangle {8, 4, 11, 7, red}));
}

TEST_F(TerrainView, ClosingOrAFailedReadShowsTheEmptyPage)
{
    const std::vector<Rgb> emptyPage(geometry::pageWidth * geometry::pageHeight, terrain::canvasBackground);
    open(path);
    files.failReads(true);
    ASSERT_TRUE(calculate("44", "0", "0"));
    EXPECT_EQ(lastPage().pixels, emptyPage);
    files.failReads(false);
    ASSERT_TRUE(calculate("44", "0", "0"));
    EXPECT_EQ(pixel(lastPage(), 0, 0), colourOfBlock(1, 1));

    editor.closeMapFile();
    EXPECT_EQ(lastPage().pixels, emptyPage);
    EXPECT_TRUE(controls.itemColours[std::string(c::列表框1)].empty());
}

TEST_F(EditorFixture, WithThePictureNoTerrainIsDrawn)
{
    editor.setUp(); // the picture loads
    open(dir.write("SANGO7.MPC", mapFileBytes(codeOfBlock)));
    ASSERT_TRUE(calculate("44", "64", "32"));
    editor.writeTerrainCode();
    editor.closeMapFile();
    EXPECT_TRUE(canvas.images.empty());
    EXPECT_TRUE(controls.itemColours.empty());
}

// A picture whose first page loaded and whose rest failed: from the moment
// that is known the view is the one of a picture that failed to load.
TEST_F(EditorFixture, APictureFoundBrokenOnAPageMoveGivesWayToTheTerrain)
{
    editor.setUp();
    open(dir.write("SANGO7.MPC", mapFileBytes(codeOfBlock)));
    canvas.breakPicture(7, false);
    ASSERT_TRUE(calculate("44", "3072", "1920")); // page (1, 1)
    EXPECT_EQ(editor.state().view.mapPicture, 0);
    EXPECT_EQ(canvas.released, std::vector<int> {7});
    ASSERT_EQ(canvas.images.size(), 1u);
    EXPECT_EQ(pixel(canvas.images.back().image, 0, 0), colourOfBlock(97, 61));
    EXPECT_EQ(controls.itemColours[std::string(c::列表框1)].size(), 34u);
    // The block's marker still goes on the terrain; the page stays terrain.
    editor.locateCurrentBlock();
    EXPECT_EQ(canvas.rectangles.size(), 1u);
    ASSERT_TRUE(calculate("44", "0", "0"));
    EXPECT_EQ(pixel(canvas.images.back().image, 0, 0), colourOfBlock(1, 1));
    EXPECT_EQ(canvas.pictures.size(), 1u); // only the start-up's
    // The canvas's own news of it, arriving late, changes nothing more.
    canvas.brokenHandler(7);
    EXPECT_EQ(canvas.images.size(), 2u);
    EXPECT_EQ(canvas.released, std::vector<int> {7});
}

TEST_F(EditorFixture, APictureFoundBrokenWhileIdleRedrawsTheShownPage)
{
    const std::vector<Rgb> emptyPage(geometry::pageWidth * geometry::pageHeight, terrain::canvasBackground);
    for (const bool withFile : {false, true}) {
        SCOPED_TRACE(withFile);
        canvas = RecordingCanvas();
        MapEditor fresh(controls, canvas, host, files);
        fresh.setUp();
        if (withFile) {
            host.nextAnswer = dir.write("SANGO7.MPC", mapFileBytes(codeOfBlock));
            fresh.openMapFile();
        }
        controls.texts[std::string(c::起始像素点X编辑框)] = "0";
        controls.texts[std::string(c::起始像素点Y编辑框)] = "0";
        ASSERT_TRUE(fresh.calculateStartBlock());
        canvas.breakPicture(8, true); // another picture's news: ignored
        EXPECT_TRUE(canvas.images.empty());
        canvas.breakPicture(7, true);
        EXPECT_EQ(fresh.state().view.mapPicture, 0);
        EXPECT_EQ(canvas.released, std::vector<int> {7});
        ASSERT_EQ(canvas.images.size(), 1u);
        if (withFile)
            EXPECT_EQ(pixel(canvas.images.back().image, 0, 0), colourOfBlock(1, 1));
        else
            EXPECT_EQ(canvas.images.back().image.pixels, emptyPage);
        EXPECT_EQ(controls.itemColours[std::string(c::列表框1)].size(), withFile ? 34u : 0u);
        fresh.closeAndExit();
    }
    // After the end, news of a broken picture does nothing.
    canvas = RecordingCanvas();
    MapEditor ending(controls, canvas, host, files);
    ending.setUp();
    ending.closeAndExit();
    canvas.breakPicture(7, true);
    EXPECT_TRUE(canvas.images.empty());
}

} // namespace
} // namespace quarnet::testing
