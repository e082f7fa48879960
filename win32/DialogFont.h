#pragma once

#include <windows.h>

namespace quarnet::win32 {

// The font every control speaks in at a DPI: SimSun at 12 pixels per 96 DPI,
// the dialog font the fixed layout was drawn for (its line is 12 pixels, so
// the longest help text fits its label); where the system lacks SimSun, its
// message font. The caller owns the font; null only if both fail.
HFONT createDialogFont(UINT dpi);

} // namespace quarnet::win32
