// quarnet-terrain: the terrain command line. Everything but the arguments
// and the standard streams lives in the library, where the tests drive it.

#include "Program.h"

#include "platform/NativeFiles.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    quarnet::platform::NativeFiles files;
    const int code = quarnet::cli::runProgram(arguments, files, std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? code : quarnet::cli::exitTrouble;
}
