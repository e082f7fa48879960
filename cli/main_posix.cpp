// quarnet-terrain: the terrain command line. Everything but the arguments,
// the standard streams and the user's language lives in the library, where
// the tests drive it.

#include "Program.h"

#include "platform/NativeFiles.h"
#include "platform/UserLanguage.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    quarnet::platform::NativeFiles files;
    const auto language = quarnet::platform::userReadsChinese() ? quarnet::texts::Language::chinese
                                                                : quarnet::texts::Language::english;
    const int code = quarnet::cli::runProgram(arguments, files, std::cout, std::cerr, language);
    std::cout.flush();
    return std::cout ? code : quarnet::cli::exitTrouble;
}
