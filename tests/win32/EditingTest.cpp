// The typical edit and the map view through the real Windows controls:
// clicks, keys and mouse messages as a user sends them.

#include "Win32Fixture.h"

#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainPalette.h"
#include "support/MapFixtures.h"

#include <fstream>
#include <map>

using namespace quarnet;
using namespace quarnet::testing;

namespace {

// A map file whose block n holds code n % 34 + 1, opened through the dialog.
class EditingTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        original_ = mapFileBytes([](std::size_t block) { return static_cast<std::uint8_t>(block % 34 + 1); });
        path_ = dir_.write("SANGO7.MPC", original_);
    }

    void openMap()
    {
        harness.answerNextOpenDialog(platform::utf8ToWide(path_));
        harness.click("打开文件按钮");
        ASSERT_TRUE(harness.window().editor().isMapFileOpen());
    }

    // Every byte that differs from the original, by offset.
    std::map<std::size_t, std::uint8_t> changes() const { return changedBytes(original_, TempDir::read(path_)); }

    // Chooses a city with the keyboard in the closed box: the item before it,
    // then the arrow down.
    void chooseCity(int index) const
    {
        HWND cities = harness.control("城池选择组合框");
        SendMessageW(cities, CB_SETCURSEL, static_cast<WPARAM>(index - 1), 0);
        SendMessageW(cities, WM_KEYDOWN, VK_DOWN, 0);
        SendMessageW(cities, WM_KEYUP, VK_DOWN, 0);
    }

    // The current block's 4 x 4 pixels and their ring: true where the marker's
    // outline lies in the colour given, the others not in it.
    ::testing::AssertionResult markerIs(Rgb colour) const
    {
        const MapView& v = harness.window().editor().state().view;
        const int left = v.viewBlockXMin - v.viewLeft;
        const int top = v.viewBlockYMin - v.viewTop;
        for (int y = top - 1; y <= top + 4; ++y)
            for (int x = left - 1; x <= left + 4; ++x) {
                const bool outline = x >= left && x <= left + 3 && y >= top && y <= top + 3
                                     && (x == left || x == left + 3 || y == top || y == top + 3);
                if ((harness.canvasPixel(x, y) == colour) != outline)
                    return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is "
                                                         << harness.canvasPixel(x, y);
            }
        return ::testing::AssertionSuccess();
    }

    TempDir dir_;
    std::vector<std::uint8_t> original_;
    std::string path_;
};

} // namespace

TEST_F(EditingTest, TypicalEditChangesOneByteAndMarksGreen)
{
    openMap();
    chooseCity(0); // 001.西凉 at 519, 351: column 17, row 11
    EXPECT_EQ(harness.text("起始像素点X编辑框"), "519");
    EXPECT_EQ(harness.text("起始像素点Y编辑框"), "351");
    EXPECT_EQ(harness.text("当前区块序号编辑框"), "5477");

    harness.setText("步长编辑框", "2");
    harness.click("右移按钮");
    const int block = harness.window().editor().state().calculator.currentBlockNumber;
    ASSERT_EQ(block, 5479);
    const std::size_t offset = 68 + std::size_t(block - 1) * 8;
    ASSERT_NE(original_[offset], 0x02);

    // The guides' example: "02 雪原".
    harness.doubleClickLegendItem(1);
    EXPECT_EQ(harness.text("修改数据编辑框"), "02");
    harness.click("写入按钮");
    EXPECT_EQ(changes(), (std::map<std::size_t, std::uint8_t> {{offset, 0x02}}));
    EXPECT_EQ(harness.text("标签19"), "当前地形:雪原\r\n\r\n地形代码:02");
    EXPECT_TRUE(markerIs(green));

    harness.click("关闭退出按钮");
    EXPECT_EQ(harness.exitCode, std::optional<int>(0));
    EXPECT_EQ(changes().size(), 1u);
}

TEST_F(EditingTest, RefusedWritesAreRed)
{
    harness.calculate("0", "0");
    harness.click("写入按钮"); // " 07", no file open
    EXPECT_TRUE(markerIs(red));

    openMap();
    harness.calculate("0", "0");
    harness.doubleClickLegendItem(4);
    harness.files.failWrites(true);
    harness.click("写入按钮");
    EXPECT_TRUE(markerIs(red));
    EXPECT_TRUE(changes().empty());

    harness.files.failWrites(false);
    harness.files.failFlushes(true);
    harness.click("写入按钮");
    EXPECT_TRUE(markerIs(red));

    harness.files.failFlushes(false);
    harness.click("写入按钮");
    EXPECT_TRUE(markerIs(green));
    EXPECT_EQ(changes(), (std::map<std::size_t, std::uint8_t> {{68, 0x05}}));
}

TEST_F(EditingTest, LegendNeedsADoubleClick)
{
    HWND legend = harness.control("列表框1");
    RECT item;
    SendMessageW(legend, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    SendMessageW(legend, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(legend, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(SendMessageW(legend, LB_GETCURSEL, 0, 0), 2);
    SendMessageW(legend, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(harness.text("修改数据编辑框"), " 07");
    harness.doubleClickLegendItem(28);
    EXPECT_EQ(harness.text("修改数据编辑框"), "1D");
    harness.doubleClickLegendItem(30);
    EXPECT_EQ(harness.text("修改数据编辑框"), "1F");
}

TEST_F(EditingTest, CityChosenFromTheDroppedListOnlyWhenConfirmed)
{
    HWND cities = harness.control("城池选择组合框");
    SendMessageW(cities, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(cities, CB_SETCURSEL, 96, 0);
    SendMessageW(cities, WM_KEYDOWN, VK_DOWN, 0); // browsing the open list
    EXPECT_EQ(harness.text("起始像素点X编辑框"), "");
    SendMessageW(cities, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(SendMessageW(cities, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    EXPECT_EQ(SendMessageW(cities, CB_GETCURSEL, 0, 0), 97);
    EXPECT_EQ(harness.text("起始像素点X编辑框"), "17243");
    EXPECT_EQ(harness.text("起始像素点Y编辑框"), "3643");
    const MapView& v = harness.window().editor().state().view;
    EXPECT_EQ(v.viewPageColumn, 5);
    EXPECT_EQ(v.viewPageRow, 1);
    EXPECT_TRUE(closeTo(harness.canvasPixel(5, 5), pageColour(5, 1)));
    EXPECT_TRUE(markerIs(black)); // the canvas's default colour
}

// Keys pressed as the keyboard presses them: through the system's input
// queue to the window with the focus.
void pressKey(WORD key, bool alt = false)
{
    std::vector<INPUT> inputs;
    const auto add = [&inputs](WORD virtualKey, DWORD flags) {
        INPUT input {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    if (alt)
        add(VK_MENU, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (alt)
        add(VK_MENU, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    pumpMessages();
}

// The list dropped, browsed with the arrow keys and closed by Esc: the box
// shows the city chosen last, or none, and the window stays where it was.
TEST_F(EditingTest, CityListClosedByEscapeKeepsTheChosenCity)
{
    HWND window = harness.window().hwnd();
    HWND cities = harness.control("城池选择组合框");
    // Keys reach only a shown window with the focus.
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(cities);
    pumpMessages();
    ASSERT_EQ(GetFocus(), cities);
    const auto browseAndEscape = [cities] {
        pressKey(VK_DOWN, true); // Alt+Down drops the list
        ASSERT_TRUE(SendMessageW(cities, CB_GETDROPPEDSTATE, 0, 0));
        pressKey(VK_DOWN);
        pressKey(VK_DOWN);
        pressKey(VK_ESCAPE);
        ASSERT_FALSE(SendMessageW(cities, CB_GETDROPPEDSTATE, 0, 0));
    };

    browseAndEscape();
    EXPECT_EQ(SendMessageW(cities, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(harness.text("起始像素点X编辑框"), "");

    pressKey(VK_DOWN); // the closed box stepped: a choice
    const LRESULT chosen = SendMessageW(cities, CB_GETCURSEL, 0, 0);
    ASSERT_NE(chosen, CB_ERR);
    const std::string x = harness.text("起始像素点X编辑框");
    ASSERT_NE(x, "");
    const MapView before = harness.window().editor().state().view;
    browseAndEscape();
    EXPECT_EQ(SendMessageW(cities, CB_GETCURSEL, 0, 0), chosen);
    EXPECT_EQ(harness.text("起始像素点X编辑框"), x);
    EXPECT_EQ(harness.window().editor().state().view.viewBlockXMin, before.viewBlockXMin);
    ShowWindow(window, SW_HIDE);
}

TEST_F(EditingTest, LastBlockPageAndLocateMarker)
{
    harness.calculate("17471", "12383");
    const MapView& v = harness.window().editor().state().view;
    EXPECT_EQ(v.viewLeft, 1920);
    EXPECT_EQ(v.viewRight, 2303);
    EXPECT_EQ(v.viewTop, 1440);
    EXPECT_EQ(v.viewBottom, 1679);
    // The picture covers the canvas only up to x 263 and y 107; beyond it the
    // earlier page stays.
    EXPECT_TRUE(closeTo(harness.canvasPixel(5, 5), pageColour(5, 6)));
    EXPECT_TRUE(closeTo(harness.canvasPixel(258, 102), pageColour(5, 6)));
    EXPECT_TRUE(closeTo(harness.canvasPixel(270, 5), pageColour(0, 0)));
    EXPECT_TRUE(closeTo(harness.canvasPixel(5, 114), pageColour(0, 0)));

    harness.click("定位按钮");
    EXPECT_TRUE(markerIs(white)); // canvas 260..263 x 104..107
    EXPECT_EQ(harness.canvasPixel(260, 104), white);
    EXPECT_EQ(harness.canvasPixel(263, 107), white);
}

TEST_F(EditingTest, LocateMarksAndRedrawsOnAnotherPage)
{
    harness.click("定位按钮"); // before any calculation: nothing
    EXPECT_TRUE(closeTo(harness.canvasPixel(1, 1), pageColour(0, 0)));

    harness.calculate("0", "0");
    harness.click("定位按钮");
    harness.click("右移按钮");
    harness.click("定位按钮");
    EXPECT_EQ(harness.canvasPixel(0, 0), white); // two markers on one page
    EXPECT_EQ(harness.canvasPixel(4, 0), white);
    harness.click("起始区块位置计算按钮"); // a calculation redraws the page
    EXPECT_TRUE(closeTo(harness.canvasPixel(0, 0), pageColour(0, 0)));
    EXPECT_TRUE(closeTo(harness.canvasPixel(4, 0), pageColour(0, 0)));

    harness.calculate("3040", "0"); // column 96, the last of page column 0
    harness.click("右移按钮");
    EXPECT_TRUE(closeTo(harness.canvasPixel(1, 1), pageColour(0, 0))); // moves never touch the view
    harness.click("定位按钮");
    EXPECT_EQ(harness.window().editor().state().view.viewLeft, 384);
    EXPECT_EQ(harness.canvasPixel(0, 0), white);
    EXPECT_TRUE(closeTo(harness.canvasPixel(10, 10), pageColour(1, 0)));
}

TEST_F(EditingTest, MouseCoordinatesAndRightClickPick)
{
    harness.moveMouse(0, 0);
    EXPECT_EQ(harness.text("标签20"), "座标:0,0");
    harness.moveMouse(100, 50);
    EXPECT_EQ(harness.text("标签20"), "座标:800,400");

    harness.calculate("6224", "2080"); // page (2, 1)
    EXPECT_TRUE(closeTo(harness.canvasPixel(5, 5), pageColour(2, 1)));
    harness.moveMouse(100, 50);
    EXPECT_EQ(harness.text("标签20"), "座标:6944,2320");

    harness.setText("起始像素点X编辑框", "");
    harness.rightClick(10, 20);
    EXPECT_EQ(harness.text("起始像素点X编辑框"), "6224");
    EXPECT_EQ(harness.text("起始像素点Y编辑框"), "2080");
    EXPECT_EQ(harness.text("当前区块序号编辑框"), "35685"); // row 66, column 195
    EXPECT_EQ(harness.text("标签20"), "座标:6944,2320");    // untouched by the pick

    // A left click does nothing.
    harness.setText("起始像素点X编辑框", "1");
    harness.leftClickOnCanvas(30, 30);
    EXPECT_EQ(harness.text("起始像素点X编辑框"), "1");
}

TEST_F(EditingTest, RightClickBeyondThePictureIsRefused)
{
    harness.calculate("17471", "0"); // page (5, 0)
    harness.rightClick(263, 0);
    EXPECT_EQ(harness.text("起始像素点X编辑框"), "17464");
    EXPECT_EQ(harness.text("当前区块列号编辑框"), "546");
    harness.setText("当前区块列号编辑框", "unchanged");
    harness.rightClick(264, 0);
    EXPECT_EQ(harness.text("起始像素点X编辑框"), "17472");
    EXPECT_EQ(harness.text("当前区块列号编辑框"), "unchanged");
}
