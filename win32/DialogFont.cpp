#include "DialogFont.h"

#include "DpiScale.h"

#include <cwchar>

namespace quarnet::win32 {

namespace {

// The control table's sizes are made for captions in SimSun with 12-pixel
// lines at 96 DPI; without it the system's message font is used.
constexpr const wchar_t* captionFace = L"SimSun";
constexpr int captionLineHeight = 12;

int CALLBACK noteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// Whether the system has the face, by its name or by a substitute it maps
// that name to.
bool hasFace(const wchar_t* face)
{
    LOGFONTW wanted {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &wanted, &noteFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

} // namespace

HFONT createDialogFont(UINT dpi)
{
    if (hasFace(captionFace)) {
        LOGFONTW font {};
        // Positive: the line's height. SimSun's characters fill their line, so on
        // Windows this is its 9 points; a substitute the system maps the name to
        // keeps the 12-pixel lines, so the captions still fit their controls.
        font.lfHeight = scaled(captionLineHeight, dpi);
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfQuality = DEFAULT_QUALITY;
        wcsncpy(font.lfFaceName, captionFace, LF_FACESIZE - 1);
        if (HFONT created = CreateFontIndirectW(&font))
            return created;
    }
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return nullptr;
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

} // namespace quarnet::win32
