#pragma once

#include "WicDecoder.h"
#include "editor/Canvas.h"
#include "picture/LoadedPictures.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

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

    // A picture's number is given once its top band has decoded; the rest
    // decodes on the worker once the canvas is first painted, or when a
    // drawing needs it first, which then waits for it.
    int loadPicture(const std::string& utf8Path) override;
    void releasePicture(int picture) override;
    bool drawPicture(int picture, int x, int y) override;
    void setPictureBrokenHandler(std::function<void(int picture)> handler) override;
    LoadedPictures& pictures() { return pictures_; }

    void drawImage(const RgbImage& image, int x, int y) override;
    void setDrawColour(Rgb colour) override;
    void drawRectangle(int left, int top, int right, int bottom) override;
    void showOverlay(const RgbImage& image) override;
    void removeOverlay() override;
    void drawTextLines(const std::vector<std::string>& lines, Rgb colour) override;
    void showToast(const std::string& line) override;
    // The note shown along the foot; empty once it is gone.
    const std::wstring& toast() const { return toast_; }

    // The font text is drawn in, for the canvas's 96-DPI pixels; the canvas
    // owns it.
    void useTextFont(HFONT font);

    // A pixel of the kept bitmap; black outside it.
    Rgb pixel(int x, int y) const;
    // A pixel as the window shows it: the preview's while one is shown.
    Rgb shownPixel(int x, int y) const;
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
    // The note's band, one line of the text font high, in canvas pixels.
    int toastHeight() const;
    void paintToast(HDC dc, const RECT& client);

    int width_;
    int height_;
    HWND hwnd_ = nullptr;
    HDC memoryDc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HFONT textFont_ = nullptr;
    std::uint32_t* bits_ = nullptr; // width_ * height_, top row first
    std::vector<std::uint32_t> overlay_; // the same, shown over bits_ while not empty
    std::uint32_t drawColour_ = 0;  // black, like a fresh device context's pen
    LoadedPictures pictures_;
    bool painted_ = false;
    std::wstring toast_;
};

} // namespace quarnet::win32
