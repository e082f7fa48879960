#include "UpperCaseEntry.h"

#include "Subclass.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace quarnet::win32 {

namespace {

// The clipboard's text, or nothing when it holds none.
std::wstring clipboardText(HWND owner)
{
    std::wstring text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// A paste as the edit box makes it, but in capitals: the first line only,
// cut to the room the limit leaves beside the text kept.
void pasteInUpperCase(HWND edit)
{
    std::wstring text = clipboardText(edit);
    text.resize(std::min(text.size(), text.find_first_of(L"\r\n")));
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), reinterpret_cast<LPARAM>(&selectionEnd));
    const auto kept = static_cast<std::size_t>(GetWindowTextLengthW(edit)) - (selectionEnd - selectionStart);
    const auto limit = static_cast<std::size_t>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
    text.resize(std::min(text.size(), limit > kept ? limit - kept : 0));
    if (text.empty())
        return;
    CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT upperCaseEntry(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR)
{
    switch (message) {
    case WM_CHAR:
        wParam = reinterpret_cast<WPARAM>(CharUpperW(reinterpret_cast<LPWSTR>(wParam)));
        break;
    case WM_PASTE: // Ctrl+V, Shift+Insert and the context menu's Paste
        if ((GetWindowLongW(hwnd, GWL_STYLE) & ES_READONLY) == 0)
            pasteInUpperCase(hwnd);
        return 0;
    default:
        break;
    }
    return callNextProcedure(hwnd, message, wParam, lParam);
}

} // namespace

void enterInUpperCase(HWND edit)
{
    subclassWindow(edit, &upperCaseEntry, 0);
}

} // namespace quarnet::win32
