#include "Subclass.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace quarnet::win32 {

namespace {

struct Chain {
    WNDPROC original = nullptr;
    struct Link {
        SubclassProcedure procedure;
        UINT_PTR data;
    };
    std::vector<Link> links; // the last put there runs first
    int running = -1;        // the link whose procedure runs now
};

// By window; a chain stays where it is while its window handles a message.
std::unordered_map<HWND, std::unique_ptr<Chain>>& chains()
{
    static std::unordered_map<HWND, std::unique_ptr<Chain>> all;
    return all;
}

LRESULT callLink(HWND hwnd, Chain& chain, int link, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (link < 0)
        return CallWindowProcW(chain.original, hwnd, message, wParam, lParam);
    // Saved and restored: the procedure may send the window other messages.
    const int outer = chain.running;
    chain.running = link;
    const Chain::Link& called = chain.links[static_cast<std::size_t>(link)];
    const LRESULT result = called.procedure(hwnd, message, wParam, lParam, called.data);
    chain.running = outer;
    return result;
}

LRESULT CALLBACK chainedProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto found = chains().find(hwnd);
    if (found == chains().end())
        return DefWindowProcW(hwnd, message, wParam, lParam);
    Chain& chain = *found->second;
    const LRESULT result = callLink(hwnd, chain, static_cast<int>(chain.links.size()) - 1, message, wParam, lParam);
    // The window's last message: its handle may come back for another.
    if (message == WM_NCDESTROY && chain.running < 0)
        chains().erase(hwnd);
    return result;
}

} // namespace

void subclassWindow(HWND hwnd, SubclassProcedure procedure, UINT_PTR data)
{
    std::unique_ptr<Chain>& chain = chains()[hwnd];
    // A chain left from a window destroyed amid one of its own messages
    // belongs to no window now: its handle may name a new one.
    if (chain && GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&chainedProcedure))
        chain.reset();
    if (!chain) {
        chain = std::make_unique<Chain>();
        chain->original =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&chainedProcedure)));
    }
    chain->links.push_back({procedure, data});
}

LRESULT callNextProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto found = chains().find(hwnd);
    if (found == chains().end())
        return DefWindowProcW(hwnd, message, wParam, lParam);
    Chain& chain = *found->second;
    return callLink(hwnd, chain, chain.running - 1, message, wParam, lParam);
}

} // namespace quarnet::win32
