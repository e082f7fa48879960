#include "DataFiles.h"

#include "ExecutableDirectory.h"

namespace quarnet::platform {

// On Windows a program's data lies in its own folder, wherever it was put.
std::vector<std::string> dataFileCandidates(std::string_view programDirectory, std::string_view fileName)
{
    return {joinPath(programDirectory, fileName)};
}

std::string findDataFile(std::string_view programDirectory, std::string_view fileName)
{
    return joinPath(programDirectory, fileName);
}

} // namespace quarnet::platform
