// Every caption and every text the program shows fits whole inside its
// control: laid out by DrawTextW with the flags the control itself draws it
// with, in its font, at its size, at 100 %, 125 %, 150 % and 200 % display
// scaling. Run once in each of the test prefixes' font set-ups (with SimSun,
// and without it, as on an English Windows); each case notes the font the
// window chose.

#include "Win32Fixture.h"

#include "DialogFont.h"
#include "DpiScale.h"
#include "layout/ControlTable.h"
#include "support/TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

using namespace quarnet;
using namespace quarnet::testing;
using layout::ControlEntry;
using layout::ControlKind;

namespace {

// The window in a state that shows some of the widest texts its controls get.
enum class Scene {
    StartUp,   // captions and initial texts
    LastPixel, // the map's last pixel calculated without a file: widest numbers, "file not open" report
    OpenFile,  // the same with a map file of the longest terrain name open
};

std::string describe(const std::wstring& text, const RECT& needed, const RECT& inside)
{
    std::ostringstream out;
    out << "\"" << platform::wideToUtf8(text) << "\" needs " << needed << " inside " << inside;
    return out.str();
}

// The flags a static control draws its text with, from its styles.
UINT staticTextFlags(LONG_PTR style)
{
    UINT flags = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        flags |= DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        flags |= DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_LEFTNOWORDWRAP:
        flags |= DT_LEFT;
        break;
    default:
        flags |= DT_LEFT | DT_WORDBREAK;
        break;
    }
    if (style & SS_NOPREFIX)
        flags |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE)
        flags |= DT_SINGLELINE | DT_VCENTER;
    return flags;
}

// Where a control draws its text, and with which DrawText flags.
void textPlaceOf(HWND control, ControlKind kind, UINT dpi, RECT& inside, UINT& flags)
{
    GetClientRect(control, &inside);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    switch (kind) {
    case ControlKind::Label:
        flags = staticTextFlags(style);
        break;
    case ControlKind::Button: {
        // A push button keeps its edge and its focus rectangle clear of text.
        const int edge = win32::scaled(3, dpi);
        InflateRect(&inside, -edge, -edge);
        flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        break;
    }
    default:
        // An edit box's formatting rectangle.
        SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&inside));
        flags = DT_SINGLELINE | DT_NOPREFIX;
        break;
    }
}

// Empty when the control's text stays inside it, else what overflows.
std::string overflow(HWND control, ControlKind kind, UINT dpi)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    // A final line break starts an empty line: nothing shows there.
    while (text.ends_with(L"\r\n"))
        text.resize(text.size() - 2);
    if (text.empty())
        return {};
    RECT inside;
    UINT flags = 0;
    textPlaceOf(control, kind, dpi, inside, flags);

    // Laid out exactly at the control's width: the lines it breaks into
    // are the ones the control draws.
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed = inside;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, flags | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    const bool fits = needed.right - needed.left <= inside.right - inside.left
                      && needed.bottom - needed.top <= inside.bottom - inside.top;
    return fits ? std::string() : describe(text, needed, inside);
}

struct FitCase {
    Scene scene;
    UINT dpi;
};

std::string caseName(const ::testing::TestParamInfo<FitCase>& info)
{
    const char* scenes[] = {"StartUp", "LastPixel", "OpenFile"};
    return std::string(scenes[static_cast<int>(info.param.scene)]) + "At" + std::to_string(info.param.dpi);
}

class CaptionFitTest : public ::testing::TestWithParam<FitCase> {
protected:
    // Puts the window into its scene, then onto a monitor of the scale.
    void SetUp() override
    {
        win32::MainWindow& window = harness_.make();
        const Scene scene = GetParam().scene;
        if (scene == Scene::OpenFile) {
            // Every block holds 1E, the code with the longest name.
            const std::string path =
                dir_.write("SANGO7.MPC", mapFileBytes([](std::size_t) { return std::uint8_t {0x1E}; }));
            harness_.answerNextOpenDialog(platform::utf8ToWide(path));
            harness_.click("打开文件按钮");
        }
        if (scene != Scene::StartUp) {
            harness_.calculate("17471", "12383");
            harness_.moveMouse(383, 239); // the last picture pixel: the widest coordinates
        }
        if (scene == Scene::LastPixel) {
            harness_.setText("修改数据编辑框", "FF");
            harness_.click("写入按钮"); // refused: the out-of-range message
        }
        const UINT dpi = GetParam().dpi;
        if (dpi != win32::baseDpi) {
            RECT suggested {0, 0, win32::scaled(757, dpi), win32::scaled(542, dpi)};
            SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        }
        ASSERT_EQ(window.dpi(), dpi);
    }

    void TearDown() override { harness_.reset(); }

    WindowHarness harness_;
    TempDir dir_;
};

TEST_P(CaptionFitTest, EveryTextFitsItsControl)
{
    const win32::DialogFontChoice& font = harness_.window().fontChoice();
    const char* fonts = std::getenv("QUARNET_WINE_FONTS");
    std::printf("font chosen (%s prefix): %s\n", fonts ? fonts : "song", font.description().c_str());
    RecordProperty("font", font.description());
    EXPECT_EQ(font.charactersCut, 0) << font.description();
    for (const ControlEntry& entry : layout::controlTable()) {
        if (entry.kind != ControlKind::Label && entry.kind != ControlKind::Button && entry.kind != ControlKind::EditBox)
            continue;
        // The status line shows file paths of any length, left-aligned.
        if (entry.traits & layout::LeftAligned)
            continue;
        const std::string misfit = overflow(harness_.control(entry.name), entry.kind, GetParam().dpi);
        EXPECT_TRUE(misfit.empty()) << entry.name << ": " << misfit;
    }
}

// Each scene at each scale.
std::vector<FitCase> allCases()
{
    std::vector<FitCase> cases;
    for (const Scene scene : {Scene::StartUp, Scene::LastPixel, Scene::OpenFile})
        for (const UINT dpi : {96u, 120u, 144u, 192u})
            cases.push_back({scene, dpi});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Scales, CaptionFitTest, ::testing::ValuesIn(allCases()), caseName);

// A single line cut by its rectangle loses the characters past the longest
// start that fits; a wrapped text, those of the lines below the rectangle.
TEST(DialogFont, CharactersCutAreThoseThatDoNotShow)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = win32::createDialogFont(win32::chooseDialogFont(96, {}), 96);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE three {};
    GetTextExtentPoint32W(dc, L"ABC", 3, &three);
    const win32::DrawnText line {L"ABCDEF", DT_SINGLELINE | DT_NOPREFIX, {0, 0, three.cx, three.cy}};
    EXPECT_EQ(win32::charactersCut(dc, line), 3);
    const win32::DrawnText whole {L"ABC", line.flags, line.inside};
    EXPECT_EQ(win32::charactersCut(dc, whole), 0);
    const win32::DrawnText lines {L"ABC\r\nDEF\r\nGH", DT_WORDBREAK | DT_NOPREFIX, {0, 0, 4 * three.cx, 2 * three.cy}};
    EXPECT_EQ(win32::charactersCut(dc, lines), 2);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
}

// Where no font fits, the one that cuts the fewest characters: none of the
// message font's sizes cuts fewer.
TEST(DialogFont, WhereNothingFitsTheFewestCharactersCut)
{
    const win32::DrawnText tight {L"起始偏移位址起始偏移位址", DT_SINGLELINE | DT_NOPREFIX, {0, 0, 40, 40}};
    const win32::DialogFontChoice chosen = win32::chooseDialogFont(96, {&tight, 1});
    EXPECT_GT(chosen.charactersCut, 0);
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, 96));
    HDC dc = CreateCompatibleDC(nullptr);
    for (LONG height = std::abs(metrics.lfMessageFont.lfHeight); height >= 9; --height) {
        LOGFONTW font = metrics.lfMessageFont;
        font.lfHeight = -height;
        HFONT made = CreateFontIndirectW(&font);
        HGDIOBJ old = SelectObject(dc, made);
        EXPECT_LE(chosen.charactersCut, win32::charactersCut(dc, tight)) << chosen.description() << " against " << height;
        SelectObject(dc, old);
        DeleteObject(made);
    }
    DeleteDC(dc);
}

} // namespace
