#pragma once

#include "PictureDecoder.h"
#include "editor/Canvas.h"
#include "editor/NumberedPictures.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace quarnet::win32 {

// A canvas window of our own class: an off-screen bitmap (a DIB section) that
// keeps everything drawn on it and that WM_PAINT copies to the screen, scaled
// by the window's DPI. Mouse moves and right-button presses are reported in
// canvas pixels.
class CanvasWindow final : public Canvas {
public:
    // The window class's name, as other programs see it.
    static constexpr const wchar_t* className = L"QuarnetCanvas";

    // A canvas of width x height pixels in the colour background, created as
    // a child window with the control ID id.
    CanvasWindow(HWND parent, int id, int width, int height, Rgb background);
    ~CanvasWindow() override;
    CanvasWindow(const CanvasWindow&) = delete;
    CanvasWindow& operator=(const CanvasWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

    std::function<void(int x, int y)> onMouseMove;
    std::function<void(int x, int y)> onRightButtonDown;

    // The next load of the decode's path takes its picture.
    void useDecode(std::unique_ptr<PictureDecode> decode);

    // A picture's number is given once its top band has decoded; the rest
    // decodes on the worker once the canvas is first painted, or when a
    // drawing needs it first, which then waits for it.
    int loadPicture(const std::string& utf8Path) override;
    void releasePicture(int picture) override;
    bool drawPicture(int picture, int x, int y) override;
    void setPictureBrokenHandler(std::function<void(int picture)> handler) override;

    // While held, the rest of a picture decodes only when a drawing needs
    // it: how tests reach the pages before the rest is there. Letting go
    // starts the rests not yet started.
    void holdPictureRests(bool held);
    // Whether a picture has decoded whole, without waiting.
    bool isPictureWhole(int picture) const;
    void drawImage(const RgbImage& image, int x, int y) override;
    void setDrawColour(Rgb colour) override;
    void drawRectangle(int left, int top, int right, int bottom) override;
    void drawTextLines(const std::vector<std::string>& lines, Rgb colour) override;

    // The font text is drawn in, for the canvas's 96-DPI pixels; the canvas
    // owns it.
    void useTextFont(HFONT font);

    // A pixel of the kept bitmap; black outside it.
    Rgb pixel(int x, int y) const;
    int width() const { return width_; }
    int height() const { return height_; }

    // Its window's messages.
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    POINT canvasPoint(LPARAM lParam) const;
    void paint();
    void setPixel(int x, int y, std::uint32_t bgrx);
    void copyPixels(const Pixels& pixels, int x, int y);
    void changed();
    void startRests();

    int width_;
    int height_;
    HWND hwnd_ = nullptr;
    HDC memoryDc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HFONT textFont_ = nullptr;
    std::uint32_t* bits_ = nullptr; // width_ * height_, top row first
    std::uint32_t drawColour_ = 0;  // black, like a fresh device context's pen
    NumberedPictures<std::unique_ptr<PictureDecode>> pictures_;
    std::unique_ptr<PictureDecode> prefetch_;
    std::function<void(int picture)> brokenHandler_;
    std::vector<int> restsNotStarted_;
    bool painted_ = false;
    bool restsHeld_ = false;
};

} // namespace quarnet::win32
