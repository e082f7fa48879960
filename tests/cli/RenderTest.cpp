#include "CliFixture.h"

#include "model/MapGeometry.h"
#include "model/TerrainPalette.h"
#include "model/TerrainRaster.h"

#include <stb_image.h>

#include <cstring>
#include <memory>

namespace quarnet::testing {
namespace {

namespace g = geometry;

// A decoded picture file: width, height and packed RGB bytes.
struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
};

Decoded decode(const std::string& path)
{
    const std::vector<std::uint8_t> file = TempDir::read(path);
    Decoded picture;
    int channels = 0;
    const std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &picture.width, &picture.height, &channels, 3),
        stbi_image_free);
    if (!pixels)
        return {};
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));
    std::memcpy(picture.pixels.data(), pixels.get(), picture.pixels.size() * 3);
    return picture;
}

class TerrainRender : public ::testing::Test {
protected:
    TempDir dir;
    std::vector<std::uint8_t> map = cyclingMap();
    std::string mapPath = dir.write("SANGO7.MPC", map);
};

// The picture is the terrain view's pixels: each page the view shows is the
// same part of the rendered PNG.
TEST_F(TerrainRender, PngPixelsEqualTheTerrainViewsPages)
{
    const std::string outPath = utf8FromPath(dir.path() / "terrain.png");
    const CliRun run = runCli({"render", mapPath, outPath});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "");
    const Decoded picture = decode(outPath);
    ASSERT_EQ(picture.width, 2184);
    ASSERT_EQ(picture.height, 1548);

    constexpr int size = g::pictureBlockSize;
    constexpr int blocksAcross = g::pageWidth / size;
    constexpr int blocksDown = g::pageHeight / size;
    const std::vector<std::pair<int, int>> pages = {{0, 0}, {96, 60}, {g::columns - blocksAcross, g::rows - blocksDown}};
    platform::NativeFiles files;
    const platform::FileNumber number = files.open(mapPath);
    for (const auto& [firstColumn, firstRow] : pages) {
        SCOPED_TRACE(std::to_string(firstColumn) + "," + std::to_string(firstRow));
        const auto codes = terrain::readBlockCodes(files, number, 68, firstColumn, firstRow, blocksAcross, blocksDown);
        ASSERT_TRUE(codes);
        const RgbImage page = terrain::rasterize(*codes, blocksAcross, blocksDown, size);
        int differing = 0;
        for (int y = 0; y < page.height; ++y)
            for (int x = 0; x < page.width; ++x)
                differing += page.pixels[static_cast<std::size_t>(y * page.width + x)]
                             != picture.at(firstColumn * size + x, firstRow * size + y);
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
