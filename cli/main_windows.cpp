// quarnet-terrain.exe: the terrain command line. Takes its arguments as
// UTF-16 (wmain), so paths outside the ANSI code page work, and hands them on
// as UTF-8. Everything else lives in the library, where the tests drive it.
// Double-clicked, it has a console of its own that would close with it before
// anything could be read: then it explains itself and waits for Enter.

#include "OwnConsoleHelp.h"
#include "Program.h"

#include "platform/ConsoleStream_windows.h"
#include "platform/NativeFiles.h"
#include "platform/OwnConsole_windows.h"
#include "platform/UserLanguage.h"
#include "platform/WindowsText.h"

#include <ostream>
#include <string>
#include <vector>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(quarnet::platform::wideToUtf8(argv[i]));
    quarnet::platform::ConsoleStreamBuffer outBuffer(STD_OUTPUT_HANDLE);
    quarnet::platform::ConsoleStreamBuffer errBuffer(STD_ERROR_HANDLE);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    const bool ownConsole = quarnet::platform::hasConsoleOfItsOwn();
    if (ownConsole && arguments.empty()) {
        out << quarnet::cli::ownConsoleHelp() << quarnet::cli::pressEnterToClose;
        out.flush();
        quarnet::platform::waitForEnter();
        return quarnet::cli::exitSuccess;
    }
    quarnet::platform::NativeFiles files;
    const auto language = quarnet::platform::userReadsChinese() ? quarnet::texts::Language::chinese
                                                                : quarnet::texts::Language::english;
    const int code = quarnet::cli::runProgram(arguments, files, out, err, language);
    out.flush();
    err.flush();
    if (ownConsole) { // a file dropped onto the program: its answer stays readable
        out << '\n' << quarnet::cli::pressEnterToClose;
        out.flush();
        quarnet::platform::waitForEnter();
    }
    return outBuffer.failed() ? quarnet::cli::exitTrouble : code;
}
