#include "FileDialogs.h"

#include <algorithm>

namespace quarnet::win32 {

namespace {

FileDialogFunction commonDialogFunction(const char* name)
{
    static HMODULE library = LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return library ? reinterpret_cast<FileDialogFunction>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                   : nullptr;
}

bool endsInSeparator(const std::wstring& path)
{
    return !path.empty() && (path.back() == L'\\' || path.back() == L'/');
}

} // namespace

FileDialogFunction openFileFunction()
{
    static const FileDialogFunction function = commonDialogFunction("GetOpenFileNameW");
    return function;
}

FileDialogFunction saveFileFunction()
{
    static const FileDialogFunction function = commonDialogFunction("GetSaveFileNameW");
    return function;
}

std::wstring filterList(const std::vector<DialogFilter>& filters)
{
    std::wstring list;
    for (const DialogFilter& filter : filters) {
        std::wstring shown;
        std::wstring matched;
        for (const std::wstring& pattern : filter.patterns) {
            shown += (shown.empty() ? L"" : L"; ") + pattern;
            matched += (matched.empty() ? L"" : L";") + pattern;
        }
        list += filter.name + L" (" + shown + L")" + L'\0' + matched + L'\0';
    }
    return list + L'\0';
}

OPENFILENAMEW FileDialog::request(HWND owner, const std::wstring& proposed, Storage& storage) const
{
    storage.path.assign(pathBufferSize, L'\0');
    storage.folder.clear();
    if (endsInSeparator(proposed))
        storage.folder = proposed;
    else
        std::copy_n(proposed.begin(), std::min(proposed.size(), pathBufferSize - 1), storage.path.begin());
    storage.filters = filterList(filters);
    // A name typed without an extension gets the chosen type's: the
    // dialog takes the first pattern's of the type chosen, this one's at
    // first.
    storage.extension.clear();
    if (!filters.empty() && !filters.front().patterns.empty()) {
        const std::wstring& pattern = filters.front().patterns.front();
        if (pattern.starts_with(L"*.") && pattern.find_first_of(L"*?", 2) == std::wstring::npos)
            storage.extension = pattern.substr(2);
    }

    OPENFILENAMEW request {};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFile = storage.path.data();
    request.nMaxFile = static_cast<DWORD>(storage.path.size());
    request.lpstrFilter = storage.filters.c_str();
    request.nFilterIndex = 1;
    request.lpstrInitialDir = storage.folder.empty() ? nullptr : storage.folder.c_str();
    request.lpstrTitle = title.empty() ? nullptr : title.c_str();
    request.lpstrDefExt = storage.extension.empty() ? nullptr : storage.extension.c_str();
    request.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY
                    | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    return request;
}

std::optional<std::wstring> FileDialog::ask(HWND owner, const std::wstring& proposed) const
{
    Storage storage;
    OPENFILENAMEW dialog = request(owner, proposed, storage);
    const FileDialogFunction show = save ? saveFileFunction() : openFileFunction();
    if (!show || !show(&dialog))
        return std::nullopt;
    return std::wstring(storage.path.data());
}

} // namespace quarnet::win32
