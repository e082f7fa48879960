#include "OpenFileDialog.h"

#include <algorithm>

namespace quarnet::win32 {

namespace {

// Room for the longest path Windows takes (with the \\?\ prefix).
constexpr std::size_t pathBufferSize = 32768;

// The common dialogs' library is loaded when the dialog is first shown, not
// at start: it brings the shell with it, which costs the start time and
// memory of the whole window.
using GetOpenFileNameFunction = BOOL(WINAPI*)(OPENFILENAMEW*);

GetOpenFileNameFunction getOpenFileName()
{
    static const auto function = [] {
        HMODULE library = LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return library ? reinterpret_cast<GetOpenFileNameFunction>(
                             reinterpret_cast<void*>(GetProcAddress(library, "GetOpenFileNameW")))
                       : nullptr;
    }();
    return function;
}

} // namespace

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
    const GetOpenFileNameFunction show = getOpenFileName();
    if (!show || !show(&dialog))
        return std::nullopt;
    std::wstring path(buffer.data());
    chosen(path);
    return path;
}

} // namespace quarnet::win32
