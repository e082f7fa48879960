// A small X11 client for the system tests, acting as a user would: waits for
// a top-level window by its title, clicks and types through the XTEST
// extension (as real input devices do), reads pixels and saves screenshots,
// and closes a window the way its title bar's close button does
// (WM_DELETE_WINDOW). Positions are in the window's client area.
//
//   quarnet-x11-probe wait TITLE SECONDS
//   quarnet-x11-probe wait-count N SECONDS   until exactly N top-level windows show
//   quarnet-x11-probe screenshot FILE.png
//   quarnet-x11-probe close TITLE
//   quarnet-x11-probe click TITLE X Y
//   quarnet-x11-probe doubleclick TITLE X Y
//   quarnet-x11-probe key KEYSYM [KEYSYM...]      e.g. Return, Down, ctrl+a
//   quarnet-x11-probe type TEXT                   letters, digits, . and -
//   quarnet-x11-probe pixel TITLE X Y             prints RRGGBB
//   quarnet-x11-probe wait-pixel TITLE X Y RRGGBB TOLERANCE SECONDS
//       until each channel lies within TOLERANCE of RRGGBB; prints the pixel
//   quarnet-x11-probe region TITLE X Y W H        prints a digest of the pixels
//   quarnet-x11-probe wait-region-change TITLE X Y W H DIGEST SECONDS
//       until the rectangle shows something other than DIGEST and holds
//       still (a control has taken its new text); prints the new digest
//   quarnet-x11-probe find-highlight TITLE X Y0 Y1
//       prints the middle Y of the selection-coloured run in column X
//   quarnet-x11-probe drop TITLE X Y FILE
//       drags FILE from a window of the probe's own and drops it at X, Y as
//       a file manager does (XDND); fails unless the window takes it
//   quarnet-x11-probe solid-picture FILE.jpg RRGGBB
//       writes a map picture (2184 x 1548) in one colour; needs no display
//   quarnet-x11-probe picture-pixel FILE X Y
//       prints the RRGGBB of a picture file's pixel; needs no display
//   quarnet-x11-probe window-screenshot TITLE FILE.png   the window's client area
//   quarnet-x11-probe crop-picture IN.png X Y WIDTH HEIGHT OUT.png   needs no display
//   quarnet-x11-probe same-picture EXPECTED.png ACTUAL.png           needs no display
//       exit 0 when both have the same size and at most 1 pixel in 1000 has a
//       channel more than 48 apart (a font's antialiasing may shift an edge)

#include <QCoreApplication>
#include <QColor>
#include <QFileInfo>
#include <QImage>
#include <QUrl>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string titleOf(Display* display, Window window)
{
    // _NET_WM_NAME holds the UTF-8 title; WM_NAME is the fallback.
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8String = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8String, &type, &format, &count, &after, &data)
            == Success
        && data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        return title;
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

// A window can go away between listing it and asking about it, as the
// program under test opens and closes its own: that call then fails and the
// window counts as not there, instead of the default handler ending the probe.
int ignoreVanishedWindows(Display*, XErrorEvent* error)
{
    if (error->error_code == BadWindow || error->error_code == BadDrawable)
        return 0;
    std::fprintf(stderr, "X error %d on request %d\n", error->error_code, error->request_code);
    std::exit(2);
}

Window findWindow(Display* display, Window root, const std::string& title)
{
    Window rootReturn, parent;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count))
        return None;
    Window found = None;
    for (unsigned int i = 0; i < count && found == None; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable
            && titleOf(display, children[i]) == title)
            found = children[i];
        else
            found = findWindow(display, children[i], title);
    }
    if (children)
        XFree(children);
    return found;
}

int waitFor(Display* display, const std::string& title, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (findWindow(display, DefaultRootWindow(display), title) != None)
            return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::fprintf(stderr, "no window titled \"%s\"\n", title.c_str());
    return 1;
}

int viewableTopLevels(Display* display)
{
    Window rootReturn, parent;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &rootReturn, &parent, &children, &count))
        return -1;
    int viewable = 0;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
            ++viewable;
    }
    if (children)
        XFree(children);
    return viewable;
}

// Dialogs and drop-down lists are top-level windows of their own: waiting
// for their number tells when one has opened or closed.
int waitForCount(Display* display, int wanted, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int now = -1;
    while (std::chrono::steady_clock::now() < deadline) {
        now = viewableTopLevels(display);
        if (now == wanted) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200)); // let it paint and take focus
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::fprintf(stderr, "%d top-level windows, not %d\n", now, wanted);
    return 1;
}

// The root window's area at (x, y), as a user sees it there, saved to path.
int saveRootArea(Display* display, int x, int y, int width, int height, const char* path)
{
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image)
        return 1;
    QImage picture(width, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            picture.setPixel(column, row, static_cast<QRgb>(XGetPixel(image, column, row)) | 0xFF000000u);
    XDestroyImage(image);
    return picture.save(QString::fromLocal8Bit(path)) ? 0 : 1;
}

int screenshot(Display* display, const char* path)
{
    XWindowAttributes attributes;
    XGetWindowAttributes(display, DefaultRootWindow(display), &attributes);
    return saveRootArea(display, 0, 0, attributes.width, attributes.height, path);
}

int windowScreenshot(Display* display, const std::string& title, const char* path)
{
    const Window window = findWindow(display, DefaultRootWindow(display), title);
    XWindowAttributes attributes;
    if (window == None || !XGetWindowAttributes(display, window, &attributes)) {
        std::fprintf(stderr, "no window titled \"%s\"\n", title.c_str());
        return 1;
    }
    // From the root, so child windows and what overlaps the window show as a user sees them.
    int x = 0;
    int y = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return saveRootArea(display, x, y, attributes.width, attributes.height, path);
}

int cropPicture(const char* in, int x, int y, int width, int height, const char* out)
{
    const QImage picture(QString::fromLocal8Bit(in));
    if (picture.isNull() || !picture.rect().contains(QRect(x, y, width, height))) {
        std::fprintf(stderr, "can't crop %s\n", in);
        return 1;
    }
    return picture.copy(x, y, width, height).save(QString::fromLocal8Bit(out)) ? 0 : 1;
}

int samePicture(const char* expectedPath, const char* actualPath)
{
    const QImage expected = QImage(QString::fromLocal8Bit(expectedPath)).convertToFormat(QImage::Format_RGB32);
    const QImage actual = QImage(QString::fromLocal8Bit(actualPath)).convertToFormat(QImage::Format_RGB32);
    if (expected.isNull() || actual.isNull() || expected.size() != actual.size()) {
        std::fprintf(stderr, "%s is %dx%d, %s is %dx%d\n", expectedPath, expected.width(), expected.height(),
                     actualPath, actual.width(), actual.height());
        return 1;
    }
    constexpr int channelTolerance = 48;
    long long differing = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb a = expected.pixel(x, y);
            const QRgb b = actual.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > channelTolerance || std::abs(qGreen(a) - qGreen(b)) > channelTolerance
                || std::abs(qBlue(a) - qBlue(b)) > channelTolerance)
                ++differing;
        }
    }
    const long long allowed = static_cast<long long>(expected.width()) * expected.height() / 1000;
    std::printf("%lld of %d pixels differ (at most %lld may)\n", differing, expected.width() * expected.height(),
                allowed);
    return differing <= allowed ? 0 : 1;
}

int closeWindow(Display* display, const std::string& title)
{
    const Window window = findWindow(display, DefaultRootWindow(display), title);
    if (window == None) {
        std::fprintf(stderr, "no window titled \"%s\"\n", title.c_str());
        return 1;
    }
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    return 0;
}

struct Point {
    int x = 0;
    int y = 0;
};

// A client-area position of a window in root coordinates.
bool toRoot(Display* display, const std::string& title, int x, int y, Point& root)
{
    const Window window = findWindow(display, DefaultRootWindow(display), title);
    if (window == None) {
        std::fprintf(stderr, "no window titled \"%s\"\n", title.c_str());
        return false;
    }
    Window child;
    return XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &root.x, &root.y, &child);
}

void pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

int click(Display* display, const std::string& title, int x, int y, int times)
{
    Point root;
    if (!toRoot(display, title, x, y, root))
        return 1;
    XTestFakeMotionEvent(display, DefaultScreen(display), root.x, root.y, CurrentTime);
    XFlush(display);
    pause(50);
    for (int i = 0; i < times; ++i) {
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
        XFlush(display);
        pause(times > 1 ? 30 : 50);
    }
    XSync(display, False);
    return 0;
}

bool pressKey(Display* display, const std::string& chord)
{
    // "ctrl+a", "shift+Tab", "Return": modifiers, then the key.
    std::vector<KeyCode> held;
    std::size_t start = 0;
    for (;;) {
        const std::size_t plus = chord.find('+', start);
        std::string name = chord.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        if (name == "ctrl")
            name = "Control_L";
        else if (name == "shift")
            name = "Shift_L";
        const KeySym sym = XStringToKeysym(name.c_str());
        const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
        if (code == 0) {
            std::fprintf(stderr, "unknown key %s\n", name.c_str());
            return false;
        }
        held.push_back(code);
        if (plus == std::string::npos)
            break;
        start = plus + 1;
    }
    for (const KeyCode code : held)
        XTestFakeKeyEvent(display, code, True, CurrentTime);
    for (auto it = held.rbegin(); it != held.rend(); ++it)
        XTestFakeKeyEvent(display, *it, False, CurrentTime);
    XFlush(display);
    pause(40);
    return true;
}

int typeText(Display* display, const std::string& text)
{
    for (const char c : text) {
        std::string name;
        if (c == '.')
            name = "period";
        else if (c == '-')
            name = "minus";
        else if (c == ' ')
            name = "space";
        else
            name = std::string(1, c);
        if (!pressKey(display, name))
            return 1;
    }
    return 0;
}

unsigned long rootPixel(Display* display, Point at)
{
    XImage* image = XGetImage(display, DefaultRootWindow(display), at.x, at.y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return 0;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

// One client-area pixel, or nothing when the window is not there.
std::optional<unsigned long> clientPixel(Display* display, const std::string& title, int x, int y)
{
    Point root;
    if (!toRoot(display, title, x, y, root))
        return std::nullopt;
    return rootPixel(display, root);
}

int printPixel(Display* display, const std::string& title, int x, int y)
{
    const auto pixel = clientPixel(display, title, x, y);
    if (!pixel)
        return 1;
    std::printf("%06lX\n", *pixel);
    return 0;
}

bool isNear(unsigned long pixel, unsigned long wanted, int tolerance)
{
    for (const int shift : {16, 8, 0}) {
        const int have = static_cast<int>((pixel >> shift) & 0xFF);
        const int want = static_cast<int>((wanted >> shift) & 0xFF);
        if (std::abs(have - want) > tolerance)
            return false;
    }
    return true;
}

int waitForPixel(Display* display, const std::string& title, int x, int y, const char* colour, int tolerance,
                 double seconds)
{
    const unsigned long wanted = std::strtoul(colour, nullptr, 16);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    std::optional<unsigned long> pixel;
    do {
        pixel = clientPixel(display, title, x, y);
        if (pixel && isNear(*pixel, wanted, tolerance)) {
            std::printf("%06lX\n", *pixel);
            return 0;
        }
        pause(50);
    } while (std::chrono::steady_clock::now() < deadline);
    if (pixel)
        std::printf("%06lX\n", *pixel);
    std::fprintf(stderr, "pixel (%d, %d) is not %s within %d after %g s\n", x, y, colour, tolerance, seconds);
    return 1;
}

// FNV-1a over a client-area rectangle's pixels: equal digests, equal pixels.
std::optional<std::uint64_t> regionDigest(Display* display, const std::string& title, int x, int y, int width,
                                          int height)
{
    Point root;
    if (width <= 0 || height <= 0 || !toRoot(display, title, x, y, root))
        return std::nullopt;
    XImage* image = XGetImage(display, DefaultRootWindow(display), root.x, root.y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image)
        return std::nullopt;
    std::uint64_t digest = 14695981039346656037ull;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row) & 0xFFFFFF;
            for (const int shift : {16, 8, 0}) {
                digest ^= (pixel >> shift) & 0xFF;
                digest *= 1099511628211ull;
            }
        }
    }
    XDestroyImage(image);
    return digest;
}

int printRegion(Display* display, const std::string& title, int x, int y, int width, int height)
{
    const auto digest = regionDigest(display, title, x, y, width, height);
    if (!digest)
        return 1;
    std::printf("%016llX\n", static_cast<unsigned long long>(*digest));
    return 0;
}

int waitForRegionChange(Display* display, const std::string& title, int x, int y, int width, int height,
                        const char* before, double seconds)
{
    const std::uint64_t old = std::strtoull(before, nullptr, 16);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    std::optional<std::uint64_t> previous;
    do {
        const auto digest = regionDigest(display, title, x, y, width, height);
        if (digest && *digest != old && previous == digest) {
            std::printf("%016llX\n", static_cast<unsigned long long>(*digest));
            return 0;
        }
        previous = digest;
        pause(50);
    } while (std::chrono::steady_clock::now() < deadline);
    std::fprintf(stderr, "the rectangle %d, %d, %d x %d did not change within %g s\n", x, y, width, height, seconds);
    return 1;
}

int findHighlight(Display* display, const std::string& title, int x, int top, int bottom)
{
    // A selected item's background: clearly blue, little red.
    int first = -1;
    int last = -1;
    for (int y = top; y <= bottom; ++y) {
        Point root;
        if (!toRoot(display, title, x, y, root))
            return 1;
        const unsigned long pixel = rootPixel(display, root);
        const int red = static_cast<int>((pixel >> 16) & 0xFF);
        const int blue = static_cast<int>(pixel & 0xFF);
        if (blue > 150 && red < 110) {
            if (first < 0)
                first = y;
            last = y;
        } else if (first >= 0) {
            break;
        }
    }
    if (first < 0) {
        std::fprintf(stderr, "no highlight in column %d\n", x);
        return 1;
    }
    std::printf("%d\n", (first + last) / 2);
    return 0;
}

void sendXdnd(Display* display, Window target, const char* message, std::initializer_list<long> data)
{
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = XInternAtom(display, message, False);
    event.xclient.format = 32;
    int i = 0;
    for (const long value : data)
        event.xclient.data.l[i++] = value;
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
}

// Hands the dragged file's URL to the window that asks for it.
void answerSelectionRequest(Display* display, const XSelectionRequestEvent& request, const QByteArray& uriList)
{
    const Atom uriListType = XInternAtom(display, "text/uri-list", False);
    const Atom targets = XInternAtom(display, "TARGETS", False);
    XEvent reply;
    std::memset(&reply, 0, sizeof reply);
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = None;
    const Atom property = request.property == None ? request.target : request.property;
    if (request.target == uriListType) {
        XChangeProperty(display, request.requestor, property, uriListType, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(uriList.constData()), static_cast<int>(uriList.size()));
        reply.xselection.property = property;
    } else if (request.target == targets) {
        const Atom offered[] = {targets, uriListType};
        XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(offered), 2);
        reply.xselection.property = property;
    }
    XSendEvent(display, request.requestor, False, NoEventMask, &reply);
    XFlush(display);
}

// The XDND protocol's source side, version 5: enter, position, and once the
// target accepts, drop; the file's URL goes over the XdndSelection.
int dropFile(Display* display, const std::string& title, int x, int y, const char* file)
{
    const Window target = findWindow(display, DefaultRootWindow(display), title);
    Point root;
    if (target == None || !toRoot(display, title, x, y, root))
        return 1;
    const QByteArray uriList = QUrl::fromLocalFile(QFileInfo(QString::fromLocal8Bit(file)).absoluteFilePath()).toEncoded()
                               + "\r\n";
    const Window source = XCreateSimpleWindow(display, DefaultRootWindow(display), -10, -10, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, XInternAtom(display, "XdndSelection", False), source, CurrentTime);
    const long copy = static_cast<long>(XInternAtom(display, "XdndActionCopy", False));
    const long uriListType = static_cast<long>(XInternAtom(display, "text/uri-list", False));
    sendXdnd(display, target, "XdndEnter", {static_cast<long>(source), 5L << 24, uriListType, 0, 0});
    sendXdnd(display, target, "XdndPosition",
             {static_cast<long>(source), 0, (long {root.x} << 16) | root.y, CurrentTime, copy});

    const Atom status = XInternAtom(display, "XdndStatus", False);
    const Atom finished = XInternAtom(display, "XdndFinished", False);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool dropped = false;
    int result = 1;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!XPending(display)) {
            pause(10);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == SelectionRequest) {
            answerSelectionRequest(display, event.xselectionrequest, uriList);
        } else if (event.type == ClientMessage && event.xclient.message_type == status && !dropped) {
            if ((event.xclient.data.l[1] & 1) == 0) {
                std::fprintf(stderr, "the window refused the drag\n");
                sendXdnd(display, target, "XdndLeave", {static_cast<long>(source), 0, 0, 0, 0});
                break;
            }
            sendXdnd(display, target, "XdndDrop", {static_cast<long>(source), 0, CurrentTime, 0, 0});
            dropped = true;
        } else if (event.type == ClientMessage && event.xclient.message_type == finished) {
            result = (event.xclient.data.l[1] & 1) ? 0 : 1;
            if (result != 0)
                std::fprintf(stderr, "the window did not take the drop\n");
            break;
        }
    }
    if (result != 0 && std::chrono::steady_clock::now() >= deadline)
        std::fprintf(stderr, "no answer to the drag\n");
    XDestroyWindow(display, source);
    XSync(display, False);
    return result;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv); // for the image writer plugins
    if (argc == 4 && std::string(argv[1]) == "solid-picture") {
        QImage picture(2184, 1548, QImage::Format_RGB32);
        picture.fill(QColor(QStringLiteral("#") + QString::fromLatin1(argv[3])));
        return picture.save(QString::fromLocal8Bit(argv[2]), "JPEG", 100) ? 0 : 1;
    }
    if (argc == 8 && std::string(argv[1]) == "crop-picture")
        return cropPicture(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]),
                           argv[7]);
    if (argc == 4 && std::string(argv[1]) == "same-picture")
        return samePicture(argv[2], argv[3]);
    if (argc == 5 && std::string(argv[1]) == "picture-pixel") {
        const QImage picture(QString::fromLocal8Bit(argv[2]));
        const QPoint at(std::atoi(argv[3]), std::atoi(argv[4]));
        if (!picture.valid(at))
            return 1;
        std::printf("%06X\n", picture.pixel(at) & 0xFFFFFFu);
        return 0;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(ignoreVanishedWindows);
    int result = 2;
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "wait" && argc == 4)
        result = waitFor(display, argv[2], std::atof(argv[3]));
    else if (command == "wait-count" && argc == 4)
        result = waitForCount(display, std::atoi(argv[2]), std::atof(argv[3]));
    else if (command == "screenshot" && argc == 3)
        result = screenshot(display, argv[2]);
    else if (command == "window-screenshot" && argc == 4)
        result = windowScreenshot(display, argv[2], argv[3]);
    else if (command == "close" && argc == 3)
        result = closeWindow(display, argv[2]);
    else if ((command == "click" || command == "doubleclick") && argc == 5)
        result = click(display, argv[2], std::atoi(argv[3]), std::atoi(argv[4]), command == "click" ? 1 : 2);
    else if (command == "key" && argc >= 3) {
        result = 0;
        for (int i = 2; i < argc && result == 0; ++i)
            result = pressKey(display, argv[i]) ? 0 : 1;
    } else if (command == "type" && argc == 3)
        result = typeText(display, argv[2]);
    else if (command == "pixel" && argc == 5)
        result = printPixel(display, argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    else if (command == "drop" && argc == 6)
        result = dropFile(display, argv[2], std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
    else if (command == "wait-pixel" && argc == 8)
        result = waitForPixel(display, argv[2], std::atoi(argv[3]), std::atoi(argv[4]), argv[5], std::atoi(argv[6]),
                              std::atof(argv[7]));
    else if (command == "region" && argc == 7)
        result = printRegion(display, argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                             std::atoi(argv[6]));
    else if (command == "wait-region-change" && argc == 9)
        result = waitForRegionChange(display, argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                                     std::atoi(argv[6]), argv[7], std::atof(argv[8]));
    else if (command == "find-highlight" && argc == 6)
        result = findHighlight(display, argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    else
        std::fprintf(stderr, "usage: see the comment at the top of x11_probe.cpp (%s)\n", argv[0]);
    XCloseDisplay(display);
    return result;
}
