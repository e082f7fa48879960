#include "DataFiles.h"

#include "ExecutableDirectory.h"

namespace quarnet::platform {

namespace {

#ifdef _WIN32
constexpr std::string_view separators = "\\/";
#else
constexpr std::string_view separators = "/";
#endif

} // namespace

std::string findMapPicture(std::string_view programDirectory, std::string_view mapPath)
{
    if (const std::size_t separator = mapPath.find_last_of(separators); separator != std::string_view::npos) {
        std::string beside = joinPath(mapPath.substr(0, separator + 1), mapPictureName);
        if (isExistingFile(beside))
            return beside;
    }
    return findDataFile(programDirectory, mapPictureName);
}

} // namespace quarnet::platform
