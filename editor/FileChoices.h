#pragma once

#include <span>
#include <string_view>

namespace quarnet {

// The files the window's commands ask for besides the map.
enum class FileKind {
    terrainPicture,      // a painted terrain picture to import (open)
    patch,               // an IPS or BPS patch to apply (open)
    originalMap,         // the original of the open map, to make a patch against (open)
    terrainPictureSaved, // the terrain picture to export (save)
    patchSaved,          // the patch to make (save)
};

// One line of a dialog's type list: "地形图 (*.png *.bmp)" shows as name
// with the patterns after it; a file matches one of the patterns, any case.
struct FileFilter {
    std::string_view name;
    std::span<const std::string_view> patterns; // "*.png"; "*" for every file
};

// What a dialog for a kind shows: its title and its type list, the first
// filter chosen at first. A save dialog adds the first pattern's extension
// of the chosen filter to a name typed without one.
struct FileChoice {
    std::string_view title;
    std::span<const FileFilter> filters;
};

FileChoice fileChoice(FileKind kind);

} // namespace quarnet
