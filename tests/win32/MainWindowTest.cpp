// The real Windows main window: its controls against the control table, the
// entry boxes under typing, start-up, the open dialog and both ways of ending.

#include "Win32Fixture.h"

#include "layout/ControlTable.h"
#include "mapfile/TerrainPalette.h"
#include "platform/ExecutableDirectory.h"
#include "support/TempDir.h"

#include <commctrl.h>

#include <fstream>

using namespace quarnet;
using namespace quarnet::testing;
using layout::ControlEntry;
using layout::ControlKind;

namespace {

const char* expectedClass(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label:
    case ControlKind::Frame:
        return "Static";
    case ControlKind::EditBox:
        return "Edit";
    case ControlKind::Button:
        return "Button";
    case ControlKind::ComboBox:
        return "ComboBox";
    case ControlKind::ListBox:
        return "ListBox";
    case ControlKind::Canvas:
        return "QuarnetCanvas";
    case ControlKind::FileDialog:
        break;
    }
    return "";
}

// The place on the window at 96 DPI: controls in a frame are given relative
// to it.
RECT expectedPlace(const ControlEntry& entry)
{
    int left = entry.geometry.left;
    int top = entry.geometry.top;
    if (entry.parent) {
        const ControlEntry* frame = layout::findControl(entry.parent);
        left += frame->geometry.left;
        top += frame->geometry.top;
    }
    return {left, top, left + entry.geometry.width, top + entry.geometry.height};
}

// The caption as a static control holds it: line breaks are "\r\n".
std::string expectedCaption(const ControlEntry& entry)
{
    if (entry.kind == ControlKind::EditBox || entry.kind == ControlKind::ComboBox
        || entry.kind == ControlKind::ListBox || entry.kind == ControlKind::Canvas || entry.kind == ControlKind::Frame)
        return {};
    return entry.text;
}

using MainWindowTest = MainWindowFixture;

} // namespace

TEST_F(MainWindowTest, EveryControlIsTheTablesRowUnderItsRowNumber)
{
    HWND window = harness.window().hwnd();
    for (const ControlEntry& entry : layout::controlTable()) {
        SCOPED_TRACE(entry.name);
        const int id = layout::controlId(entry);
        HWND control = GetDlgItem(window, id);
        if (entry.kind == ControlKind::FileDialog) {
            EXPECT_EQ(control, nullptr); // the system's dialog, made when shown
            continue;
        }
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control, harness.control(entry.name));
        EXPECT_EQ(GetDlgCtrlID(control), id);
        EXPECT_EQ(GetParent(control), window);
        EXPECT_EQ(className(control), expectedClass(entry.kind));
        EXPECT_EQ(placeOnWindow(control), expectedPlace(entry));
        // Shown with the window (the harness leaves the window itself hidden).
        EXPECT_TRUE(GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE);
        EXPECT_TRUE(IsWindowEnabled(control));
        if (entry.kind != ControlKind::EditBox) {
            EXPECT_EQ(windowText(control), expectedCaption(entry));
        }

        const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
        const LONG_PTR exStyle = GetWindowLongPtrW(control, GWL_EXSTYLE);
        const bool takesFocus = entry.kind == ControlKind::EditBox || entry.kind == ControlKind::Button
                                || entry.kind == ControlKind::ComboBox || entry.kind == ControlKind::ListBox;
        EXPECT_EQ((style & WS_TABSTOP) != 0, takesFocus);
        switch (entry.kind) {
        case ControlKind::EditBox:
            EXPECT_TRUE(exStyle & WS_EX_CLIENTEDGE);
            EXPECT_FALSE(style & (ES_MULTILINE | WS_HSCROLL | WS_VSCROLL));
            EXPECT_EQ((style & ES_READONLY) != 0, (entry.traits & layout::ReadOnly) != 0);
            // Capitals for typing only, not as ES_UPPERCASE (see TypingTest).
            EXPECT_FALSE(style & ES_UPPERCASE);
            EXPECT_EQ((style & ES_NUMBER) != 0, (entry.traits & layout::PixelEntry) != 0);
            EXPECT_EQ(style & (ES_CENTER | ES_RIGHT), (entry.traits & layout::LeftAligned) ? ES_LEFT : ES_CENTER);
            break;
        case ControlKind::Label:
            EXPECT_TRUE(style & SS_NOPREFIX);
            EXPECT_EQ((style & WS_BORDER) != 0, (entry.traits & layout::Bordered) != 0);
            EXPECT_EQ((style & SS_TYPEMASK) == SS_LEFT, (entry.traits & layout::Wrapping) != 0);
            break;
        case ControlKind::Frame:
            EXPECT_EQ(style & SS_TYPEMASK,
                      (entry.traits & layout::HorizontalLine) ? SS_ETCHEDHORZ : SS_ETCHEDFRAME);
            break;
        case ControlKind::Button:
            EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
            break;
        case ControlKind::ComboBox:
            EXPECT_EQ(style & 0x3, CBS_DROPDOWNLIST);
            break;
        case ControlKind::ListBox:
            EXPECT_TRUE(style & LBS_NOTIFY);
            EXPECT_FALSE(style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
            break;
        case ControlKind::Canvas:
        case ControlKind::FileDialog:
            break;
        }
    }
}

TEST_F(MainWindowTest, OtherProgramsFindControlsByTheirNumber)
{
    // The numbers are the control table's rows, top to bottom.
    struct Row {
        int id;
        const char* name;
        const char* className;
        RECT place;
    };
    const Row rows[] = {
        {1, "标签1", "Static", {16, 16, 88, 40}},
        {2, "起始位址编辑框", "Edit", {96, 16, 176, 40}},
        {8, "起始区块位置计算按钮", "Button", {632, 16, 736, 40}},
        {22, "城池选择组合框", "ComboBox", {496, 88, 736, 108}},
        {28, "列表框1", "ListBox", {416, 136, 504, 224}},
        {23, "外形框1", "Static", {0, 120, 752, 136}},
        {29, "画板2", "QuarnetCanvas", {512, 144, 528, 228}},
        {41, "修改数据编辑框", "Edit", {304, 200, 408, 224}},
        {50, "写入按钮", "Button", {224, 280, 288, 320}},
        {59, "标签19", "Static", {252, 373, 347, 410}},
        {61, "标签20", "Static", {248, 459, 352, 481}},
        {63, "外形框3", "Static", {359, 239, 745, 481}},
        {64, "画板1", "QuarnetCanvas", {360, 240, 744, 480}},
        {65, "编辑框1", "Edit", {2, 486, 749, 510}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND control = GetDlgItem(harness.window().hwnd(), row.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control, harness.control(row.name));
        EXPECT_EQ(className(control), row.className);
        EXPECT_EQ(placeOnWindow(control), row.place);
    }
}

TEST_F(MainWindowTest, WindowTitlePlaceSizeIconAndFont)
{
    HWND window = harness.window().hwnd();
    EXPECT_EQ(windowText(window), "Quarnet --- By Velloran");
    ASSERT_EQ(harness.window().dpi(), 96u);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 751);
    EXPECT_EQ(client.bottom, 514);
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 50);
    EXPECT_EQ(outer.top, 50);
    // The layout is fixed: the window can't be resized or maximised.
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    ShowWindow(window, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(harness.control("画板1")));
    // The canvas paints its kept bitmap on the screen.
    HWND canvas = harness.control("画板1");
    UpdateWindow(window);
    HDC dc = GetDC(canvas);
    const COLORREF shown = GetPixel(dc, 5, 5);
    ReleaseDC(canvas, dc);
    EXPECT_TRUE(closeTo({GetRValue(shown), GetGValue(shown), GetBValue(shown)}, pageColour(0, 0)));
    EXPECT_NE(GetClassLongPtrW(window, GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrW(window, GCLP_HICONSM), 0);

    // Every control speaks in the one font chosen for its captions, in which
    // none is cut (the caption test measures each).
    LOGFONTW font {};
    ASSERT_TRUE(GetObjectW(harness.window().font(), sizeof font, &font));
    const win32::DialogFontChoice& chosen = harness.window().fontChoice();
    EXPECT_EQ(std::wstring(font.lfFaceName), std::wstring(chosen.font.lfFaceName));
    EXPECT_EQ(font.lfHeight, chosen.font.lfHeight);
    EXPECT_EQ(chosen.dpi, 96u);
    EXPECT_EQ(chosen.charactersCut, 0);
    for (const ControlEntry& entry : layout::controlTable()) {
        if (entry.kind == ControlKind::FileDialog || entry.kind == ControlKind::Canvas
            || entry.kind == ControlKind::Frame) // no text to show
            continue;
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(harness.control(entry.name), WM_GETFONT, 0, 0)),
                  harness.window().font())
            << entry.name;
    }
}

TEST_F(MainWindowTest, LayoutAndFontFollowTheDpi)
{
    // 125 %: the largest common scale whose window fits the test screen. The
    // message the system sends when the window moves to such a monitor.
    win32::MainWindow& window = harness.window();
    RECT suggested {60, 70, 1000, 720};
    SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(120, 120), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(window.dpi(), 120u);
    RECT outer;
    GetWindowRect(window.hwnd(), &outer);
    EXPECT_EQ(outer.left, 60);
    EXPECT_EQ(outer.top, 70);
    RECT client;
    GetClientRect(window.hwnd(), &client);
    EXPECT_EQ(client.right, 939);
    EXPECT_EQ(client.bottom, 643);
    EXPECT_EQ(placeOnWindow(harness.control("起始位址编辑框")), (RECT {120, 20, 220, 50}));
    EXPECT_EQ(placeOnWindow(harness.control("画板1")), (RECT {450, 300, 930, 600}));
    EXPECT_EQ(placeOnWindow(harness.control("城池选择组合框")), (RECT {620, 110, 920, 135}));
    // The font chosen anew for the larger controls: Song faces' 12-pixel
    // lines become 15, the message font's own size follows the DPI.
    LOGFONTW font {};
    GetObjectW(window.font(), sizeof font, &font);
    EXPECT_EQ(window.fontChoice().dpi, 120u);
    EXPECT_EQ(font.lfHeight, window.fontChoice().font.lfHeight);
    if (!window.fontChoice().messageFont) {
        EXPECT_EQ(font.lfHeight, 15);
    }
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(harness.control("写入按钮"), WM_GETFONT, 0, 0)), window.font());
    // The canvas keeps its 384 x 240 pixels, each shown larger; the mouse
    // still reports canvas pixels.
    EXPECT_EQ(window.canvas().width(), 384);
    SendMessageW(window.canvas().hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(125, 62));
    EXPECT_EQ(harness.text("标签20"), "座标:800,392");

    window.applyDpi(96);
    GetClientRect(window.hwnd(), &client);
    EXPECT_EQ(client.right, 751);
    EXPECT_EQ(client.bottom, 514);
    EXPECT_EQ(placeOnWindow(harness.control("城池选择组合框")), (RECT {496, 88, 736, 108}));
}

TEST_F(MainWindowTest, StartUpFillsDefaultsAndShowsThePicture)
{
    EXPECT_EQ(harness.text("起始位址编辑框"), "44");
    EXPECT_EQ(harness.text("步长编辑框"), "1");
    // Longer than the box's two characters: a text the program sets is whole.
    EXPECT_EQ(harness.text("修改数据编辑框"), " 07");
    EXPECT_EQ(harness.text("编辑框1"), "当前程序所在目录： " + platform::executableDirectory());
    EXPECT_EQ(harness.text("标签19"), "当前地形:\r\n\r\n地形代码:\r\n");
    EXPECT_EQ(harness.text("偏移长度编辑框"), "");

    const MapView& v = harness.window().editor().state().view;
    EXPECT_NE(v.mapPicture, 0);
    EXPECT_EQ(v.viewLeft, 0);
    EXPECT_EQ(v.viewRight, 383);
    EXPECT_EQ(v.viewTop, 0);
    EXPECT_EQ(v.viewBottom, 239);
    EXPECT_TRUE(closeTo(harness.canvasPixel(0, 0), pageColour(0, 0))) << harness.canvasPixel(0, 0);
    EXPECT_TRUE(closeTo(harness.canvasPixel(378, 234), pageColour(0, 0)));

    HWND cities = harness.control("城池选择组合框");
    EXPECT_EQ(SendMessageW(cities, CB_GETCOUNT, 0, 0), 103);
    EXPECT_EQ(SendMessageW(cities, CB_GETCURSEL, 0, 0), CB_ERR);
    wchar_t item[64] = {};
    SendMessageW(cities, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(platform::wideToUtf8(item), "001.西凉  (00519,00351)");

    HWND legend = harness.control("列表框1");
    EXPECT_EQ(SendMessageW(legend, LB_GETCOUNT, 0, 0), 34);
    EXPECT_EQ(SendMessageW(legend, LB_GETCURSEL, 0, 0), LB_ERR);
    const std::pair<int, const char*> items[] = {{0, "01 河流"}, {28, "1D 残雪"}, {33, "22 深海"}};
    for (const auto& [index, text] : items) {
        SendMessageW(legend, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item));
        EXPECT_EQ(platform::wideToUtf8(item), text);
        EXPECT_EQ(SendMessageW(legend, LB_GETITEMDATA, static_cast<WPARAM>(index), 0), index + 1);
    }
}

// Start-up with the picture file missing, or replaced by other bytes (made
// from the test picture once it exists) for a while.
struct PictureFile {
    const char* name;
    std::string (*bytes)();
};

class PictureFileTest : public ::testing::TestWithParam<PictureFile> {
protected:
    WindowHarness harness;
};

TEST_P(PictureFileTest, MissingOrBrokenPictureIsHarmless)
{
    const std::filesystem::path picture = picturePathBesideTests();
    const std::filesystem::path away = picture.wstring() + L".away";
    const std::string bytes = GetParam().bytes ? GetParam().bytes() : std::string();
    std::filesystem::rename(picture, away);
    if (GetParam().bytes) {
        std::ofstream out(picture, std::ios::binary);
        out << bytes;
    }
    harness.make();
    harness.finishPictureDecode();
    std::error_code ignored;
    std::filesystem::remove(picture, ignored);
    std::filesystem::rename(away, picture);

    EXPECT_EQ(harness.window().editor().state().view.mapPicture, 0);
    EXPECT_EQ(harness.text("起始位址编辑框"), "44");
    EXPECT_EQ(harness.canvasPixel(10, 10), terrain::canvasBackground);
    harness.calculate("17471", "12383");
    EXPECT_EQ(harness.text("当前区块序号编辑框"), "211302");
    EXPECT_EQ(harness.canvasPixel(10, 10), terrain::canvasBackground);
    harness.click("关闭退出按钮");
    EXPECT_EQ(harness.exitCode, std::optional<int>(0));
}

namespace {

std::string truncatedJpeg()
{
    std::ifstream in(picturePathBesideTests(), std::ios::binary);
    std::string bytes {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return bytes.substr(0, bytes.size() / 3);
}

// The test picture with a header that claims 65000 x 65000 pixels.
std::string hugeJpeg()
{
    std::ifstream in(picturePathBesideTests(), std::ios::binary);
    std::string bytes {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t frame = bytes.find("\xFF\xC0");
    EXPECT_NE(frame, std::string::npos);
    if (frame == std::string::npos)
        return {};
    for (const std::size_t at : {frame + 5, frame + 7}) { // height, then width, big-endian
        bytes[at] = char(0xFD);
        bytes[at + 1] = char(0xE8);
    }
    return bytes;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Pictures, PictureFileTest,
                         ::testing::Values(PictureFile {"missing", nullptr},
                                           PictureFile {"empty", [] { return std::string(); }},
                                           PictureFile {"not_a_picture", [] { return std::string("not a JPEG"); }},
                                           PictureFile {"truncated", truncatedJpeg},
                                           PictureFile {"huge", hugeJpeg}),
                         [](const auto& info) { return std::string(info.param.name); });

struct Typing {
    const char* box;
    std::wstring typed;
    const char* shown;
};

class TypingTest : public MainWindowFixture, public ::testing::WithParamInterface<Typing> {};

TEST_P(TypingTest, EntryBoxesTakeWhatTheyShould)
{
    const Typing& t = GetParam();
    HWND box = harness.control(t.box);
    if (!(GetWindowLongPtrW(box, GWL_STYLE) & ES_READONLY))
        SetWindowTextW(box, L"");
    harness.type(t.box, t.typed);
    EXPECT_EQ(harness.text(t.box), t.shown);
}

INSTANTIATE_TEST_SUITE_P(Boxes, TypingTest,
                         ::testing::Values(Typing {"起始位址编辑框", L"abcdefghij", "ABCDEFGH"},
                                           Typing {"起始位址编辑框", L"4g -", "4G -"},
                                           Typing {"起始像素点X编辑框", L"12a-34567", "12345"},
                                           Typing {"起始像素点Y编辑框", L"+9 9", "99"},
                                           Typing {"偏移长度编辑框", L"123", ""},
                                           Typing {"修改数据编辑框", L"05", " 07"},
                                           Typing {"步长编辑框", L"2.9x", "2.9x"},
                                           Typing {"编辑框1", L"a b!", "a b!"}));

TEST_F(MainWindowTest, ProgramTextsAreShownWhole)
{
    // Longer than the typing limit, and in lower case: shown as set.
    harness.setText("起始位址编辑框", "123456789a");
    EXPECT_EQ(harness.text("起始位址编辑框"), "123456789a");
    harness.setText("起始像素点X编辑框", "-17472");
    EXPECT_EQ(harness.text("起始像素点X编辑框"), "-17472");
    // The limit still holds for typing after such a text.
    harness.type("起始像素点X编辑框", L"1");
    EXPECT_EQ(harness.text("起始像素点X编辑框"), "-17472");
}

TEST_F(MainWindowTest, OpenCloseAndCancelThroughTheDialog)
{
    win32::MainWindow& window = harness.window();
    // The system's dialog: no title or filter of its own, "SANGO7.MPC" proposed.
    std::vector<wchar_t> buffer;
    const OPENFILENAMEW request = window.openDialog().request(window.hwnd(), buffer);
    EXPECT_EQ(request.lpstrTitle, nullptr);
    EXPECT_EQ(request.lpstrFilter, nullptr);
    EXPECT_EQ(request.hwndOwner, window.hwnd());
    EXPECT_EQ(std::wstring(request.lpstrFile), L"SANGO7.MPC");

    TempDir dir;
    // A name outside GBK opens all the same.
    const std::string path = dir.write("地图 ß SANGO7.MPC", mapFileBytes([](std::size_t) { return std::uint8_t {3}; }));
    harness.answerNextOpenDialog(platform::utf8ToWide(path));
    harness.click("打开文件按钮");
    EXPECT_EQ(harness.text("编辑框1"), "当前已打开的文件:" + path + " | 文件长度:1690484字节");
    harness.calculate("0", "0");
    EXPECT_EQ(harness.text("标签19"), "当前地形:草原\r\n\r\n地形代码:03");

    harness.click("关闭文件按钮");
    EXPECT_EQ(harness.text("编辑框1"), "打开文件已关闭，当前没有打开的文件");

    harness.answerNextOpenDialog(platform::utf8ToWide(path));
    harness.click("打开文件按钮");
    EXPECT_TRUE(window.editor().isMapFileOpen());
    harness.answerNextOpenDialog(std::nullopt); // cancelled
    harness.click("打开文件按钮");
    EXPECT_FALSE(window.editor().isMapFileOpen());
    EXPECT_EQ(harness.text("编辑框1"), "打开文件已关闭，当前没有打开的文件");
    // The path chosen last is proposed next time.
    EXPECT_EQ(std::wstring(window.openDialog().request(window.hwnd(), buffer).lpstrFile), platform::utf8ToWide(path));
}

TEST_F(MainWindowTest, ExitButtonClosesTheFileAndEndsWithZero)
{
    TempDir dir;
    harness.answerNextOpenDialog(platform::utf8ToWide(dir.write("SANGO7.MPC", {1, 2, 3})));
    harness.click("打开文件按钮");
    const platform::FileNumber number = harness.window().editor().state().mapFile.mapFileNumber;
    ASSERT_NE(number, 0);
    harness.click("关闭退出按钮");
    EXPECT_EQ(harness.exitCode, std::optional<int>(0));
    EXPECT_EQ(harness.native.length(number), -1); // closed
    EXPECT_EQ(harness.window().editor().state().view.mapPicture, 0); // released
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheSameWay)
{
    TempDir dir;
    harness.answerNextOpenDialog(platform::utf8ToWide(dir.write("SANGO7.MPC", {1})));
    harness.click("打开文件按钮");
    const platform::FileNumber number = harness.window().editor().state().mapFile.mapFileNumber;
    ASSERT_NE(number, 0);
    SendMessageW(harness.window().hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(harness.exitCode, std::optional<int>(0));
    EXPECT_EQ(harness.native.length(number), -1);
    EXPECT_EQ(harness.window().hwnd(), nullptr); // the window is gone
}

TEST(MainWindowEnd, DefaultEndLeavesTheMessageLoopWithZero)
{
    platform::NativeFiles files;
    win32::MainWindow window(files);
    PostMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    MSG message {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 0u);
}
