#pragma once

#include "editor/Host.h"
#include "editor/MapEditor.h"

#include <QHash>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QFileDialog;
class QMenu;
class QTimer;

namespace quarnet::platform {
class Files;
}

namespace quarnet::layout {
struct ControlEntry;
}

namespace quarnet::qt {

class MapCanvasWidget;
class MapFileWatch;
class WidgetControls;

// The one main window: its 65 controls at their fixed places, each event
// handed to the MapEditor. Created complete: the set-up has run when the
// constructor returns.
class MainWindow final : public QWidget, private Host {
    Q_OBJECT

public:
    // What the window leaves to whoever makes it. Left empty, the open-file
    // dialog is shown modally and ending the program leaves the event loop
    // with the exit code.
    struct Surroundings {
        // Answers in place of the open-file dialog: the chosen path, or
        // nothing for a cancel. The window proposes that path next time.
        std::function<std::optional<QString>()> answerOpenDialog;
        std::function<void(int exitCode)> endProgram;
        // Reads a message in place of the modal message box.
        std::function<void(const QString& text)> showMessage;
        // Answers a Yes/No question in place of the modal box: true for Yes.
        std::function<bool(const QString& text)> answerQuestion;
        // Answers in place of the other open and save dialogs, given what
        // they are for and the path they propose: the chosen path, or
        // nothing for a cancel.
        std::function<std::optional<QString>(FileKind kind, const QString& proposed)> answerFileDialog;
    };

    // A mapPath given opens that map as openMapFile does, with the picture
    // that goes with it decoded from the start.
    explicit MainWindow(platform::Files& files, Surroundings surroundings = {}, const QString& mapPath = {},
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    const MapEditor& editor() const { return *editor_; }
    MapCanvasWidget& canvas() const { return *canvas_; }

    // The open-file dialog, proposing the file name it will show.
    QFileDialog& openDialog();

    // Opens a map file named from outside (the command line, a drop) as if
    // it had been chosen in the open-file dialog, which proposes it next.
    void openMapFile(const QString& path);

    // A file dropped on the window: a picture is imported, a patch applied,
    // any other file opened as the map. Taken once the drop has ended, so
    // that the program it came from isn't held up by the questions.
    void openDroppedFile(const QString& path);

    // The window menu, as a right click on the background opens it; its
    // items enabled as the editor's state allows now.
    QMenu& windowMenu();

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void createControls();
    void connectEvents();

    std::optional<std::string> askMapFilePath() override;
    std::optional<std::string> askFileToOpen(FileKind kind, const std::string& proposedPath) override;
    std::optional<std::string> askFileToSave(FileKind kind, const std::string& proposedPath) override;
    std::optional<std::string> askFile(FileKind kind, const std::string& proposedPath, bool save);
    void showMessage(const std::string& utf8Text) override;
    bool askYesNo(const std::string& utf8Text) override;
    void watchMapFile(const std::string& utf8Path) override;
    void ownWriteStarting() override;
    void ownWriteDone() override;
    void endProgram(int exitCode) override;

    platform::Files& files_;
    QHash<QString, QWidget*> widgets_;
    MapCanvasWidget* canvas_ = nullptr;
    QFileDialog* openDialog_ = nullptr;
    const layout::ControlEntry* openDialogEntry_ = nullptr;
    QString proposedPath_;
    std::unique_ptr<WidgetControls> controls_;
    std::unique_ptr<MapEditor> editor_;
    Surroundings surroundings_;
    QMenu* menu_ = nullptr;
    MapFileWatch* fileWatch_ = nullptr;
};

} // namespace quarnet::qt
