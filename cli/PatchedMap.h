#pragma once

// A map as a patch would leave it, for the commands that read a patch in
// place of a second map.

#include "platform/MemoryFiles.h"

#include <string>

namespace quarnet::cli {

// Whether the file is an IPS or BPS patch: by its first bytes, or by its
// name, so that a damaged patch is reported as one.
bool isPatchFile(const std::string& path);

// Reads the map and the patch and adds to `files` the map as it is (file 1)
// and with the patch applied (file 2). Empty on success; else one line
// naming the file and why.
std::string loadPatchedMap(const std::string& mapPath, const std::string& patchPath, platform::MemoryFiles& files);

} // namespace quarnet::cli
