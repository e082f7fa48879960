#include "MapEditor.h"

#include "ControlNames.h"
#include "WindowTexts.h"

namespace quarnet {

void MapEditor::mapFileChangedOutside(const std::string& watchedPath)
{
    if (ended_ || !isMapFileOpen() || watchedPath != state_.mapFile.mapFileName)
        return;
    if (asking_) {
        // The preview's question is open; its answer comes first.
        changedWhileAsking_ = true;
        return;
    }
    // Opened again by its path: a program that saves by replacing the file
    // leaves the one held open behind, and writes into that would be lost.
    MapFileState& f = state_.mapFile;
    files_.close(f.mapFileNumber);
    f.mapFileNumber = files_.open(f.mapFileName);
    f.openedMapKept = false; // the next write keeps the file as it is now
    host_.watchMapFile(f.mapFileName);
    if (f.mapFileNumber == 0) {
        // Gone: as an open that failed, so that nothing is written into a
        // file that is no longer the map.
        host_.watchMapFile({});
        controls_.setText(control::编辑框1,
                          windowText(texts::message(texts::Text::statusCantOpen).withFile(f.mapFileName)));
        showTerrainOfShownPage();
        return;
    }
    const std::int64_t length = files_.length(f.mapFileNumber);
    if (length != f.mapFileLength) {
        f.mapFileLength = length;
        controls_.setText(control::编辑框1, openFileText());
    }
    refreshFromFile();
}

void MapEditor::refreshFromFile()
{
    redrawChangedTerrain();
    if (state_.calculator.startBlockNumber != 0) {
        readTerrain();
        showTerrainLabel();
    }
}

} // namespace quarnet
