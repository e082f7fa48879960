#pragma once

#include "FileChoices.h"

#include <optional>
#include <string>

namespace quarnet {

// What the program's surroundings answer: the dialogs, the message boxes,
// the watch on the map file and the end of the process. A front end
// implements it over its toolkit; every call comes on the window's thread
// and every dialog and box is modal: it returns once the user answered.
// Texts and paths are UTF-8; paths are full paths.
//
// Besides Host, Controls and Canvas (with its overlay), a front end's whole
// part in imports, patches and the window menu is:
// - the window menu: the items of windowMenu() (EventTable.h) in their
//   order, each greyed out while its `enabled` says no (asked as the menu
//   opens), running its `run`; the keys of keyTable(), Ctrl+E among them;
// - drops: a dropped file's full path given to MapEditor::openDroppedFile
//   once the drop has ended (posted, not from inside the drop, which would
//   hold the program it came from until the questions are answered); when
//   it answers DroppedFile::map, the open-file dialog proposes that path.
// The editor decides everything else: what is asked, previewed, written,
// refused and undone.
class Host {
public:
    virtual ~Host() = default;

    // Shows the map's open-file dialog (the one of 打开文件); the chosen
    // path, or nothing when the user cancelled.
    virtual std::optional<std::string> askMapFilePath() = 0;

    // Shows an open-file dialog for a file of the kind, with its title and
    // filters (fileChoice(kind)), proposing proposedPath (a full path; empty
    // proposes nothing). The chosen path, or nothing for a cancel.
    virtual std::optional<std::string> askFileToOpen(FileKind kind, const std::string& proposedPath) = 0;

    // The same as a save dialog, which asks before replacing an existing
    // file; the path chosen, or nothing for a cancel.
    virtual std::optional<std::string> askFileToSave(FileKind kind, const std::string& proposedPath) = 0;

    // Shows a message in a modal box and returns once the user closed it.
    virtual void showMessage(const std::string& utf8Text) = 0;

    // Asks a question in a modal box with the buttons Yes and No (是, 否);
    // true for Yes. Closing the box without a button is No. While it is
    // open the map canvas may show a preview (Canvas::showOverlay): a front
    // end that can places the box beside the canvas rather than over it.
    virtual bool askYesNo(const std::string& utf8Text) = 0;

    // Watches the file at the path for changes made by other programs (any
    // write, a replacement, a removal) and, within a second of one, calls
    // MapEditor::mapFileChangedOutside with that path on the window's
    // thread between two events. Replaces the watch before, and drops what
    // it was about to tell of the file before; an empty path stops watching.
    virtual void watchMapFile(const std::string& utf8Path) = 0;

    // The editor is about to write the watched file itself, and has written
    // it: the watch takes the file as it is after that as the state it tells
    // changes against, so these writes are never told. A change of another
    // program seen before the write is still told.
    virtual void ownWriteStarting() = 0;
    virtual void ownWriteDone() = 0;

    // Ends the program with an exit code; no further event is handled.
    virtual void endProgram(int exitCode) = 0;
};

} // namespace quarnet
