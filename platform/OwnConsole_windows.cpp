#include "OwnConsole_windows.h"

#include <string_view>

#include <windows.h>
#include <tlhelp32.h>

namespace quarnet::platform {

namespace {

bool parentIsRunning()
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    const DWORD self = GetCurrentProcessId();
    DWORD parent = 0;
    PROCESSENTRY32W entry {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && parent == 0; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == self)
            parent = entry.th32ParentProcessID;
    }
    bool running = false;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && parent != 0 && !running;
         more = Process32NextW(snapshot, &entry))
        running = entry.th32ProcessID == parent;
    CloseHandle(snapshot);
    return running;
}

} // namespace

bool hasConsoleOfItsOwn()
{
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1 && parentIsRunning();
}

void waitForEnter()
{
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    wchar_t typed[64];
    DWORD count = 0;
    // Line input: a read returns once Enter is pressed.
    while (ReadConsoleW(input, typed, 64, &count, nullptr) && count > 0) {
        if (std::wstring_view(typed, count).find_first_of(L"\r\n") != std::wstring_view::npos)
            return;
    }
}

} // namespace quarnet::platform
