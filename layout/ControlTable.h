#pragma once

#include <span>
#include <string_view>

// The window's 65 controls as plain data, read by every front end: names,
// kinds, places, sizes, captions, initial texts and entry limits.
namespace quarnet::layout {

enum class ControlKind { Label, EditBox, Button, ComboBox, ListBox, Canvas, Frame, FileDialog };

// How an edit box or label looks and takes input.
enum ControlTrait : unsigned {
    NoTrait = 0,
    ReadOnly = 1u << 0,      // edit box: only the program sets its text
    Wrapping = 1u << 1,      // label: long lines break at the label's width
    HexEntry = 1u << 2,      // edit box: at most 8 typed characters, letters in upper case
    PixelEntry = 1u << 3,    // edit box: digits only, at most 5
    LeftAligned = 1u << 4,   // edit box: text left-aligned instead of centred
    Bordered = 1u << 5,      // label: thin single-line border, text centred both ways
    HorizontalLine = 1u << 6, // frame: a line across instead of a rectangle
    MapCanvas = 1u << 7,     // canvas: the map view, which the program draws on and whose mouse it follows
};

// Typing limits of the entry boxes; a text the program sets is never cut.
inline constexpr int hexEntryLimit = 8;
inline constexpr int pixelEntryLimit = 5;

struct Rect {
    int left;
    int top;
    int width;
    int height;
};

struct Point {
    int left;
    int top;
};

struct Size {
    int width;
    int height;
};

struct ControlEntry {
    const char* name;    // the control's name (objectName in Qt)
    ControlKind kind;
    Rect geometry;       // in the client area; for controls in a frame, relative to it
    const char* text;    // caption or initial text, UTF-8; "\r\n" breaks a caption's line
    unsigned traits;
    const char* parent;  // the frame that holds the control, or nullptr
};

// The window's 65 controls, in creation order: later ones lie above earlier
// ones, and the rows run through the window top to bottom, so a control's ID
// (its row) is stable however a front end stores its controls.
std::span<const ControlEntry> controlTable();

// A control's number: its row in the table, 1 to 65. The Windows front end
// uses it as the control's ID, so other programs can find a control.
int controlId(const ControlEntry& entry);

// The entry of a name; nullptr for a name that is not in the table.
const ControlEntry* findControl(std::string_view name);

// The map view's entry: the one canvas with the MapCanvas trait.
const ControlEntry& mapCanvas();

// The window's caption, UTF-8.
inline constexpr const char* windowTitle = "Quarnet --- By Velloran";
// Where the window's outer top-left corner starts on the screen.
inline constexpr Point windowPosition {50, 50};
// The client area's size; the window never changes it.
inline constexpr Size clientSize {751, 514};

} // namespace quarnet::layout
