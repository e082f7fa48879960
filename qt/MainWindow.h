#pragma once

#include "model/Host.h"
#include "model/MapEditor.h"

#include <QHash>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QFileDialog;

namespace quarnet::platform {
class Files;
}

namespace quarnet::layout {
struct ControlEntry;
}

namespace quarnet::qt {

class MapCanvasWidget;
class WidgetControls;

// The one main window: its 65 controls at their fixed places, each event
// handed to the MapEditor. Created complete: the set-up has run when the
// constructor returns.
class MainWindow final : public QWidget, private Host {
    Q_OBJECT

public:
    explicit MainWindow(platform::Files& files, QWidget* parent = nullptr);
    ~MainWindow() override;

    const MapEditor& editor() const { return *editor_; }
    MapCanvasWidget& canvas() const { return *canvas_; }

    // For tests: the next open-file dialog is not shown and answers this path,
    // or a cancel when it is empty.
    void answerNextOpenDialog(std::optional<QString> path);

    // The open-file dialog, proposing the file name it will show.
    QFileDialog& openDialog();

    // What ending the program does; by default it leaves the event loop with
    // the exit code.
    void setEndProgram(std::function<void(int)> endProgram);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void fillLists();
    void connectEvents();

    std::optional<std::string> askMapFilePath() override;
    void endProgram(int exitCode) override;

    platform::Files& files_;
    QHash<QString, QWidget*> widgets_;
    MapCanvasWidget* canvas_ = nullptr;
    QFileDialog* openDialog_ = nullptr;
    const layout::ControlEntry* openDialogEntry_ = nullptr;
    QString proposedPath_;
    std::unique_ptr<WidgetControls> controls_;
    std::unique_ptr<MapEditor> editor_;
    bool hasNextAnswer_ = false;
    std::optional<QString> nextAnswer_;
    std::function<void(int)> endProgram_;
};

} // namespace quarnet::qt
