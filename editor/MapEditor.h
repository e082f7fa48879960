#pragma once

#include "Canvas.h"
#include "Controls.h"
#include "Host.h"
#include "ProgramState.h"
#include "ProposedWrite.h"
#include "platform/Files.h"

#include <span>
#include <string>
#include <vector>

namespace quarnet {

enum class Direction { UpLeft, Up, UpRight, Left, Right, DownLeft, Down, DownRight };

// What a file dropped on the window was taken as.
enum class DroppedFile { map, terrainPicture, patch };

// The window's behaviour: one handler per event of the window, working on the
// one program-wide state record. It reaches the window only through Controls
// and Canvas, the dialogs, message boxes, the map file's watch and the
// process through Host, and the map file through platform::Files; the map
// file's format and data, and every action on it, are the mapfile library's. Its handlers are in one file per part of the window (block
// calculator, terrain reading and writing, navigation, map view, ...).
class MapEditor {
public:
    MapEditor(Controls& controls, Canvas& canvas, Host& host, platform::Files& files);
    ~MapEditor();
    MapEditor(const MapEditor&) = delete;
    MapEditor& operator=(const MapEditor&) = delete;

    const ProgramState& state() const { return state_; }

    // Start-up and shutdown.
    // The main window's creation-completed event. A window started with a
    // map to open gives its path: the picture shown from the start is the
    // one that goes with that map, so that no other is decoded first.
    void setUp(const std::string& mapPath = {});
    // The map picture shown with the map at mapPath (empty: no map open) for
    // a program in runDirectory: the one in the map's folder, else the one
    // beside the program, else the first found in the system's data folders.
    static std::string mapPicturePath(const std::string& runDirectory, const std::string& mapPath = {});
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
    // The city box's list closed without a choice, after the user browsed
    // it maybe: the box shows the city chosen last again, or none.
    void showChosenCity();

    // Undo and redo of the steps recorded in the open file's history: a
    // single write, or a whole import or patch.
    void undoWrite();
    void redoWrite();
    bool canUndo() const;
    bool canRedo() const;

    // The window menu's commands. Each asks for its file through the Host's
    // dialogs; the ones given a path take it as chosen there.
    // A painted terrain picture: read as the command line's import reads it,
    // previewed, asked about, and written safely on Yes.
    void importTerrainPicture();
    void importTerrainPicture(const std::string& path);
    // An IPS or BPS patch, with apply's checks, previewed and asked about the
    // same way.
    void applyPatch();
    void applyPatch(const std::string& path);
    // The open map's terrain picture, as render draws it at 4 x 4 pixels a
    // block.
    void exportTerrainPicture();
    // The patch that turns an original (a backup, proposed) into the open map.
    void makePatch();
    // A file dropped on the window: a patch or a terrain picture, known by
    // its first bytes or its name, is applied or imported; any other file is
    // opened as the map, as openMapFile(path) does. Tells which it was, so a
    // front end can propose a map's path in its open-file dialog next.
    DroppedFile openDroppedFile(const std::string& path);

    // The front end's watch on the map file at watchedPath
    // (Host::watchMapFile) saw it change: the shown terrain and the current
    // block's report are read from the file again. A watch of a map no
    // longer open is late, and is dropped.
    void mapFileChangedOutside(const std::string& watchedPath);

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
    // Closes the map without redrawing the view.
    void closeFile();
    // Shows the picture that goes with the map at mapPath (empty: none
    // open), loading it when it is another file than the one shown, and
    // the file's terrain where there is no picture.
    void showPictureFor(const std::string& mapPath);
    std::string openFileText() const;
    void makeBlockCurrent(std::int32_t blockNumber, std::int64_t offset);

    // Every change to the map, whoever made it, is applied here: once every
    // byte it expects is still on disk, through the library's safe write
    // (with a backup, or one byte read back), after the map as it was
    // opened is kept; recorded in the history, or taken as its undo or redo;
    // then shown. False, with the map as it was, when it was refused or
    // failed.
    enum class ChangeUse { make, undo, redo };
    bool applyChange(const Change& change, ChangeUse use);
    // A copy of the open map (now holding `bytes`) as it was opened, unless
    // the newest backup holds just that; false, with the user told, when it
    // can't be made.
    bool keepOpenedMap(std::span<const std::uint8_t> bytes, const texts::Message& refusal);
    void showAppliedChange(const Change& change, bool written);
    void showRefusedChange(const Change& change, const std::string& text);

    // Not ended, and no import's or patch's question open: a command that
    // starts meanwhile (queued before the question, say) does nothing.
    bool idle() const { return !ended_ && !asking_; }

    // Imports and patches: the preview, the question and the safe write.
    bool refuseWithoutMap(const texts::Message& title);
    // The open dialog for a picture or a patch, proposing the one chosen
    // last, else the map's folder.
    std::optional<std::string> askFileToTake(FileKind kind, const std::string& lastChosen);
    // The whole open map, read for an import or a patch; nothing, its
    // refusal shown, when it can't be read.
    std::optional<std::vector<std::uint8_t>> readOpenMap(const texts::Message& title);
    // Why a file can't be taken: the first few reasons, then how many more.
    void showRefusal(const texts::Message& title, const std::vector<texts::Message>& reasons);
    // Writes a file the user chose (a patch, a picture) whole and says in a
    // toast where it went and its size; refused under the title when it
    // can't be written.
    void saveChosenFile(const texts::Message& title, const std::string& path, std::span<const std::uint8_t> bytes,
                        texts::Text saved);
    void proposeWrite(const ProposedWrite& proposal);
    // The backup a write makes next, and the one made last (the map's
    // folder when there is none).
    std::string nextBackupPath() const;
    std::string newestBackupPath() const;
    void showWrittenBlocks(std::span<const std::int32_t> blocks);
    void refreshFromFile();

    void updateViewBlock();
    void showPage(std::int32_t pageColumn, std::int32_t pageRow);
    bool isCurrentBlockOnShownPage();
    void setViewFromPage();
    void redrawPage();
    void dropPicture();
    void setMouseMapPosition(int x, int y);

    // The map file's own terrain, drawn where the picture would be while a
    // file is open and no picture was loaded.
    bool isTerrainShown() const;
    std::int64_t terrainBaseOffset() const;
    std::vector<std::uint8_t> terrainCodes(int firstColumn, int firstRow, int columns, int rows);
    void drawTerrainPage(int left, int top);
    // The empty canvas's first-minute hint: while no map is open and no
    // picture is shown, drawn over each empty page.
    bool isStartHintShown() const;
    void drawStartHintIfShown();
    void showTerrainOfShownPage();
    void colourLegend();
    void redrawCurrentBlockTerrain();
    void redrawChangedTerrain();

    ProgramState state_;
    Controls& controls_;
    Canvas& canvas_;
    Host& host_;
    platform::Files& files_;
    bool ended_ = false;
    bool legendColoured_ = false;
    // A question of an import or patch is open: an outside change told
    // meanwhile is taken once it is answered.
    bool asking_ = false;
    bool changedWhileAsking_ = false;
    // The codes of the terrain page drawn last, as drawn: an outside change
    // redraws only the blocks that differ, so markers elsewhere stay.
    std::vector<std::uint8_t> shownCodes_;
    int shownCodesLeft_ = -1; // its page's left and top picture pixels; -1: none
    int shownCodesTop_ = -1;
    // The last picture and patch chosen, proposed next time.
    std::string lastPicturePath_;
    std::string lastPatchPath_;
};

} // namespace quarnet
