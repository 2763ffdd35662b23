// The saver's full-screen window: window class, popup window, display-mode switch with its
// fallbacks, and the OpenGL pixel format. Display modes and messages go through the platform
// table (base/platform.h), pixel formats through the driver layer (gl/driver_win32.h).
#pragma once
#include <windows.h>

#include <vector>

#include "rain/monitors.h"

// Opens the saver window at the given place and size, switches the display to the configured
// colour depth, size and refresh rate, and sets the window's pixel format. A mode the display
// does not offer or will not take leaves the desktop's mode: the window then covers that, and
// the four display settings hold it. hostState->displayModeChanged says which. Returns the
// window, or null after a reported failure to make it.
HWND CreateSaverWindow(const char* title, int x, int y, int width, int height);

// The saver window over the whole virtual screen, topmost, for rain on several monitors: no
// display mode is changed. Returns the window, or null after a reported failure.
HWND CreateVirtualScreenWindow(const char* title, const MonitorRect& bounds);

// The desk's monitors (base/monitors_win32.h) in virtual-screen pixels, the primary first, each
// rectangle once; empty when none can be found.
std::vector<MonitorRect> FindMonitors();

// Gives the window's device context the saver's pixel format (hostState->pixelFormat); the device
// context it takes for that is released again.
void SetSaverPixelFormat(HWND window);

// The display-mode search and its fallbacks on their own: true when the mode is set; false,
// silently, with the desktop's mode in place, when the display lists no mode of that depth and
// size or takes none of the requests.
bool SwitchDisplayMode(int width, int height);

// The display mode current at start becomes the default of the four display settings, which
// stored values then override.
void TakeCurrentDisplayMode();
