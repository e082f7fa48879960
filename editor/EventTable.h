#pragma once

#include "MapEditor.h"

#include <span>
#include <string_view>

namespace quarnet {

// The events of the window's controls that the program handles; no other
// event of a control runs anything.
enum class ControlEvent {
    Clicked,            // a button was clicked
    ItemChosen,         // a combo box item was chosen
    ChoiceAbandoned,    // a combo box's list closed without a choice
    ItemDoubleClicked,  // a list box item was double-clicked
    MouseMoved,         // the mouse moved over a canvas
    RightButtonPressed, // the right mouse button was pressed over a canvas
};

// One control's event and the handler it runs. x and y are the pointer's
// position in canvas pixels for the mouse events, 0 for the others.
struct EventBinding {
    std::string_view control;
    ControlEvent event;
    void (*run)(MapEditor& editor, int x, int y);
};

// Every event of a control that runs a handler, the direction pad included.
// The window's own creation and closing are its front end's to deliver.
std::span<const EventBinding> eventTable();

// A key of the window, pressed with Ctrl, and the handler it runs wherever
// the focus is, except in an edit box the user can type into: that box keeps
// the key for its own text.
struct KeyBinding {
    char letter; // 'A' to 'Z'
    bool shift;  // with Shift held too
    void (*run)(MapEditor& editor);
};

std::span<const KeyBinding> keyTable();

// The binding of Ctrl and a letter, with or without Shift; null for a key
// that runs nothing.
const KeyBinding* findKey(char letter, bool shift);

// An item of the window menu, which holds the commands beyond the fixed
// controls: on Windows the menu under the title bar's icon (Alt+Space), on
// Linux the context menu of the window's background, outside every control.
struct MenuItem {
    std::string_view text;    // as shown, in UTF-8; empty for a separator
    std::string_view keyText; // "Ctrl+E": the key of the key table that runs it too; empty for none
    void (*run)(MapEditor& editor);
    bool (*enabled)(const MapEditor& editor); // greyed out while false; null: always enabled
};

// The items in their order, separators included.
std::span<const MenuItem> windowMenu();

} // namespace quarnet
