#pragma once

#include <windows.h>

namespace quarnet::win32 {

// The layout is drawn for 96 DPI; other DPIs scale it.
inline constexpr UINT baseDpi = USER_DEFAULT_SCREEN_DPI;

inline int scaled(int pixels, UINT dpi)
{
    return MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(baseDpi));
}

// The inverse, for positions that the mouse reports in scaled pixels.
inline int unscaled(int pixels, UINT dpi)
{
    return MulDiv(pixels, static_cast<int>(baseDpi), static_cast<int>(dpi));
}

} // namespace quarnet::win32
