#include "FileChoices.h"

#include <array>

namespace quarnet {

namespace {

constexpr std::array<std::string_view, 5> pictures {"*.png", "*.bmp", "*.tga", "*.jpg", "*.jpeg"};
constexpr std::array<std::string_view, 2> patches {"*.ips", "*.bps"};
constexpr std::array<std::string_view, 1> everything {"*"};
constexpr std::array<std::string_view, 3> backups {"*.bak", "*.orig", "*.MPC"};
constexpr std::array<std::string_view, 1> png {"*.png"};
constexpr std::array<std::string_view, 2> jpeg {"*.jpg", "*.jpeg"};
constexpr std::array<std::string_view, 1> bps {"*.bps"};
constexpr std::array<std::string_view, 1> ips {"*.ips"};

constexpr std::array<FileFilter, 2> pictureFilters {{{"地形图 (PNG BMP TGA JPEG)", pictures}, {"所有文件", everything}}};
constexpr std::array<FileFilter, 2> patchFilters {{{"补丁 (IPS BPS)", patches}, {"所有文件", everything}}};
constexpr std::array<FileFilter, 2> originalFilters {{{"备份与地图", backups}, {"所有文件", everything}}};
constexpr std::array<FileFilter, 2> savedPictureFilters {{{"PNG 图片", png}, {"JPEG 图片", jpeg}}};
constexpr std::array<FileFilter, 2> savedPatchFilters {{{"BPS 补丁", bps}, {"IPS 补丁", ips}}};

} // namespace

FileChoice fileChoice(FileKind kind)
{
    switch (kind) {
    case FileKind::terrainPicture:
        return {"导入地形图", pictureFilters};
    case FileKind::patch:
        return {"应用补丁", patchFilters};
    case FileKind::originalMap:
        return {"制作补丁：选择原始地图", originalFilters};
    case FileKind::terrainPictureSaved:
        return {"导出地形图", savedPictureFilters};
    case FileKind::patchSaved:
        return {"制作补丁：保存补丁", savedPatchFilters};
    }
    return {"", {}};
}

} // namespace quarnet
