#pragma once

#include "layout/ControlTable.h"
#include "editor/Controls.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quarnet::win32 {

// The model's view of the window: each control found by its name, texts
// converted between the model's UTF-8 and the windows' UTF-16 here only.
class WindowControls final : public Controls {
public:
    struct Control {
        HWND hwnd;
        layout::ControlKind kind;
    };

    void add(std::string_view name, Control control);
    HWND find(std::string_view name) const;

    std::string text(std::string_view control) const override;
    void setText(std::string_view control, const std::string& text) override;
    void setItems(std::string_view control, std::span<const std::string> texts, std::span<const int> values) override;
    int selectedIndex(std::string_view control) const override;
    void setSelectedIndex(std::string_view control, int index) override;
    std::string itemText(std::string_view control, int index) const override;
    int itemValue(std::string_view control, int index) const override;
    void setItemColours(std::string_view control, std::span<const Rgb> colours) override;

    // The colour squares of a list box's items; empty when it shows none.
    const std::vector<Rgb>& itemColours(HWND list) const;

    // A caption as a label shows it: a carriage return or a line feed alone
    // becomes a line break as well.
    static std::wstring labelText(std::string_view utf8);

private:
    const Control* lookUp(std::string_view name) const;

    // Keyed by the UTF-8 names the model uses, so finding a control converts
    // nothing.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
    };
    std::unordered_map<std::string, Control, NameHash, std::equal_to<>> controls_;
    std::unordered_map<HWND, std::vector<Rgb>> itemColours_;
};

} // namespace quarnet::win32
