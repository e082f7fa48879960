#pragma once

// Whole files read and written at once, by UTF-8 paths: the command line's
// inputs and outputs other than the map it edits and its backups.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quarnet::platform {

// Whether the path names an existing regular file; false with a one-line
// reason when not.
bool isReadableFile(const std::string& utf8Path, std::string& reason);

// False with a one-line reason when the file can't be read.
bool readWholeFile(const std::string& utf8Path, std::vector<std::uint8_t>& bytes, std::string& reason);

// Creates the file or replaces its content. False with a reason on failure.
bool writeWholeFile(const std::string& utf8Path, std::span<const std::uint8_t> bytes, std::string& reason);

// Whether both paths name one existing file.
bool isSameFile(const std::string& utf8PathA, const std::string& utf8PathB);

} // namespace quarnet::platform
