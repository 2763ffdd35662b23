// The frame loop on X11 (see run_x11.h). Only the waiting is this platform's: poll() on the X
// connection and the signal pipe, for as long as the frame pacer says, or without end while
// nobody can see the window.
#include "host/x11/run_x11.h"

#include <X11/extensions/Xrandr.h>
#include <poll.h>

#include <vector>

#include "base/frame_pacer.h"
#include "base/platform.h"
#include "gl/context.h"
#include "gl/dest_alpha.h"
#include "gl/gl.h"
#include "gl/glx_context.h"
#include "host/x11/monitors_x11.h"
#include "host/x11/signals_x11.h"
#include "rain/field.h"
#include "render/run.h"

namespace {

struct X11Run {
    Display* display = nullptr;
    HostWindow* window = nullptr;
    GlContext context;
    int32_t size = 0;  // the columns asked for, across a whole monitor
    int signalFd = -1;
    bool obscured = false;
    bool relayout = false;  // the window or the monitors changed size since the last frame
    bool ended = false;
    FramePacer pacer;
};

// About 100 KB: kept out of the stack.
RainRun rain;

// What the rain is laid out on, and the primary's columns.
struct Layout {
    std::vector<MonitorRect> monitors;
    int32_t columns = 0;
};

// Every monitor on the root window, else the window as one rectangle with the cells a full
// screen on its monitor would have (a preview pane shows fewer columns, not smaller glyphs).
Layout LayOut(const X11Run& run) {
    const Window root = DefaultRootWindow(run.display);
    std::vector<MonitorRect> monitors = FindMonitors(run.display, root);
    if (run.window->root) return {monitors, run.size};
    int32_t x = 0, y = 0;
    WindowOrigin(run.display, *run.window, x, y);
    const int32_t width = run.window->width, height = run.window->height;
    return {{MonitorRect{0, 0, width, height}},
            WindowColumnCount(run.size, width,
                              MonitorWidthAt(monitors, x + width / 2, y + height / 2))};
}

void TakeEvent(X11Run& run, XEvent& event) {
    HostWindow& window = *run.window;
    if (window.randrEventBase >= 0 && event.type == window.randrEventBase + RRScreenChangeNotify) {
        XRRUpdateConfiguration(&event);
        run.relayout = true;
        return;
    }
    switch (event.type) {
    case ConfigureNotify:
        if (event.xconfigure.window != window.window) break;
        run.relayout = run.relayout || event.xconfigure.width != window.width ||
                       event.xconfigure.height != window.height;
        window.width = event.xconfigure.width;
        window.height = event.xconfigure.height;
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == window.window) run.ended = true;
        break;
    case MapNotify:
        window.viewable = true;
        break;
    case UnmapNotify:
        window.viewable = false;
        break;
    case VisibilityNotify:
        run.obscured = event.xvisibility.state == VisibilityFullyObscured;
        break;
    case KeyPress:
        run.ended = run.ended || window.own;
        break;
    case ClientMessage:
        run.ended = run.ended || (window.own && static_cast<Atom>(event.xclient.data.l[0]) ==
                                                    window.deleteWindow);
        break;
    default:
        break;
    }
}

// Takes every event already queued or readable without blocking.
void TakeEvents(X11Run& run) {
    while (!run.ended && XPending(run.display)) {
        XEvent event;
        XNextEvent(run.display, &event);
        TakeEvent(run, event);
    }
}

bool Visible(const X11Run& run) { return run.window->viewable && !run.obscured; }

// Blocks until the X connection or the signal pipe has something, at most `milliseconds`
// (-1: no limit). An end signal ends the run.
void WaitForInput(X11Run& run, int milliseconds) {
    pollfd fds[2] = {{ConnectionNumber(run.display), POLLIN, 0}, {run.signalFd, POLLIN, 0}};
    // EINTR (a SIGCONT after a stop, say) is only an early wake: the loop looks again.
    poll(fds, run.signalFd >= 0 ? 2 : 1, milliseconds);
    if (run.signalFd >= 0 && EndSignalArrived(run.signalFd)) run.ended = true;
}

// Waits until `due` on the clock, taking events meanwhile; returns early when the run ends or
// the window is hidden (the loop then waits without a limit). A frame that is already late still
// looks at the signal pipe once: frames slower than the display must not hide a SIGTERM.
void WaitUntil(X11Run& run, uint32_t due) {
    for (;;) {
        TakeEvents(run);
        if (run.ended || !Visible(run) || run.relayout) return;
        const int32_t left = static_cast<int32_t>(due - platform.timeGetTime());
        WaitForInput(run, left > 0 ? left : 0);
        if (run.ended || left <= 0) return;
    }
}

// Every glyph adds its colour times destination alpha, which must read as 1. A buffer without
// alpha planes reads 1 by itself. One with hidden planes (Mesa gives a 24-bit visual 8) is
// cleared to alpha 1 every frame: the additive blend keeps it there (1 plus anything clamps to
// 1), and fast mode reads no destination alpha. Only on a 32-bit ARGB visual, whose alpha a
// compositor shows, is it held at 1 with masked writes, which cost llvmpipe a shaded pass over the
// whole window each clear (fast mode at 1920 x 1080: 1.35 CPU s/s masked, 0.8-0.9 cleared).
void KeepDestinationAlphaAtOne(const HostWindow& window) {
    GLint alphaBits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
    if (alphaBits == 0) return;
    if (window.depth == 32)
        HoldDestinationAlphaAtOne();
    else
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

void Relayout(X11Run& run) {
    run.relayout = false;
    const Layout layout = LayOut(run);
    rain.settings.Size = layout.columns;
    ResizeRain(rain, layout.monitors.data(), static_cast<int32_t>(layout.monitors.size()),
               platform.GetTickCount());
    // The rebuild set the clear colour again, and new buffers come without the alpha.
    KeepDestinationAlphaAtOne(*run.window);
}

void FrameLoop(X11Run& run) {
    StartPacing(run.pacer, CurrentRefreshRate(run.display, DefaultRootWindow(run.display)),
                platform.timeGetTime());
    while (!run.ended) {
        TakeEvents(run);
        if (run.ended) break;
        if (!Visible(run)) {
            // Nobody sees a frame: no step, no drawing, only events and signals.
            WaitForInput(run, -1);
            StartPacing(run.pacer, run.pacer.refreshRate, platform.timeGetTime());
            continue;
        }
        if (run.relayout) Relayout(run);
        RainFrame(rain, platform.timeGetTime(), platform.GetTickCount());
        SwapContextBuffers(run.context);
        const uint32_t now = platform.timeGetTime();
        WaitUntil(run, now + FrameWait(run.pacer, now));
    }
}

}  // namespace

int RunRainInWindow(Display* display, HostWindow& window, const Settings& settings, int signalFd,
                    std::string& error) {
    X11Run run;
    run.display = display;
    run.window = &window;
    run.size = settings.Size;
    run.signalFd = signalFd;

    error = MakeGlxContext(run.context, display, window.window);
    if (!error.empty()) return 1;
    int missing = -1;
    if (!FillGlTableFromContext(run.context, &missing)) {
        error = std::string("OpenGL function missing: ") + kGlRowNames[missing];
        ReleaseContext(run.context);
        return 1;
    }
    const Layout layout = LayOut(run);
    Settings laidOut = settings;  // with the window's column count
    laidOut.Size = layout.columns;
    StartRain(rain, laidOut, layout.monitors.data(), static_cast<int32_t>(layout.monitors.size()),
              platform.GetTickCount(), 0, platform.timeGetTime());
    KeepDestinationAlphaAtOne(window);
    // One swap per refresh where GLX offers it; the pacer's timer caps the rest (Xvfb never
    // waits).
    SetContextSwapInterval(run.context, 1);
    EndOnXErrors();

    FrameLoop(run);

    FinishRain(rain);
    ReleaseContext(run.context);
    return 0;
}
