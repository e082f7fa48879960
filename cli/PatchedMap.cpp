#include "PatchedMap.h"

#include "mapfile/PatchFormat.h"
#include "platform/ReadOnlyFiles.h"
#include "platform/WholeFiles.h"

#include <array>
#include <vector>

namespace quarnet::cli {

bool isPatchFile(const std::string& path)
{
    if (patches::patchFormatOfName(path) != patches::PatchFormat::none)
        return true;
    platform::ReadOnlyFiles files;
    const platform::FileNumber file = files.open(path);
    std::array<std::uint8_t, 5> start {};
    const std::int64_t got = file == 0 ? -1 : files.readBytes(file, 0, start);
    return got > 0 && patches::patchFormatOf(std::span(start).first(static_cast<std::size_t>(got)))
                          != patches::PatchFormat::none;
}

std::string loadPatchedMap(const std::string& mapPath, const std::string& patchPath, platform::MemoryFiles& files)
{
    std::vector<std::uint8_t> map;
    std::vector<std::uint8_t> patch;
    std::string reason;
    if (!platform::readWholeFile(mapPath, map, reason))
        return "can't read " + mapPath + ": " + reason;
    if (!platform::readWholeFile(patchPath, patch, reason))
        return "can't read " + patchPath + ": " + reason;
    patches::PatchedBytes patched = patches::applyPatch(patch, map);
    if (!patched.refusal.empty())
        return patchPath + ": " + patched.refusal;
    files.add(std::move(map));
    files.add(std::move(patched.target));
    return {};
}

} // namespace quarnet::cli
