// Each event handler of the Windows main window in process, driven with the
// window messages that a user's action sends to the real controls, each
// followed by the repaint it causes. Prints one line per handler,
//   NAME MEDIAN_US FASTEST_US PAINTS HANDLER_MEDIAN_US
// the time of one event with its repaint as the median and the fastest of its
// 11 rounds of at least 0.1 s each, the handlers taking turns round by round,
// the windows painted per event, and the median of the event alone, its
// repaint left out. QUARNET_BENCH_ROUNDS=1 shows every round on stderr. The demo map SANGO7.MPC must lie beside the
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
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using quarnet::win32::MainWindow;
using clock = std::chrono::steady_clock;

// The time spent repainting, which the event alone leaves out.
clock::duration repainting {};

// What the message loop does next: the messages the event posted, then
// every pending paint of the window and its children.
void repaintWindow(HWND window)
{
    const auto start = clock::now();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    repainting += clock::now() - start;
}

// For reference: a window of the system's own controls alone, with a button
// and as many edit boxes and labels as a step of the current block changes,
// in the program's font; a click on the button and the texts set in turn
// cost what the window system makes any program pay for a step.
class BareTexts {
public:
    explicit BareTexts(HFONT font)
    {
        window_ = CreateWindowExW(0, L"STATIC", L"bare texts", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 800, 50, 300,
                                  300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        button_ = CreateWindowExW(0, L"BUTTON", L"上移", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 150, 8, 64, 40, window_,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(button_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        for (int i = 0; i < 8; ++i) {
            const bool label = i == 7;
            controls_[i] = CreateWindowExW(label ? 0 : WS_EX_CLIENTEDGE, label ? L"STATIC" : L"EDIT", L"",
                                           WS_CHILD | WS_VISIBLE | (label ? SS_LEFT : ES_CENTER | ES_READONLY), 8,
                                           8 + i * 30, 104, 24, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
            SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        repaintWindow(window_);
    }
    ~BareTexts() { DestroyWindow(window_); }

    // The button clicked, then each control's text changed, as in a step.
    void step()
    {
        SendMessageW(button_, BM_CLICK, 0, 0);
        const wchar_t* texts[] = {L"5479", L"5480"};
        for (HWND control : controls_)
            SetWindowTextW(control, texts[next_]);
        next_ = 1 - next_;
    }
    HWND window() const { return window_; }

private:
    HWND window_ = nullptr;
    HWND button_ = nullptr;
    HWND controls_[8] = {};
    int next_ = 0;
};

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
        ShowWindow(window.hwnd(), SW_SHOWNORMAL);
        repaint();
        open();
    }
    ~Bench() { DeleteFileW(mapPath.c_str()); }

    void open() const { click("打开文件按钮"); }
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
    void repaint() const { repaintWindow(window.hwnd()); }

    std::wstring mapPath;
    quarnet::platform::NativeFiles native;
    quarnet::bench::NoFlushFiles files {native};
    // The dialog always answers the scratch map; ending, messages and questions
    // do nothing.
    MainWindow window {files, {.answerOpenDialog = [this] { return std::optional<std::wstring>(mapPath); },
                               .endProgram = [](int) {},
                               .showMessage = [](const std::wstring&) {},
                               .answerYesNo = [](const std::wstring&) { return false; },
                               .answerFileDialog = {}}};
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

// One handler's case: what it needs before each of its rounds, the event,
// and what it undoes after each round.
struct Case {
    Case(const char* caseName, std::function<void()> before, std::function<void()> action,
         std::function<void()> after = [] {})
        : name(caseName), prepare(std::move(before)), event(std::move(action)), finish(std::move(after))
    {
    }
    const char* name;
    std::function<void()> prepare;
    std::function<void()> event;
    std::function<void()> finish;
    std::vector<double> rounds; // microseconds per event
    std::vector<double> alone;  // the same without the repaints
    long long events = 0;
    long long paints = 0;
};

// Each case in 11 rounds of at least 0.1 s, the cases taking turns round by
// round: a slow stretch of the machine (under wine on a shared machine,
// stretches of seconds run ten times slower) then costs each case one round
// at most, which the median leaves out, instead of all rounds of one case.
void measureAll(std::vector<Case>& cases)
{
    constexpr int roundCount = 11;
    const bool showRounds = GetEnvironmentVariableW(L"QUARNET_BENCH_ROUNDS", nullptr, 0) != 0;
    for (Case& c : cases) { // warm-up
        c.prepare();
        for (int i = 0; i < 10; ++i)
            c.event();
        c.finish();
    }
    for (int round = 0; round < roundCount; ++round) {
        for (Case& c : cases) {
            c.prepare();
            const long long paintsBefore = paints;
            const clock::duration repaintingBefore = repainting;
            long long calls = 0;
            const auto start = clock::now();
            auto now = start;
            do {
                c.event();
                ++calls;
                now = clock::now();
            } while (now - start < std::chrono::milliseconds(100));
            c.finish();
            c.rounds.push_back(std::chrono::duration<double, std::micro>(now - start).count() / double(calls));
            c.alone.push_back(
                std::chrono::duration<double, std::micro>(now - start - (repainting - repaintingBefore)).count()
                / double(calls));
            c.events += calls;
            c.paints += paints - paintsBefore;
            if (showRounds)
                std::fprintf(stderr, "round %d %s %.1f us\n", round, c.name, c.rounds.back());
        }
    }
}

void report(Case& c)
{
    std::sort(c.rounds.begin(), c.rounds.end());
    std::sort(c.alone.begin(), c.alone.end());
    std::printf("%s %.1f %.1f %.1f %.1f\n", c.name, c.rounds[c.rounds.size() / 2], c.rounds.front(),
                double(c.paints) / double(c.events), c.alone[c.alone.size() / 2]);
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
        std::vector<Case> cases;
        // Each case starts from the map open, flushing, the block in the middle.
        const auto centred = [&b] {
            if (!b.window.editor().isMapFileOpen())
                b.open();
            b.files.flushes = true;
            b.centre();
        };

        cases.push_back({"Calculate", centred, [&] {
                             b.click("起始区块位置计算按钮");
                             b.repaint();
                         }});

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
        bool forth = true;
        for (const auto& move : moves) {
            cases.push_back({move.name, [&] { centred(); forth = true; }, [&b, &forth, move] {
                                 b.click(forth ? move.there : move.back);
                                 b.repaint();
                                 forth = !forth;
                             }});
        }

        // A click and a double-click on the third item, as the mouse sends them.
        HWND legend = b.window.control("列表框1");
        RECT item {};
        SendMessageW(legend, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
        const int itemX = (item.left + item.right) / 2;
        const int itemY = (item.top + item.bottom) / 2;
        cases.push_back({"PickLegendCode", centred, [&] {
                             mouse(legend, WM_LBUTTONDOWN, MK_LBUTTON, itemX, itemY);
                             mouse(legend, WM_LBUTTONUP, 0, itemX, itemY);
                             mouse(legend, WM_LBUTTONDBLCLK, MK_LBUTTON, itemX, itemY);
                             mouse(legend, WM_LBUTTONUP, 0, itemX, itemY);
                             b.repaint();
                         }});

        for (const bool flush : {true, false}) {
            cases.push_back({flush ? "Write/with_flush" : "Write/without_flush",
                             [&b, &centred, flush] {
                                 centred();
                                 b.setText("修改数据编辑框", L"05");
                                 b.files.flushes = flush;
                             },
                             [&] {
                                 b.click("写入按钮");
                                 b.repaint();
                             }});
        }

        // Ctrl+Z and Ctrl+Y in turn on the write button, after one write: each
        // an undo or a redo of that write, with the step onto its block, the
        // page shown and the write made as the write button makes it. Ctrl is
        // held for the round, as the keyboard holds it.
        BYTE keysUp[256] = {};
        bool undoNext[2] = {true, true}; // per case: Ctrl+Z next, else Ctrl+Y
        for (const bool flush : {true, false}) {
            bool& undo = undoNext[flush ? 0 : 1];
            cases.push_back({flush ? "UndoRedo/with_flush" : "UndoRedo/without_flush",
                             [&b, &centred, &keysUp, &undo, flush] {
                                 centred();
                                 b.setText("修改数据编辑框", L"05");
                                 b.click("写入按钮");
                                 b.files.flushes = flush;
                                 undo = true;
                                 GetKeyboardState(keysUp);
                                 BYTE keysDown[256];
                                 std::copy(std::begin(keysUp), std::end(keysUp), keysDown);
                                 keysDown[VK_CONTROL] = keysDown[VK_LCONTROL] = 0x80;
                                 SetKeyboardState(keysDown);
                             },
                             [&b, &undo] {
                                 HWND write = b.window.control("写入按钮");
                                 const WPARAM key = undo ? 'Z' : 'Y';
                                 SendMessageW(write, WM_KEYDOWN, key, 1);
                                 SendMessageW(write, WM_CHAR, key - 'A' + 1, 1);
                                 SendMessageW(write, WM_KEYUP, key, 0xC0000001);
                                 b.repaint();
                                 undo = !undo;
                             },
                             [&keysUp] { SetKeyboardState(keysUp); }});
        }

        // For reference: the system's own write and flush of one byte.
        HANDLE file = CreateFileW(b.mapPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        cases.push_back({"BareWriteFlush", [] {}, [&] {
                             OVERLAPPED at {};
                             at.Offset = 68 + (3 * 546 + 5) * 8;
                             const BYTE road = 5;
                             DWORD written = 0;
                             WriteFile(file, &road, 1, &written, &at);
                             FlushFileBuffers(file);
                         }});

        BareTexts bareTexts(b.window.font());
        cases.push_back({"BareStep", [] {}, [&] {
                             bareTexts.step();
                             repaintWindow(bareTexts.window());
                         }});

        cases.push_back({"Locate", centred, [&] {
                             b.click("定位按钮");
                             b.repaint();
                         }});

        // Cities in turn: each choice calculates, shows the page and marks.
        HWND cities = b.window.control("城池选择组合框");
        const int cityCount = static_cast<int>(SendMessageW(cities, CB_GETCOUNT, 0, 0));
        int city = 0;
        cases.push_back({"SelectCity", centred, [&] {
                             SendMessageW(cities, CB_SETCURSEL, static_cast<WPARAM>(city), 0);
                             SendMessageW(b.window.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(cities), CBN_SELCHANGE),
                                          reinterpret_cast<LPARAM>(cities));
                             b.repaint();
                             city = (city + 1) % std::max(cityCount, 1);
                         }});

        HWND canvas = b.window.canvas().hwnd();
        int x = 0;
        cases.push_back({"RightClickPick", [&] { centred(); x = 0; }, [&] {
                             mouse(canvas, WM_RBUTTONDOWN, MK_RBUTTON, 10 + x, 20);
                             mouse(canvas, WM_RBUTTONUP, 0, 10 + x, 20);
                             b.repaint();
                             x = (x + 4) % 300;
                         }});

        cases.push_back({"MouseMove", [&] { centred(); x = 0; }, [&] {
                             mouse(canvas, WM_MOUSEMOVE, 0, x, 100);
                             b.repaint();
                             x = (x + 1) % 384;
                         }});

        cases.push_back({"OpenAndClose", centred, [&] {
                             b.open();
                             b.click("关闭文件按钮");
                             b.repaint();
                         }});

        measureAll(cases);
        CloseHandle(file);
        for (Case& c : cases)
            report(c);
    }
    if (com)
        CoUninitialize();
    return 0;
}
