#pragma once

#include <windows.h>

namespace quarnet::win32 {

// The window procedure of a class whose windows belong to a C++ object: the
// object, given as the creation parameter, receives every message from
// WM_NCCREATE to WM_NCDESTROY through its handle(hwnd, message, wParam, lParam).
template <typename Owner>
LRESULT CALLBACK forwardToOwner(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* created = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!owner)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return owner->handle(hwnd, message, wParam, lParam);
}

} // namespace quarnet::win32
