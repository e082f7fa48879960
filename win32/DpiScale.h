#pragma once

#include <windows.h>

namespace quarnet::win32 {

// The layout is drawn for 96 DPI; other DPIs scale it.
inline constexpr UINT baseDpi = USER_DEFAULT_SCREEN_DPI;

inline int scaled(int pixels, UINT dpi)
{
    return MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(baseDpi));
}

} // namespace quarnet::win32
