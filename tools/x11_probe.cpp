// A small X11 client for the system tests: waits for a top-level window by
// its title, saves a screenshot of the screen, and closes a window the way
// its title bar's close button does (WM_DELETE_WINDOW).
//
//   quarnet-x11-probe wait TITLE SECONDS
//   quarnet-x11-probe screenshot FILE.png
//   quarnet-x11-probe close TITLE

#include <QCoreApplication>
#include <QImage>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

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

int screenshot(Display* display, const char* path)
{
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    XImage* image = XGetImage(display, root, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image)
        return 1;
    QImage picture(attributes.width, attributes.height, QImage::Format_RGB32);
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x)
            picture.setPixel(x, y, static_cast<QRgb>(XGetPixel(image, x, y)) | 0xFF000000u);
    XDestroyImage(image);
    return picture.save(QString::fromLocal8Bit(path)) ? 0 : 1;
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

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv); // for the image writer plugins
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    int result = 2;
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "wait" && argc == 4)
        result = waitFor(display, argv[2], std::atof(argv[3]));
    else if (command == "screenshot" && argc == 3)
        result = screenshot(display, argv[2]);
    else if (command == "close" && argc == 3)
        result = closeWindow(display, argv[2]);
    else
        std::fprintf(stderr, "usage: %s wait TITLE SECONDS | screenshot FILE | close TITLE\n", argv[0]);
    XCloseDisplay(display);
    return result;
}
