#include "DataFiles.h"

#include "ExecutableDirectory.h"

#include <cstdlib>
#include <sys/stat.h>

namespace quarnet::platform {

namespace {

constexpr std::string_view folderName = "quarnet";

// An environment variable's value; empty when unset.
std::string_view environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

void addCandidate(std::vector<std::string>& candidates, std::string_view dataFolder, std::string_view fileName)
{
    if (dataFolder.empty() || dataFolder.front() != '/')
        return;
    candidates.push_back(joinPath(joinPath(dataFolder, folderName), fileName));
}

} // namespace

bool isExistingFile(std::string_view utf8Path)
{
    struct stat status {};
    return ::stat(std::string(utf8Path).c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::vector<std::string> dataFileCandidates(std::string_view programDirectory, std::string_view fileName)
{
    std::vector<std::string> candidates {joinPath(programDirectory, fileName)};

    std::string home(environment("XDG_DATA_HOME"));
    if (home.empty() && !environment("HOME").empty())
        home = joinPath(environment("HOME"), ".local/share");
    addCandidate(candidates, home, fileName);

    std::string_view folders = environment("XDG_DATA_DIRS");
    if (folders.empty())
        folders = "/usr/local/share/:/usr/share/";
    while (!folders.empty()) {
        const std::size_t colon = folders.find(':');
        addCandidate(candidates, folders.substr(0, colon), fileName);
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
    }
    return candidates;
}

std::string findDataFile(std::string_view programDirectory, std::string_view fileName)
{
    const std::vector<std::string> candidates = dataFileCandidates(programDirectory, fileName);
    for (const std::string& candidate : candidates) {
        if (isExistingFile(candidate))
            return candidate;
    }
    return candidates.front();
}

std::optional<std::string> findDemoMap(std::string_view programDirectory)
{
    if (isExistingFile(joinPath(programDirectory, mapFileName)))
        return std::nullopt;
    std::string demo = joinPath(joinPath(programDirectory, "demo"), mapFileName);
    if (!isExistingFile(demo))
        return std::nullopt;
    return demo;
}

} // namespace quarnet::platform
