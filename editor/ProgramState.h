#pragma once

#include "WriteHistory.h"
#include "mapfile/Pixels.h"

#include <cstdint>
#include <string>

// The one program-wide state record. Every number starts at 0 and every text
// empty; texts are UTF-8.
namespace quarnet {

struct CalculatorState {
    // The start block, from the last complete calculation.
    std::string startAddressText;
    std::int32_t startPixelX = 0;
    std::int32_t startPixelY = 0;
    std::int64_t baseOffset = 0;
    std::int32_t startRow = 0;
    std::int32_t startColumn = 0;
    std::int32_t startPixelXMin = 0;
    std::int32_t startPixelXMax = 0;
    std::int32_t startPixelYMin = 0;
    std::int32_t startPixelYMax = 0;
    std::int32_t startBlockNumber = 0; // 0 until the first complete calculation
    std::int64_t startBlockOffset = 0;
    std::string startBlockAddressText;

    // The current block, which the direction buttons move.
    std::int32_t currentBlockNumber = 0;
    std::int32_t currentRow = 0;
    std::int32_t currentColumn = 0;
    std::string currentBlockAddressText;
    std::int64_t currentBlockOffset = 0;
    std::int32_t currentPixelXMin = 0;
    std::int32_t currentPixelXMax = 0;
    std::int32_t currentPixelYMin = 0;
    std::int32_t currentPixelYMax = 0;

    // The terrain of the current block as last read.
    std::int32_t terrainCode = 0;
    std::string terrainCodeText;
    std::string terrainName;
};

struct MapFileState {
    std::int32_t mapFileNumber = 0; // 0: no file open
    std::string mapFileName;        // the path exactly as the dialog gave it
    std::int64_t mapFileLength = 0; // as reported right after opening
    WriteHistory history;           // the writes to this file; cleared when it closes
    // A copy of the file as it was opened, or reopened after another
    // program changed it, is in a backup: later writes keep no other.
    bool openedMapKept = false;
};

struct MapView {
    std::int32_t mapPicture = 0;
    // The file mapPicture was loaded from, or failed to load from: another
    // map's picture is loaded only when it is another file.
    std::string mapPictureFile;
    std::int32_t viewPageColumn = 0;
    std::int32_t viewPageRow = 0;
    std::int32_t viewLeft = 0;
    std::int32_t viewRight = 0;
    std::int32_t viewTop = 0;
    std::int32_t viewBottom = 0;
    std::int32_t viewBlockXMin = 0;
    std::int32_t viewBlockXMax = 0;
    std::int32_t viewBlockYMin = 0;
    std::int32_t viewBlockYMax = 0;
    std::int32_t mouseMapX = 0;
    std::int32_t mouseMapY = 0;
    Rgb markerColour; // black, the canvas's default drawing colour
};

struct CitySelection {
    std::string cityItemText;
    std::int32_t cityPixelX = 0;
    std::int32_t cityPixelY = 0;
};

struct ProgramState {
    CalculatorState calculator;
    MapFileState mapFile;
    MapView view;
    CitySelection city;
    std::string runDirectory;
    // The demo map the empty canvas names and the open dialog proposes;
    // empty when there is none or a map lies beside the program.
    std::string demoMapPath;
};

} // namespace quarnet
