#pragma once

#include "ControlText.h"

#include <windows.h>

#include <span>
#include <string>

namespace quarnet::win32 {

// The font every control speaks in, as chosen for a DPI.
struct DialogFontChoice {
    LOGFONTW font {};      // its face and height at the DPI
    UINT dpi = 96;
    int charactersCut = 0; // of the texts it was chosen for; 0 when all are whole
    bool messageFont = false;

    // "SimSun 12 px" and the like, for notes and failed tests.
    std::string description() const;
};

// The first font in which every text shows whole, measured as its control
// draws it (DrawText with the control's flags):
//   1. SimSun with 12-pixel lines, the font the fixed layout was drawn for;
//   2. NSimSun, MingLiU or PMingLiU with 12-pixel lines, where the system
//      has them;
//   3. the system's message font, Chinese coming from the faces the system
//      links behind it, at its own size or the largest below it, down to 9
//      pixels, with which all fit;
//   4. where none fits, the one that cuts the fewest characters.
// Every size is per 96 DPI, scaled to the DPI.
DialogFontChoice chooseDialogFont(UINT dpi, std::span<const DrawnText> texts);

// The chosen font at a DPI, which may differ from the one it was chosen at
// (the canvas draws at 96 DPI). The caller owns it.
HFONT createDialogFont(const DialogFontChoice& choice, UINT dpi);

// The characters of the text that its rectangle cuts off: 0 when it shows
// whole; else all those past the longest start of it that fits.
int charactersCut(HDC dc, const DrawnText& drawn);

} // namespace quarnet::win32
