#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarnet::platform {

// Where the program looks for a data file that it reads but does not install
// (the map picture), in order: beside the program; on Linux then in the
// user's data folder ($XDG_DATA_HOME, by default ~/.local/share) and in each
// of the system's ($XDG_DATA_DIRS, by default /usr/local/share and
// /usr/share), each under quarnet/. Relative folders in those variables are
// left out, as the XDG base directories ask.
std::vector<std::string> dataFileCandidates(std::string_view programDirectory, std::string_view fileName);

// The first candidate that is an existing file; the one beside the program
// when none is.
std::string findDataFile(std::string_view programDirectory, std::string_view fileName);

} // namespace quarnet::platform
