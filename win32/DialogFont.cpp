#include "DialogFont.h"

#include "DpiScale.h"
#include "platform/WindowsText.h"

#include <climits>
#include <cstdlib>
#include <cwchar>
#include <optional>

namespace quarnet::win32 {

namespace {

// The layout's sizes were made for SimSun, whose characters fill their
// 12-pixel lines at 96 DPI; the Song and Ming faces after it keep that line.
constexpr const wchar_t* songFaces[] = {L"SimSun", L"NSimSun", L"MingLiU", L"PMingLiU"};
constexpr int songLineHeight = 12;
constexpr int smallestMessageHeight = 9;

int CALLBACK noteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// Whether the system has the face, by its name or by a substitute it maps
// that name to.
bool hasFace(HDC dc, const wchar_t* face)
{
    LOGFONTW wanted {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    EnumFontFamiliesExW(dc, &wanted, &noteFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

LOGFONTW songFont(const wchar_t* face, UINT dpi)
{
    LOGFONTW font {};
    // Positive: the height of the line, not of the characters.
    font.lfHeight = scaled(songLineHeight, dpi);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

bool measureFits(HDC dc, const DrawnText& drawn, int length)
{
    RECT needed = drawn.inside;
    DrawTextW(dc, drawn.text.c_str(), length, &needed, drawn.flags | DT_CALCRECT);
    return needed.right - needed.left <= drawn.inside.right - drawn.inside.left
           && needed.bottom - needed.top <= drawn.inside.bottom - drawn.inside.top;
}

// The characters all the texts lose in the font; stops counting past limit,
// which no better candidate can reach.
int cutWith(HDC dc, const LOGFONTW& logFont, std::span<const DrawnText> texts, int limit)
{
    HFONT font = CreateFontIndirectW(&logFont);
    if (!font)
        return limit;
    HGDIOBJ old = SelectObject(dc, font);
    int cut = 0;
    for (const DrawnText& drawn : texts) {
        cut += charactersCut(dc, drawn);
        if (cut >= limit)
            break;
    }
    SelectObject(dc, old);
    DeleteObject(font);
    return cut;
}

} // namespace

std::string DialogFontChoice::description() const
{
    return platform::wideToUtf8(font.lfFaceName) + " " + std::to_string(std::abs(font.lfHeight)) + " px "
           + (font.lfHeight > 0 ? "lines" : "characters") + " at " + std::to_string(dpi) + " DPI"
           + (charactersCut ? ", " + std::to_string(charactersCut) + " characters cut" : "");
}

int charactersCut(HDC dc, const DrawnText& drawn)
{
    const int length = static_cast<int>(drawn.text.size());
    if (measureFits(dc, drawn, length))
        return 0;
    // The longest start that fits: a start fits whenever a longer one does.
    int fitting = 0;
    int tooLong = length;
    while (tooLong - fitting > 1) {
        const int middle = fitting + (tooLong - fitting) / 2;
        (measureFits(dc, drawn, middle) ? fitting : tooLong) = middle;
    }
    return length - fitting;
}

DialogFontChoice chooseDialogFont(UINT dpi, std::span<const DrawnText> texts)
{
    // Measured off screen: a memory DC costs no trip to the window system.
    HDC dc = CreateCompatibleDC(nullptr);
    // The candidate that cut the fewest characters so far.
    std::optional<DialogFontChoice> best;
    const auto fitsWhole = [&](const LOGFONTW& font, bool message) {
        const int limit = best ? best->charactersCut : INT_MAX;
        const DialogFontChoice choice {font, dpi, cutWith(dc, font, texts, limit), message};
        if (!best || choice.charactersCut < best->charactersCut)
            best = choice;
        return choice.charactersCut == 0;
    };

    bool found = false;
    for (const wchar_t* face : songFaces) {
        if (hasFace(dc, face) && fitsWhole(songFont(face, dpi), false)) {
            found = true;
            break;
        }
    }
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof metrics;
    if (!found && SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        LOGFONTW font = metrics.lfMessageFont;
        // Negative: the height of the characters, as the system gives it.
        const LONG own = font.lfHeight != 0 ? std::abs(font.lfHeight) : scaled(songLineHeight, dpi);
        const LONG sign = font.lfHeight > 0 ? 1 : -1;
        for (LONG height = own; height >= scaled(smallestMessageHeight, dpi); --height) {
            font.lfHeight = sign * height;
            if (fitsWhole(font, true))
                break;
        }
    }
    DeleteDC(dc);
    return best.value_or(DialogFontChoice {songFont(songFaces[0], dpi), dpi, 0, false});
}

HFONT createDialogFont(const DialogFontChoice& choice, UINT dpi)
{
    LOGFONTW font = choice.font;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(choice.dpi));
    return CreateFontIndirectW(&font);
}

} // namespace quarnet::win32
