// Each event handler of the Windows main window in process, driven with the
// window messages that a user's action sends to the real controls, each
// followed by the repaint it causes. Prints one line per handler,
//   NAME MEDIAN_US FASTEST_US PAINTS
// the time of one event as the median and the fastest of 11 rounds of at
// least 0.1 s each (under wine on a shared machine, stretches of seconds run
// ten times slower; the fastest round shows the undisturbed cost), and the
// windows painted per event. The demo map SANGO7.MPC must lie beside the
// program; a scratch copy beside it is edited. Nothing here asserts a time.

#include "NoFlushFiles.h"
#include "platform/NativeFiles.h"
#include "win32/MainWindow.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using quarnet::win32::MainWindow;

std::wstring programDirectory()
{
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return path.substr(0, path.find_last_of(L'\\'));
}

class Bench {
public:
    Bench()
    {
        // Beside the program, on the disk the map would be on: the wine
        // prefix's temporary folder may lie in memory.
        mapPath = programDirectory() + L"\\quarnet-bench-" + std::to_wstring(GetCurrentProcessId()) + L".MPC";
        if (!CopyFileW((programDirectory() + L"\\SANGO7.MPC").c_str(), mapPath.c_str(), FALSE))
            std::fputs("the demo map SANGO7.MPC must lie beside the benchmark\n", stderr);
        window.setEndProgram([](int) {});
        ShowWindow(window.hwnd(), SW_SHOWNORMAL);
        repaint();
        open();
    }
    ~Bench() { DeleteFileW(mapPath.c_str()); }

    void open()
    {
        window.answerNextOpenDialog(mapPath);
        click("打开文件按钮");
    }
    void click(const char* name) const { SendMessageW(window.control(name), BM_CLICK, 0, 0); }
    void setText(const char* name, const wchar_t* text) const { SetWindowTextW(window.control(name), text); }

    // The current block in the middle of the map, on a page of its own.
    void centre() const
    {
        setText("起始像素点X编辑框", L"8736");
        setText("起始像素点Y编辑框", L"6192");
        setText("步长编辑框", L"1");
        click("起始区块位置计算按钮");
        repaint();
    }

    // What the message loop does next: the messages the event posted, then
    // every window's pending paint.
    void repaint() const
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
    }

    std::wstring mapPath;
    quarnet::platform::NativeFiles native;
    quarnet::bench::NoFlushFiles files {native};
    MainWindow window {files};
};

// Counts the WM_PAINT messages of this thread's windows, however they come:
// sent by RedrawWindow or dispatched from the queue.
long long paints = 0;

LRESULT CALLBACK countSentPaint(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && reinterpret_cast<const CWPSTRUCT*>(lParam)->message == WM_PAINT)
        ++paints;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK countQueuedPaint(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE && reinterpret_cast<const MSG*>(lParam)->message == WM_PAINT)
        ++paints;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct Figure {
    double median = 0;
    double fastest = 0;
    double paintsPerEvent = 0;
};

// The time of one call over 11 rounds, in microseconds.
Figure measure(const std::function<void()>& event)
{
    using clock = std::chrono::steady_clock;
    for (int i = 0; i < 10; ++i)
        event();
    std::vector<double> rounds;
    long long events = 0;
    const long long paintsBefore = paints;
    constexpr int roundCount = 11;
    for (int round = 0; round < roundCount; ++round) {
        long long calls = 0;
        const auto start = clock::now();
        auto now = start;
        do {
            event();
            ++calls;
            now = clock::now();
        } while (now - start < std::chrono::milliseconds(100));
        rounds.push_back(std::chrono::duration<double, std::micro>(now - start).count() / double(calls));
        events += calls;
    }
    std::sort(rounds.begin(), rounds.end());
    return {rounds[roundCount / 2], rounds.front(), double(paints - paintsBefore) / double(events)};
}

void report(const char* name, Figure figure)
{
    std::printf("%s %.1f %.1f %.1f\n", name, figure.median, figure.fastest, figure.paintsPerEvent);
    std::fflush(stdout);
}

void mouse(HWND target, UINT message, WPARAM keys, int x, int y)
{
    SendMessageW(target, message, keys, MAKELPARAM(x, y));
}

} // namespace

int wmain()
{
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    SetWindowsHookExW(WH_CALLWNDPROC, countSentPaint, nullptr, GetCurrentThreadId());
    SetWindowsHookExW(WH_GETMESSAGE, countQueuedPaint, nullptr, GetCurrentThreadId());
    {
        Bench b;

        b.centre();
        report("Calculate", measure([&] {
            b.click("起始区块位置计算按钮");
            b.repaint();
        }));

        // Moves alternate with their opposites, so the block never reaches an
        // edge; the time is that of one move.
        const struct {
            const char* name;
            const char* there;
            const char* back;
        } moves[] = {
            {"Move/up", "上移按钮", "下移按钮"},         {"Move/down", "下移按钮", "上移按钮"},
            {"Move/left", "左移按钮", "右移按钮"},       {"Move/right", "右移按钮", "左移按钮"},
            {"Move/up_left", "左上按钮", "右下按钮"},    {"Move/up_right", "右上按钮", "左下按钮"},
            {"Move/down_left", "左下按钮", "右上按钮"},  {"Move/down_right", "右下按钮", "左上按钮"},
        };
        for (const auto& move : moves) {
            b.centre();
            bool forth = true;
            report(move.name, measure([&] {
                b.click(forth ? move.there : move.back);
                b.repaint();
                forth = !forth;
            }));
        }

        // A click and a double-click on the third item, as the mouse sends them.
        HWND legend = b.window.control("列表框1");
        RECT item {};
        SendMessageW(legend, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
        const int itemX = (item.left + item.right) / 2;
        const int itemY = (item.top + item.bottom) / 2;
        report("PickLegendCode", measure([&] {
            mouse(legend, WM_LBUTTONDOWN, MK_LBUTTON, itemX, itemY);
            mouse(legend, WM_LBUTTONUP, 0, itemX, itemY);
            mouse(legend, WM_LBUTTONDBLCLK, MK_LBUTTON, itemX, itemY);
            mouse(legend, WM_LBUTTONUP, 0, itemX, itemY);
            b.repaint();
        }));

        for (const bool flush : {true, false}) {
            b.centre();
            b.setText("修改数据编辑框", L"05");
            b.files.flushes = flush;
            report(flush ? "Write/with_flush" : "Write/without_flush", measure([&] {
                b.click("写入按钮");
                b.repaint();
            }));
            b.files.flushes = true;
        }

        // For reference: the system's own write and flush of one byte.
        HANDLE file = CreateFileW(b.mapPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        report("BareWriteFlush", measure([&] {
            OVERLAPPED at {};
            at.Offset = 68 + (3 * 546 + 5) * 8;
            const BYTE road = 5;
            DWORD written = 0;
            WriteFile(file, &road, 1, &written, &at);
            FlushFileBuffers(file);
        }));
        CloseHandle(file);

        b.centre();
        report("Locate", measure([&] {
            b.click("定位按钮");
            b.repaint();
        }));

        // Cities in turn: each choice calculates, shows the page and marks.
        HWND cities = b.window.control("城池选择组合框");
        const int cityCount = static_cast<int>(SendMessageW(cities, CB_GETCOUNT, 0, 0));
        int city = 0;
        report("SelectCity", measure([&] {
            SendMessageW(cities, CB_SETCURSEL, static_cast<WPARAM>(city), 0);
            SendMessageW(b.window.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(cities), CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(cities));
            b.repaint();
            city = (city + 1) % std::max(cityCount, 1);
        }));

        HWND canvas = b.window.canvas().hwnd();
        b.centre();
        int x = 0;
        report("RightClickPick", measure([&] {
            mouse(canvas, WM_RBUTTONDOWN, MK_RBUTTON, 10 + x, 20);
            mouse(canvas, WM_RBUTTONUP, 0, 10 + x, 20);
            b.repaint();
            x = (x + 4) % 300;
        }));

        x = 0;
        report("MouseMove", measure([&] {
            mouse(canvas, WM_MOUSEMOVE, 0, x, 100);
            b.repaint();
            x = (x + 1) % 384;
        }));

        report("OpenAndClose", measure([&] {
            b.open();
            b.click("关闭文件按钮");
            b.repaint();
        }));
    }
    if (com)
        CoUninitialize();
    return 0;
}
