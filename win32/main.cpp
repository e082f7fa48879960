#include "MainWindow.h"
#include "OpeningFromOutside.h"
#include "platform/ExecutableDirectory.h"
#include "platform/NativeFiles.h"
#include "platform/UserDemo.h"

#include <windows.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand)
{
    // COM for the picture decoder, on the window's one thread.
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    int exitCode = 0;
    // Installed where its user can't write: the demo goes to Documents
    // before the window names it.
    quarnet::platform::prepareUserDemo(quarnet::platform::executableDirectory());
    {
        quarnet::platform::NativeFiles files;
        // quarnet.exe PATH, "Open with" and a file dropped on quarnet.exe: the
        // map opens as if chosen in the open-file dialog, before the window
        // first shows. The wide command line keeps every character of a path.
        const std::wstring path = quarnet::win32::mapPathArgument(GetCommandLineW()).value_or(std::wstring());
        quarnet::win32::MainWindow window(files, {}, path);
        ShowWindow(window.hwnd(), showCommand);
        UpdateWindow(window.hwnd());

        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            // Tab moves the focus between the controls.
            if (window.hwnd() && IsDialogMessageW(window.hwnd(), &message))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        exitCode = message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
    }
    if (com)
        CoUninitialize();
    return exitCode;
}
