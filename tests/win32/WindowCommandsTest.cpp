// The Windows plumbing of the window menu's commands: the items in the
// window menu and what their WM_SYSCOMMAND runs, the open and save dialogs'
// requests with their type lists, and the watch that tells a change of the
// map file made by another program.

#include "Win32Fixture.h"

#include "support/TempDir.h"
#include "win32/FileDialogs.h"
#include "win32/MapFileWatch.h"
#include "win32/WindowMenu.h"

#include <chrono>
#include <fstream>

using namespace quarnet;
using namespace quarnet::testing;
using namespace std::chrono_literals;
using namespace std::string_literals;

namespace {

std::wstring menuText(HMENU menu, UINT command)
{
    wchar_t text[128] = {};
    GetMenuStringW(menu, command, text, 128, MF_BYCOMMAND);
    return text;
}

bool greyed(HMENU menu, UINT command)
{
    return (GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

// A top-level window with a window menu of the system's own.
class PlainWindow {
public:
    PlainWindow()
        : hwnd_(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 200, 100, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr))
    {
    }
    ~PlainWindow() { DestroyWindow(hwnd_); }
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_;
};

} // namespace

TEST(WindowMenuTest, ItemsFollowTheSystemsWithTheirKeysAndRunOnlyWhileEnabled)
{
    const PlainWindow window;
    HMENU menu = GetSystemMenu(window.hwnd(), FALSE);
    const int systemItems = GetMenuItemCount(menu);
    int imported = 0;
    int undone = 0;
    bool canUndo = false;
    win32::WindowMenu windowMenu;
    windowMenu.install(window.hwnd(), {
                                          {L"导入地形图…", L"", [&] { ++imported; }, {}},
                                          {L"", L"", {}, {}},
                                          {L"撤销", L"Ctrl+Z", [&] { ++undone; }, [&] { return canUndo; }},
                                      });

    // A separator, then the items in their order, the keys after a tab.
    ASSERT_EQ(GetMenuItemCount(menu), systemItems + 4);
    EXPECT_EQ(GetMenuState(menu, UINT(systemItems), MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    EXPECT_EQ(GetMenuItemID(menu, systemItems + 1), win32::WindowMenu::commandOf(0));
    EXPECT_EQ(menuText(menu, win32::WindowMenu::commandOf(0)), L"导入地形图…");
    EXPECT_EQ(GetMenuState(menu, UINT(systemItems + 2), MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    EXPECT_EQ(menuText(menu, win32::WindowMenu::commandOf(2)), L"撤销\tCtrl+Z");

    // The system's low four bits of a WM_SYSCOMMAND are not part of the item.
    EXPECT_TRUE(windowMenu.runCommand(win32::WindowMenu::commandOf(0) | 0x2));
    EXPECT_EQ(imported, 1);
    EXPECT_FALSE(windowMenu.runCommand(SC_CLOSE));
    EXPECT_FALSE(windowMenu.runCommand(SC_KEYMENU));
    EXPECT_FALSE(windowMenu.runCommand(win32::WindowMenu::commandOf(3)));
    EXPECT_FALSE(windowMenu.runCommand(win32::WindowMenu::commandOf(1))); // the separator
    EXPECT_EQ(imported, 1);

    // Greyed while it can't run, and a command for it then runs nothing.
    windowMenu.refresh(menu);
    EXPECT_TRUE(greyed(menu, win32::WindowMenu::commandOf(2)));
    EXPECT_FALSE(greyed(menu, win32::WindowMenu::commandOf(0)));
    EXPECT_TRUE(windowMenu.runCommand(win32::WindowMenu::commandOf(2)));
    EXPECT_EQ(undone, 0);
    canUndo = true;
    windowMenu.refresh(menu);
    EXPECT_FALSE(greyed(menu, win32::WindowMenu::commandOf(2)));
    EXPECT_TRUE(windowMenu.runCommand(win32::WindowMenu::commandOf(2)));
    EXPECT_EQ(undone, 1);
}

TEST(FileDialogsTest, TypeListTitleAndTheExtensionAddedToANameTyped)
{
    const win32::FileDialog pictures {L"导入地形图",
                                      {{L"地形图", {L"*.png", L"*.bmp"}}, {L"所有文件", {L"*"}}},
                                      false};
    EXPECT_EQ(win32::filterList(pictures.filters),
              L"地形图 (*.png; *.bmp)\0*.png;*.bmp\0所有文件 (*)\0*\0\0"s);

    win32::FileDialog::Storage storage;
    const OPENFILENAMEW open = pictures.request(nullptr, L"C:\\maps\\SANGO7-terrain.png", storage);
    EXPECT_STREQ(open.lpstrTitle, L"导入地形图");
    EXPECT_EQ(open.nFilterIndex, 1U);
    EXPECT_EQ(std::wstring(open.lpstrFilter, win32::filterList(pictures.filters).size()), win32::filterList(pictures.filters));
    EXPECT_STREQ(open.lpstrFile, L"C:\\maps\\SANGO7-terrain.png");
    EXPECT_EQ(open.lpstrInitialDir, nullptr);
    EXPECT_TRUE(open.Flags & OFN_FILEMUSTEXIST);
    EXPECT_FALSE(open.Flags & OFN_OVERWRITEPROMPT);
    EXPECT_TRUE(open.Flags & OFN_NOCHANGEDIR);

    // A save dialog asks before replacing a file, and a name typed bare gets
    // the first type's extension; a folder proposed opens the dialog there.
    const win32::FileDialog patch {L"制作补丁", {{L"BPS", {L"*.bps"}}, {L"IPS", {L"*.ips"}}}, true};
    const OPENFILENAMEW save = patch.request(nullptr, L"C:\\maps\\", storage);
    EXPECT_TRUE(save.Flags & OFN_OVERWRITEPROMPT);
    EXPECT_FALSE(save.Flags & OFN_FILEMUSTEXIST);
    EXPECT_STREQ(save.lpstrDefExt, L"bps");
    EXPECT_STREQ(save.lpstrInitialDir, L"C:\\maps\\");
    EXPECT_STREQ(save.lpstrFile, L"");
    EXPECT_GE(save.nMaxFile, DWORD(MAX_PATH));
    EXPECT_EQ(pictures.request(nullptr, L"", storage).lpstrDefExt, std::wstring_view(L"png"));
}

namespace {

constexpr UINT changedMessage = WM_APP + 7;

class MapFileWatchTest : public ::testing::Test {
protected:
    MapFileWatchTest()
        : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                                  nullptr)),
          watch_(window_, changedMessage)
    {
        map_ = pathFromUtf8(dir_.write("SANGO7.MPC", std::vector<std::uint8_t>(1000, 0x11)));
    }
    ~MapFileWatchTest() override
    {
        watch_.watch(L"");
        DestroyWindow(window_);
    }

    // Whether the watch's message comes within the time, taking it as the
    // window does: one of a file watched before is dropped.
    bool told(std::chrono::milliseconds within)
    {
        const auto until = std::chrono::steady_clock::now() + within;
        do {
            MSG message;
            if (PeekMessageW(&message, window_, changedMessage, changedMessage, PM_REMOVE)
                && watch_.isCurrent(message.wParam)) {
                watch_.told();
                return true;
            }
            Sleep(5);
        } while (std::chrono::steady_clock::now() < until);
        return false;
    }

    void writeByte(const std::filesystem::path& path, std::streamoff offset, char value) const
    {
        std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(offset);
        file.put(value);
    }

    TempDir dir_;
    std::filesystem::path map_;
    HWND window_;
    win32::MapFileWatch watch_;
};

} // namespace

TEST_F(MapFileWatchTest, AWriteByAnotherProgramIsToldWithinASecond)
{
    watch_.watch(map_.wstring());
    EXPECT_FALSE(told(300ms));

    // A byte written in place: the size stays, the time changes.
    Sleep(20);
    writeByte(map_, 500, 0x22);
    EXPECT_TRUE(told(1s));
    EXPECT_FALSE(told(300ms));

    // Another file of the folder is not the map.
    dir_.write("OTHER.MPC", {1, 2, 3});
    EXPECT_FALSE(told(1200ms));

    // Replaced by another file, then removed.
    const std::filesystem::path replacement = pathFromUtf8(dir_.write("NEW.MPC", std::vector<std::uint8_t>(999)));
    ASSERT_TRUE(MoveFileExW(replacement.c_str(), map_.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(told(1s));
    ASSERT_TRUE(DeleteFileW(map_.c_str()));
    EXPECT_TRUE(told(1s));
}

TEST_F(MapFileWatchTest, OneMessageUntilTheWindowTookItAndNoneOnceStopped)
{
    watch_.watch(map_.wstring());
    Sleep(20);
    writeByte(map_, 1, 0x01);
    ASSERT_TRUE(told(1s));

    // Two writes before the window takes the message: one message.
    Sleep(20);
    writeByte(map_, 2, 0x02);
    Sleep(1200);
    writeByte(map_, 3, 0x03);
    Sleep(1200);
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, window_, changedMessage, changedMessage, PM_REMOVE));
    EXPECT_FALSE(PeekMessageW(&message, window_, changedMessage, changedMessage, PM_REMOVE));
    watch_.told();

    watch_.watch(L"");
    writeByte(map_, 4, 0x04);
    EXPECT_FALSE(told(1200ms));
}

TEST_F(MapFileWatchTest, TheWindowsOwnWritesAreNotToldButAnotherProgramsBeforeThemAre)
{
    watch_.watch(map_.wstring());
    Sleep(20);
    watch_.ownWriteStarting();
    writeByte(map_, 1, 0x01);
    watch_.ownWriteDone();
    EXPECT_FALSE(told(1500ms));

    // Another program's write just before the window's own is still told.
    Sleep(20);
    writeByte(map_, 2, 0x02);
    watch_.ownWriteStarting();
    writeByte(map_, 3, 0x03);
    watch_.ownWriteDone();
    EXPECT_TRUE(told(1s));
}

TEST_F(MapFileWatchTest, AMessageOfAFileWatchedBeforeIsNotCurrent)
{
    watch_.watch(map_.wstring());
    Sleep(20);
    writeByte(map_, 1, 0x01);
    Sleep(1200); // posted, not yet taken
    const std::filesystem::path other = pathFromUtf8(dir_.write("OTHER.MPC", std::vector<std::uint8_t>(10)));
    watch_.watch(other.wstring());
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, window_, changedMessage, changedMessage, PM_REMOVE));
    EXPECT_FALSE(watch_.isCurrent(message.wParam));
    EXPECT_FALSE(told(300ms));
}
