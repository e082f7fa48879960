#include "MapEditor.h"

#include "ControlNames.h"
#include "WindowTexts.h"
#include "mapfile/MapGeometry.h"

namespace quarnet {

bool MapEditor::isMapFileOpen() const
{
    return state_.mapFile.mapFileNumber != 0 && !state_.mapFile.mapFileName.empty();
}

void MapEditor::openMapFile()
{
    if (ended_)
        return;
    // The view changes once the answer is known: a map opened from the
    // same folder keeps its picture, undecoded again.
    closeFile();
    const std::optional<std::string> path = host_.askMapFilePath();
    if (!path) {
        showPictureFor({});
        return;
    }
    openChosenMapFile(*path);
}

void MapEditor::openMapFile(const std::string& path)
{
    if (ended_)
        return;
    closeFile();
    openChosenMapFile(path);
}

void MapEditor::openChosenMapFile(const std::string& path)
{
    // The path is used exactly as it was given, whatever its characters.
    MapFileState& f = state_.mapFile;
    f.mapFileName = path;
    f.mapFileNumber = files_.open(f.mapFileName);
    if (f.mapFileNumber == 0) {
        // Not open: say so instead of showing a length the file never reported.
        f.mapFileLength = 0;
        controls_.setText(control::编辑框1,
                          windowText(texts::message(texts::Text::statusCantOpen).withFile(f.mapFileName)));
        showPictureFor({});
        return;
    }
    f.mapFileLength = files_.length(f.mapFileNumber);
    f.openedMapKept = false;
    controls_.setText(control::编辑框1, openFileText());
    host_.watchMapFile(f.mapFileName);
    showPictureFor(f.mapFileName);
}

void MapEditor::showPictureFor(const std::string& mapPath)
{
    MapView& v = state_.view;
    const std::string path = mapPicturePath(state_.runDirectory, mapPath);
    if (path != v.mapPictureFile) {
        dropPicture();
        v.mapPictureFile = path;
        v.mapPicture = canvas_.loadPicture(path);
        if (v.mapPicture != 0) {
            // The shown page of the new picture; its markers go.
            showPage(v.viewLeft / geometry::pageWidth, v.viewTop / geometry::pageHeight);
            colourLegend();
            return;
        }
    }
    showTerrainOfShownPage();
}

std::string MapEditor::openFileText() const
{
    const MapFileState& f = state_.mapFile;
    return windowText(texts::message(texts::Text::statusOpenFile, f.mapFileLength).withFile(f.mapFileName));
}

void MapEditor::closeMapFile()
{
    if (ended_)
        return;
    closeFile();
    showPictureFor({});
}

void MapEditor::closeFile()
{
    files_.closeAll();
    host_.watchMapFile({});
    state_.mapFile.mapFileName.clear();
    state_.mapFile.mapFileNumber = 0;
    state_.mapFile.history.clear();
    CalculatorState& s = state_.calculator;
    s.terrainName.clear();
    s.terrainCode = 0;
    s.terrainCodeText.clear();
    controls_.setText(control::编辑框1, windowText(texts::message(texts::Text::statusClosed)));
}

void MapEditor::closeAndExit()
{
    if (ended_)
        return;
    files_.closeAll();
    canvas_.releasePicture(state_.view.mapPicture);
    state_.view.mapPicture = 0;
    ended_ = true;
    host_.endProgram(0);
}

} // namespace quarnet
