#include "ControlText.h"

#include "DpiScale.h"

namespace quarnet::win32 {

namespace {

// The flags a static control hands DrawText, from its styles.
UINT staticControlFlags(LONG_PTR style)
{
    UINT flags = DT_EXPANDTABS;
    const LONG_PTR type = style & SS_TYPEMASK;
    if (type == SS_CENTER)
        flags |= DT_CENTER | DT_WORDBREAK;
    else if (type == SS_RIGHT)
        flags |= DT_RIGHT | DT_WORDBREAK;
    else if (type == SS_LEFTNOWORDWRAP)
        flags |= DT_LEFT;
    else
        flags |= DT_LEFT | DT_WORDBREAK;
    if (style & SS_NOPREFIX)
        flags |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE)
        flags |= DT_SINGLELINE | DT_VCENTER;
    return flags;
}

} // namespace

bool drawnTextOf(HWND control, layout::ControlKind kind, UINT dpi, const std::wstring& text, DrawnText& drawn)
{
    RECT client;
    GetClientRect(control, &client);
    drawn.text = text;
    // A final line break starts an empty line, which shows nothing.
    while (drawn.text.ends_with(L"\r\n"))
        drawn.text.resize(drawn.text.size() - 2);
    switch (kind) {
    case layout::ControlKind::Label:
        drawn.flags = staticControlFlags(GetWindowLongPtrW(control, GWL_STYLE));
        drawn.inside = client;
        return true;
    case layout::ControlKind::Button: {
        const int edge = scaled(3, dpi);
        InflateRect(&client, -edge, -edge);
        drawn.flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        drawn.inside = client;
        return true;
    }
    default:
        return false;
    }
}

} // namespace quarnet::win32
