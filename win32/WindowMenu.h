#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace quarnet::win32 {

// The program's commands in the window menu, the menu under the title bar's
// icon (Alt+Space), below the system's own items: where a window of a fixed
// layout offers what has no control of its own.
class WindowMenu {
public:
    struct Item {
        std::wstring text;    // empty for a separator
        std::wstring keyText; // shown at the right: L"Ctrl+Z"; empty for none
        std::function<void()> run;
        std::function<bool()> enabled; // greyed out while false; empty: always enabled
    };

    // Adds the items to the window's menu after a separator.
    void install(HWND window, std::vector<Item> items);

    // A WM_SYSCOMMAND's wParam: runs the item it names and answers true, or
    // answers false for the system's own commands. A greyed item runs nothing.
    bool runCommand(WPARAM command) const;

    // WM_INITMENUPOPUP for the window menu: each item enabled or greyed.
    void refresh(HMENU menu) const;

    // The WM_SYSCOMMAND that an item sends, by its place among the items.
    static UINT commandOf(std::size_t index);

private:
    std::vector<Item> items_;
};

} // namespace quarnet::win32
