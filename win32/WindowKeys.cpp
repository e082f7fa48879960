#include "WindowKeys.h"

#include "Subclass.h"
#include "editor/EventTable.h"

#include <commctrl.h>

namespace quarnet::win32 {

namespace {

bool typesText(HWND hwnd)
{
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    return lstrcmpiW(name, WC_EDITW) == 0 && (GetWindowLongW(hwnd, GWL_STYLE) & ES_READONLY) == 0;
}

const KeyBinding* bindingOf(WPARAM virtualKey)
{
    const auto letter = static_cast<char>(virtualKey);
    if (virtualKey < 'A' || virtualKey > 'Z' || (!findKey(letter, false) && !findKey(letter, true)))
        return nullptr;
    // One look at the keyboard's state, not one per key: under wine each
    // look is a round trip to its server.
    BYTE keys[256] = {};
    if (!GetKeyboardState(keys))
        return nullptr;
    const auto held = [&keys](int key) { return (keys[key] & 0x80) != 0; };
    if (!held(VK_CONTROL) || held(VK_MENU) || held(VK_LWIN) || held(VK_RWIN))
        return nullptr;
    return findKey(letter, held(VK_SHIFT));
}

LRESULT windowKeys(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR editor)
{
    switch (message) {
    case WM_KEYDOWN:
        if (runWindowKey(*reinterpret_cast<MapEditor*>(editor), hwnd, wParam))
            return 0;
        break;
    case WM_CHAR:
        // The control character that the key handled above still brings
        // (Ctrl+Z gives 0x1A): not for the control, which might beep.
        if (wParam < 0x20 && bindingOf(wParam + 'A' - 1) && !typesText(hwnd))
            return 0;
        break;
    default:
        break;
    }
    return callNextProcedure(hwnd, message, wParam, lParam);
}

} // namespace

bool runWindowKey(MapEditor& editor, HWND focus, WPARAM virtualKey)
{
    const KeyBinding* binding = bindingOf(virtualKey);
    if (!binding || typesText(focus))
        return false;
    binding->run(editor);
    return true;
}

void watchWindowKeys(HWND control, MapEditor& editor)
{
    subclassWindow(control, &windowKeys, reinterpret_cast<UINT_PTR>(&editor));
}

} // namespace quarnet::win32
