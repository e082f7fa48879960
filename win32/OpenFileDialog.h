#pragma once

#include <windows.h>
#include <commdlg.h>

#include <optional>
#include <string>
#include <vector>

namespace quarnet::win32 {

// The system's open-file dialog (GetOpenFileNameW): no title or filter of its
// own, a file name proposed, and the path chosen last proposed again.
class OpenFileDialog {
public:
    explicit OpenFileDialog(std::wstring proposedPath) : proposed_(std::move(proposedPath)) {}

    // What the dialog will propose.
    const std::wstring& proposedPath() const { return proposed_; }

    // The dialog's request for an owner window: it writes the chosen path into
    // buffer, which starts with the proposed path.
    OPENFILENAMEW request(HWND owner, std::vector<wchar_t>& buffer) const;

    // Shows the dialog modally; the chosen full path, or nothing on cancel.
    std::optional<std::wstring> ask(HWND owner);

    // Remembers a path as chosen, as ask does.
    void chosen(const std::wstring& path) { proposed_ = path; }

private:
    std::wstring proposed_;
};

} // namespace quarnet::win32
