// The screen's monitors and refresh rate through XRandR: one field per monitor on the root window,
// frames paced to the current mode. Servers without RandR 1.5 monitors fall back to Xinerama
// (libXinerama.so.1 opened at run time, so the program links no library for it), then to RandR's
// older screen resources (one rectangle per active CRTC), then to the root window's size.
#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <vector>

#include "rain/monitors.h"

// The monitors in root-window pixels, the primary first; never empty. A server that joins several
// screens with Xinerama (a nested server, say) may answer RandR for its first screen only; when
// Xinerama names more screens than RandR names monitors, Xinerama's list is taken.
std::vector<MonitorRect> FindMonitors(Display* display, Window root);

// The current mode's refresh rate in Hz; 60 where XRandR does not say.
uint32_t CurrentRefreshRate(Display* display, Window root);

// The width of the monitor that holds the point (x, y) of the root window, or of the primary
// when none does: a window on it shows the cells a full screen there would.
int32_t MonitorWidthAt(const std::vector<MonitorRect>& monitors, int32_t x, int32_t y);
