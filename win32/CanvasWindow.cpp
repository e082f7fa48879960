#include "CanvasWindow.h"

#include "WindowProc.h"
#include "mapfile/TerrainPalette.h"
#include "platform/WindowsText.h"

#include <windowsx.h>

#include <algorithm>

namespace quarnet::win32 {

namespace {

std::uint32_t toBgrx(Rgb colour)
{
    return (std::uint32_t {colour.red} << 16) | (std::uint32_t {colour.green} << 8) | colour.blue;
}

Rgb fromBgrx(std::uint32_t bgrx)
{
    return {static_cast<std::uint8_t>(bgrx >> 16), static_cast<std::uint8_t>(bgrx >> 8), static_cast<std::uint8_t>(bgrx)};
}

// The part of [start, start + length) that lies in [0, limit), for any ints.
struct Span {
    int first;
    int last; // one past
    bool empty() const { return first >= last; }
};

Span onCanvas(int start, int length, int limit)
{
    const std::int64_t first = std::max<std::int64_t>(start, 0);
    const std::int64_t last = std::min<std::int64_t>(std::int64_t {start} + length, limit);
    return first >= last ? Span {0, 0} : Span {static_cast<int>(first), static_cast<int>(last)};
}

// Posted to the canvas by a picture's worker: wParam is the number of a
// picture whose rest failed.
constexpr UINT pictureBrokenMessage = WM_APP + 1;
constexpr UINT_PTR restTimer = 1;
constexpr UINT_PTR toastTimer = 2;

void registerClassOnce(WNDPROC windowProc)
{
    static const bool registered = [windowProc] {
        WNDCLASSEXW windowClass {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = CanvasWindow::className;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

} // namespace

CanvasWindow::CanvasWindow(HWND parent, int id, int width, int height, Rgb background)
    : width_(width), height_(height), pictures_([] { return std::make_unique<WicDecoder>(); })
{
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    memoryDc_ = CreateCompatibleDC(nullptr);
    oldBitmap_ = SelectObject(memoryDc_, bitmap_);
    std::fill_n(bits_, std::size_t(width) * std::size_t(height), toBgrx(background));

    registerClassOnce(&forwardToOwner<CanvasWindow>);
    CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE, 0, 0, width, height, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this);
    // Posted: the model hears of a broken picture between two messages, on
    // this thread; a canvas window destroyed before then drops it.
    pictures_.whenRestFails(
        [hwnd = hwnd_](int picture) { PostMessageW(hwnd, pictureBrokenMessage, WPARAM(picture), 0); });
}

CanvasWindow::~CanvasWindow()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
    SelectObject(memoryDc_, oldBitmap_);
    DeleteDC(memoryDc_);
    DeleteObject(bitmap_);
    if (textFont_)
        DeleteObject(textFont_);
}

LRESULT CanvasWindow::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        hwnd_ = hwnd;
        break;
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the bitmap covers everything
    case WM_MOUSEMOVE:
        if (onMouseMove) {
            const POINT at = canvasPoint(lParam);
            onMouseMove(at.x, at.y);
        }
        return 0;
    case WM_RBUTTONDOWN:
        if (onRightButtonDown) {
            const POINT at = canvasPoint(lParam);
            onRightButtonDown(at.x, at.y);
        }
        return 0;
    case WM_TIMER:
        if (wParam == restTimer) {
            KillTimer(hwnd_, restTimer);
            pictures_.allowRests();
        } else if (wParam == toastTimer) {
            KillTimer(hwnd_, toastTimer);
            toast_.clear();
            changed();
        }
        return 0;
    case pictureBrokenMessage:
        pictures_.tellBroken(static_cast<int>(wParam));
        return 0;
    case WM_NCDESTROY:
        hwnd_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

POINT CanvasWindow::canvasPoint(LPARAM lParam) const
{
    // Above 96 DPI the window is larger than the bitmap it shows.
    RECT client;
    GetClientRect(hwnd_, &client);
    POINT at {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (client.right > 0 && client.bottom > 0 && at.x >= 0 && at.y >= 0) {
        at.x = static_cast<LONG>(std::int64_t {at.x} * width_ / client.right);
        at.y = static_cast<LONG>(std::int64_t {at.y} * height_ / client.bottom);
    }
    return at;
}

void CanvasWindow::paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    if (!overlay_.empty()) {
        BITMAPINFO info {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_; // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, width_, height_, overlay_.data(), &info,
                      DIB_RGB_COLORS, SRCCOPY);
    } else if (client.right == width_ && client.bottom == height_) {
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, memoryDc_, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    } else {
        // Above 96 DPI each canvas pixel becomes a square of screen pixels.
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 0, 0, client.right, client.bottom, memoryDc_, 0, 0, width_, height_, SRCCOPY);
    }
    if (!toast_.empty())
        paintToast(dc, client);
    EndPaint(hwnd_, &ps);
    // The first page is on the screen; the rest of the picture comes once
    // the other windows have painted too: a timer's message waits for that.
    if (!painted_) {
        painted_ = true;
        SetTimer(hwnd_, restTimer, USER_TIMER_MINIMUM, nullptr);
    }
}

void CanvasWindow::changed()
{
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, FALSE);
}

int CanvasWindow::loadPicture(const std::string& utf8Path)
{
    return pictures_.load(utf8Path);
}

void CanvasWindow::releasePicture(int picture)
{
    pictures_.release(picture);
}

void CanvasWindow::copyPixels(const Pixels& p, int x, int y)
{
    const Span columns = onCanvas(x, p.width, width_);
    const Span rows = onCanvas(y, p.height, height_);
    for (int row = rows.first; row < rows.last; ++row) {
        const std::uint8_t* from =
            p.bgr.data() + (std::size_t(row - y) * std::size_t(p.width) + std::size_t(columns.first - x)) * 3;
        std::uint32_t* to = bits_ + std::size_t(row) * std::size_t(width_);
        for (int column = columns.first; column < columns.last; ++column, from += 3)
            to[column] = std::uint32_t {from[0]} | (std::uint32_t {from[1]} << 8) | (std::uint32_t {from[2]} << 16);
    }
}

bool CanvasWindow::drawPicture(int picture, int x, int y)
{
    const LoadedPictures::Drawing drawing = pictures_.prepareDrawing(picture, x, y, width_, height_);
    if (drawing == LoadedPictures::Drawing::broken)
        return false;
    if (drawing == LoadedPictures::Drawing::nothing)
        return true;
    // Every decode this canvas loads has the window's decoder.
    const auto& rows = static_cast<const WicDecoder&>(pictures_.find(picture)->decoder());
    GdiFlush();
    copyPixels(rows.top(), x, y);
    if (drawing == LoadedPictures::Drawing::topAndRest)
        copyPixels(rows.rest(), x, y + rows.top().height);
    changed();
    return true;
}

void CanvasWindow::setPictureBrokenHandler(std::function<void(int picture)> handler)
{
    pictures_.setBrokenHandler(std::move(handler));
}

void CanvasWindow::drawImage(const RgbImage& image, int x, int y)
{
    if (image.width <= 0 || image.height <= 0
        || image.pixels.size() != std::size_t(image.width) * std::size_t(image.height))
        return;
    const Span columns = onCanvas(x, image.width, width_);
    const Span rows = onCanvas(y, image.height, height_);
    GdiFlush();
    for (int row = rows.first; row < rows.last; ++row) {
        for (int column = columns.first; column < columns.last; ++column) {
            const Rgb colour = image.pixels[std::size_t(row - y) * std::size_t(image.width) + std::size_t(column - x)];
            bits_[std::size_t(row) * std::size_t(width_) + std::size_t(column)] = toBgrx(colour);
        }
    }
    changed();
}

void CanvasWindow::showOverlay(const RgbImage& image)
{
    if (image.width <= 0 || image.height <= 0
        || image.pixels.size() != std::size_t(image.width) * std::size_t(image.height))
        return removeOverlay();
    overlay_.assign(std::size_t(width_) * std::size_t(height_), toBgrx(terrain::canvasBackground));
    for (int row = 0; row < std::min(image.height, height_); ++row) {
        for (int column = 0; column < std::min(image.width, width_); ++column)
            overlay_[std::size_t(row) * std::size_t(width_) + std::size_t(column)] =
                toBgrx(image.pixels[std::size_t(row) * std::size_t(image.width) + std::size_t(column)]);
    }
    changed();
}

void CanvasWindow::removeOverlay()
{
    if (overlay_.empty())
        return;
    overlay_.clear();
    changed();
}

void CanvasWindow::setDrawColour(Rgb colour)
{
    drawColour_ = toBgrx(colour);
}

void CanvasWindow::setPixel(int x, int y, std::uint32_t bgrx)
{
    if (x >= 0 && x < width_ && y >= 0 && y < height_)
        bits_[std::size_t(y) * std::size_t(width_) + std::size_t(x)] = bgrx;
}

void CanvasWindow::drawRectangle(int left, int top, int right, int bottom)
{
    // Pixel by pixel, so the outline covers exactly the corner pixels given:
    // a GDI rectangle would leave out the right and bottom edges.
    GdiFlush();
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    for (int x = std::max(left, -1); x <= std::min(right, width_); ++x) {
        setPixel(x, top, drawColour_);
        setPixel(x, bottom, drawColour_);
    }
    for (int y = std::max(top, -1); y <= std::min(bottom, height_); ++y) {
        setPixel(left, y, drawColour_);
        setPixel(right, y, drawColour_);
    }
    changed();
}

void CanvasWindow::useTextFont(HFONT font)
{
    if (textFont_)
        DeleteObject(textFont_);
    textFont_ = font;
}

void CanvasWindow::drawTextLines(const std::vector<std::string>& lines, Rgb colour)
{
    GdiFlush();
    HGDIOBJ oldFont = SelectObject(memoryDc_, textFont_ ? textFont_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(memoryDc_, TRANSPARENT);
    SetTextColor(memoryDc_, RGB(colour.red, colour.green, colour.blue));
    TEXTMETRICW metrics {};
    GetTextMetricsW(memoryDc_, &metrics);
    // Half a line between lines, a few pixels clear of the sides.
    const int lineHeight = metrics.tmHeight;
    const int lineStep = lineHeight + lineHeight / 2;
    const int margin = 4;
    int top = (height_ - lineHeight - lineStep * (static_cast<int>(lines.size()) - 1)) / 2;
    for (const std::string& line : lines) {
        const std::wstring text = platform::utf8ToWide(line);
        RECT place {margin, top, width_ - margin, top + lineHeight};
        DrawTextW(memoryDc_, text.c_str(), static_cast<int>(text.size()), &place,
                  DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
        top += lineStep;
    }
    SelectObject(memoryDc_, oldFont);
    GdiFlush();
    changed();
}

void CanvasWindow::showToast(const std::string& line)
{
    toast_ = platform::utf8ToWide(line);
    if (hwnd_)
        SetTimer(hwnd_, toastTimer, toastSeconds * 1000, nullptr);
    changed();
}

int CanvasWindow::toastHeight() const
{
    HGDIOBJ oldFont = SelectObject(memoryDc_, textFont_ ? textFont_ : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics {};
    GetTextMetricsW(memoryDc_, &metrics);
    SelectObject(memoryDc_, oldFont);
    return std::min<int>(metrics.tmHeight + 6, height_);
}

void CanvasWindow::paintToast(HDC dc, const RECT& client)
{
    // The band is drawn in canvas pixels, from what is shown there, darkened
    // so the picture stays in sight, and stretched with the rest.
    const int bandHeight = toastHeight();
    const int bandTop = height_ - bandHeight;
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -bandHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP band = CreateDIBSection(memoryDc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!band)
        return;
    GdiFlush();
    const std::uint32_t* shown = overlay_.empty() ? bits_ : overlay_.data();
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int row = 0; row < bandHeight; ++row) {
        for (int column = 0; column < width_; ++column) {
            const std::uint32_t c = shown[std::size_t(bandTop + row) * std::size_t(width_) + std::size_t(column)];
            pixels[std::size_t(row) * std::size_t(width_) + std::size_t(column)] = (c >> 2) & 0x3F3F3F;
        }
    }
    HDC bandDc = CreateCompatibleDC(memoryDc_);
    HGDIOBJ oldBitmap = SelectObject(bandDc, band);
    HGDIOBJ oldFont = SelectObject(bandDc, textFont_ ? textFont_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(bandDc, TRANSPARENT);
    SetTextColor(bandDc, RGB(255, 255, 255));
    RECT place {6, 0, width_ - 6, bandHeight};
    DrawTextW(bandDc, toast_.c_str(), static_cast<int>(toast_.size()), &place,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
    SetStretchBltMode(dc, COLORONCOLOR);
    const int top = static_cast<int>(std::int64_t {bandTop} * client.bottom / height_);
    StretchBlt(dc, 0, top, client.right, client.bottom - top, bandDc, 0, 0, width_, bandHeight, SRCCOPY);
    SelectObject(bandDc, oldFont);
    SelectObject(bandDc, oldBitmap);
    DeleteDC(bandDc);
    DeleteObject(band);
}

Rgb CanvasWindow::pixel(int x, int y) const
{
    if (x < 0 || x >= width_ || y < 0 || y >= height_)
        return {};
    GdiFlush();
    return fromBgrx(bits_[std::size_t(y) * std::size_t(width_) + std::size_t(x)]);
}

Rgb CanvasWindow::shownPixel(int x, int y) const
{
    if (overlay_.empty() || x < 0 || x >= width_ || y < 0 || y >= height_)
        return pixel(x, y);
    return fromBgrx(overlay_[std::size_t(y) * std::size_t(width_) + std::size_t(x)]);
}

} // namespace quarnet::win32
