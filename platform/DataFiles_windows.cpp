#include "DataFiles.h"

#include "ExecutableDirectory.h"
#include "UserFolders.h"

namespace quarnet::platform {

// Beside the program, wherever it was put; then in the user's own data
// folder, which an installed program's user can write.
std::vector<std::string> dataFileCandidates(std::string_view programDirectory, std::string_view fileName)
{
    std::vector<std::string> candidates {joinPath(programDirectory, fileName)};
    if (const std::string user = userDataFolder(); !user.empty())
        candidates.push_back(joinPath(user, fileName));
    return candidates;
}

std::string findDataFile(std::string_view programDirectory, std::string_view fileName)
{
    // The usual case first, without asking the shell for the user's folder.
    std::string beside = joinPath(programDirectory, fileName);
    if (isExistingFile(beside))
        return beside;
    for (const std::string& candidate : dataFileCandidates(programDirectory, fileName)) {
        if (isExistingFile(candidate))
            return candidate;
    }
    return beside;
}

std::optional<std::string> findDemoMap(std::string_view programDirectory)
{
    if (isExistingFile(joinPath(programDirectory, mapFileName)))
        return std::nullopt;
    for (const std::string& folder : {userDemoFolder(), joinPath(programDirectory, "demo")}) {
        if (folder.empty())
            continue;
        if (std::string demo = joinPath(folder, mapFileName); isExistingFile(demo))
            return demo;
    }
    return std::nullopt;
}

} // namespace quarnet::platform
