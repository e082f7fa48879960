#pragma once

#include "ProgramState.h"

#include <span>
#include <string>
#include <string_view>

namespace quarnet {

// The window's controls as the editor sees them: texts by control name, in
// UTF-8, the items of the two lists and their selection.
class Controls {
public:
    virtual ~Controls() = default;

    virtual std::string text(std::string_view control) const = 0;
    virtual void setText(std::string_view control, const std::string& text) = 0;

    // Replaces the items of a combo box or list box, none of them selected.
    // values[i] is the integer that item i carries; items past the end of
    // values carry 0.
    virtual void setItems(std::string_view control, std::span<const std::string> texts,
                          std::span<const int> values) = 0;

    // Index of the selected item of a combo box or list box; -1 when none.
    virtual int selectedIndex(std::string_view control) const = 0;
    // Selects the item of a combo box or list box; -1 selects none. Runs no
    // handler.
    virtual void setSelectedIndex(std::string_view control, int index) = 0;
    // Text of a combo box item; empty for an index out of range.
    virtual std::string itemText(std::string_view control, int index) const = 0;
    // Integer value carried by a list box item; 0 for an index out of range.
    virtual int itemValue(std::string_view control, int index) const = 0;

    // Shows a small square of a colour before each item of a list box, the
    // first colour for the first item; an empty span removes the squares.
    virtual void setItemColours(std::string_view control, std::span<const Rgb> colours) = 0;
};

} // namespace quarnet
