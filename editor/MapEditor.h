#pragma once

#include "Canvas.h"
#include "Controls.h"
#include "Host.h"
#include "ProgramState.h"
#include "platform/Files.h"

namespace quarnet {

enum class Direction { UpLeft, Up, UpRight, Left, Right, DownLeft, Down, DownRight };

// The window's behaviour: one handler per event of the window, working on the
// one program-wide state record. It reaches the window only through Controls
// and Canvas, the dialog and the process through Host, and the map file
// through platform::Files; the map file's format and data are the mapfile
// library's. Its handlers are in one file per part of the window (block
// calculator, terrain reading and writing, navigation, map view, ...).
class MapEditor {
public:
    MapEditor(Controls& controls, Canvas& canvas, Host& host, platform::Files& files);
    ~MapEditor();
    MapEditor(const MapEditor&) = delete;
    MapEditor& operator=(const MapEditor&) = delete;

    const ProgramState& state() const { return state_; }

    // Start-up and shutdown.
    void setUp();       // the main window's creation-completed event
    // The map picture that setUp loads for a program in runDirectory: the
    // one beside it, else the first found in the system's data folders.
    static std::string mapPicturePath(const std::string& runDirectory);
    void closeAndExit(); // close-and-exit button and the window being closed

    // Block calculator. False when the input was refused and nothing changed.
    bool calculateStartBlock();

    // Map file.
    void openMapFile();
    // Opens a path given from outside (the command line, a dropped file)
    // as if it had been chosen in the open-file dialog.
    void openMapFile(const std::string& path);
    void closeMapFile();
    bool isMapFileOpen() const;

    // Navigation, writing and city selection.
    void moveCurrentBlock(Direction direction);
    void writeTerrainCode();
    void pickLegendCode();
    void selectCity();

    // Undo and redo of the writes recorded in the open file's history.
    void undoWrite();
    void redoWrite();

    // Map view.
    void showMouseCoordinates(int x, int y);
    void pickBlockAtMouse(int x, int y);
    void locateCurrentBlock();
    // The canvas found the map picture broken after start-up: from then on
    // the view is the one without a picture.
    void forgetBrokenPicture(int picture);

    // Shared operations, also called by the handlers above.
    void showCurrentBlock();
    void readTerrain();
    void showTerrainLabel();
    void showFileNotOpenLabel();
    void showCurrentBlockPage();
    void markCurrentBlock();

private:
    void openChosenMapFile(const std::string& path);
    bool writeCurrentBlockCode(std::uint8_t code);
    void makeBlockCurrent(std::int32_t blockNumber, std::int64_t offset);
    bool replayWrite(const RecordedWrite& write, std::uint8_t expected, std::uint8_t code, bool undo);

    void updateViewBlock();
    bool isCurrentBlockOnShownPage();
    void setViewFromPage();
    void redrawPage();
    void dropPicture();
    void setMouseMapPosition(int x, int y);

    // The map file's own terrain, drawn where the picture would be while a
    // file is open and no picture was loaded.
    bool isTerrainShown() const;
    std::int64_t terrainBaseOffset() const;
    RgbImage terrainImage(int firstColumn, int firstRow, int columns, int rows);
    void drawTerrainPage(int left, int top);
    void showTerrainOfShownPage();
    void colourLegend();
    void redrawCurrentBlockTerrain();

    ProgramState state_;
    Controls& controls_;
    Canvas& canvas_;
    Host& host_;
    platform::Files& files_;
    bool ended_ = false;
    bool legendColoured_ = false;
};

} // namespace quarnet
