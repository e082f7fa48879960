#pragma once

#include "CanvasWindow.h"
#include "OpenFileDialog.h"
#include "WindowControls.h"
#include "model/Host.h"
#include "model/MapEditor.h"

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
    static constexpr const wchar_t* title = L"Quarnet --- By Velloran";

    explicit MainWindow(platform::Files& files);
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
    UINT dpi() const { return dpi_; }

    // Lays the window, its controls and their font out for a DPI; what a move
    // to a monitor of another scale does.
    void applyDpi(UINT dpi);

    // For tests: the next open-file dialog is not shown and answers this path,
    // or a cancel when it is empty.
    void answerNextOpenDialog(std::optional<std::wstring> path);
    const OpenFileDialog& openDialog() const { return openDialog_; }

    // What ending the program does; by default it ends the message loop with
    // the exit code.
    void setEndProgram(std::function<void(int)> endProgram);

    // Its window's messages.
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void createControls();
    void fillLists();
    void connectEvents();
    void setFontFor(UINT dpi);
    void placeControls();
    void fitComboHeight(HWND combo, int height);
    int listItemHeight() const;
    void command(int id, int code);
    void drawListItem(const DRAWITEMSTRUCT& item) const;

    std::optional<std::string> askMapFilePath() override;
    void endProgram(int exitCode) override;

    platform::Files& files_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    HFONT font_ = nullptr;
    WindowControls controls_;
    std::unordered_map<HWND, const layout::ControlEntry*> entries_;
    std::unordered_set<HWND> readOnlyEdits_;
    std::unique_ptr<CanvasWindow> mapCanvas_;
    std::unique_ptr<CanvasWindow> smallCanvas_;
    OpenFileDialog openDialog_;
    std::unique_ptr<MapEditor> editor_;
    // Button clicks, combo choices and list double-clicks by control ID.
    std::unordered_map<int, std::function<void()>> clicks_;
    int cityBoxId_ = 0;
    int legendId_ = 0;
    bool hasNextAnswer_ = false;
    std::optional<std::wstring> nextAnswer_;
    std::function<void(int)> endProgram_;
};

} // namespace quarnet::win32
