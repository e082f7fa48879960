#include "WindowControls.h"

#include "platform/WindowsText.h"

namespace quarnet::win32 {

namespace {

using layout::ControlKind;

std::wstring windowText(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

void WindowControls::add(std::string_view name, Control control)
{
    controls_.insert_or_assign(std::string(name), control);
}

const WindowControls::Control* WindowControls::lookUp(std::string_view name) const
{
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : &found->second;
}

HWND WindowControls::find(std::string_view name) const
{
    const Control* control = lookUp(name);
    return control ? control->hwnd : nullptr;
}

std::wstring WindowControls::labelText(std::string_view utf8)
{
    const std::wstring wide = platform::utf8ToWide(utf8);
    std::wstring shown;
    shown.reserve(wide.size() + 8);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const wchar_t c = wide[i];
        if (c == L'\r' && i + 1 < wide.size() && wide[i + 1] == L'\n') {
            shown += L"\r\n";
            ++i;
        } else if (c == L'\r' || c == L'\n') {
            shown += L"\r\n";
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string WindowControls::text(std::string_view name) const
{
    const Control* control = lookUp(name);
    if (!control || (control->kind != ControlKind::EditBox && control->kind != ControlKind::Label))
        return {};
    return platform::wideToUtf8(windowText(control->hwnd));
}

void WindowControls::setText(std::string_view name, const std::string& text)
{
    const Control* control = lookUp(name);
    if (!control || (control->kind != ControlKind::EditBox && control->kind != ControlKind::Label))
        return;
    const std::wstring shown = control->kind == ControlKind::Label ? labelText(text) : platform::utf8ToWide(text);
    // A text that is already shown is left alone: rewriting it would only
    // cost a repaint.
    if (windowText(control->hwnd) != shown)
        SetWindowTextW(control->hwnd, shown.c_str());
}

void WindowControls::setItems(std::string_view name, std::span<const std::string> texts, std::span<const int> values)
{
    const Control* control = lookUp(name);
    if (!control || (control->kind != ControlKind::ComboBox && control->kind != ControlKind::ListBox))
        return;
    const bool combo = control->kind == ControlKind::ComboBox;
    SendMessageW(control->hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::wstring text = platform::utf8ToWide(texts[i]);
        const LRESULT index = SendMessageW(control->hwnd, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                                           reinterpret_cast<LPARAM>(text.c_str()));
        if (i < values.size())
            SendMessageW(control->hwnd, combo ? CB_SETITEMDATA : LB_SETITEMDATA, static_cast<WPARAM>(index),
                         values[i]);
    }
    // Nothing selected.
    SendMessageW(control->hwnd, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

int WindowControls::selectedIndex(std::string_view name) const
{
    const Control* control = lookUp(name);
    if (!control)
        return -1;
    LRESULT index = -1;
    if (control->kind == ControlKind::ComboBox)
        index = SendMessageW(control->hwnd, CB_GETCURSEL, 0, 0);
    else if (control->kind == ControlKind::ListBox)
        index = SendMessageW(control->hwnd, LB_GETCURSEL, 0, 0);
    return index < 0 ? -1 : static_cast<int>(index);
}

void WindowControls::setSelectedIndex(std::string_view name, int index)
{
    const Control* control = lookUp(name);
    if (!control)
        return;
    // -1 selects none in both; neither message tells the window.
    if (control->kind == ControlKind::ComboBox)
        SendMessageW(control->hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    else if (control->kind == ControlKind::ListBox)
        SendMessageW(control->hwnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string WindowControls::itemText(std::string_view name, int index) const
{
    const Control* control = lookUp(name);
    if (!control || control->kind != ControlKind::ComboBox || index < 0
        || index >= SendMessageW(control->hwnd, CB_GETCOUNT, 0, 0))
        return {};
    const LRESULT length = SendMessageW(control->hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(control->hwnd, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
    return platform::wideToUtf8(text);
}

int WindowControls::itemValue(std::string_view name, int index) const
{
    const Control* control = lookUp(name);
    if (!control || control->kind != ControlKind::ListBox || index < 0
        || index >= SendMessageW(control->hwnd, LB_GETCOUNT, 0, 0))
        return 0;
    return static_cast<int>(SendMessageW(control->hwnd, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void WindowControls::setItemColours(std::string_view name, std::span<const Rgb> colours)
{
    const Control* control = lookUp(name);
    if (!control || control->kind != ControlKind::ListBox)
        return;
    itemColours_[control->hwnd].assign(colours.begin(), colours.end());
    InvalidateRect(control->hwnd, nullptr, TRUE);
}

const std::vector<Rgb>& WindowControls::itemColours(HWND list) const
{
    static const std::vector<Rgb> none;
    const auto found = itemColours_.find(list);
    return found == itemColours_.end() ? none : found->second;
}

} // namespace quarnet::win32
