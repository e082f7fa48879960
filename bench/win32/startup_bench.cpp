// Start-up to the first painted frame and peak working set of Windows
// programs, started in turn from this one launcher, RUNS times each:
//   quarnet-bench-win32-startup RUNS PROGRAM.exe...
// The programs lie beside the launcher. For each it prints one line,
//   PROGRAM MEDIAN_MS FASTEST_MS PEAK_KIB
// with the median and the fastest of its start-ups and the median peak. The first frame has been painted when the new
// process shows a top-level window, neither it nor any of its child windows
// waits to be painted, and the program answers a message (so the last paint
// has returned). WaitForInputIdle would be the usual way, but wine reports the
// process idle before it has made its window. The peak working set is read
// then. Each run closes the program's windows (WM_CLOSE) and expects exit
// code 0.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Run {
    double milliseconds = 0;
    double peakKib = 0;
};

std::wstring launcherDirectory()
{
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return path.substr(0, path.find_last_of(L'\\'));
}

struct Search {
    DWORD processId = 0;
    HWND found = nullptr;
};

BOOL CALLBACK findShownWindow(HWND window, LPARAM search)
{
    auto& s = *reinterpret_cast<Search*>(search);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != s.processId || !IsWindowVisible(window))
        return TRUE;
    s.found = window;
    return FALSE;
}

BOOL CALLBACK findUnpainted(HWND window, LPARAM unpainted)
{
    if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(unpainted) = true;
        return FALSE;
    }
    return TRUE;
}

// Polls until the process has painted its first frame: every 4 ms for its
// window, then every millisecond for its paints, lightly, so that the polls
// take little from the starting program. False when it ends first or takes
// more than 30 s.
bool awaitFirstFrame(const PROCESS_INFORMATION& process)
{
    const ULONGLONG deadline = GetTickCount64() + 30000;
    while (GetTickCount64() < deadline) {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            return false;
        Search search {process.dwProcessId, nullptr};
        EnumWindows(findShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            bool unpainted = GetUpdateRect(search.found, nullptr, FALSE) != FALSE;
            if (!unpainted)
                EnumChildWindows(search.found, findUnpainted, reinterpret_cast<LPARAM>(&unpainted));
            if (!unpainted)
                return SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 30000, nullptr) != 0;
        }
        Sleep(search.found ? 1 : 4);
    }
    return false;
}

BOOL CALLBACK closeWindowOf(HWND window, LPARAM processId)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(processId) && IsWindowVisible(window))
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

bool startOnce(const std::wstring& directory, const std::wstring& program, Run& run)
{
    const std::wstring path = directory + L"\\" + program;
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};

    LARGE_INTEGER frequency, start, painted;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                        &startup, &process)) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", path.c_str(), GetLastError());
        return false;
    }
    const bool shown = awaitFirstFrame(process);
    QueryPerformanceCounter(&painted);
    PROCESS_MEMORY_COUNTERS memory {};
    memory.cb = sizeof memory;
    const bool measured = GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);

    EnumWindows(closeWindowOf, static_cast<LPARAM>(process.dwProcessId));
    const DWORD ended = WaitForSingleObject(process.hProcess, 30000);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    if (ended != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    if (!shown || !measured || ended != WAIT_OBJECT_0 || exitCode != 0) {
        std::fwprintf(stderr, L"%ls: first frame %d, memory %d, ended %lu, exit code %lu\n", program.c_str(),
                      shown ? 1 : 0, measured ? 1 : 0, ended, exitCode);
        return false;
    }
    run.milliseconds = 1000.0 * static_cast<double>(painted.QuadPart - start.QuadPart)
                       / static_cast<double>(frequency.QuadPart);
    run.peakKib = static_cast<double>(memory.PeakWorkingSetSize) / 1024.0;
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int wmain(int argc, wchar_t* argv[])
{
    const int runs = argc > 2 ? _wtoi(argv[1]) : 0;
    if (runs < 1) {
        std::fwprintf(stderr, L"usage: quarnet-bench-win32-startup RUNS PROGRAM.exe...\n");
        return 2;
    }
    const std::wstring directory = launcherDirectory();
    const int programs = argc - 2;
    std::vector<std::vector<double>> times(programs), peaks(programs);
    // One start of each first, untimed: the system's caches warm up.
    for (int run = -1; run < runs; ++run) {
        for (int p = 0; p < programs; ++p) {
            Run result;
            if (!startOnce(directory, argv[2 + p], result))
                return 1;
            if (run >= 0) {
                times[p].push_back(result.milliseconds);
                peaks[p].push_back(result.peakKib);
            }
        }
    }
    for (int p = 0; p < programs; ++p)
        std::wprintf(L"%ls %.1f %.1f %.0f\n", argv[2 + p], median(times[p]),
                     *std::min_element(times[p].begin(), times[p].end()), median(peaks[p]));
    return 0;
}
