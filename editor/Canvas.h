#pragma once

#include "mapfile/Pixels.h"

#include <functional>
#include <string>
#include <vector>

namespace quarnet {

// The map canvas, a drawing surface that keeps what was drawn on it, and the
// pictures drawn on it.
class Canvas {
public:
    virtual ~Canvas() = default;

    // Loads a JPEG file; a number for the picture, or 0 when it can't be
    // loaded. Drawing or releasing 0 does nothing.
    //
    // A canvas may give the number once the part that drawing at (0, 0)
    // shows has decoded and decode the rest later. When the rest then
    // fails, the picture is broken: drawing a part not yet shown answers
    // false, and the handler set below is told as soon as it is known.
    virtual int loadPicture(const std::string& utf8Path) = 0;
    virtual void releasePicture(int picture) = 0;

    // Draws a picture at its own size with its top-left corner at (x, y),
    // clipped to the canvas. False when the picture turned out broken: then
    // nothing is drawn.
    [[nodiscard]] virtual bool drawPicture(int picture, int x, int y) = 0;

    // Told, on the window's thread between two events, the number of a
    // picture that turned out broken while the window was idle. An empty
    // handler tells no one.
    virtual void setPictureBrokenHandler(std::function<void(int picture)> handler) = 0;

    // Draws pixels at their own size with their top-left corner at (x, y),
    // clipped to the canvas.
    virtual void drawImage(const RgbImage& image, int x, int y) = 0;

    virtual void setDrawColour(Rgb colour) = 0;

    // The outline of the rectangle whose corner pixels are (left, top) and
    // (right, bottom), both included.
    virtual void drawRectangle(int left, int top, int right, int bottom) = 0;

    // Shows pixels over the canvas from its top-left corner, for a preview,
    // without touching what the canvas keeps: drawing goes on underneath,
    // and once the overlay is removed the canvas shows its kept drawing as
    // it is. A new overlay replaces the one shown; removing none is harmless.
    virtual void showOverlay(const RgbImage& image) = 0;
    virtual void removeOverlay() = 0;

    // Lines of text one below the other, centred on the canvas as a block, in
    // the window's font and the colour, over what is there. A line wider
    // than the canvas loses characters from its middle.
    virtual void drawTextLines(const std::vector<std::string>& lines, Rgb colour) = 0;

    // A note of one line in the window's font along the canvas's foot, over
    // everything the canvas shows, for toastSeconds; without touching what
    // the canvas keeps. A new note replaces the one shown.
    static constexpr int toastSeconds = 4;
    virtual void showToast(const std::string& line) = 0;
};

} // namespace quarnet
