// The first-minute hint on the Windows canvas: on the empty canvas only, in
// the window's font, with the user's demo copy named when there is one.

#include "Win32Fixture.h"

#include "editor/StartHint.h"
#include "mapfile/TerrainPalette.h"
#include "platform/UserFolders.h"
#include "support/HintInk.h"
#include "support/TempDir.h"

#include <fstream>

using namespace quarnet;
using namespace quarnet::testing;

namespace {

std::vector<std::pair<int, int>> inkBands(const win32::CanvasWindow& canvas)
{
    return quarnet::testing::inkBands(canvas.width(), canvas.height(), [&canvas](int x, int y) {
        const Rgb c = canvas.pixel(x, y);
        return isHintInk(c.red, c.green, c.blue);
    });
}

class StartHintTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::rename(picture_, away_); }
    void TearDown() override
    {
        harness.reset();
        std::filesystem::rename(away_, picture_);
    }

    WindowHarness harness;
    TempDir dir_;
    std::filesystem::path picture_ = picturePathBesideTests();
    std::filesystem::path away_ = picture_.wstring() + L".away";
};

} // namespace

TEST_F(StartHintTest, OnTheEmptyCanvasUntilAMapOpens)
{
    harness.make();
    const win32::CanvasWindow& canvas = harness.window().canvas();
    // One line, centred, the rest of the canvas empty.
    const auto bands = inkBands(canvas);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_NEAR((bands[0].first + bands[0].second) / 2, canvas.height() / 2, 4);
    EXPECT_EQ(harness.canvasPixel(10, 10), terrain::canvasBackground);
    EXPECT_EQ(harness.canvasPixel(10, 120), terrain::canvasBackground);

    // A marker goes over it, and the hint stays around it.
    harness.calculate("1536", "960"); // canvas 192..195 x 120..123
    harness.click("定位按钮");
    EXPECT_EQ(harness.canvasPixel(192, 120), white);
    EXPECT_EQ(inkBands(canvas).size(), 1u);

    // All deep sea: nothing light is left once the map is open.
    const std::string map = dir_.write("SANGO7.MPC", mapFileBytes([](std::size_t) { return std::uint8_t {0x0D}; }));
    harness.answerNextOpenDialog(platform::utf8ToWide(map));
    harness.click("打开文件按钮");
    EXPECT_TRUE(inkBands(canvas).empty());
    harness.calculate("6224", "2080");
    EXPECT_TRUE(inkBands(canvas).empty());

    harness.click("关闭文件按钮");
    EXPECT_EQ(inkBands(canvas).size(), 1u);
}

TEST_F(StartHintTest, NeverOverThePicture)
{
    std::filesystem::rename(away_, picture_);
    harness.make();
    harness.finishPictureDecode();
    EXPECT_NE(harness.window().editor().state().view.mapPicture, 0);
    EXPECT_TRUE(inkBands(harness.window().canvas()).empty());
    harness.calculate("6224", "2080");
    harness.click("关闭文件按钮");
    EXPECT_TRUE(inkBands(harness.window().canvas()).empty());
    std::filesystem::rename(picture_, away_);
}

// The installed program's copy of the demo in Documents: the hint's second
// line names it, and the open dialog starts at it.
TEST_F(StartHintTest, NamesTheUsersDemoCopyWhereTheDialogStarts)
{
    const std::filesystem::path folder = pathFromUtf8(platform::userDemoFolder());
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "SANGO7.MPC") << "map";
    harness.make();
    std::error_code ignored;
    std::filesystem::remove_all(folder.parent_path(), ignored);

    const std::string demo = utf8FromPath(folder / "SANGO7.MPC");
    EXPECT_EQ(harness.window().editor().state().demoMapPath, demo);
    EXPECT_EQ(harness.window().openDialog().proposedPath(), platform::utf8ToWide(demo));
    EXPECT_EQ(inkBands(harness.window().canvas()).size(), 2u);
}
