// Prints what Windows reports of the displays, one line each, for the end-to-end scripts to
// check their set-up before they judge the saver: "monitor LEFT TOP WIDTH HEIGHT primary|other"
// and "dpi N" (the system's logical pixels per inch).
#include <windows.h>

#include <cstdio>

namespace {

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    std::printf("monitor %ld %ld %ld %ld %s\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
                (info.dwFlags & MONITORINFOF_PRIMARY) ? "primary" : "other");
    return TRUE;
}

}  // namespace

int main() {
    EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
    HDC screen = GetDC(nullptr);
    std::printf("dpi %d\n", GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    return 0;
}
