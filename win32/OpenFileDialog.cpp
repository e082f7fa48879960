#include "OpenFileDialog.h"

#include "FileDialogs.h"

#include <algorithm>

namespace quarnet::win32 {

OPENFILENAMEW OpenFileDialog::request(HWND owner, std::vector<wchar_t>& buffer) const
{
    buffer.assign(pathBufferSize, L'\0');
    std::copy_n(proposed_.begin(), std::min(proposed_.size(), pathBufferSize - 1), buffer.begin());
    OPENFILENAMEW request {};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFile = buffer.data();
    request.nMaxFile = static_cast<DWORD>(buffer.size());
    // No filter and no title: the system's own "Open" title and all files.
    request.lpstrFilter = nullptr;
    request.lpstrTitle = nullptr;
    request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    return request;
}

std::optional<std::wstring> OpenFileDialog::ask(HWND owner)
{
    std::vector<wchar_t> buffer;
    OPENFILENAMEW dialog = request(owner, buffer);
    const FileDialogFunction show = openFileFunction();
    if (!show || !show(&dialog))
        return std::nullopt;
    std::wstring path(buffer.data());
    chosen(path);
    return path;
}

} // namespace quarnet::win32
