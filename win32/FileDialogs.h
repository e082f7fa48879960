#pragma once

#include <windows.h>
#include <commdlg.h>

#include <optional>
#include <string>
#include <vector>

namespace quarnet::win32 {

// A line of a dialog's type list: a name and the patterns its files match.
struct DialogFilter {
    std::wstring name;                  // L"地形图"
    std::vector<std::wstring> patterns; // L"*.png"; L"*" for every file
};

// The system's open- and save-file dialogs for the files of the window
// menu's commands: a title, a type list (the first chosen at first), and a
// path proposed.
struct FileDialog {
    std::wstring title;
    std::vector<DialogFilter> filters;
    bool save = false;

    // What GetOpenFileNameW or GetSaveFileNameW is given. The request points
    // into the storage, which must outlive it; the chosen path is written
    // into storage.path. A proposed folder (a path ending in a separator)
    // opens the dialog there with no name typed.
    struct Storage {
        std::vector<wchar_t> path;
        std::wstring filters;
        std::wstring folder;
        std::wstring extension;
    };
    OPENFILENAMEW request(HWND owner, const std::wstring& proposed, Storage& storage) const;

    // Shows the dialog modally; the chosen full path, or nothing on cancel.
    std::optional<std::wstring> ask(HWND owner, const std::wstring& proposed) const;
};

// The type list as the dialogs take it: "name (*.a; *.b)", "*.a;*.b" for
// each filter, each string ending in a null and the list in a second one.
std::wstring filterList(const std::vector<DialogFilter>& filters);

// A function of the common dialogs' library, which is loaded when a dialog
// is first shown, not at start: it brings the shell with it, which costs the
// start time and memory of the whole window. Null when it can't be loaded.
using FileDialogFunction = BOOL(WINAPI*)(OPENFILENAMEW*);
FileDialogFunction openFileFunction();
FileDialogFunction saveFileFunction();

// Room for the longest path Windows takes (with the \\?\ prefix).
inline constexpr std::size_t pathBufferSize = 32768;

} // namespace quarnet::win32
