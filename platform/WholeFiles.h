#pragma once

// Whole files read and written at once, by UTF-8 paths: the command line's
// inputs and outputs other than the map it edits and its backups.

#include "FileFault.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quarnet::platform {

// Whether the path names an existing regular file; false with the fault
// when not.
bool isReadableFile(const std::string& utf8Path, FileFault& fault);

// False with the fault when the file can't be read.
bool readWholeFile(const std::string& utf8Path, std::vector<std::uint8_t>& bytes, FileFault& fault);

// Creates the file or replaces its content. False with the fault on failure.
bool writeWholeFile(const std::string& utf8Path, std::span<const std::uint8_t> bytes, FileFault& fault);

// Whether both paths name one existing file.
bool isSameFile(const std::string& utf8PathA, const std::string& utf8PathB);

} // namespace quarnet::platform
