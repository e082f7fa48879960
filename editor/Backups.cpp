#include "MapEditor.h"

#include "PathNames.h"
#include "mapfile/SafeWrite.h"

#include <filesystem>
#include <system_error>

namespace quarnet {

namespace {

std::filesystem::path nativePath(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace

// The one the safe write takes next: the first of its names that is free.
std::string MapEditor::nextBackupPath() const
{
    const std::string& mapPath = state_.mapFile.mapFileName;
    std::error_code error;
    int number = 0;
    while (std::filesystem::exists(nativePath(edits::numberedBackupPath(mapPath, number)), error))
        ++number;
    return edits::numberedBackupPath(mapPath, number);
}

std::string MapEditor::newestBackupPath() const
{
    // The one written last, whatever its number: a backup deleted by hand
    // frees its name for the next write.
    const std::string& mapPath = state_.mapFile.mapFileName;
    std::string newest;
    std::filesystem::file_time_type newestTime;
    std::error_code error;
    for (int number = 0; number < 1000; ++number) {
        const std::string path = edits::numberedBackupPath(mapPath, number);
        const std::filesystem::file_time_type time = std::filesystem::last_write_time(nativePath(path), error);
        if (error) {
            if (number > 0)
                break;
            continue;
        }
        if (newest.empty() || time > newestTime) {
            newest = path;
            newestTime = time;
        }
    }
    return newest.empty() ? paths::folder(mapPath) : newest;
}

} // namespace quarnet
