#include "CliFixture.h"
#include "Pictures.h"
#include "editor/ControlNames.h"
#include "editor/MapEditor.h"
#include "support/MemoryForm.h"

#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainPalette.h"

#include <tuple>

namespace quarnet::testing {
namespace {

namespace g = geometry;

// The window's map view over a map file, with no map picture to show: it
// draws the file's terrain.
struct TerrainViewOfMap {
    explicit TerrainViewOfMap(const std::string& mapPath)
    {
        canvas.pictureToLoad = 0;
        editor.setUp();
        host.nextAnswer = mapPath;
        editor.openMapFile();
    }

    // The page the view draws for a map pixel, and where it lies in the
    // one-eighth-size picture.
    std::tuple<RgbImage, int, int> pageHolding(const std::string& x, const std::string& y)
    {
        controls.texts[std::string(control::起始位址编辑框)] = "44";
        controls.texts[std::string(control::起始像素点X编辑框)] = x;
        controls.texts[std::string(control::起始像素点Y编辑框)] = y;
        EXPECT_TRUE(editor.calculateStartBlock());
        EXPECT_FALSE(canvas.images.empty());
        if (canvas.images.empty())
            return {};
        return {canvas.images.back().image, editor.state().view.viewLeft, editor.state().view.viewTop};
    }

    MemoryControls controls;
    RecordingCanvas canvas;
    ScriptedHost host;
    platform::NativeFiles files;
    MapEditor editor {controls, canvas, host, files};
};

class TerrainRender : public ::testing::Test {
protected:
    TempDir dir;
    std::vector<std::uint8_t> map = cyclingMap();
    std::string mapPath = dir.write("SANGO7.MPC", map);
};

// The picture is the terrain view's pixels: each page that the window's map
// view draws from the file, without a map picture, is the same part of the
// rendered PNG.
TEST_F(TerrainRender, PngPixelsEqualTheTerrainViewsPages)
{
    const std::string outPath = utf8FromPath(dir.path() / "terrain.png");
    const CliRun run = runCli({"render", mapPath, outPath});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "");
    const Decoded picture = decode(outPath);
    ASSERT_EQ(picture.width, 2184);
    ASSERT_EQ(picture.height, 1548);

    TerrainViewOfMap view(mapPath);
    // Map pixels whose pages are shown: the first, one inside, the last
    // (which reaches past the map's edge).
    for (const auto& [x, y] : std::vector<std::pair<std::string, std::string>> {{"0", "0"}, {"9000", "5000"},
                                                                                {"17471", "12383"}}) {
        SCOPED_TRACE(x + "," + y);
        const auto [page, left, top] = view.pageHolding(x, y);
        int compared = 0;
        int differing = 0;
        for (int row = 0; row < page.height && top + row < picture.height; ++row) {
            for (int column = 0; column < page.width && left + column < picture.width; ++column) {
                ++compared;
                differing += page.pixels[static_cast<std::size_t>(row * page.width + column)]
                             != picture.at(left + column, top + row);
            }
        }
        EXPECT_GT(compared, 0);
        EXPECT_EQ(differing, 0);
    }
}

TEST_F(TerrainRender, ScaleOneIsAPixelABlock)
{
    const std::string outPath = utf8FromPath(dir.path() / "small.PNG");
    ASSERT_EQ(runCli({"render", mapPath, outPath, "--scale", "1"}).exitCode, 0);
    const Decoded picture = decode(outPath);
    ASSERT_EQ(picture.width, 546);
    ASSERT_EQ(picture.height, 387);
    for (const std::int32_t block : {1, 548, 211302}) {
        const int x = (block - 1) % g::columns;
        const int y = (block - 1) / g::columns;
        EXPECT_EQ(picture.at(x, y), terrain::colour(map[codeAt(block)])) << block;
    }
}

// Blocks past the end of a short file are the background, as in the view.
TEST_F(TerrainRender, BlocksPastTheFilesEndAreBackground)
{
    dir.write("SANGO7.MPC", mapFileBytes([](std::size_t) { return std::uint8_t {0x0D}; }, 68, 600));
    const std::string outPath = utf8FromPath(dir.path() / "short.png");
    ASSERT_EQ(runCli({"render", mapPath, outPath, "--scale=1"}).exitCode, 0);
    const Decoded picture = decode(outPath);
    EXPECT_EQ(picture.at(53, 1), terrain::colour(0x0D)); // block 600
    EXPECT_EQ(picture.at(54, 1), terrain::canvasBackground);
    EXPECT_EQ(picture.at(545, 386), terrain::canvasBackground);
}

TEST_F(TerrainRender, JpegByItsExtensionAtTheWindowsPictureSize)
{
    for (const std::string name : {"terrain.jpg", "terrain.JPEG"}) {
        const std::string outPath = utf8FromPath(dir.path() / name);
        ASSERT_EQ(runCli({"render", mapPath, outPath}).exitCode, 0);
        const std::vector<std::uint8_t> file = TempDir::read(outPath);
        ASSERT_GE(file.size(), 3u);
        EXPECT_EQ(file[0], 0xFF); // a JPEG's start-of-image marker
        EXPECT_EQ(file[1], 0xD8);
        const Decoded picture = decode(outPath);
        EXPECT_EQ(picture.width, 2184);
        EXPECT_EQ(picture.height, 1548);
    }
}

TEST_F(TerrainRender, NeverOverwritesTheMap)
{
    const std::string pictureNamedMap = dir.write("map.png", map);
    const CliRun run = runCli({"render", pictureNamedMap, pictureNamedMap});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "quarnet-terrain render: OUT is MAP itself; the map is never overwritten\n");
    EXPECT_EQ(TempDir::read(pictureNamedMap), map);
}

} // namespace
} // namespace quarnet::testing
