#pragma once

#include "layout/ControlTable.h"

#include <windows.h>

#include <string>

namespace quarnet::win32 {

// A text as a control draws it: with these DrawText flags, inside this
// rectangle of the control's client area.
struct DrawnText {
    std::wstring text;
    UINT flags = 0;
    RECT inside {};
};

// How the control of a kind draws a text at its present size and DPI: a
// label (static control) with the flags its styles give, in its client
// area; a push button centred on one line, clear of its edge and focus
// rectangle. Only labels and buttons; false for other kinds.
bool drawnTextOf(HWND control, layout::ControlKind kind, UINT dpi, const std::wstring& text, DrawnText& drawn);

} // namespace quarnet::win32
