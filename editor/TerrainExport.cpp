#include "MapEditor.h"

#include "PathNames.h"
#include "mapfile/TerrainPicture.h"
#include "platform/WholeFiles.h"

namespace quarnet {

void MapEditor::exportTerrainPicture()
{
    if (!idle() || refuseWithoutMap("导出地形图"))
        return;
    const std::string& mapPath = state_.mapFile.mapFileName;
    const std::optional<std::string> path = host_.askFileToSave(
        FileKind::terrainPictureSaved, paths::folder(mapPath) + paths::stem(mapPath) + "-terrain.png");
    if (!path || ended_ || !isMapFileOpen())
        return;
    const std::string title = "导出地形图 " + paths::fileName(*path);
    const std::optional<pictures::ImageFormat> format = pictures::imageFormatFor(*path);
    if (!format)
        return showRefusal(title, {"OUT " + *path + " must end in .png, .jpg or .jpeg"});
    if (platform::isSameFile(*path, mapPath))
        return showRefusal(title, {"OUT is MAP itself; the map is never overwritten"});
    const pictures::TerrainPicture picture =
        pictures::drawTerrainPicture(files_, state_.mapFile.mapFileNumber, mapPath, terrainBaseOffset(),
                                     pictures::defaultPictureScale, *format);
    if (!picture.failure.empty())
        return showRefusal(title, {picture.failure});
    std::string reason;
    if (!platform::writeWholeFile(*path, picture.bytes, reason))
        return showRefusal(title, {"can't write OUT " + *path + ": " + reason});
}

} // namespace quarnet
