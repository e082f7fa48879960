#include "CliFixture.h"
#include "Pictures.h"

#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainPalette.h"
#include "support/MapFixtures.h"

#include <filesystem>
#include <functional>

namespace quarnet::testing {
namespace {

namespace g = geometry;
using Bytes = std::vector<std::uint8_t>;

constexpr Rgb river {56, 160, 232};
constexpr Rgb desert {222, 196, 130};
constexpr Rgb grass {126, 170, 78};
constexpr Rgb forest {56, 112, 56};

// Terrain in patches of 21 x 43 blocks, as a real map has it, so that a JPEG
// of it keeps its colours close; grassland in all three of its codes.
Bytes regionalMap()
{
    static constexpr std::array<std::uint8_t, 21> patchCodes = {0x03, 0x0C, 0x04, 0x19, 0x08, 0x07, 0x0E,
                                                                0x0D, 0x05, 0x02, 0x11, 0x18, 0x10, 0x0A,
                                                                0x16, 0x0B, 0x06, 0x0F, 0x01, 0x13, 0x21};
    return mapFileBytes([](std::size_t block) {
        const std::size_t index = block - 1;
        const std::size_t patch = index % g::columns / 21 + index / g::columns / 43 * 26;
        return patchCodes[patch % patchCodes.size()];
    });
}

std::int32_t blockAt(int column, int row) // 0-based
{
    return row * g::columns + column + 1;
}

void paintBlock(Decoded& picture, std::int32_t block, Rgb colour)
{
    const int scale = picture.width / g::columns;
    const int left = (block - 1) % g::columns * scale;
    const int top = (block - 1) / g::columns * scale;
    for (int y = top; y < top + scale; ++y)
        for (int x = left; x < left + scale; ++x)
            picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width)
                           + static_cast<std::size_t>(x)] = colour;
}

// A river 80 blocks long, a step down every second block.
std::vector<std::int32_t> riverBlocks()
{
    std::vector<std::int32_t> blocks;
    for (int i = 0; i < 80; ++i)
        blocks.push_back(blockAt(100 + i, 50 + i / 2));
    return blocks;
}

// A rectangle of 10 x 6 blocks.
std::vector<std::int32_t> desertBlocks()
{
    std::vector<std::int32_t> blocks;
    for (int row = 200; row < 206; ++row)
        for (int column = 300; column < 310; ++column)
            blocks.push_back(blockAt(column, row));
    return blocks;
}

class TerrainImport : public ::testing::Test {
protected:
    // The map as render draws it, decoded.
    Decoded rendered(int scale, const std::string& path)
    {
        const std::string out = utf8FromPath(dir.path() / "rendered.png");
        const CliRun run = runCli({"render", path, out, "--scale", std::to_string(scale)});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return decode(out);
    }
    Decoded rendered(int scale) { return rendered(scale, mapPath); }

    // The river and the desert painted in, and the map bytes they give: the
    // first code of the name where a block has another name.
    Bytes paintRiverAndDesert(Decoded& picture) const
    {
        Bytes expected = original;
        for (const std::int32_t block : riverBlocks()) {
            paintBlock(picture, block, river);
            if (expected[codeAt(block)] != 0x01)
                expected[codeAt(block)] = 0x01;
        }
        for (const std::int32_t block : desertBlocks()) {
            paintBlock(picture, block, desert);
            if (expected[codeAt(block)] != 0x0E && expected[codeAt(block)] != 0x1C)
                expected[codeAt(block)] = 0x0E;
        }
        return expected;
    }

    std::string write(const std::string& name, const Decoded& picture) const
    {
        return writePicture(dir, name, imageOf(picture));
    }

    bool backupExists(const std::string& path) const { return std::filesystem::exists(pathFromUtf8(path + ".bak")); }

    TempDir dir;
    Bytes original = regionalMap();
    std::string mapPath = dir.write("SANGO7.MPC", original);
};

// render, paint, import, apply: the copy differs from the original in
// exactly the painted blocks' code bytes, and diff --csv of the two lists
// what import printed.
TEST_F(TerrainImport, RoundTripAtBothScales)
{
    for (const int scale : {1, 4}) {
        SCOPED_TRACE(scale);
        Decoded picture = rendered(scale);
        ASSERT_EQ(picture.width, g::columns * scale);
        const Bytes expected = paintRiverAndDesert(picture);
        const std::string painted = write("painted.png", picture);
        const std::string copyPath = dir.write("COPY.MPC", original);
        std::filesystem::remove(pathFromUtf8(copyPath + ".bak"));

        const CliRun printed = runCli({"import", mapPath, painted});
        EXPECT_EQ(printed.exitCode, 1) << printed.err;
        const std::size_t edits = changedBytes(original, expected).size();
        ASSERT_GT(edits, 100u);
        EXPECT_EQ(lineCount(printed.out), edits + 1);
        EXPECT_EQ(printed.err.rfind("quarnet-terrain import: " + std::to_string(edits) + " blocks change terrain: ", 0), 0u)
            << printed.err;
        EXPECT_NE(printed.err.find(" -> 河流"), std::string::npos);
        EXPECT_NE(printed.err.find(" -> 沙漠"), std::string::npos);
        EXPECT_EQ(TempDir::read(mapPath), original);

        const CliRun applied = runCli({"import", copyPath, painted, "--apply"});
        EXPECT_EQ(applied.exitCode, 0) << applied.err;
        EXPECT_EQ(applied.out, "Wrote " + std::to_string(edits) + " codes into " + copyPath + "; the backup is "
                                   + copyPath + ".bak\n");
        EXPECT_EQ(changedBytes(original, TempDir::read(copyPath)), changedBytes(original, expected));
        EXPECT_EQ(TempDir::read(copyPath + ".bak"), original);

        const CliRun listed = runCli({"diff", mapPath, copyPath, "--csv"});
        EXPECT_EQ(listed.exitCode, 1);
        EXPECT_EQ(listed.out, printed.out);

        // -o writes the same list to a file, and the picture of the copy now
        // imports as no change.
        const std::string editsPath = utf8FromPath(dir.path() / "edits.csv");
        const CliRun toFile = runCli({"import", mapPath, painted, "-o", editsPath});
        EXPECT_EQ(toFile.exitCode, 1);
        EXPECT_EQ(toFile.out, "");
        EXPECT_EQ(textOf(TempDir::read(editsPath)), printed.out);
        const CliRun again = runCli({"import", copyPath, painted});
        EXPECT_EQ(again.exitCode, 0) << again.err;
        EXPECT_EQ(again.out, "block,code\n");
        EXPECT_EQ(again.err, "quarnet-terrain import: no block changes terrain\n");
    }
}

// Several codes share a name: a block that still shows its name keeps its
// code, and one painted another name gets that name's first code.
TEST_F(TerrainImport, BlocksKeepTheirCodeUnlessTheirNameChanges)
{
    // 03, 04 and 08 are all grassland; block 7 is a river.
    original = mapFileBytes([](std::size_t block) {
        return block == 7 ? std::uint8_t {0x01} : std::array<std::uint8_t, 3> {0x03, 0x04, 0x08}[block % 3];
    });
    dir.write("SANGO7.MPC", original);
    struct Case {
        std::vector<std::pair<std::int32_t, Rgb>> painted;
        std::string edits;
        std::string summary;
    };
    const std::vector<Case> cases = {
        {{}, "", "no block changes terrain"},
        {{{2, grass}, {3, grass}, {4, grass}}, "", "no block changes terrain"}, // 04, 08, 03 repainted as they are
        {{{3, river}}, "3,01\n", "1 block changes terrain: 1 草原 -> 河流"},
        {{{7, grass}}, "7,03\n", "1 block changes terrain: 1 河流 -> 草原"},
        {{{7, forest}, {8, forest}, {9, forest}, {10, river}},
         "7,19\n8,19\n9,19\n10,01\n",
         "4 blocks change terrain: 1 河流 -> 森林, 1 草原 -> 河流, 2 草原 -> 森林"},
    };
    const Decoded clean = rendered(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edits);
        Decoded picture = clean;
        for (const auto& [block, colour] : c.painted)
            paintBlock(picture, block, colour);
        const CliRun run = runCli({"import", mapPath, write("painted.png", picture)});
        EXPECT_EQ(run.exitCode, c.edits.empty() ? 0 : 1);
        EXPECT_EQ(run.out, "block,code\n" + c.edits);
        EXPECT_EQ(run.err, "quarnet-terrain import: " + c.summary + "\n");
    }
}

// Code 00 shows the background and codes without a name the grey: a block
// that shows them may stay so or be painted a name, but nothing can be
// painted them.
TEST_F(TerrainImport, BackgroundAndGreyStayOrTakeANameButAreNeverWritten)
{
    original[codeAt(1)] = 0x00;
    original[codeAt(2)] = 0x30;
    original[codeAt(3)] = 0xFF;
    dir.write("SANGO7.MPC", original);
    Decoded picture = rendered(4);
    ASSERT_EQ(picture.at(0, 0), terrain::canvasBackground);
    ASSERT_EQ(picture.at(4, 0), terrain::unnamedGrey);
    paintBlock(picture, 1, river);
    paintBlock(picture, 2, forest);
    CliRun run = runCli({"import", mapPath, write("painted.png", picture)});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out, "block,code\n1,01\n2,19\n");
    EXPECT_EQ(run.err, "quarnet-terrain import: 2 blocks change terrain: 1 no name -> 森林, 1 background -> 河流\n");

    paintBlock(picture, 5, terrain::canvasBackground);
    paintBlock(picture, 6, terrain::unnamedGrey);
    run = runCli({"import", mapPath, write("painted.png", picture), "--apply"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err,
              "quarnet-terrain import: block 5 (row 1, column 5; picture x 16 to 19, y 0 to 3) is painted in the "
              "background colour, which no code can be written as\n"
              "quarnet-terrain import: block 6 (row 1, column 6; picture x 20 to 23, y 0 to 3) is painted in the grey "
              "of codes without a name, which can't be written\n"
              "quarnet-terrain import: PICTURE " + utf8FromPath(dir.path() / "painted.png")
                  + " has 2 blocks that can't be imported; " + mapPath + " left as it was\n");
    EXPECT_EQ(TempDir::read(mapPath), original);
    EXPECT_FALSE(backupExists(mapPath));
}

// A map file that ends inside the map: the blocks past its end are
// background and must stay so; the others import as usual.
TEST_F(TerrainImport, FileEndingInsideTheMap)
{
    // Block 1000's code byte is the last byte: the file ends inside its record.
    original.resize(codeAt(1000) + 1);
    dir.write("SANGO7.MPC", original);
    for (const int scale : {1, 4}) {
        SCOPED_TRACE(scale);
        Decoded picture = rendered(scale);
        CliRun run = runCli({"import", mapPath, write("painted.png", picture)});
        EXPECT_EQ(run.exitCode, 0) << run.err;

        paintBlock(picture, 1000, river);
        paintBlock(picture, 5, desert);
        run = runCli({"import", mapPath, write("painted.png", picture)});
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_EQ(run.out, "block,code\n5,0E\n1000,01\n");

        paintBlock(picture, 1001, river);
        paintBlock(picture, 211302, forest);
        run = runCli({"import", mapPath, write("painted.png", picture), "--apply"});
        EXPECT_EQ(run.exitCode, 2);
        const std::string length = std::to_string(original.size());
        const std::string last = std::to_string(545 * scale);
        EXPECT_NE(run.err.find("block 1001 (row 2, column 455; picture x " + std::to_string(454 * scale)
                               + (scale == 1 ? "" : " to " + std::to_string(455 * scale - 1)) + ", y "
                               + (scale == 1 ? "1" : "4 to 7") + ") lies outside the file (" + length
                               + " bytes) but is painted 河流; it must stay background\n"),
                  std::string::npos) << run.err;
        EXPECT_NE(run.err.find("block 211302 (row 387, column 546; "), std::string::npos);
        EXPECT_NE(run.err.find("has 2 blocks that can't be imported; " + mapPath + " left as it was\n"),
                  std::string::npos);
        EXPECT_EQ(TempDir::read(mapPath), original);
    }

    // Applied to the short file, its length stays.
    Decoded picture = rendered(1);
    paintBlock(picture, 1000, river);
    const CliRun run = runCli({"import", mapPath, write("painted.png", picture), "--apply"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    Bytes expected = original;
    expected[codeAt(1000)] = 0x01;
    EXPECT_EQ(TempDir::read(mapPath), expected);
}

// A block's terrain is what most of its pixels show: a few stray pixels of
// other terrain colours don't change it, an even split is an error, and so
// is a pixel of no terrain colour.
TEST_F(TerrainImport, MostPixelsDecideABlock)
{
    const Decoded clean = rendered(4);
    const auto paintPixels = [](Decoded& picture, std::int32_t block, int count, Rgb colour) {
        const int left = (block - 1) % g::columns * 4;
        const int top = (block - 1) / g::columns * 4;
        for (int i = 0; i < count; ++i)
            picture.pixels[static_cast<std::size_t>(top + i / 4) * static_cast<std::size_t>(picture.width)
                           + static_cast<std::size_t>(left + i % 4)] = colour;
    };
    // Block 548 is 03 草原 in the regional map.
    ASSERT_EQ(original[codeAt(548)], 0x03);
    Decoded picture = clean;
    paintPixels(picture, 548, 9, river);
    CliRun run = runCli({"import", mapPath, write("painted.png", picture)});
    EXPECT_EQ(run.out, "block,code\n548,01\n");
    picture = clean;
    paintPixels(picture, 548, 7, river); // 7 river, 9 grass
    run = runCli({"import", mapPath, write("painted.png", picture)});
    EXPECT_EQ(run.exitCode, 0);

    // Half river and half its own grass: it stays grass, and is counted.
    picture = clean;
    paintPixels(picture, 548, 8, river);
    run = runCli({"import", mapPath, write("painted.png", picture)});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "block,code\n");
    EXPECT_NE(run.err.find("import: 1 block split evenly between its present terrain and another keeps its present "
                           "terrain\n"),
              std::string::npos)
        << run.err;
    // Half river and half desert, neither its own: an error.
    paintPixels(picture, 548, 16, desert);
    paintPixels(picture, 548, 8, river);
    run = runCli({"import", mapPath, write("painted.png", picture)});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("block 548 (row 2, column 2; picture x 4 to 7, y 4 to 7): its pixels split evenly between "
                           "河流 and 沙漠\n"),
              std::string::npos) << run.err;
}

// Pixels of no terrain colour are named with their colour and block, the
// first 20 of them, then counted.
TEST_F(TerrainImport, StrayPixelsAreListedThenCounted)
{
    Decoded picture = rendered(1);
    for (int x = 0; x < 25; ++x)
        picture.pixels[static_cast<std::size_t>(g::columns) * 2 + static_cast<std::size_t>(x)] = Rgb {255, 0, 254};
    const std::string painted = write("painted.png", picture);
    const CliRun run = runCli({"import", mapPath, painted});
    EXPECT_EQ(run.exitCode, 2);
    std::string expected;
    for (int x = 0; x < 20; ++x)
        expected += "quarnet-terrain import: pixel x " + std::to_string(x) + ", y 2 has colour #FF00FE, no terrain "
                    "colour (block " + std::to_string(2 * g::columns + x + 1) + " (row 3, column "
                    + std::to_string(x + 1) + "; picture x " + std::to_string(x) + ", y 2))\n";
    expected += "quarnet-terrain import: and 5 more pixels of other colours\n";
    expected += "quarnet-terrain import: PICTURE " + painted + " has 25 pixels of no terrain colour (--nearest takes "
                "each pixel's nearest terrain colour); " + mapPath + " left as it was\n";
    EXPECT_EQ(run.err, expected);
    EXPECT_EQ(run.out, "");

    // --nearest takes each for the nearest colour its block may show: the
    // block's own, or the shallow sea shown beside it.
    const CliRun nearest = runCli({"import", mapPath, painted, "--nearest"});
    EXPECT_EQ(nearest.exitCode, 1) << nearest.err;
    EXPECT_NE(nearest.err.find("quarnet-terrain import: --nearest moved 25 pixels to the nearest terrain colour\n"),
              std::string::npos) << nearest.err;
}

// A picture whose editor smoothed the edges, and a JPEG of render's, import
// with --nearest as the exact picture does.
TEST_F(TerrainImport, NearestGivesTheExactPicturesEdits)
{
    Decoded exact = rendered(4);
    paintRiverAndDesert(exact);
    const CliRun exactRun = runCli({"import", mapPath, write("exact.png", exact)});
    ASSERT_EQ(exactRun.exitCode, 1) << exactRun.err;

    // Every pixel on a colour edge is blended half and half with the pixel
    // to its left, as an antialiasing brush leaves it.
    Decoded smoothed = exact;
    for (int y = 0; y < exact.height; ++y) {
        for (int x = 1; x < exact.width; ++x) {
            const Rgb left = exact.at(x - 1, y);
            const Rgb here = exact.at(x, y);
            if (left == here)
                continue;
            smoothed.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(exact.width)
                            + static_cast<std::size_t>(x)] =
                Rgb {static_cast<std::uint8_t>((left.red + here.red) / 2),
                     static_cast<std::uint8_t>((left.green + here.green) / 2),
                     static_cast<std::uint8_t>((left.blue + here.blue) / 2)};
        }
    }
    const std::string smoothedPath = write("smoothed.png", smoothed);
    const CliRun refused = runCli({"import", mapPath, smoothedPath});
    EXPECT_EQ(refused.exitCode, 2);
    const CliRun smoothRun = runCli({"import", mapPath, smoothedPath, "--nearest"});
    EXPECT_EQ(smoothRun.exitCode, 1) << smoothRun.err;
    EXPECT_EQ(smoothRun.out, exactRun.out);
    EXPECT_NE(smoothRun.err.find("--nearest moved "), std::string::npos);

    const std::string jpegPath = write("painted.jpg", exact);
    const CliRun jpegRun = runCli({"import", mapPath, jpegPath, "--nearest"});
    EXPECT_EQ(jpegRun.exitCode, 1) << jpegRun.err;
    EXPECT_EQ(jpegRun.out, exactRun.out);

    // render's own JPEG of the unchanged map is no change at all.
    const std::string renderedJpeg = utf8FromPath(dir.path() / "rendered.jpg");
    ASSERT_EQ(runCli({"render", mapPath, renderedJpeg}).exitCode, 0);
    const CliRun unchanged = runCli({"import", mapPath, renderedJpeg, "--nearest", "--apply"});
    EXPECT_EQ(unchanged.exitCode, 0) << unchanged.err;
    EXPECT_EQ(unchanged.out, renderedJpeg + " changes no block's terrain; " + mapPath + " left as it was\n");
    EXPECT_EQ(TempDir::read(mapPath), original);
    EXPECT_FALSE(backupExists(mapPath));
}

// Transparent pixels don't count: the block's other pixels decide it, and a
// block with none is an error.
TEST_F(TerrainImport, TransparentPixelsCountForNothing)
{
    const Decoded clean = rendered(4);
    const auto withAlpha = [&](const std::function<std::uint8_t(int x, int y)>& alphaAt, Rgb paint) {
        Bytes rgba;
        for (int y = 0; y < clean.height; ++y) {
            for (int x = 0; x < clean.width; ++x) {
                const bool inBlock548 = x >= 4 && x < 8 && y >= 4 && y < 8;
                const std::uint8_t alpha = alphaAt(x, y);
                // No colour at all where it's transparent.
                const Rgb c = alpha == 0 ? Rgb {} : inBlock548 ? paint : clean.at(x, y);
                rgba.insert(rgba.end(), {c.red, c.green, c.blue, alpha});
            }
        }
        return dir.write("alpha.png", pictures::encodePng(rgba, clean.width, clean.height, 4));
    };
    // Block 548 painted river, its top half transparent; the rest nearly opaque.
    const std::string halfClear = withAlpha([](int x, int y) { return y == 4 || y == 5 ? 0 : x % 2 ? 255 : 254; },
                                            river);
    CliRun run = runCli({"import", mapPath, halfClear});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out, "block,code\n548,01\n");

    const std::string clear = withAlpha([](int x, int y) { return x >= 4 && x < 8 && y >= 4 && y < 8 ? 0 : 255; }, river);
    run = runCli({"import", mapPath, clear, "--apply"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("block 548 (row 2, column 2; picture x 4 to 7, y 4 to 7): all its pixels are transparent\n"),
              std::string::npos) << run.err;
    EXPECT_EQ(TempDir::read(mapPath), original);
}

// The start of a PNG file up to its header: the decoder reads the size and
// the depth from it without a pixel.
Bytes pngHeader(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth, std::uint8_t colourType)
{
    Bytes bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (const std::uint32_t value : {width, height})
        for (const int shift : {24, 16, 8, 0})
            bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    bytes.insert(bytes.end(), {bitDepth, colourType, 0, 0, 0, 0, 0, 0, 0});
    return bytes;
}

// Bad input of every kind is named, exits with 2 and writes nothing: not the
// map, not a backup, not the edit list.
TEST_F(TerrainImport, BadInputWritesNothing)
{
    const Decoded clean = rendered(1);
    const std::string cleanPng = write("clean.png", clean);
    const Bytes png = TempDir::read(cleanPng);
    const std::string jpeg = utf8FromPath(dir.path() / "clean.jpg");
    ASSERT_EQ(runCli({"render", mapPath, jpeg}).exitCode, 0);
    Decoded wide = clean;
    wide.width = 547;
    wide.pixels.resize(547 * 387, grass);
    Decoded outside = clean;
    paintBlock(outside, 5, Rgb {1, 2, 3});
    // Block 548, grass, half river and half desert.
    Decoded tie = rendered(4);
    for (int x = 4; x < 8; ++x)
        for (int y = 4; y < 8; ++y)
            tie.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(tie.width) + static_cast<std::size_t>(x)] =
                y < 6 ? river : desert;

    const std::string pictureName = utf8FromPath(dir.path() / "picture");
    struct Case {
        std::string name;
        std::function<std::string()> picture; // its path
        std::vector<std::string> options;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"missing", [&] { return utf8FromPath(dir.path() / "nothing.png"); }, {}, "can't read PICTURE "},
        {"truncated PNG", [&] { return dir.write("picture", Bytes(png.begin(), png.begin() + png.size() / 2)); }, {},
         "can't decode PICTURE " + pictureName + ": "},
        {"not a picture", [&] { return dir.write("picture", bytesOf("block,code\n548,05\n")); }, {},
         "can't decode PICTURE " + pictureName + ": "},
        {"empty file", [&] { return dir.write("picture", {}); }, {},
         "can't decode PICTURE " + pictureName + ": the file is empty"},
        {"0 x 0", [&] { return dir.write("picture", pngHeader(0, 0, 8, 2)); }, {},
         "can't decode PICTURE " + pictureName + ": not a PNG, BMP, TGA or JPEG picture that can be read, or a damaged one"},
        {"huge", [&] { return dir.write("picture", pngHeader(9000, 8000, 8, 2)); }, {},
         "PICTURE " + pictureName + " is 9000 x 8000 pixels, over 64 Mpixel, and is not decoded; it must be 546 x 387 "
         "(one pixel a block) or 2184 x 1548 (4 x 4 pixels a block, as render draws it)"},
        {"another size", [&] { return write("picture.png", wide); }, {},
         "is 547 x 387 pixels; it must be 546 x 387 (one pixel a block) or 2184 x 1548 (4 x 4 pixels a block, as "
         "render draws it)"},
        {"twice the size", [&] { return dir.write("picture", pngHeader(1092, 774, 8, 2)); }, {}, "is 1092 x 774 pixels"},
        {"16-bit PNG", [&] { return dir.write("picture", pngHeader(2184, 1548, 16, 6)); }, {},
         "PICTURE " + pictureName + " has 16 bits a channel; the terrain colours are 8-bit: save it with 8 bits a "
         "channel"},
        {"JPEG whose Huffman table overflows the decoder's",
         [&] {
             Bytes overfull = {0xFF, 0xD8, 0xFF, 0xC4, 0x01, 0x22, 0x00};
             overfull.insert(overfull.end(), 16, 0x20); // 512 codes
             overfull.resize(overfull.size() + 512, 0x01);
             return dir.write("picture", overfull);
         },
         {"--nearest"}, "can't decode PICTURE " + pictureName + ": Corrupt JPEG: a Huffman table of more than 256 codes"},
        {"JPEG", [&] { return jpeg; }, {},
         "PICTURE " + jpeg + " is a JPEG, whose colours are only approximate, so they can't be matched exactly; "
         "--nearest takes each pixel's nearest terrain colour"},
        {"pixel of no terrain colour", [&] { return write("picture.png", outside); }, {},
         "pixel x 4, y 0 has colour #010203, no terrain colour (block 5 "},
        {"even split", [&] { return write("picture.png", tie); }, {}, "its pixels split evenly between 河流 and 沙漠"},
        {"-o names the map", [&] { return cleanPng; }, {"-o", mapPath},
         "-o names MAP or PICTURE; neither is ever overwritten"},
    };
    const std::string editsPath = utf8FromPath(dir.path() / "edits.csv");
    for (const Case& c : cases) {
        for (const bool apply : {false, true}) {
            SCOPED_TRACE(c.name + (apply ? " --apply" : ""));
            std::vector<std::string> arguments = {"import", mapPath, c.picture()};
            arguments.insert(arguments.end(), c.options.begin(), c.options.end());
            if (apply)
                arguments.push_back("--apply");
            if (c.options.empty()) {
                arguments.push_back("-o");
                arguments.push_back(editsPath);
            }
            const CliRun run = runCli(arguments);
            EXPECT_EQ(run.exitCode, 2);
            EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(TempDir::read(mapPath), original);
            EXPECT_FALSE(backupExists(mapPath));
            EXPECT_FALSE(std::filesystem::exists(pathFromUtf8(editsPath)));
        }
    }
    const CliRun run = runCli({"import", mapPath, cleanPng, "--backup", mapPath + ".old"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "quarnet-terrain import: --backup goes with --apply\n");
}

// Names outside any ANSI code page, for the map, the picture, the edit list
// and the backup.
TEST_F(TerrainImport, PathsOutsideTheAnsiCodePage)
{
    const std::string map = dir.write("地图-Ωλ.MPC", original);
    Decoded picture = rendered(4, map);
    paintBlock(picture, 548, river);
    const std::string painted = write("地形-Ωλ.png", picture);
    const std::string editsPath = utf8FromPath(dir.path() / "编辑-Ωλ.csv");
    EXPECT_EQ(runCli({"import", map, painted, "-o", editsPath}).exitCode, 1);
    EXPECT_EQ(textOf(TempDir::read(editsPath)), "block,code\n548,01\n");
    const std::string backup = utf8FromPath(dir.path() / "备份-Ωλ.MPC");
    const CliRun run = runCli({"import", map, painted, "--apply", "--backup", backup});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(TempDir::read(backup), original);
    EXPECT_EQ(TempDir::read(map)[codeAt(548)], 0x01);
}

// --apply keeps apply's promise when the disk fails halfway: the map comes
// back byte for byte.
TEST_F(TerrainImport, ApplyRestoresTheMapWhenAWriteFails)
{
    Decoded picture = rendered(1);
    for (const std::int32_t block : riverBlocks())
        paintBlock(picture, block, river);
    const std::string painted = write("painted.png", picture);
    platform::NativeFiles native;
    platform::FaultInjectingFiles files(native);
    files.failOnce(platform::FaultInjectingFiles::Operation::replaceByte, 5);
    const CliRun run = runCli({"import", mapPath, painted, "--apply"}, files);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("restored byte for byte from the backup " + mapPath + ".bak"), std::string::npos) << run.err;
    EXPECT_EQ(TempDir::read(mapPath), original);
}

} // namespace
} // namespace quarnet::testing
