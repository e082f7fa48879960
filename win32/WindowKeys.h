#pragma once

#include <windows.h>

namespace quarnet {
class MapEditor;
}

namespace quarnet::win32 {

// Runs the key table's handler for a key pressed with Ctrl in a window of
// the main window, unless that window is an edit box the user can type into,
// which keeps the key for its own text. True when a handler ran.
bool runWindowKey(MapEditor& editor, HWND focus, WPARAM virtualKey);

// Has a control of the main window hand the key table's keys to runWindowKey.
void watchWindowKeys(HWND control, MapEditor& editor);

} // namespace quarnet::win32
