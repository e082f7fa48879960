#pragma once

// Helpers for driving the real Windows main window in-process, with window
// messages as a user's input would send them.

#include "editor/ProgramState.h"
#include "platform/FaultInjectingFiles.h"
#include "platform/NativeFiles.h"
#include "platform/WindowsText.h"
#include "win32/MainWindow.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Rectangles compared and shown by tests; RECT is the Windows API's, in the
// global namespace, where lookup finds these.
inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& out, const RECT& r)
{
    return out << "(" << r.left << ", " << r.top << ") - (" << r.right << ", " << r.bottom << ")";
}

namespace quarnet {

// How a failed test shows a colour.
inline std::ostream& operator<<(std::ostream& out, Rgb c)
{
    return out << "rgb(" << int(c.red) << ", " << int(c.green) << ", " << int(c.blue) << ")";
}

} // namespace quarnet

namespace quarnet::testing {

// The test picture: each 384 x 240 page of the map picture in one flat
// colour, so a JPEG keeps it and a pixel tells which page is shown.
inline Rgb pageColour(int pageColumn, int pageRow)
{
    return {static_cast<std::uint8_t>(40 + pageColumn * 40), static_cast<std::uint8_t>(30 + pageRow * 30),
            static_cast<std::uint8_t>(200 - pageColumn * 20 - pageRow * 10)};
}

// Colours of a JPEG come back within a few steps.
inline bool closeTo(Rgb a, Rgb b, int tolerance = 10)
{
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance
           && std::abs(a.blue - b.blue) <= tolerance;
}

inline constexpr Rgb white {255, 255, 255};
inline constexpr Rgb black {0, 0, 0};
inline constexpr Rgb green {0, 255, 0};
inline constexpr Rgb red {255, 0, 0};

// Where the program looks for its map picture: beside the test program.
std::filesystem::path picturePathBesideTests();

// Writes a picture as a JPEG with the Windows Imaging Component.
bool writePicture(const std::filesystem::path& path, int width, int height, const std::function<Rgb(int, int)>& colourAt);
// The paged test picture.
bool writePagedPicture(const std::filesystem::path& path);
// A map picture of noise, so a page drawn from the wrong place or with a
// wrong row shows.
bool writeNoisePicture(const std::filesystem::path& path);
// A picture decoded whole, as the Windows Imaging Component gives it, top row
// first; nothing when it fails.
std::optional<std::vector<Rgb>> decodeWhole(const std::filesystem::path& path, int& width, int& height);

inline std::string windowText(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return platform::wideToUtf8(text);
}

inline std::string className(HWND hwnd)
{
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return platform::wideToUtf8(name);
}

// A control's place in its window's client area.
inline RECT placeOnWindow(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// A drop of files as the shell hands it to a window: DROPFILES with the
// paths one after the other, the last followed by a second null.
inline HDROP shellDrop(const std::vector<std::wstring>& paths)
{
    std::wstring names;
    for (const std::wstring& path : paths)
        names += path + L'\0';
    names += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// The command of the window menu's item whose text starts with the given
// one; 0 when there is none.
inline UINT windowMenuCommand(HWND window, const std::wstring& text)
{
    HMENU menu = GetSystemMenu(window, FALSE);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t shown[128] = {};
        GetMenuStringW(menu, UINT(i), shown, 128, MF_BYPOSITION);
        if (std::wstring_view(shown).starts_with(text))
            return GetMenuItemID(menu, i);
    }
    return 0;
}

// Handles what is waiting in the thread's queue, as the message loop would.
inline void pumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A fresh real main window over real files that fail on demand; ending the
// program and the message boxes' texts are recorded instead of ending the
// test's message loop or waiting for a click. The window stays hidden: under
// wine without a window manager, destroying a shown window waits two seconds
// for the X server.
class WindowHarness {
public:
    // beforeShow runs on the window when it is made.
    win32::MainWindow& make(const std::function<void(win32::MainWindow&)>& beforeShow = {})
    {
        exitCode.reset();
        messages.clear();
        questions.clear();
        fileDialogs.clear();
        answers_.clear();
        nextFile_.reset();
        onQuestion = {};
        nextAnswer_.reset();
        window_.reset();
        files.failWrites(false);
        files.failFlushes(false);
        win32::MainWindow::Surroundings surroundings {
            .answerOpenDialog = [this] { return std::exchange(nextAnswer_, std::nullopt); },
            .endProgram = [this](int code) { exitCode = code; },
            .showMessage = [this](const std::wstring& text) { messages.push_back(platform::wideToUtf8(text)); },
            .answerYesNo =
                [this](const std::wstring& text) {
                    questions.push_back(platform::wideToUtf8(text));
                    if (onQuestion)
                        onQuestion();
                    if (answers_.empty())
                        return false;
                    const bool yes = answers_.front();
                    answers_.erase(answers_.begin());
                    return yes;
                },
            .answerFileDialog =
                [this](const win32::FileDialog& dialog, const std::wstring& proposed) {
                    fileDialogs.push_back({dialog, proposed});
                    return std::exchange(nextFile_, std::nullopt);
                },
        };
        window_ = std::make_unique<win32::MainWindow>(files, std::move(surroundings));
        if (beforeShow)
            beforeShow(*window_);
        return *window_;
    }

    // Lets the map picture's rest decode, as the first paint does, and
    // handles what its end posts, as the idle window would.
    void finishPictureDecode() const
    {
        win32::CanvasWindow& canvas = window_->canvas();
        canvas.pictures().holdRests(false);
        const int picture = window_->editor().state().view.mapPicture;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (picture != 0 && !canvas.pictures().isWhole(picture) && window_->editor().state().view.mapPicture == picture
               && std::chrono::steady_clock::now() < giveUp) {
            pumpMessages();
            Sleep(1);
        }
    }

    // The next open-file dialog answers this path, or a cancel when it is
    // empty; unanswered, it is cancelled.
    void answerNextOpenDialog(std::optional<std::wstring> path) { nextAnswer_ = std::move(path); }

    // The next Yes/No questions answer these, in turn; unanswered, No.
    void answerQuestions(std::vector<bool> answers) { answers_ = std::move(answers); }
    // The next dialog of the window menu answers this path; unanswered, it
    // is cancelled.
    void answerNextFileDialog(std::optional<std::wstring> path) { nextFile_ = std::move(path); }

    win32::MainWindow& window() const { return *window_; }
    void reset() { window_.reset(); }

    HWND control(const char* name) const { return window_->control(name); }
    std::string text(const char* name) const { return windowText(control(name)); }
    void setText(const char* name, const std::string& text) const
    {
        SetWindowTextW(control(name), platform::utf8ToWide(text).c_str());
    }

    // A click with the mouse: the button's own press and release.
    void click(const char* name) const { SendMessageW(control(name), BM_CLICK, 0, 0); }

    // Types characters, each as the keyboard's WM_CHAR.
    void type(const char* name, const std::wstring& typed) const
    {
        for (const wchar_t c : typed)
            SendMessageW(control(name), WM_CHAR, c, 1);
    }

    // Types a start pixel and clicks the calculate button.
    void calculate(const char* x, const char* y) const
    {
        setText("起始像素点X编辑框", x);
        setText("起始像素点Y编辑框", y);
        click("起始区块位置计算按钮");
    }

    // The mouse over the map canvas, in its client pixels.
    void moveMouse(int x, int y) const
    {
        SendMessageW(window_->canvas().hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }
    void rightClick(int x, int y) const
    {
        HWND canvas = window_->canvas().hwnd();
        SendMessageW(canvas, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
        SendMessageW(canvas, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
    }
    void leftClickOnCanvas(int x, int y) const
    {
        HWND canvas = window_->canvas().hwnd();
        SendMessageW(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(canvas, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }

    // A double-click on a legend item, as the mouse sends it: press, release,
    // double-click, release, on the item scrolled into view.
    void doubleClickLegendItem(int index) const
    {
        HWND legend = control("列表框1");
        SendMessageW(legend, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
        RECT item;
        SendMessageW(legend, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        SendMessageW(legend, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(legend, WM_LBUTTONUP, 0, at);
        SendMessageW(legend, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageW(legend, WM_LBUTTONUP, 0, at);
    }

    // The kept canvas bitmap's pixel at canvas (x, y).
    Rgb canvasPixel(int x, int y) const { return window_->canvas().pixel(x, y); }

    // The marker of the current block on the canvas, as the colour of its
    // top-left outline pixel.
    Rgb markerPixel() const
    {
        const MapView& v = window_->editor().state().view;
        return canvasPixel(v.viewBlockXMin - v.viewLeft, v.viewBlockYMin - v.viewTop);
    }

    platform::NativeFiles native;
    platform::FaultInjectingFiles files {native};
    std::optional<int> exitCode;
    std::vector<std::string> messages;  // the message boxes' texts
    std::vector<std::string> questions; // the Yes/No boxes' texts
    struct ShownDialog {
        win32::FileDialog dialog;
        std::wstring proposed;
    };
    std::vector<ShownDialog> fileDialogs; // the window menu's dialogs, as shown
    // Runs while a question is shown, before it is answered: the preview.
    std::function<void()> onQuestion;

private:
    std::optional<std::wstring> nextAnswer_;
    std::vector<bool> answers_;
    std::optional<std::wstring> nextFile_;
    std::unique_ptr<win32::MainWindow> window_;
};

// A fresh main window for each test, with the paged picture beside the tests.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override { harness.make(); }
    void TearDown() override { harness.reset(); }

    WindowHarness harness;
};

} // namespace quarnet::testing
