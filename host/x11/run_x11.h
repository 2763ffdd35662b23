// The rain in one X window: the GLX context for it, the core's run (start, frame, resize, finish),
// and the frame loop that paces frames to the display, follows the window's size and visibility,
// and ends on a signal, the window's destruction or, in a window of its own, a key or the close
// button.
#pragma once
#include <X11/Xlib.h>

#include <string>

#include "host/x11/window_x11.h"
#include "settings/settings.h"

// Runs until the end and returns the exit code: 0 for every normal end, 1 when OpenGL cannot be
// brought up in the window (the reason then goes into error). signalFd is the end signals' pipe.
int RunRainInWindow(Display* display, HostWindow& window, const Settings& settings, int signalFd,
                    std::string& error);
