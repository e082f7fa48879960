#pragma once

#include <windows.h>

namespace quarnet::win32 {

// Makes an edit box turn what the user types or pastes into capitals, and
// keep a paste within the box's text limit (EM_LIMITTEXT) like typing. Texts
// the program sets stay as they are.
void enterInUpperCase(HWND edit);

} // namespace quarnet::win32
