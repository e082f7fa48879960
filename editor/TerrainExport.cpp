#include "MapEditor.h"

#include "PathNames.h"
#include "WindowTexts.h"
#include "mapfile/TerrainPicture.h"
#include "platform/WholeFiles.h"

namespace quarnet {

void MapEditor::exportTerrainPicture()
{
    if (!idle() || refuseWithoutMap(texts::message(texts::Text::titleExport)))
        return;
    const std::string& mapPath = state_.mapFile.mapFileName;
    const std::optional<std::string> path = host_.askFileToSave(
        FileKind::terrainPictureSaved, paths::folder(mapPath) + paths::stem(mapPath) + "-terrain.png");
    if (!path || ended_ || !isMapFileOpen())
        return;
    const texts::Message title = titleWithFile(texts::Text::titleExport, paths::fileName(*path));
    const std::optional<pictures::ImageFormat> format = pictures::imageFormatFor(*path);
    if (!format)
        return showRefusal(title, {texts::message(texts::Text::pictureOutMustEnd).withFile(*path)});
    if (platform::isSameFile(*path, mapPath))
        return showRefusal(title, {texts::message(texts::Text::outIsMap)});
    const pictures::TerrainPicture picture =
        pictures::drawTerrainPicture(files_, state_.mapFile.mapFileNumber, mapPath, terrainBaseOffset(),
                                     pictures::defaultPictureScale, *format);
    if (picture.failure)
        return showRefusal(title, {*picture.failure});
    saveChosenFile(title, *path, picture.bytes, texts::Text::exportedPicture);
}

void MapEditor::saveChosenFile(const texts::Message& title, const std::string& path,
                               std::span<const std::uint8_t> bytes, texts::Text saved)
{
    platform::FileFault fault = platform::FileFault::none;
    if (!platform::writeWholeFile(path, bytes, fault))
        return showRefusal(title, {texts::cantWrite(texts::Text::roleOut, path, fault)});
    canvas_.showToast(windowText(texts::message(saved, bytes.size()).withFile(path)));
}

} // namespace quarnet
