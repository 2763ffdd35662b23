// The window the rain falls in: the one a daemon names (--window-id, or $XSCREENSAVER_WINDOW with
// --root), the root window, or a window of the program's own. In a window it was given the program
// makes no window and takes no input; only its own window ends on a key or the close button.
#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <string>

struct HostOptions;

struct HostWindow {
    Window window = 0;
    bool own = false;   // made here, 1024 x 768, titled "Torvex"
    bool root = false;  // the root window itself: one field per monitor
    bool viewable = false;
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 0;         // 32 for an ARGB visual, whose alpha a compositor shows
    Atom deleteWindow = None;  // WM_DELETE_WINDOW, for a window of its own
    int randrEventBase = -1;   // where the root window's XRandR screen changes are followed
};

// Chooses the window in this order: --window-id; with --root, $XSCREENSAVER_WINDOW when set, else
// the root window; else a new window of its own (full screen asked for with --fullscreen). Selects
// the events the run follows on it. False, with error set, when a named window does not exist or
// $XSCREENSAVER_WINDOW holds no window id.
bool OpenHostWindow(Display* display, const HostOptions& options, HostWindow& window,
                    std::string& error);

// Destroys a window of its own; a window it was given is left as it is.
void CloseHostWindow(Display* display, HostWindow& window);

// The window's top-left corner in root-window pixels (0, 0 when it cannot be told).
void WindowOrigin(Display* display, const HostWindow& window, int32_t& x, int32_t& y);
