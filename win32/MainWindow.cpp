#include "MainWindow.h"

#include "DialogFont.h"
#include "DpiScale.h"
#include "OpeningFromOutside.h"
#include "UpperCaseEntry.h"
#include "WindowKeys.h"
#include "WindowProc.h"
#include "editor/ReportTexts.h"
#include "mapfile/TerrainPalette.h"
#include "platform/ExecutableDirectory.h"
#include "platform/WindowsText.h"

#include <commctrl.h>

#include <utility>

namespace quarnet::win32 {

namespace {

using layout::ControlEntry;
using layout::ControlKind;

// Without WS_CLIPCHILDREN: the window's background shows inside the frames.
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD windowExStyle = 0;
// The combo box's dropped list, below its closed height.
constexpr int droppedListHeight = 240;
// The colour square before a legend item.
constexpr int colourSquare = 10;
// Posted by the watch on the map file: another program changed it.
constexpr UINT mapFileChangedMessage = WM_APP + 2;

const wchar_t* classOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label:
    case ControlKind::Frame:
        return WC_STATICW;
    case ControlKind::EditBox:
        return WC_EDITW;
    case ControlKind::Button:
        return WC_BUTTONW;
    case ControlKind::ComboBox:
        return WC_COMBOBOXW;
    case ControlKind::ListBox:
        return WC_LISTBOXW;
    case ControlKind::Canvas:
    case ControlKind::FileDialog:
        break;
    }
    return nullptr;
}

// Each kind's window styles, as the table describes the control.
void stylesOf(const ControlEntry& entry, DWORD& style, DWORD& exStyle)
{
    style = WS_CHILD | WS_VISIBLE;
    exStyle = 0;
    switch (entry.kind) {
    case ControlKind::Label:
        style |= SS_NOPREFIX;
        if (entry.traits & layout::Bordered)
            style |= SS_CENTER | SS_CENTERIMAGE | WS_BORDER;
        else if (entry.traits & layout::Wrapping)
            style |= SS_LEFT;
        else
            style |= SS_LEFTNOWORDWRAP | SS_CENTERIMAGE;
        break;
    case ControlKind::Frame:
        // Clipped by the controls above it, so its outline never covers them.
        style |= WS_CLIPSIBLINGS | ((entry.traits & layout::HorizontalLine) ? SS_ETCHEDHORZ : SS_ETCHEDFRAME);
        break;
    case ControlKind::EditBox:
        style |= WS_TABSTOP | ES_AUTOHSCROLL | ((entry.traits & layout::LeftAligned) ? ES_LEFT : ES_CENTER);
        exStyle |= WS_EX_CLIENTEDGE;
        if (entry.traits & layout::ReadOnly)
            style |= ES_READONLY;
        if (entry.traits & layout::PixelEntry)
            style |= ES_NUMBER;
        break;
    case ControlKind::Button:
        style |= WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER;
        break;
    case ControlKind::ComboBox:
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
        break;
    case ControlKind::ListBox:
        style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
        exStyle |= WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Canvas:
    case ControlKind::FileDialog:
        break;
    }
}

// A control's rectangle on the window at 96 DPI: controls in a frame are
// given relative to it.
RECT placeOf(const ControlEntry& entry)
{
    int left = entry.geometry.left;
    int top = entry.geometry.top;
    if (entry.parent) {
        if (const ControlEntry* frame = layout::findControl(entry.parent)) {
            left += frame->geometry.left;
            top += frame->geometry.top;
        }
    }
    return {left, top, left + entry.geometry.width, top + entry.geometry.height};
}

// Where a control's window goes at a DPI; a combo box's reaches down over
// its dropped list.
struct WindowPlace {
    int left, top, width, height;
};

WindowPlace windowPlaceOf(const ControlEntry& entry, UINT dpi)
{
    const RECT place = placeOf(entry);
    const int left = scaled(place.left, dpi);
    const int top = scaled(place.top, dpi);
    const int height = scaled(place.bottom, dpi) - top;
    return {left, top, scaled(place.right, dpi) - left,
            entry.kind == ControlKind::ComboBox ? height + scaled(droppedListHeight, dpi) : height};
}

// The window's outer size for its client area laid out at a DPI, with the
// frame the system draws at its own DPI for the window.
SIZE windowSizeFor(UINT layoutDpi, UINT frameDpi)
{
    RECT frame {0, 0, scaled(layout::clientSize.width, layoutDpi), scaled(layout::clientSize.height, layoutDpi)};
    AdjustWindowRectExForDpi(&frame, windowStyle, FALSE, windowExStyle, frameDpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

std::wstring proposedFileName()
{
    for (const ControlEntry& entry : layout::controlTable()) {
        if (entry.kind == ControlKind::FileDialog)
            return platform::utf8ToWide(entry.text);
    }
    return {};
}

void registerClassOnce(WNDPROC windowProc)
{
    static const bool registered = [windowProc] {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, L"IDI_ICON1", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
        windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, L"IDI_ICON1", IMAGE_ICON,
                                                            GetSystemMetrics(SM_CXSMICON),
                                                            GetSystemMetrics(SM_CYSMICON), 0));
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = MainWindow::className;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

} // namespace

MainWindow::MainWindow(platform::Files& files, Surroundings surroundings, const std::wstring& mapPath)
    : files_(files), openDialog_(proposedFileName()), surroundings_(std::move(surroundings))
{
    if (!surroundings_.endProgram)
        surroundings_.endProgram = [](int code) { PostQuitMessage(code); };
    // The controls of common controls 6 (visual styles), where the manifest
    // asks for them.
    INITCOMMONCONTROLSEX classes {sizeof classes, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);

    registerClassOnce(&forwardToOwner<MainWindow>);
    // Made at its size for the system's DPI, which its monitor's mostly is.
    const SIZE size = windowSizeFor(GetDpiForSystem(), GetDpiForSystem());
    CreateWindowExW(windowExStyle, className, platform::utf8ToWide(layout::windowTitle).c_str(), windowStyle,
                    layout::windowPosition.left, layout::windowPosition.top, size.cx, size.cy, nullptr, nullptr,
                    GetModuleHandleW(nullptr), this);
    dpi_ = GetDpiForWindow(hwnd_);
    // The picture's first page decodes on a worker while the controls are made.
    const std::string mapPathUtf8 = platform::wideToUtf8(mapPath);
    auto decode = std::make_unique<PictureDecode>(MapEditor::mapPicturePath(platform::executableDirectory(), mapPathUtf8),
                                                  std::make_unique<WicDecoder>());
    createControls();
    mapCanvas_->pictures().useDecode(std::move(decode));
    Host& host = *this;
    editor_ = std::make_unique<MapEditor>(controls_, *mapCanvas_, host, files_);
    connectEvents();
    // Keys and dropped files, anywhere on the window.
    for (const auto& [hwnd, entry] : entries_)
        watchWindowKeys(hwnd, *editor_);
    DragAcceptFiles(hwnd_, TRUE);
    installWindowMenu();
    mapFileWatch_ = std::make_unique<MapFileWatch>(hwnd_, mapFileChangedMessage);
    // The controls were made in their places for the window's DPI; the font
    // is chosen for them there.
    fitToDpi();

    // The creation-completed event: the lists' items, default texts,
    // directory, picture.
    editor_->setUp(mapPathUtf8);
    // The dialog starts at the demo map the empty canvas names.
    if (!editor_->state().demoMapPath.empty())
        openDialog_.chosen(platform::utf8ToWide(editor_->state().demoMapPath));
    if (!mapPath.empty())
        openMapFile(mapPath);
}

MainWindow::~MainWindow()
{
    mapFileWatch_.reset();
    if (hwnd_)
        DestroyWindow(hwnd_);
    if (font_)
        DeleteObject(font_);
}

void MainWindow::createControls()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const ControlEntry& entry : layout::controlTable()) {
        const int id = layout::controlId(entry);
        HWND hwnd = nullptr;
        if (entry.kind == ControlKind::FileDialog) {
            continue; // the system's dialog, made when shown
        } else if (entry.kind == ControlKind::Canvas) {
            // The map canvas shows the terrain's background where nothing was
            // drawn; the small one stays blank in the window's colour.
            const bool map = (entry.traits & layout::MapCanvas) != 0;
            const COLORREF face = GetSysColor(COLOR_BTNFACE);
            const Rgb background = map ? terrain::canvasBackground : Rgb {GetRValue(face), GetGValue(face), GetBValue(face)};
            auto canvas = std::make_unique<CanvasWindow>(hwnd_, id, entry.geometry.width, entry.geometry.height,
                                                         background);
            hwnd = canvas->hwnd();
            const WindowPlace place = windowPlaceOf(entry, dpi_);
            SetWindowPos(hwnd, nullptr, place.left, place.top, place.width, place.height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            if (map)
                mapCanvas_ = canvas.get();
            canvases_.emplace(entry.name, std::move(canvas));
        } else {
            DWORD style = 0;
            DWORD exStyle = 0;
            stylesOf(entry, style, exStyle);
            const std::wstring text = entry.kind == ControlKind::Label ? WindowControls::labelText(entry.text)
                                                                       : platform::utf8ToWide(entry.text);
            // In its place at once: each move costs a trip to the window
            // system.
            const WindowPlace place = windowPlaceOf(entry, dpi_);
            hwnd = CreateWindowExW(exStyle, classOf(entry.kind), text.c_str(), style, place.left, place.top,
                                   place.width, place.height, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        }
        // Typing limits; a text the program sets is never cut or changed by
        // them. ES_UPPERCASE would also raise a text the program sets.
        if (entry.traits & layout::HexEntry) {
            SendMessageW(hwnd, EM_LIMITTEXT, layout::hexEntryLimit, 0);
            enterInUpperCase(hwnd);
        }
        if (entry.traits & layout::PixelEntry)
            SendMessageW(hwnd, EM_LIMITTEXT, layout::pixelEntryLimit, 0);
        if (entry.kind == ControlKind::EditBox && (entry.traits & layout::ReadOnly))
            readOnlyEdits_.insert(hwnd);
        // Frames lie below every other control, so what they hold shows; a
        // line takes its own height when made, so its size is given again.
        if (entry.kind == ControlKind::Frame) {
            const WindowPlace place = windowPlaceOf(entry, dpi_);
            SetWindowPos(hwnd, HWND_BOTTOM, place.left, place.top, place.width, place.height, SWP_NOACTIVATE);
        }
        controls_.add(entry.name, {hwnd, entry.kind});
        entries_.emplace(hwnd, &entry);
    }
}

void MainWindow::connectEvents()
{
    MapEditor* editor = editor_.get();
    for (const EventBinding& binding : eventTable()) {
        const ControlEntry* entry = layout::findControl(binding.control);
        if (!entry)
            continue;
        const auto run = [editor, handler = binding.run](int x, int y) { handler(*editor, x, y); };
        switch (binding.event) {
        case ControlEvent::Clicked:
        case ControlEvent::ItemChosen:
        case ControlEvent::ChoiceAbandoned:
        case ControlEvent::ItemDoubleClicked:
            commands_.emplace(layout::controlId(*entry), &binding);
            break;
        case ControlEvent::MouseMoved:
            if (const auto canvas = canvases_.find(binding.control); canvas != canvases_.end())
                canvas->second->onMouseMove = run;
            break;
        case ControlEvent::RightButtonPressed:
            if (const auto canvas = canvases_.find(binding.control); canvas != canvases_.end())
                canvas->second->onRightButtonDown = run;
            break;
        }
    }
}

std::vector<DrawnText> MainWindow::textsToFit() const
{
    std::vector<DrawnText> texts;
    const auto add = [this, &texts](HWND hwnd, ControlKind kind, const std::string& utf8) {
        DrawnText drawn;
        if (drawnTextOf(hwnd, kind, dpi_, WindowControls::labelText(utf8), drawn) && !drawn.text.empty())
            texts.push_back(std::move(drawn));
    };
    for (const auto& [hwnd, entry] : entries_)
        add(hwnd, entry->kind, entry->text);
    for (const LabelText& label : widestReportTexts()) {
        if (HWND hwnd = controls_.find(label.control))
            add(hwnd, ControlKind::Label, label.text);
    }
    return texts;
}

void MainWindow::setFontFor(UINT dpi)
{
    fontChoice_ = chooseDialogFont(dpi, textsToFit());
    HFONT font = createDialogFont(fontChoice_, dpi);
    if (!font)
        return;
    HFONT old = std::exchange(font_, font);
    // Redrawn only once shown: before, nothing is on the screen.
    const BOOL redraw = IsWindowVisible(hwnd_);
    for (const auto& [hwnd, entry] : entries_)
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), redraw);
    if (old)
        DeleteObject(old);
    // The canvas's pixels are those of 96 DPI, scaled on the screen.
    mapCanvas_->useTextFont(createDialogFont(fontChoice_, baseDpi));
}

int MainWindow::listItemHeight() const
{
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, font_);
    TEXTMETRICW metrics {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    return metrics.tmHeight + scaled(2, dpi_);
}

void MainWindow::fitComboHeight(HWND combo, int height)
{
    // A drop-down list's closed height follows its selection field's height;
    // the field is corrected until the box has the height wanted, as the
    // system may add its own padding to what it is told.
    LRESULT field = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int tries = 0; tries < 4 && field != CB_ERR; ++tries) {
        RECT rect;
        GetWindowRect(combo, &rect);
        const int difference = height - (rect.bottom - rect.top);
        if (difference == 0 || field + difference < 1)
            return;
        field += difference;
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
}

void MainWindow::placeControls()
{
    for (const auto& [hwnd, entry] : entries_) {
        const WindowPlace place = windowPlaceOf(*entry, dpi_);
        SetWindowPos(hwnd, nullptr, place.left, place.top, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The heights that follow the font: the combo box's and the list's items.
void MainWindow::fitItemHeights()
{
    for (const auto& [hwnd, entry] : entries_) {
        if (entry->kind == ControlKind::ComboBox) {
            const RECT place = placeOf(*entry);
            fitComboHeight(hwnd, scaled(place.bottom, dpi_) - scaled(place.top, dpi_));
        }
        if (entry->kind == ControlKind::ListBox)
            SendMessageW(hwnd, LB_SETITEMHEIGHT, 0, listItemHeight());
    }
}

void MainWindow::applyDpi(UINT dpi)
{
    dpi_ = dpi;
    placeControls();
    fitToDpi();
}

void MainWindow::fitToDpi()
{
    // The font is measured against the controls at their size for the DPI.
    setFontFor(dpi_);
    fitItemHeights();
    // The frame as the system draws it for the window now.
    const SIZE size = windowSizeFor(dpi_, GetDpiForWindow(hwnd_));
    RECT now;
    GetWindowRect(hwnd_, &now);
    if (now.right - now.left != size.cx || now.bottom - now.top != size.cy)
        SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT MainWindow::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        hwnd_ = hwnd;
        break;
    case WM_COMMAND:
        if (lParam != 0)
            command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_LISTBOX) {
            item.itemHeight = static_cast<UINT>(listItemHeight());
            return TRUE;
        }
        break;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_LISTBOX) {
            drawListItem(item);
            return TRUE;
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
        // Result boxes are read-only, yet black on white like the others.
        if (readOnlyEdits_.contains(reinterpret_cast<HWND>(lParam))) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        break;
    case WM_DPICHANGED: {
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        applyDpi(HIWORD(wParam));
        SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_KEYDOWN: // the window itself has the focus
        if (runWindowKey(*editor_, hwnd_, wParam))
            return 0;
        break;
    case WM_DROPFILES: {
        const auto drop = reinterpret_cast<HDROP>(wParam);
        const std::optional<std::wstring> path = droppedMapPath(drop);
        DragFinish(drop);
        if (path)
            openDroppedFile(*path);
        return 0;
    }
    case WM_SYSCOMMAND:
        if (windowMenu_.runCommand(wParam))
            return 0;
        break;
    case WM_INITMENUPOPUP:
        if (HIWORD(lParam)) // the window menu
            windowMenu_.refresh(reinterpret_cast<HMENU>(wParam));
        break;
    case mapFileChangedMessage:
        // One posted before the window watched another file is dropped.
        if (mapFileWatch_->isCurrent(wParam)) {
            mapFileWatch_->told();
            editor_->mapFileChangedOutside(platform::wideToUtf8(mapFileWatch_->path()));
        }
        return 0;
    case WM_CLOSE:
        // The title bar's close ends the program the way 关闭退出按钮 does.
        editor_->closeAndExit();
        DestroyWindow(hwnd_);
        return 0;
    case WM_NCDESTROY:
        hwnd_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void MainWindow::command(int id, int code)
{
    const auto [first, last] = commands_.equal_range(id);
    for (auto found = first; found != last; ++found) {
        const EventBinding& binding = *found->second;
        if (happened(binding.event, id, code)) {
            binding.run(*editor_, 0, 0);
            return;
        }
    }
}

bool MainWindow::happened(ControlEvent event, int id, int code) const
{
    switch (event) {
    case ControlEvent::ItemChosen: {
        // A choice is complete when the dropped list closes on an item, or at
        // once when the closed box is stepped through with the keyboard.
        HWND combo = GetDlgItem(hwnd_, id);
        const bool dropped = SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
        return (code == CBN_SELENDOK && dropped) || (code == CBN_SELCHANGE && !dropped);
    }
    case ControlEvent::ChoiceAbandoned:
        // Esc, or the focus gone elsewhere, while the list was dropped; the
        // box may show the item browsed to last.
        return code == CBN_SELENDCANCEL;
    case ControlEvent::ItemDoubleClicked:
        return code == LBN_DBLCLK;
    default:
        return code == BN_CLICKED;
    }
}

void MainWindow::drawListItem(const DRAWITEMSTRUCT& item) const
{
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    if (item.itemID == static_cast<UINT>(-1)) {
        if (item.itemState & ODS_FOCUS)
            DrawFocusRect(dc, &rect);
        return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

    RECT textRect = rect;
    textRect.left += scaled(2, dpi_);
    const std::vector<Rgb>& colours = controls_.itemColours(item.hwndItem);
    if (item.itemID < colours.size()) {
        const Rgb c = colours[item.itemID];
        const int side = scaled(colourSquare, dpi_);
        const int top = rect.top + (rect.bottom - rect.top - side) / 2;
        RECT square {textRect.left, top, textRect.left + side, top + side};
        HBRUSH brush = CreateSolidBrush(RGB(c.red, c.green, c.blue));
        FillRect(dc, &square, brush);
        DeleteObject(brush);
        textRect.left += side + scaled(3, dpi_);
    }

    const LRESULT length = SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0);
    std::wstring text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
    const LRESULT copied = SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &rect);
}

void MainWindow::installWindowMenu()
{
    MapEditor* editor = editor_.get();
    std::vector<WindowMenu::Item> items;
    for (const MenuItem& item : quarnet::windowMenu()) {
        WindowMenu::Item shown {platform::utf8ToWide(item.text), platform::utf8ToWide(item.keyText), {}, {}};
        if (item.run)
            shown.run = [editor, run = item.run] { run(*editor); };
        if (item.enabled)
            shown.enabled = [editor, enabled = item.enabled] { return enabled(*editor); };
        items.push_back(std::move(shown));
    }
    windowMenu_.install(hwnd_, std::move(items));
}

void MainWindow::openDroppedFile(const std::wstring& path)
{
    // A picture or a patch is taken by the open map; any other file is a map.
    if (editor_->openDroppedFile(platform::wideToUtf8(path)) == DroppedFile::map)
        openDialog_.chosen(path);
}

void MainWindow::openMapFile(const std::wstring& path)
{
    openDialog_.chosen(path);
    editor_->openMapFile(platform::wideToUtf8(path));
}

std::optional<std::string> MainWindow::askMapFilePath()
{
    std::optional<std::wstring> chosen;
    if (surroundings_.answerOpenDialog) {
        chosen = surroundings_.answerOpenDialog();
        if (chosen)
            openDialog_.chosen(*chosen);
    } else {
        chosen = openDialog_.ask(hwnd_);
    }
    if (!chosen)
        return std::nullopt;
    return platform::wideToUtf8(*chosen);
}

void MainWindow::showMessage(const std::string& utf8Text)
{
    const std::wstring text = platform::utf8ToWide(utf8Text);
    if (surroundings_.showMessage)
        surroundings_.showMessage(text);
    else
        MessageBoxW(hwnd_, text.c_str(), platform::utf8ToWide(layout::windowTitle).c_str(), MB_OK | MB_ICONWARNING);
}

bool MainWindow::askYesNoBox(const std::wstring& text)
{
    if (surroundings_.answerYesNo)
        return surroundings_.answerYesNo(text);
    return MessageBoxW(hwnd_, text.c_str(), platform::utf8ToWide(layout::windowTitle).c_str(),
                       MB_YESNO | MB_ICONQUESTION)
           == IDYES;
}

std::optional<std::wstring> MainWindow::askFile(const FileDialog& dialog, const std::wstring& proposed)
{
    if (surroundings_.answerFileDialog)
        return surroundings_.answerFileDialog(dialog, proposed);
    return dialog.ask(hwnd_, proposed);
}

namespace {

// The dialog of a kind, as the editor describes it.
FileDialog dialogFor(FileKind kind)
{
    const FileChoice choice = fileChoice(kind);
    FileDialog dialog;
    dialog.title = platform::utf8ToWide(choice.title);
    for (const FileFilter& filter : choice.filters) {
        DialogFilter shown {platform::utf8ToWide(filter.name), {}};
        for (const std::string_view pattern : filter.patterns)
            shown.patterns.push_back(platform::utf8ToWide(pattern));
        dialog.filters.push_back(std::move(shown));
    }
    dialog.save = kind == FileKind::terrainPictureSaved || kind == FileKind::patchSaved;
    return dialog;
}

} // namespace

std::optional<std::string> MainWindow::askFileToOpen(FileKind kind, const std::string& proposedPath)
{
    const std::optional<std::wstring> chosen = askFile(dialogFor(kind), platform::utf8ToWide(proposedPath));
    return chosen ? std::optional(platform::wideToUtf8(*chosen)) : std::nullopt;
}

std::optional<std::string> MainWindow::askFileToSave(FileKind kind, const std::string& proposedPath)
{
    return askFileToOpen(kind, proposedPath); // the kind tells a save dialog
}

bool MainWindow::askYesNo(const std::string& utf8Text)
{
    return askYesNoBox(platform::utf8ToWide(utf8Text));
}

void MainWindow::watchMapFile(const std::string& utf8Path)
{
    mapFileWatch_->watch(platform::utf8ToWide(utf8Path));
}

void MainWindow::ownWriteStarting()
{
    mapFileWatch_->ownWriteStarting();
}

void MainWindow::ownWriteDone()
{
    mapFileWatch_->ownWriteDone();
}

void MainWindow::endProgram(int exitCode)
{
    surroundings_.endProgram(exitCode);
}

} // namespace quarnet::win32
