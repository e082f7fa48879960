#pragma once

#include "CanvasWindow.h"
#include "DialogFont.h"
#include "FileDialogs.h"
#include "MapFileWatch.h"
#include "OpenFileDialog.h"
#include "WindowControls.h"
#include "WindowMenu.h"
#include "editor/EventTable.h"
#include "editor/Host.h"
#include "editor/MapEditor.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace quarnet::platform {
class Files;
}

namespace quarnet::win32 {

// The one main window: its 65 controls at their fixed places, each control's
// ID its row in the control table, each event handed to the MapEditor.
// Created complete but hidden: the set-up has run when the constructor returns.
class MainWindow final : private Host {
public:
    static constexpr const wchar_t* className = L"QuarnetMainWindow";

    // What the window leaves to whoever makes it. Left empty, the open-file
    // dialog is shown modally and ending the program ends the message loop
    // with the exit code.
    struct Surroundings {
        // Answers in place of the open-file dialog: the chosen path, or
        // nothing for a cancel. The window proposes that path next time.
        std::function<std::optional<std::wstring>()> answerOpenDialog;
        std::function<void(int exitCode)> endProgram;
        // Reads a message in place of the modal message box.
        std::function<void(const std::wstring& text)> showMessage;
        // Answers a question in place of the modal Yes/No box: true for Yes.
        std::function<bool(const std::wstring& text)> answerYesNo;
        // Answers in place of the window menu's open and save dialogs, given
        // the dialog and the path it proposes: the chosen path, or nothing
        // for a cancel.
        std::function<std::optional<std::wstring>(const FileDialog& dialog, const std::wstring& proposed)>
            answerFileDialog;
    };

    // A mapPath given opens that map as openMapFile does, with the picture
    // that goes with it decoded from the start.
    explicit MainWindow(platform::Files& files, Surroundings surroundings = {}, const std::wstring& mapPath = {});
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Null once the window has been closed.
    HWND hwnd() const { return hwnd_; }
    const MapEditor& editor() const { return *editor_; }
    CanvasWindow& canvas() const { return *mapCanvas_; }
    // A control's window by its name; null for a name without one.
    HWND control(std::string_view name) const { return controls_.find(name); }
    HFONT font() const { return font_; }
    // What the font was chosen from, and how well it fits.
    const DialogFontChoice& fontChoice() const { return fontChoice_; }
    UINT dpi() const { return dpi_; }

    // Lays the window, its controls and their font out for a DPI; what a move
    // to a monitor of another scale does.
    void applyDpi(UINT dpi);

    const OpenFileDialog& openDialog() const { return openDialog_; }
    const WindowMenu& windowMenu() const { return windowMenu_; }
    const MapFileWatch& mapFileWatch() const { return *mapFileWatch_; }

    // Opens a map file named from outside (the command line, a drop) as if
    // it had been chosen in the open-file dialog, which proposes it next.
    void openMapFile(const std::wstring& path);
    // A file dropped on the window: a terrain picture or a patch for the
    // open map, or else a map to open.
    void openDroppedFile(const std::wstring& path);

    // Its window's messages.
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void createControls();
    void connectEvents();
    void setFontFor(UINT dpi);
    // Every caption and every text the handlers write into a label, as its
    // control draws it at its present size.
    std::vector<DrawnText> textsToFit() const;
    void placeControls();
    // The font, the item heights and the window's size, for the controls
    // as placed for the DPI.
    void fitToDpi();
    void fitItemHeights();
    void fitComboHeight(HWND combo, int height);
    int listItemHeight() const;
    void command(int id, int code);
    // Whether a control's notification code is the event.
    bool happened(ControlEvent event, int id, int code) const;
    void drawListItem(const DRAWITEMSTRUCT& item) const;
    void installWindowMenu();
    bool askYesNoBox(const std::wstring& text);
    std::optional<std::wstring> askFile(const FileDialog& dialog, const std::wstring& proposed);

    std::optional<std::string> askMapFilePath() override;
    std::optional<std::string> askFileToOpen(FileKind kind, const std::string& proposedPath) override;
    std::optional<std::string> askFileToSave(FileKind kind, const std::string& proposedPath) override;
    void showMessage(const std::string& utf8Text) override;
    bool askYesNo(const std::string& utf8Text) override;
    void watchMapFile(const std::string& utf8Path) override;
    void ownWriteStarting() override;
    void ownWriteDone() override;
    void endProgram(int exitCode) override;

    platform::Files& files_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    HFONT font_ = nullptr;
    DialogFontChoice fontChoice_;
    WindowControls controls_;
    std::unordered_map<HWND, const layout::ControlEntry*> entries_;
    std::unordered_set<HWND> readOnlyEdits_;
    // The canvases by their control names.
    std::unordered_map<std::string_view, std::unique_ptr<CanvasWindow>> canvases_;
    CanvasWindow* mapCanvas_ = nullptr;
    OpenFileDialog openDialog_;
    std::unique_ptr<MapEditor> editor_;
    // Button clicks, combo choices and list double-clicks by control ID.
    std::unordered_multimap<int, const EventBinding*> commands_;
    Surroundings surroundings_;
    WindowMenu windowMenu_;
    std::unique_ptr<MapFileWatch> mapFileWatch_;
};

} // namespace quarnet::win32
