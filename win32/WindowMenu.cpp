#include "WindowMenu.h"

namespace quarnet::win32 {

namespace {

// Below the system's commands (SC_SIZE and up, 0xF000), and with the four
// low bits clear: the system uses those of a WM_SYSCOMMAND itself.
constexpr UINT firstCommand = 0x1000;
constexpr UINT commandStep = 0x10;

} // namespace

UINT WindowMenu::commandOf(std::size_t index)
{
    return firstCommand + static_cast<UINT>(index) * commandStep;
}

void WindowMenu::install(HWND window, std::vector<Item> items)
{
    items_ = std::move(items);
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu)
        return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        if (item.text.empty()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        // A tab puts the key in the menu's right column.
        const std::wstring shown = item.keyText.empty() ? item.text : item.text + L'\t' + item.keyText;
        AppendMenuW(menu, MF_STRING, commandOf(i), shown.c_str());
    }
}

bool WindowMenu::runCommand(WPARAM command) const
{
    const UINT id = static_cast<UINT>(command & 0xFFF0);
    if (id < firstCommand || (id - firstCommand) % commandStep != 0)
        return false;
    const std::size_t index = (id - firstCommand) / commandStep;
    if (index >= items_.size() || items_[index].text.empty())
        return false;
    const Item& item = items_[index];
    if (item.run && (!item.enabled || item.enabled()))
        item.run();
    return true;
}

void WindowMenu::refresh(HMENU menu) const
{
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].text.empty())
            continue;
        const bool enabled = !items_[i].enabled || items_[i].enabled();
        EnableMenuItem(menu, commandOf(i), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
}

} // namespace quarnet::win32
