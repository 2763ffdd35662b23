// torvex: the rain as a native X11 program and XScreenSaver hack. Reads the command line (bad
// options end it before any window is opened), opens the display, chooses the window and runs
// the rain in it until a signal, the window's end or, in its own window, a key.
#include <X11/Xlib.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/x11/options.h"
#include "host/x11/run_x11.h"
#include "host/x11/signals_x11.h"
#include "host/x11/window_x11.h"

namespace {

int Fail(int code, const std::string& message) {
    std::fprintf(stderr, "torvex: %s\n", message.c_str());
    return code;
}

}  // namespace

int main(int count, char** arguments) {
    HostOptions options;
    std::string error;
    if (!ParseHostOptions(count, arguments, options, error)) return Fail(2, error);
    if (options.help) {
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    }
    // A hack writes nothing to disk; Mesa would otherwise keep compiled shaders in the user's
    // cache. A setting of the user's own is left alone.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);

    // Mesa's rasterizer allocates and frees its frame's bins every frame. By default the C
    // library hands the freed top of the heap back to the kernel after each frame and takes the
    // pages again, zero-filled, in the next: about 400 page faults a frame at 640 x 480, a third
    // of the program's CPU. Free heap up to this much is kept instead (it costs what the busiest
    // frame used, about 2 MB resident).
    mallopt(M_TRIM_THRESHOLD, 32 << 20);

    const int signalFd = WatchEndSignals();
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        const char* name = std::getenv("DISPLAY");
        return Fail(1, std::string("cannot open the display '") + (name ? name : "") + "'");
    }
    InstallXErrorHandlers();
    HostWindow window;
    if (!OpenHostWindow(display, options, window, error)) return Fail(1, error);
    const int code = RunRainInWindow(display, window, options.settings, signalFd, error);
    if (!error.empty()) Fail(code, error);
    CloseHostWindow(display, window);
    XCloseDisplay(display);
    return code;
}
