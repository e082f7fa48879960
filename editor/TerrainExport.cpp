#include "MapEditor.h"

#include "PathNames.h"
#include "WindowTexts.h"
#include "mapfile/TerrainPicture.h"
#include "platform/NumberText.h"
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
        return showRefusal(title, {windowText(texts::message(texts::Text::pictureOutMustEnd).withFile(*path))});
    if (platform::isSameFile(*path, mapPath))
        return showRefusal(title, {windowText(texts::message(texts::Text::outIsMap))});
    const pictures::TerrainPicture picture =
        pictures::drawTerrainPicture(files_, state_.mapFile.mapFileNumber, mapPath, terrainBaseOffset(),
                                     pictures::defaultPictureScale, *format);
    if (picture.failure)
        return showRefusal(title, {windowText(*picture.failure)});
    platform::FileFault fault = platform::FileFault::none;
    if (!platform::writeWholeFile(*path, picture.bytes, fault))
        return showRefusal(title, {windowText(texts::cantWrite(texts::Text::roleOut, *path, fault))});
    canvas_.showToast("已导出地形图：" + *path + "（" + platform::decimalText(std::int64_t(picture.bytes.size()))
                      + " 字节）");
}

} // namespace quarnet
