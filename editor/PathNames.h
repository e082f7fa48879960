#pragma once

// Parts of a file's path as the dialogs give it (UTF-8, either separator).

#include <string>

namespace quarnet::paths {

// The file's name, after the last separator.
std::string fileName(const std::string& path);

// The folder, up to and with the last separator; empty for a bare name.
std::string folder(const std::string& path);

// The file's name without its last extension: "SANGO7" for "SANGO7.MPC".
std::string stem(const std::string& path);

// The last extension in lower case, without its dot; empty when none.
std::string extension(const std::string& path);

} // namespace quarnet::paths
