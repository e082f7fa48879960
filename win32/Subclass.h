#pragma once

#include <windows.h>

namespace quarnet::win32 {

// A procedure put in front of a window's own, as SetWindowSubclass does it,
// given the data it was put there with.
using SubclassProcedure = LRESULT (*)(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR data);

// Puts the procedure in front of the window's procedure and of those put
// there before. SetWindowSubclass keeps its chain in a window property,
// which wine reads from its server on every message the window gets; this
// chain lies in the program's own memory.
void subclassWindow(HWND hwnd, SubclassProcedure procedure, UINT_PTR data);

// Passes a message on to the next procedure in the window's chain, or to the
// window's own: what a subclass procedure calls for the messages it leaves
// to the window.
LRESULT callNextProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace quarnet::win32
