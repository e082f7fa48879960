#include "Win32Fixture.h"

#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainPalette.h"
#include "support/MapFixtures.h"
#include "support/TempDir.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>

namespace quarnet::testing {
namespace {

constexpr int pageColumns = 6;
constexpr int pageRows = 7;
// What "at once" means for closing the window during the decode: well
// below what decoding the rest takes, with room for a loaded machine.
constexpr std::chrono::milliseconds closingBound {300};

std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string truncated(const std::string& jpeg, double kept)
{
    return jpeg.substr(0, std::size_t(double(jpeg.size()) * kept));
}

// A marker of no known kind amid the image data.
std::string corrupt(const std::string& jpeg, double at)
{
    std::string bytes = jpeg;
    const std::size_t from = std::size_t(double(bytes.size()) * at);
    bytes[from] = char(0xFF);
    bytes[from + 1] = char(0x24);
    return bytes;
}

// The picture as a whole decode gives it.
struct WholePicture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

// The part of page (column, row) that the picture covers, from the canvas,
// against the whole picture; empty when they are equal.
std::string pageDifference(const win32::CanvasWindow& canvas, const WholePicture& picture, int column, int row)
{
    const int left = column * geometry::pageWidth;
    const int top = row * geometry::pageHeight;
    for (int y = top; y < std::min(top + geometry::pageHeight, picture.height); ++y)
        for (int x = left; x < std::min(left + geometry::pageWidth, picture.width); ++x)
            if (canvas.pixel(x - left, y - top) != picture.at(x, y)) {
                std::ostringstream out;
                out << "page (" << column << ", " << row << ") differs at picture pixel (" << x << ", " << y
                    << "): " << canvas.pixel(x - left, y - top) << " instead of " << picture.at(x, y);
                return out.str();
            }
    return {};
}

// The map picture decodes its first page first and the rest later: what is
// drawn is always the picture's own pixels, and a picture that fails past
// its first page behaves as one that failed to load. The noise picture
// stands beside the tests for each test, the paged one again after it.
class PictureLoadingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(writeNoisePicture(picturePathBesideTests()));
        const auto pixels = decodeWhole(picturePathBesideTests(), picture.width, picture.height);
        ASSERT_TRUE(pixels);
        picture.pixels = *pixels;
    }

    void TearDown() override
    {
        harness.reset();
        writePagedPicture(picturePathBesideTests());
    }

    win32::MainWindow& makeHeldWindow()
    {
        return harness.make([](win32::MainWindow& window) { window.canvas().pictures().holdRests(true); });
    }

    WindowHarness harness;
    WholePicture picture;
};

// Each page, reached through the calculator, equals the picture; the first
// page moves come before the rest has decoded (held) or while it decodes.
TEST_F(PictureLoadingTest, EveryPageIsThePicture)
{
    for (const bool held : {true, false}) {
        SCOPED_TRACE(held ? "rest held back until a page needs it" : "rest decoding from the start");
        win32::MainWindow& window = makeHeldWindow();
        const int number = window.editor().state().view.mapPicture;
        ASSERT_NE(number, 0);
        EXPECT_EQ(pageDifference(window.canvas(), picture, 0, 0), "");
        if (held)
            EXPECT_FALSE(window.canvas().pictures().isWhole(number));
        else
            window.canvas().pictures().holdRests(false);
        for (int row = pageRows - 1; row >= 0; --row) {
            for (int column = 0; column < pageColumns; ++column) {
                harness.calculate(std::to_string(column * geometry::pageWidth * geometry::pictureScale).c_str(),
                                  std::to_string(row * geometry::pageHeight * geometry::pictureScale).c_str());
                ASSERT_EQ(window.editor().state().view.viewPageColumn, column);
                ASSERT_EQ(window.editor().state().view.viewPageRow, row);
                ASSERT_EQ(pageDifference(window.canvas(), picture, column, row), "");
            }
        }
        EXPECT_TRUE(window.canvas().pictures().isWhole(number));
        EXPECT_EQ(window.editor().state().view.mapPicture, number);
    }
}

// A picture that fails past its first page, as a whole decode fails it: at
// most the first page shows it; once the failure is known, the canvas shows
// what a picture that failed to load shows: the background, and the terrain
// with a file.
TEST_F(PictureLoadingTest, PictureFailingPastItsFirstPage)
{
    const std::string jpeg = fileBytes(picturePathBesideTests());
    struct Case {
        const char* name;
        std::string bytes;
    };
    for (const Case& broken : {Case {"truncated", truncated(jpeg, 0.6)}, Case {"corrupt", corrupt(jpeg, 0.6)}}) {
        for (const bool foundByAPageMove : {false, true}) {
            SCOPED_TRACE(std::string(broken.name) + (foundByAPageMove ? ", found by a page move" : ", found while idle"));
            writeBytes(picturePathBesideTests(), broken.bytes);
            WholePicture today;
            const auto decoded = decodeWhole(picturePathBesideTests(), today.width, today.height);
            win32::MainWindow& window = makeHeldWindow();
            if (decoded) {
                // A decoder that takes the damage as a warning (wine's takes
                // the stray marker so) gives grey rows: the pages are those
                // of its whole decode, as before.
                today.pixels = *decoded;
                EXPECT_EQ(pageDifference(window.canvas(), today, 0, 0), "");
                harness.calculate("3072", "1920");
                EXPECT_EQ(pageDifference(window.canvas(), today, 1, 1), "");
                EXPECT_NE(window.editor().state().view.mapPicture, 0);
                harness.reset();
                continue;
            }
            // A decoder that decodes all rows before it gives the first ones
            // (wine's) fails the load at once; one that gives them first
            // shows the first page.
            if (window.editor().state().view.mapPicture != 0)
                EXPECT_EQ(pageDifference(window.canvas(), picture, 0, 0), "");
            else
                EXPECT_EQ(harness.canvasPixel(10, 10), terrain::canvasBackground);
            TempDir dir;
            const std::string map = dir.write("SANGO7.MPC", mapFileBytes([](std::size_t) { return std::uint8_t {3}; }));
            if (foundByAPageMove) {
                harness.answerNextOpenDialog(platform::utf8ToWide(map));
                harness.click("打开文件按钮");
                harness.calculate("3072", "1920"); // page (1, 1)
                EXPECT_EQ(window.editor().state().view.mapPicture, 0);
                EXPECT_EQ(harness.canvasPixel(10, 10), terrain::colour(3));
            } else {
                harness.finishPictureDecode();
                EXPECT_EQ(window.editor().state().view.mapPicture, 0);
                EXPECT_EQ(harness.canvasPixel(10, 10), terrain::canvasBackground);
                harness.calculate("3072", "1920");
                EXPECT_EQ(harness.canvasPixel(10, 10), terrain::canvasBackground);
            }
            EXPECT_EQ(harness.text("当前区块序号编辑框"), "32857");
            harness.click("关闭退出按钮");
            EXPECT_EQ(harness.exitCode, std::optional<int>(0));
            harness.reset();
        }
    }
}

// Closing while the rest is held back or decoding ends at once with 0: the
// worker is stopped, not waited for to the end. The rest's decode is held
// part way, so it is surely under way when the window closes; a stop that
// waited for it would never end. Closed by 关闭退出按钮, which the title
// bar's close runs too before it destroys the window: destroying the 65
// controls takes tens of milliseconds of server round trips under wine.
TEST_F(PictureLoadingTest, ClosingDuringTheDecode)
{
    for (const bool started : {false, true}) {
        SCOPED_TRACE(started ? "rest decoding" : "rest not started");
        win32::MainWindow& window = makeHeldWindow();
        LoadedPictures& pictures = window.canvas().pictures();
        const int number = window.editor().state().view.mapPicture;
        PictureDecode* decode = pictures.find(number);
        ASSERT_NE(decode, nullptr);
        if (started) {
            decode->holdRestPartWay();
            pictures.holdRests(false);
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (!decode->restHeldPartWay() && std::chrono::steady_clock::now() < giveUp)
                Sleep(1);
            ASSERT_TRUE(decode->restHeldPartWay());
        }
        const auto closing = std::chrono::steady_clock::now();
        harness.click("关闭退出按钮");
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - closing);
        EXPECT_LT(took, closingBound) << "closing took " << took.count() << " ms";
        EXPECT_EQ(pictures.find(number), nullptr); // its worker ended
        EXPECT_EQ(harness.exitCode, std::optional<int>(0));
        harness.reset();
    }
}

// A map shows the picture in its own folder, else the one beside the
// program; opened by the dialog, a drop or the program's argument, and back
// to the program's when it closes.
TEST_F(PictureLoadingTest, EachMapShowsThePictureBesideIt)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "demo");
    std::filesystem::create_directories(dir.path() / "elsewhere");
    // Each with the system's separators, as the dialog gives them.
    const std::string demoMap = dir.write(utf8FromPath(std::filesystem::path("demo") / "SANGO7.MPC"), patternedMap());
    const std::string otherMap = dir.write(utf8FromPath(std::filesystem::path("elsewhere") / "SANGO7.MPC"), patternedMap());
    const std::filesystem::path demoPicture = dir.path() / "demo" / "SANGO7.0.125.jpg";
    ASSERT_TRUE(writePagedPicture(demoPicture));
    WholePicture paged;
    const auto pixels = decodeWhole(demoPicture, paged.width, paged.height);
    ASSERT_TRUE(pixels);
    paged.pixels = *pixels;
    const auto shownFile = [this] { return harness.window().editor().state().view.mapPictureFile; };

    win32::MainWindow& window = harness.make();
    EXPECT_EQ(pageDifference(window.canvas(), picture, 0, 0), "");
    harness.answerNextOpenDialog(platform::utf8ToWide(demoMap));
    harness.click("打开文件按钮");
    EXPECT_EQ(shownFile(), utf8FromPath(demoPicture));
    EXPECT_EQ(pageDifference(window.canvas(), paged, 0, 0), "");
    SendMessageW(window.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(shellDrop({platform::utf8ToWide(otherMap)})), 0);
    EXPECT_EQ(shownFile(), utf8FromPath(picturePathBesideTests()));
    EXPECT_EQ(pageDifference(window.canvas(), picture, 0, 0), "");
    window.openMapFile(platform::utf8ToWide(demoMap));
    EXPECT_EQ(pageDifference(window.canvas(), paged, 0, 0), "");
    harness.click("关闭文件按钮");
    EXPECT_EQ(pageDifference(window.canvas(), picture, 0, 0), "");
    harness.reset();

    // Nothing beside the program: the other map's terrain, then the empty view.
    std::filesystem::remove(picturePathBesideTests());
    win32::MainWindow& bare = harness.make();
    EXPECT_EQ(bare.editor().state().view.mapPicture, 0);
    bare.openMapFile(platform::utf8ToWide(otherMap));
    EXPECT_EQ(bare.editor().state().view.mapPicture, 0);
    EXPECT_EQ(harness.canvasPixel(1, 1), terrain::colour(patternedCode(1, 1)));
    bare.openMapFile(platform::utf8ToWide(demoMap));
    EXPECT_EQ(pageDifference(bare.canvas(), paged, 0, 0), "");
    harness.click("关闭文件按钮");
    EXPECT_EQ(bare.editor().state().view.mapPicture, 0);
    EXPECT_EQ(harness.canvasPixel(1, 1), terrain::canvasBackground);
    harness.reset();

    // Started with the demo's path: its picture is the first and only one
    // decoded.
    ASSERT_TRUE(writeNoisePicture(picturePathBesideTests()));
    win32::MainWindow started(harness.files, {}, platform::utf8ToWide(demoMap));
    EXPECT_EQ(started.editor().state().view.mapPicture, 1);
    EXPECT_EQ(started.editor().state().view.mapPictureFile, utf8FromPath(demoPicture));
    EXPECT_TRUE(started.editor().isMapFileOpen());
    EXPECT_EQ(pageDifference(started.canvas(), paged, 0, 0), "");
}

// A file that ends inside the first band fails the load at once.
TEST_F(PictureLoadingTest, PictureEndingInItsFirstBandFailsToLoad)
{
    writeBytes(picturePathBesideTests(), truncated(fileBytes(picturePathBesideTests()), 0.05));
    win32::MainWindow& window = harness.make();
    EXPECT_EQ(window.editor().state().view.mapPicture, 0);
    EXPECT_EQ(harness.canvasPixel(10, 10), terrain::canvasBackground);
}

} // namespace
} // namespace quarnet::testing
