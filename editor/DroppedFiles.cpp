#include "MapEditor.h"

#include "PathNames.h"
#include "mapfile/PatchFormat.h"
#include "platform/ReadOnlyFiles.h"

#include <algorithm>
#include <array>

namespace quarnet {

namespace {

// The first bytes of a file; fewer when it is shorter or can't be read.
std::vector<std::uint8_t> firstBytes(const std::string& path)
{
    platform::ReadOnlyFiles files;
    std::vector<std::uint8_t> bytes(std::max<std::size_t>(8, patches::patchMagicSize));
    const platform::FileNumber file = files.open(path);
    const std::int64_t count = file == 0 ? 0 : files.readBytes(file, 0, bytes);
    bytes.resize(static_cast<std::size_t>(std::max<std::int64_t>(count, 0)));
    return bytes;
}

bool startsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> magic)
{
    return bytes.size() >= magic.size() && std::ranges::equal(bytes.first(magic.size()), magic);
}

// A picture by its signature (PNG, JPEG; a BMP's "BM" is too short to tell
// alone) or by its name; a TGA has no signature.
bool isPicture(std::span<const std::uint8_t> bytes, const std::string& path)
{
    static constexpr std::array<std::string_view, 5> extensions {"png", "bmp", "tga", "jpg", "jpeg"};
    return startsWith(bytes, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}) || startsWith(bytes, {0xFF, 0xD8, 0xFF})
           || std::ranges::find(extensions, paths::extension(path)) != extensions.end();
}

} // namespace

DroppedFile MapEditor::openDroppedFile(const std::string& path)
{
    if (!idle())
        return DroppedFile::map;
    const std::vector<std::uint8_t> bytes = firstBytes(path);
    if (patches::isPatch(bytes, path)) {
        applyPatch(path);
        return DroppedFile::patch;
    }
    if (isPicture(bytes, path)) {
        importTerrainPicture(path);
        return DroppedFile::terrainPicture;
    }
    openMapFile(path);
    return DroppedFile::map;
}

} // namespace quarnet
