// Pictures painted as a modder paints them, imported with --nearest (and a
// hard-edged one without):
// render's picture of the demo map, a river drawn with a soft round brush and
// rectangles filled through feathered selections, their edges anti-aliased,
// blended as linear light (as GIMP blends) or as the picture's values (as
// most editors do), saved as PNG and as JPEG. A blended edge pixel lies near
// many a third terrain colour; no block may take one.

#include "CliFixture.h"
#include "DemoTerrain.h"
#include "Pictures.h"

#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainTable.h"
#include "support/MapFixtures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <sstream>

namespace quarnet::testing {
namespace {

namespace g = geometry;

constexpr int pictureWidth = g::columns * g::pictureBlockSize;
constexpr int pictureHeight = g::rows * g::pictureBlockSize;

// The river's centre line in picture pixels: through hills, the mountains,
// grassland and forest, down to the sea.
constexpr std::array<std::pair<double, double>, 10> riverLine = {{{1150, 430},
                                                                  {1260, 520},
                                                                  {1350, 640},
                                                                  {1400, 760},
                                                                  {1450, 880},
                                                                  {1480, 1000},
                                                                  {1560, 1090},
                                                                  {1700, 1180},
                                                                  {1820, 1230},
                                                                  {1950, 1300}}};

double smoothStep(double from, double to, double x)
{
    const double t = std::clamp((x - from) / (to - from), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

double distanceToRiverLine(double x, double y)
{
    double nearest = 1e9;
    for (std::size_t i = 0; i + 1 < riverLine.size(); ++i) {
        const auto [ax, ay] = riverLine[i];
        const auto [bx, by] = riverLine[i + 1];
        const double length = (bx - ax) * (bx - ax) + (by - ay) * (by - ay);
        const double t = std::clamp(((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / length, 0.0, 1.0);
        nearest = std::min(nearest, std::hypot(x - ax - t * (bx - ax), y - ay - t * (by - ay)));
    }
    return nearest;
}

// A soft round brush along the river's line: opaque out to 3 pixels from it,
// fading to nothing at 9.
double riverBrush(double x, double y)
{
    return 1 - smoothStep(3, 9, distanceToRiverLine(x, y));
}

// A rectangle selected and feathered: the paint is half strength on its edge
// and fades over `feather` pixels either side.
std::function<double(double, double)> featheredRectangle(double left, double top, double right, double bottom,
                                                         double feather)
{
    return [=](double x, double y) {
        return smoothStep(-feather, feather, x - left) * smoothStep(-feather, feather, right - x)
               * smoothStep(-feather, feather, y - top) * smoothStep(-feather, feather, bottom - y);
    };
}

// One colour painted on the picture, and how much of it reaches each pixel,
// measured at the pixel's centre, so the edges come out anti-aliased.
struct Paint {
    Paint(std::string_view name, Rgb colour, const std::function<double(double, double)>& weightAt)
        : name(name), colour(colour), weights(static_cast<std::size_t>(pictureWidth * pictureHeight))
    {
        for (int y = 0; y < pictureHeight; ++y) {
            for (int x = 0; x < pictureWidth; ++x)
                weights[static_cast<std::size_t>(y * pictureWidth + x)] = weightAt(x + 0.5, y + 0.5);
        }
    }

    double at(int x, int y) const { return weights[static_cast<std::size_t>(y * pictureWidth + x)]; }

    std::string_view name;
    Rgb colour;
    std::vector<double> weights;
};

// The river; desert over mountains, hills, forest and a road; desert feathered
// wide over grassland, hills and sea, whose half-way blend with grassland lies
// near dry grassland's colour; dry grassland over forest, a colour that lies
// on the way from forest to desert. None overlaps another.
const std::vector<Paint>& paints()
{
    static const std::vector<Paint> all = {
        {"河流", {56, 160, 232}, riverBrush},
        {"沙漠", {222, 196, 130}, featheredRectangle(300, 1250, 520, 1430, 12)},
        {"沙漠", {222, 196, 130}, featheredRectangle(200, 900, 700, 1180, 20)},
        {"干草原", {176, 176, 96}, featheredRectangle(1200, 1300, 1450, 1450, 15)},
    };
    return all;
}

enum class Mixing { pictureValues, linearLight };

double toLight(double value)
{
    const double v = value / 255;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double toPictureValue(double light)
{
    return 255 * (light <= 0.0031308 ? light * 12.92 : 1.055 * std::pow(light, 1 / 2.4) - 0.055);
}

std::uint8_t mix(std::uint8_t under, std::uint8_t paint, double weight, Mixing mixing)
{
    const double value = mixing == Mixing::pictureValues
                             ? under + weight * (paint - under)
                             : toPictureValue(toLight(under) + weight * (toLight(paint) - toLight(under)));
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
}

void paintOn(Decoded& picture, const Paint& paint, Mixing mixing)
{
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const double weight = paint.at(x, y);
            if (weight <= 0)
                continue;
            Rgb& pixel = picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width)
                                        + static_cast<std::size_t>(x)];
            pixel = {mix(pixel.red, paint.colour.red, weight, mixing),
                     mix(pixel.green, paint.colour.green, weight, mixing),
                     mix(pixel.blue, paint.colour.blue, weight, mixing)};
        }
    }
}

// What of a paint reaches a block: the most on any of its pixels, and the
// mean over its inner pixels, the ones that vote.
struct Reach {
    double most = 0;
    double inner = 0;
};

Reach reachOf(std::int32_t block, const Paint& paint)
{
    const int left = (block - 1) % g::columns * g::pictureBlockSize;
    const int top = (block - 1) / g::columns * g::pictureBlockSize;
    Reach reach;
    for (int y = 0; y < g::pictureBlockSize; ++y) {
        for (int x = 0; x < g::pictureBlockSize; ++x) {
            const double weight = paint.at(left + x, top + y);
            reach.most = std::max(reach.most, weight);
            if (x > 0 && x < g::pictureBlockSize - 1 && y > 0 && y < g::pictureBlockSize - 1)
                reach.inner += weight / 4;
        }
    }
    return reach;
}

std::string nameOf(std::uint8_t code)
{
    return std::string(terrain::name(code).value_or("?"));
}

class SoftBrushImport : public ::testing::Test {
protected:
    // The demo map's picture with every paint painted in.
    Decoded painted(Mixing mixing)
    {
        const std::string out = utf8FromPath(dir.path() / "rendered.png");
        const CliRun run = runCli({"render", mapPath, out});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        Decoded picture = decode(out);
        EXPECT_EQ(picture.width, pictureWidth);
        for (const Paint& paint : paints())
            paintOn(picture, paint, mixing);
        return picture;
    }

    // Every block's code after importing the picture.
    std::vector<std::uint8_t> imported(const std::string& picturePath)
    {
        const std::string editsPath = utf8FromPath(dir.path() / "edits.csv");
        const CliRun run = runCli({"import", mapPath, picturePath, "--nearest", "-o", editsPath});
        EXPECT_EQ(run.exitCode, 1) << run.err;
        std::vector<std::uint8_t> after = codes;
        std::istringstream lines(textOf(TempDir::read(editsPath)));
        std::string line;
        std::getline(lines, line);
        EXPECT_EQ(line, "block,code");
        while (std::getline(lines, line)) {
            const std::size_t comma = line.find(',');
            const auto block = static_cast<std::size_t>(std::stol(line.substr(0, comma)));
            after[block - 1] = static_cast<std::uint8_t>(std::stoi(line.substr(comma + 1), nullptr, 16));
        }
        return after;
    }

    // No block takes a terrain that wasn't painted on it; a block a paint
    // covers takes it, one it barely touches doesn't; every block on the
    // river's centre line is river.
    void expectPaintedAsDrawn(const std::vector<std::uint8_t>& after) const
    {
        std::ostringstream unpainted;
        std::ostringstream misread;
        int unpaintedBlocks = 0;
        int misreadBlocks = 0;
        for (std::int32_t block = 1; block <= g::blockCount; ++block) {
            const std::uint8_t was = codes[static_cast<std::size_t>(block - 1)];
            const std::uint8_t now = after[static_cast<std::size_t>(block - 1)];
            const std::string nowName = nameOf(now);
            bool paintedHere = false;
            for (const Paint& paint : paints()) {
                const Reach reach = reachOf(block, paint);
                paintedHere = paintedHere || (reach.most > 0 && nowName == paint.name);
                const bool covered = reach.inner >= 0.75 && nowName != paint.name;
                const bool touched = reach.inner <= 0.25 && reach.most > 0 && nowName == paint.name && now != was;
                if ((covered || touched) && misreadBlocks++ < 10)
                    misread << " " << block << " " << nameOf(was) << " -> " << nowName << " under " << reach.inner
                            << " " << paint.name << ";";
            }
            if (now != was && !paintedHere && unpaintedBlocks++ < 10)
                unpainted << " " << block << " " << nameOf(was) << " -> " << nowName << ";";
        }
        EXPECT_EQ(unpaintedBlocks, 0) << "blocks that took a terrain nobody painted:" << unpainted.str();
        EXPECT_EQ(misreadBlocks, 0) << "blocks a paint covered or barely touched, read otherwise:" << misread.str();

        int broken = 0;
        for (std::size_t i = 0; i + 1 < riverLine.size(); ++i) {
            const auto [ax, ay] = riverLine[i];
            const auto [bx, by] = riverLine[i + 1];
            const double length = std::hypot(bx - ax, by - ay);
            for (double along = 0; along <= length; along += 1) {
                const auto x = static_cast<int>(ax + (bx - ax) * along / length);
                const auto y = static_cast<int>(ay + (by - ay) * along / length);
                const std::int32_t block = y / g::pictureBlockSize * g::columns + x / g::pictureBlockSize + 1;
                broken += nameOf(after[static_cast<std::size_t>(block - 1)]) != "河流";
            }
        }
        EXPECT_EQ(broken, 0) << "points of the river's centre line on blocks that are not river";
    }

    void importAsPngAndJpeg(const Decoded& picture)
    {
        for (const std::string name : {"painted.png", "painted.jpg"}) {
            SCOPED_TRACE(name);
            expectPaintedAsDrawn(imported(writePicture(dir, name, imageOf(picture))));
        }
    }

    TempDir dir;
    std::vector<std::uint8_t> codes = demo::terrainCodes();
    std::string mapPath = dir.write("SANGO7.MPC", mapFileBytes([this](std::size_t block) { return codes[block - 1]; }));
};

TEST_F(SoftBrushImport, BlendedAsLinearLight)
{
    importAsPngAndJpeg(painted(Mixing::linearLight));
}

TEST_F(SoftBrushImport, BlendedAsPictureValues)
{
    importAsPngAndJpeg(painted(Mixing::pictureValues));
}

// A rectangle painted flat in a colour picked by eye, 14 off desert's: its
// blocks take desert, the nearest terrain colour, as before soft edges were
// read; the blocks around keep theirs.
TEST_F(SoftBrushImport, AColourPickedByEyeTakesTheNearestTerrain)
{
    const std::string out = utf8FromPath(dir.path() / "rendered.png");
    ASSERT_EQ(runCli({"render", mapPath, out}).exitCode, 0);
    Decoded picture = decode(out);
    // Over hills, dry grassland and grassland.
    const int left = 1200;
    const int top = 600;
    const int size = 80;
    for (int y = top; y < top + size; ++y) {
        for (int x = left; x < left + size; ++x)
            picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width)
                           + static_cast<std::size_t>(x)] = Rgb {230, 190, 120};
    }
    for (const std::string name : {"by-eye.png", "by-eye.jpg"}) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> after = imported(writePicture(dir, name, imageOf(picture)));
        int wrong = 0;
        for (std::int32_t block = 1; block <= g::blockCount; ++block) {
            const int column = (block - 1) % g::columns * g::pictureBlockSize;
            const int row = (block - 1) / g::columns * g::pictureBlockSize;
            const bool inside = column >= left && column < left + size && row >= top && row < top + size;
            const std::uint8_t now = after[static_cast<std::size_t>(block - 1)];
            wrong += inside ? nameOf(now) != "沙漠" : now != codes[static_cast<std::size_t>(block - 1)];
        }
        EXPECT_EQ(wrong, 0);
    }
}

// A plain ellipse of desert painted with a hard brush, imported exactly: a
// block that most of its pixels show desert takes it; one that the edge
// halves keeps its own terrain, and the summary counts it.
TEST_F(SoftBrushImport, AHardEdgedEllipseKeepsTheBlocksItHalves)
{
    // Centre (1000, 700) in picture pixels, half-axes 46 across and 30 down,
    // over forest, grassland, hills and a road.
    constexpr double centreX = 1000;
    constexpr double centreY = 700;
    constexpr double halfWidth = 46;
    constexpr double halfHeight = 30;
    constexpr Rgb desert {222, 196, 130};
    const std::string out = utf8FromPath(dir.path() / "rendered.png");
    ASSERT_EQ(runCli({"render", mapPath, out}).exitCode, 0);
    Decoded picture = decode(out);
    std::map<std::int32_t, int> inside; // painted pixels by block
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const double dx = (x + 0.5 - centreX) / halfWidth;
            const double dy = (y + 0.5 - centreY) / halfHeight;
            if (dx * dx + dy * dy > 1)
                continue;
            picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width)
                           + static_cast<std::size_t>(x)] = desert;
            ++inside[y / g::pictureBlockSize * g::columns + x / g::pictureBlockSize + 1];
        }
    }
    std::vector<std::uint8_t> expected = codes;
    int kept = 0;
    int changed = 0;
    for (const auto& [block, pixels] : inside) {
        std::uint8_t& code = expected[static_cast<std::size_t>(block - 1)];
        if (nameOf(code) == "沙漠")
            continue;
        kept += pixels == 8;
        if (pixels > 8) {
            code = 0x0E;
            ++changed;
        }
    }
    EXPECT_EQ(kept, 12);
    EXPECT_EQ(changed, 264);

    const std::string picturePath = writePicture(dir, "ellipse.png", imageOf(picture));
    const CliRun run = runCli({"import", mapPath, picturePath, "--apply"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("import: 264 blocks change terrain:"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("import: 12 blocks split evenly between their present terrain and another keep their "
                           "present terrain\n"),
              std::string::npos)
        << run.err;
    const std::vector<std::uint8_t> map = TempDir::read(mapPath);
    int differing = 0;
    for (std::int32_t block = 1; block <= g::blockCount; ++block)
        differing += map[codeOffset(static_cast<std::size_t>(block))] != expected[static_cast<std::size_t>(block - 1)];
    EXPECT_EQ(differing, 0);
}

} // namespace
} // namespace quarnet::testing
