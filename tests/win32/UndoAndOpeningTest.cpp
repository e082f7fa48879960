// Undo and redo with the keys, opening a map from the command line and by a
// drop, and a paste into the start address box, through the real Windows
// controls with the messages the keyboard, the shell and the clipboard send.

#include "Win32Fixture.h"

#include "mapfile/TerrainTable.h"
#include "support/MapFixtures.h"
#include "win32/OpeningFromOutside.h"

#include <cstring>
#include <fstream>

using namespace quarnet;
using namespace quarnet::testing;

namespace {

// Holds Ctrl (and Shift) in the thread's keyboard state while a key's
// messages are sent, as the keyboard would, and lets them go afterwards.
class HeldKeys {
public:
    explicit HeldKeys(bool shift, bool alt = false)
    {
        GetKeyboardState(saved_);
        BYTE state[256];
        std::memcpy(state, saved_, sizeof state);
        state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
        if (shift)
            state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
        if (alt)
            state[VK_MENU] = state[VK_LMENU] = 0x80;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(saved_); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE saved_[256] {};
};

// Ctrl and a letter pressed in a control: the key, the control character
// that TranslateMessage makes of it, the key's release.
void pressCtrl(HWND target, char letter, bool shift = false, bool alt = false)
{
    const HeldKeys held(shift, alt);
    SendMessageW(target, WM_KEYDOWN, static_cast<WPARAM>(letter), 1);
    SendMessageW(target, WM_CHAR, static_cast<WPARAM>(letter - 'A' + 1), 1);
    SendMessageW(target, WM_KEYUP, static_cast<WPARAM>(letter), 0xC0000001);
}

// Puts text on the clipboard as another program's copy does.
bool copyToClipboard(HWND owner, const std::wstring& text)
{
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    const bool set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return set;
}

class UndoRedoTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        original_ = mapFileBytes([](std::size_t block) { return static_cast<std::uint8_t>(block % 34 + 1); });
        path_ = dir_.write("SANGO7.MPC", original_);
        openMap();
    }

    void openMap()
    {
        harness.answerNextOpenDialog(platform::utf8ToWide(path_));
        harness.click("打开文件按钮");
    }

    // Calculates the block at a map pixel and writes a code to it.
    void writeAt(const char* x, const char* y, const char* code) const
    {
        harness.calculate(x, y);
        harness.setText("修改数据编辑框", code);
        harness.click("写入按钮");
    }

    void undo(const char* where = "写入按钮") const { pressCtrl(harness.control(where), 'Z'); }
    void redo(const char* where = "写入按钮") const { pressCtrl(harness.control(where), 'Y'); }

    ByteChanges changes() const { return changedBytes(original_, TempDir::read(path_)); }
    std::size_t undoable() const { return harness.window().editor().state().mapFile.history.undoable(); }

    TempDir dir_;
    std::vector<std::uint8_t> original_;
    std::string path_;
};

} // namespace

TEST_F(UndoRedoTest, WriteWriteUndoUndoRedoOnDisk)
{
    writeAt("64", "32", "0A");   // block 549
    writeAt("100", "200", "1F"); // block 3280
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(549), 0x0A}, {codeOffset(3280), 0x1F}}));

    harness.calculate("17243", "3643"); // another page
    undo();
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(549), 0x0A}}));
    EXPECT_EQ(harness.text("当前区块序号编辑框"), "3280");
    EXPECT_EQ(harness.text("当前区块位址编辑框"), "66BC");
    const std::string code = formatTerrainCode(3280 % 34 + 1);
    EXPECT_EQ(harness.text("修改数据编辑框"), code);
    EXPECT_EQ(harness.window().editor().state().view.viewPageColumn, 0);
    EXPECT_TRUE(closeTo(harness.canvasPixel(300, 200), pageColour(0, 0)));
    EXPECT_EQ(harness.markerPixel(), green);

    undo();
    EXPECT_TRUE(changes().empty());
    EXPECT_EQ(harness.text("当前区块序号编辑框"), "549");
    undo(); // nothing left: nothing happens
    EXPECT_TRUE(changes().empty());

    redo();
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(549), 0x0A}}));
    EXPECT_EQ(harness.text("标签19"), "当前地形:丘陵\r\n\r\n地形代码:0A");
    pressCtrl(harness.control("写入按钮"), 'Z', true); // Ctrl+Shift+Z
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(549), 0x0A}, {codeOffset(3280), 0x1F}}));
    EXPECT_TRUE(harness.messages.empty());
}

TEST_F(UndoRedoTest, TheWindowMenusUndoAndRedoShowTheirKeysAndAct)
{
    HWND window = harness.window().hwnd();
    const UINT undoItem = windowMenuCommand(window, L"撤销");
    const UINT redoItem = windowMenuCommand(window, L"重做");
    ASSERT_NE(undoItem, 0U);
    ASSERT_NE(redoItem, 0U);
    wchar_t shown[64] = {};
    GetMenuStringW(GetSystemMenu(window, FALSE), undoItem, shown, 64, MF_BYCOMMAND);
    EXPECT_STREQ(shown, L"撤销\tCtrl+Z");
    GetMenuStringW(GetSystemMenu(window, FALSE), redoItem, shown, 64, MF_BYCOMMAND);
    EXPECT_STREQ(shown, L"重做\tCtrl+Y");

    writeAt("64", "32", "0A"); // block 549
    SendMessageW(window, WM_SYSCOMMAND, undoItem, 0);
    EXPECT_EQ(changes(), ByteChanges {});
    SendMessageW(window, WM_SYSCOMMAND, redoItem, 0);
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(549), 0x0A}}));
}

TEST_F(UndoRedoTest, KeysActWhereverTheFocusIsButInAnEditBox)
{
    writeAt("0", "0", "05");

    // An edit box the user types into keeps the keys for its own text.
    harness.type("起始像素点X编辑框", L"12");
    undo("起始像素点X编辑框");
    EXPECT_EQ(harness.text("起始像素点X编辑框"), "0");
    redo("起始像素点X编辑框");
    pressCtrl(harness.control("起始像素点X编辑框"), 'Z', true);
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}}));

    // A read-only result box, the legend, the city box and the window itself
    // pass them on.
    undo("当前区块序号编辑框");
    EXPECT_TRUE(changes().empty());
    redo("列表框1");
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}}));
    EXPECT_EQ(SendMessageW(harness.control("列表框1"), LB_GETCURSEL, 0, 0), LB_ERR);
    undo("城池选择组合框");
    EXPECT_TRUE(changes().empty());
    EXPECT_EQ(SendMessageW(harness.control("城池选择组合框"), CB_GETCURSEL, 0, 0), CB_ERR);
    {
        const HeldKeys held(false);
        SendMessageW(harness.window().hwnd(), WM_KEYDOWN, 'Y', 1);
    }
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}}));

    // Other letters, and Ctrl+Alt, run nothing.
    pressCtrl(harness.control("写入按钮"), 'Z', false, true);
    pressCtrl(harness.control("写入按钮"), 'X');
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}}));
}

TEST_F(UndoRedoTest, RefusedFlushDuringAnUndoIsRedAndKeepsTheEntry)
{
    writeAt("0", "0", "05");
    harness.files.failFlushes(true);
    undo();
    EXPECT_EQ(harness.markerPixel(), red);
    EXPECT_EQ(undoable(), 1u);
    harness.files.failFlushes(false);
    undo();
    EXPECT_EQ(harness.markerPixel(), green);
    EXPECT_TRUE(changes().empty());
    EXPECT_EQ(undoable(), 0u);
    EXPECT_TRUE(harness.messages.empty());
}

TEST_F(UndoRedoTest, AByteChangedByAnotherProgramIsLeftAlone)
{
    writeAt("64", "32", "0A"); // block 549
    {
        std::fstream file(pathFromUtf8(path_), std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(static_cast<std::streamoff>(codeOffset(549)));
        file.put(0x11);
    }
    undo();
    ASSERT_EQ(harness.messages.size(), 1u);
    EXPECT_EQ(harness.messages[0].rfind("区块 549 的地形代码已在 Quarnet 之外被改为 11", 0), 0u) << harness.messages[0];
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(549), 0x11}}));
    EXPECT_EQ(undoable(), 1u);
}

TEST_F(UndoRedoTest, AWriteAfterAnUndoDropsTheRedoAndClosingClearsAll)
{
    writeAt("0", "0", "05");
    writeAt("32", "0", "06");
    undo();
    writeAt("64", "0", "07");
    redo();
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}, {codeOffset(3), 0x07}}));

    harness.click("关闭文件按钮");
    undo(); // no file open
    openMap();
    undo(); // the history went with the closed file
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), 0x05}, {codeOffset(3), 0x07}}));
}

struct Argument {
    const wchar_t* commandLine;
    std::wstring path; // empty: none
};

class ArgumentTest : public ::testing::TestWithParam<Argument> {};

TEST_P(ArgumentTest, IsTheFullPath)
{
    std::wstring found = win32::mapPathArgument(GetParam().commandLine).value_or(L"");
    std::wstring expected = GetParam().path;
    if (!expected.empty() && expected.find(L':') == std::wstring::npos) {
        // Relative: against the working folder.
        wchar_t here[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, here);
        expected = std::wstring(here) + (std::wstring(here).back() == L'\\' ? L"" : L"\\") + expected;
    }
    EXPECT_EQ(platform::wideToUtf8(found), platform::wideToUtf8(expected));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ArgumentTest,
    ::testing::Values(Argument {L"quarnet.exe", L""}, Argument {L"quarnet.exe \"\"", L""},
                      Argument {L"quarnet.exe SANGO7.MPC", L"SANGO7.MPC"},
                      Argument {L"\"C:\\Program Files\\Quarnet\\quarnet.exe\" \"C:\\地图 目录\\SANGO7.MPC\"",
                                L"C:\\地图 目录\\SANGO7.MPC"},
                      Argument {L"quarnet.exe C:\\maps\\..\\SANGO7.MPC extra", L"C:\\SANGO7.MPC"},
                      Argument {L"quarnet.exe Z:/tmp/x.MPC", L"Z:\\tmp\\x.MPC"}));

using OpeningTest = MainWindowFixture;

TEST_F(OpeningTest, OpeningAPathIsTheDialogsOpen)
{
    TempDir dir;
    const std::string path = dir.write("地图 目录 SANGO7.MPC", patternedMap());
    harness.window().openMapFile(platform::utf8ToWide(path));
    EXPECT_TRUE(harness.window().editor().isMapFileOpen());
    EXPECT_EQ(harness.text("编辑框1"),
              "当前已打开的文件:" + path + " | 文件长度:" + std::to_string(patternedMap().size()) + "字节");
    EXPECT_EQ(harness.window().openDialog().proposedPath(), platform::utf8ToWide(path));

    // A path that can't be opened is a failed open; the window goes on.
    harness.window().openMapFile(platform::utf8ToWide(path + ".missing"));
    EXPECT_FALSE(harness.window().editor().isMapFileOpen());
    EXPECT_EQ(harness.text("编辑框1"), "无法打开文件:" + path + ".missing");
}

TEST_F(OpeningTest, ADroppedFileOpensAfterTheOpenFileCloses)
{
    TempDir dir;
    const std::string first = dir.write("first.MPC", patternedMap());
    const std::string dropped = dir.write("地图 SANGO7.MPC", patternedMap());
    harness.answerNextOpenDialog(platform::utf8ToWide(first));
    harness.click("打开文件按钮");
    harness.calculate("0", "0");
    harness.setText("修改数据编辑框", "05");
    harness.click("写入按钮");
    ASSERT_EQ(harness.window().editor().state().mapFile.history.size(), 1u);

    // Windows hands a drop on any control to the window that accepts files.
    EXPECT_TRUE(GetWindowLongW(harness.window().hwnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    SendMessageW(harness.window().hwnd(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(shellDrop({platform::utf8ToWide(dropped), L"C:\\other.MPC"})), 0);
    EXPECT_EQ(harness.window().editor().state().mapFile.mapFileName, dropped);
    EXPECT_EQ(harness.text("编辑框1"),
              "当前已打开的文件:" + dropped + " | 文件长度:" + std::to_string(patternedMap().size()) + "字节");
    EXPECT_EQ(harness.window().editor().state().mapFile.history.size(), 0u);
    EXPECT_EQ(harness.window().openDialog().proposedPath(), platform::utf8ToWide(dropped));
}

struct Paste {
    const wchar_t* before;  // the box's text, all of it selected when select is set
    bool select;
    const wchar_t* copied;
    const char* shown;
};

class PasteTest : public MainWindowFixture, public ::testing::WithParamInterface<Paste> {};

TEST_P(PasteTest, StartAddressTakesAPasteInCapitalsWithinItsLimit)
{
    const Paste& p = GetParam();
    HWND box = harness.control("起始位址编辑框");
    SetWindowTextW(box, p.before);
    const int end = GetWindowTextLengthW(box);
    SendMessageW(box, EM_SETSEL, p.select ? 0 : end, end);
    ASSERT_TRUE(copyToClipboard(harness.window().hwnd(), p.copied));
    pressCtrl(box, 'V');
    EXPECT_EQ(harness.text("起始位址编辑框"), p.shown);
}

INSTANTIATE_TEST_SUITE_P(Clipboard, PasteTest,
                         ::testing::Values(Paste {L"44", true, L"4c", "4C"},
                                           Paste {L"", false, L"abcdefghij", "ABCDEFGH"},
                                           Paste {L"12345", false, L"abcd", "12345ABC"},
                                           Paste {L"12345678", false, L"f", "12345678"},
                                           Paste {L"", false, L"4c\r\nff", "4C"},
                                           Paste {L"1", false, L" -x", "1 -X"}));

TEST_F(PasteTest, APastedStartAddressCountsItsLetters)
{
    HWND box = harness.control("起始位址编辑框");
    SendMessageW(box, EM_SETSEL, 0, -1);
    ASSERT_TRUE(copyToClipboard(harness.window().hwnd(), L"4c"));
    pressCtrl(box, 'V');
    harness.calculate("0", "0");
    EXPECT_EQ(harness.text("偏移长度编辑框"), "76");
}
