// The map view without a map picture beside the program: the open map file's
// own terrain on the canvas bitmap, and the legend's colour squares.

#include "Win32Fixture.h"

#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainPalette.h"
#include "support/MapFixtures.h"

using namespace quarnet;
using namespace quarnet::testing;

namespace {

class TerrainViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::rename(picture_, away_);
        harness.make();
        mapPath_ = dir_.write("SANGO7.MPC", patternedMap());
    }
    void TearDown() override
    {
        harness.reset();
        std::filesystem::rename(away_, picture_);
    }

    void openFixture()
    {
        harness.answerNextOpenDialog(platform::utf8ToWide(mapPath_));
        harness.click("打开文件按钮");
    }

    // The canvas pixel of a block's inside, away from a marker's outline.
    Rgb insideOf(int column, int row) const
    {
        const MapView& v = harness.window().editor().state().view;
        return harness.canvasPixel((column - 1) * geometry::pictureBlockSize - v.viewLeft + 1,
                                   (row - 1) * geometry::pictureBlockSize - v.viewTop + 1);
    }

    // The legend item as the window draws it, into a bitmap of our own.
    Rgb legendSquareCentre(int index) const
    {
        HWND legend = harness.control("列表框1");
        DRAWITEMSTRUCT item {};
        item.CtlType = ODT_LISTBOX;
        item.CtlID = static_cast<UINT>(GetDlgCtrlID(legend));
        item.itemID = static_cast<UINT>(index);
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = legend;
        item.rcItem = {0, 0, 80, 16};
        HDC screen = GetDC(nullptr);
        item.hDC = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 80, 16);
        HGDIOBJ old = SelectObject(item.hDC, bitmap);
        SendMessageW(harness.window().hwnd(), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        const COLORREF centre = GetPixel(item.hDC, 2 + 5, 8); // the 10-pixel square from x 2
        SelectObject(item.hDC, old);
        DeleteObject(bitmap);
        DeleteDC(item.hDC);
        ReleaseDC(nullptr, screen);
        return {GetRValue(centre), GetGValue(centre), GetBValue(centre)};
    }

    WindowHarness harness;
    TempDir dir_;
    std::string mapPath_;
    std::filesystem::path picture_ = picturePathBesideTests();
    std::filesystem::path away_ = picture_.wstring() + L".away";
};

} // namespace

TEST_F(TerrainViewTest, BlocksShowTheFilesTerrainAndTheLegendItsColours)
{
    EXPECT_EQ(harness.window().editor().state().view.mapPicture, 0);
    EXPECT_EQ(harness.canvasPixel(100, 100), terrain::canvasBackground);
    const Rgb noSquare = legendSquareCentre(4);
    EXPECT_NE(noSquare, terrain::colour(5));

    openFixture();
    EXPECT_EQ(legendSquareCentre(4), terrain::colour(5));
    EXPECT_EQ(legendSquareCentre(0), terrain::colour(1));
    // Page (0, 0) as opened.
    for (const auto& [column, row] : {std::pair {1, 1}, {2, 1}, {1, 2}, {96, 60}, {40, 33}})
        EXPECT_EQ(insideOf(column, row), terrain::colour(patternedCode(column, row))) << column << "," << row;
    // Page (2, 1) after a calculation.
    harness.calculate("6224", "2080");
    EXPECT_EQ(harness.window().editor().state().view.viewLeft, 768);
    for (const auto& [column, row] : {std::pair {193, 61}, {288, 120}, {195, 66}})
        EXPECT_EQ(insideOf(column, row), terrain::colour(patternedCode(column, row))) << column << "," << row;

    // Closing the file empties the view and the legend's squares.
    harness.click("关闭文件按钮");
    EXPECT_EQ(insideOf(195, 66), terrain::canvasBackground);
    EXPECT_EQ(legendSquareCentre(4), noSquare);
}

TEST_F(TerrainViewTest, AWriteDrawsTheNewColourThenTheMarker)
{
    openFixture();
    harness.calculate("64", "32"); // column 3, row 2: canvas 8..11 x 4..7
    const std::uint8_t newCode = patternedCode(3, 2) == 0x13 ? 0x14 : 0x13;
    harness.setText("修改数据编辑框", newCode == 0x13 ? "13" : "14");
    harness.click("写入按钮");
    for (int y = 4; y <= 7; ++y)
        for (int x = 8; x <= 11; ++x) {
            const bool outline = x == 8 || x == 11 || y == 4 || y == 7;
            EXPECT_EQ(harness.canvasPixel(x, y), outline ? green : terrain::colour(newCode)) << x << "," << y;
        }
}
