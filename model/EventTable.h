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

} // namespace quarnet
