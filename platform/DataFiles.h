#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarnet::platform {

// The game's map file and the one-eighth-size picture of its map.
inline constexpr std::string_view mapFileName = "SANGO7.MPC";
inline constexpr std::string_view mapPictureName = "SANGO7.0.125.jpg";

// Where the program looks for a data file that it reads but does not install
// (the map picture), in order: beside the program; on Windows then in the
// user's own %APPDATA%\Quarnet\; on Linux then in the user's data folder
// ($XDG_DATA_HOME, by default ~/.local/share) and in each of the system's
// ($XDG_DATA_DIRS, by default /usr/local/share and /usr/share), each under
// quarnet/. Relative folders in those variables are left out, as the XDG
// base directories ask.
std::vector<std::string> dataFileCandidates(std::string_view programDirectory, std::string_view fileName);

// The first candidate that is an existing file; the one beside the program
// when none is.
std::string findDataFile(std::string_view programDirectory, std::string_view fileName);

// The map picture shown with the map at mapPath: the one in the map's own
// folder when it is there, else findDataFile's. An empty mapPath (no map)
// looks only where findDataFile looks.
std::string findMapPicture(std::string_view programDirectory, std::string_view mapPath);

// Whether the UTF-8 path names an existing file (not a folder).
bool isExistingFile(std::string_view utf8Path);

// The demo map a new user is pointed to: on Windows the user's own copy in
// Documents\Quarnet\demo\ (see UserDemo.h), else the one in the demo folder
// beside the program. Nothing when a map lies beside the program itself, or
// when there is no demo map.
std::optional<std::string> findDemoMap(std::string_view programDirectory);

} // namespace quarnet::platform
