// The limit for quarnet.exe's start and memory: a bare Win32 program that
// decodes the same map picture from its own folder with the Windows Imaging
// Component, as a whole, and paints its top-left 384 x 240 pixels in one
// window. Closing the window ends it with exit code 0. Built once more with
// BARE_WITH_CAPTION, it also shows one Chinese caption in the message font,
// which brings in the CJK font that any window with Chinese text pays for.
// Built with BARE_WITH_CONTROLS, it is the same window with the program's 65
// controls of the system's own classes, in their places with their captions,
// in the message font, with common controls 6 (the program's manifest), and
// the picture in the map canvas's place: what the window system alone costs
// for that window, without any of the program's work.

#include <windows.h>
#include <wincodec.h>
#ifdef BARE_WITH_CONTROLS
#include "layout/ControlTable.h"

#include <commctrl.h>
#endif

#include <string>
#include <vector>

namespace {

constexpr int shownWidth = 384;
constexpr int shownHeight = 240;
#ifdef BARE_WITH_CONTROLS
// The map canvas's place in the window.
constexpr int shownLeft = 360;
constexpr int shownTop = 240;
#else
constexpr int shownLeft = 0;
constexpr int shownTop = 0;
#endif

UINT pictureWidth = 0;
UINT pictureHeight = 0;
std::vector<BYTE> pictureBgrx; // top row first

std::wstring pictureBesideProgram()
{
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return path.substr(0, path.find_last_of(L'\\')) + L"\\SANGO7.0.125.jpg";
}

// Leaves the picture empty when it is missing or can't be decoded.
void decodePicture(const std::wstring& path)
{
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICBitmapSource* converted = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void**>(&factory)))
        && SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                        WICDecodeMetadataCacheOnDemand, &decoder))
        && SUCCEEDED(decoder->GetFrame(0, &frame))
        && SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame, &converted))
        && SUCCEEDED(converted->GetSize(&pictureWidth, &pictureHeight))) {
        pictureBgrx.resize(std::size_t {pictureWidth} * pictureHeight * 4);
        if (FAILED(converted->CopyPixels(nullptr, pictureWidth * 4, static_cast<UINT>(pictureBgrx.size()),
                                         pictureBgrx.data())))
            pictureBgrx.clear();
    }
    for (IUnknown* object : {static_cast<IUnknown*>(converted), static_cast<IUnknown*>(frame),
                             static_cast<IUnknown*>(decoder), static_cast<IUnknown*>(factory)})
        if (object)
            object->Release();
}

void paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (!pictureBgrx.empty()) {
        BITMAPINFO info {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = static_cast<LONG>(pictureWidth);
        info.bmiHeader.biHeight = -static_cast<LONG>(pictureHeight); // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        StretchDIBits(dc, shownLeft, shownTop, shownWidth, shownHeight, 0, 0, shownWidth, shownHeight,
                      pictureBgrx.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

#ifdef BARE_WITH_CONTROLS
std::wstring wide(const char* utf8)
{
    std::wstring text(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, text.data(), static_cast<int>(text.size()));
    text.pop_back();
    return text;
}

void addControls(HWND window, HINSTANCE instance, HFONT font)
{
    INITCOMMONCONTROLSEX classes {sizeof classes, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    using quarnet::layout::ControlKind;
    for (const quarnet::layout::ControlEntry& entry : quarnet::layout::controlTable()) {
        const wchar_t* windowClass = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD exStyle = 0;
        switch (entry.kind) {
        case ControlKind::Label:
            style |= SS_LEFT | SS_NOPREFIX;
            break;
        case ControlKind::Frame:
            style |= SS_ETCHEDFRAME;
            break;
        case ControlKind::EditBox:
            windowClass = L"EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_CENTER;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::Button:
            windowClass = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::ComboBox:
            windowClass = L"COMBOBOX";
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
            break;
        case ControlKind::ListBox:
            windowClass = L"LISTBOX";
            style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::Canvas:
            if (entry.traits & quarnet::layout::MapCanvas)
                continue; // the picture, painted by the window itself
            break;
        case ControlKind::FileDialog:
            continue;
        }
        int left = entry.geometry.left;
        int top = entry.geometry.top;
        if (const quarnet::layout::ControlEntry* frame = entry.parent ? quarnet::layout::findControl(entry.parent)
                                                                       : nullptr) {
            left += frame->geometry.left;
            top += frame->geometry.top;
        }
        HWND control = CreateWindowExW(exStyle, windowClass, wide(entry.text).c_str(), style, left, top,
                                       entry.geometry.width, entry.geometry.height, window, nullptr, instance,
                                       nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}
#endif

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    decodePicture(pictureBesideProgram());

    WNDCLASSW windowClass {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.lpszClassName = L"QuarnetBareWindow";
    RegisterClassW(&windowClass);
#ifdef BARE_WITH_CONTROLS
    RECT frame {0, 0, quarnet::layout::clientSize.width, quarnet::layout::clientSize.height};
#else
    RECT frame {0, 0, shownWidth, shownHeight};
#endif
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowW(windowClass.lpszClassName, L"Bare picture window", WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                nullptr, nullptr, instance, nullptr);
#ifdef BARE_WITH_CONTROLS
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    addControls(window, instance, CreateFontIndirectW(&metrics.lfMessageFont));
#endif
#ifdef BARE_WITH_CAPTION
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    HWND caption = CreateWindowW(L"STATIC", L"当前程序所在目录", WS_CHILD | WS_VISIBLE, 8, 8, 200, 20, window, nullptr,
                                 instance, nullptr);
    SendMessageW(caption, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
#endif
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (com)
        CoUninitialize();
    return 0;
}
