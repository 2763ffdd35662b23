// Choosing, making and watching the window (see window_x11.h).
#include "host/x11/window_x11.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>
#include <cstdlib>

#include "host/x11/options.h"

namespace {

constexpr int kOwnWidth = 1024;
constexpr int kOwnHeight = 768;

std::string Hex(Window window) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%lx", window);
    return text;
}

// Bad ids make the server answer with an error; the caller's error handler records it and
// XGetWindowAttributes then fails, which is all that is checked here.
bool TakeWindow(Display* display, Window id, HostWindow& window, std::string& error) {
    XWindowAttributes attributes;
    XSync(display, False);
    if (!XGetWindowAttributes(display, id, &attributes)) {
        error = "there is no window " + Hex(id);
        return false;
    }
    window.window = id;
    window.width = attributes.width;
    window.height = attributes.height;
    window.depth = attributes.depth;
    window.viewable = attributes.map_state == IsViewable;
    return true;
}

Window MakeOwnWindow(Display* display, bool fullscreen, HostWindow& window) {
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display, screen);
    const Window id =
        XCreateWindow(display, RootWindow(display, screen), 0, 0, kOwnWidth, kOwnHeight, 0,
                      CopyFromParent, InputOutput, CopyFromParent, CWBackPixel, &attributes);
    XStoreName(display, id, "Torvex");
    window.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, id, &window.deleteWindow, 1);
    if (fullscreen) {
        // Asked for before mapping, so the window manager maps it full screen at once.
        Atom state = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
        XChangeProperty(display, id, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32,
                        PropModeReplace, reinterpret_cast<unsigned char*>(&state), 1);
    }
    return id;
}

}  // namespace

bool OpenHostWindow(Display* display, const HostOptions& options, HostWindow& window,
                    std::string& error) {
    window = HostWindow{};
    const Window root = DefaultRootWindow(display);
    uint32_t id = options.haveWindowId ? options.windowId : 0;
    if (!id && options.root) {
        const char* given = std::getenv("XSCREENSAVER_WINDOW");
        if (given && *given && !ParseWindowId(given, id)) {
            error = std::string("XSCREENSAVER_WINDOW holds no window id: '") + given + "'";
            return false;
        }
    }
    if (id) {
        if (!TakeWindow(display, id, window, error)) return false;
        window.root = id == root;
        // Its size, its disappearance and its visibility; its input is the daemon's.
        XSelectInput(display, id, StructureNotifyMask | VisibilityChangeMask);
        return true;
    }
    if (options.root) {
        if (!TakeWindow(display, root, window, error)) return false;
        window.root = true;
        XSelectInput(display, root, StructureNotifyMask);
        // Without the extension the call would only print Xlib's complaint on stderr.
        int errorBase = 0;
        if (XRRQueryExtension(display, &window.randrEventBase, &errorBase))
            XRRSelectInput(display, root, RRScreenChangeNotifyMask);
        else
            window.randrEventBase = -1;
        return true;
    }
    const Window own = MakeOwnWindow(display, options.fullscreen, window);
    XSelectInput(display, own, StructureNotifyMask | VisibilityChangeMask | KeyPressMask);
    XMapWindow(display, own);
    if (!TakeWindow(display, own, window, error)) return false;
    window.own = true;
    window.viewable = false;  // until the server says it is mapped
    return true;
}

void CloseHostWindow(Display* display, HostWindow& window) {
    if (window.own && window.window) XDestroyWindow(display, window.window);
    window = HostWindow{};
}

void WindowOrigin(Display* display, const HostWindow& window, int32_t& x, int32_t& y) {
    int rootX = 0, rootY = 0;
    Window child = 0;
    x = y = 0;
    if (XTranslateCoordinates(display, window.window, DefaultRootWindow(display), 0, 0, &rootX,
                              &rootY, &child)) {
        x = rootX;
        y = rootY;
    }
}
