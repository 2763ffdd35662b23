// The host's record: one per run of the program, created by WinMain before any window and
// released at its end. It holds the run's module, window, device and rendering contexts and pixel
// format, what the window procedure keeps between messages, the system state the run changes and
// gives back, and the preview's pacing. Windows only.
#pragma once
#include <windows.h>

#include <cstdint>

#include "gl/wgl_context_win32.h"
#include "host/win32/command_line.h"
#include "render/run.h"

// The saver window's pixel format.
struct PixelFormatState {
    // The descriptor the pixel format is chosen with: built on the first window, then kept.
    PIXELFORMATDESCRIPTOR saverPixelFormat = {};
    bool pixelFormatBuilt = false;
    // Whether the frame buffer may store destination alpha: true when the format finally set has
    // alpha planes, or when the driver's own formats are in use and cannot be described here.
    // The additive blend needs destination alpha to read as 1, so the run sequence holds it there.
    bool pixelFormatHasAlpha = true;
};

// The preview's window and pacing (its steps are the rain run's).
struct PreviewState {
    HWND parent = nullptr;
    HWND window = nullptr;       // the child filling the parent's client area
    uint32_t lastFrameTime = 0;  // timeGetTime of the last frame drawn
    uint32_t framesDrawn = 0;
};

struct HostState {
    HINSTANCE module = nullptr;
    HWND window = nullptr;
    // The window's device context, from GetDC after the pixel format is set until the window
    // goes, and the rendering context made for it (WM_DESTROY releases both). The host drives
    // them through the context contract (WglContextOf).
    WglContext wgl;
    PixelFormatState pixelFormat;

    int32_t passwordDelay = 5;   // seconds, read from the system's screen-saver key
    POINT cursorPoint = {0, 0};  // reference point of the mouse rule
    int32_t moveCount = 0;       // large mouse moves so far
    uint32_t startTick = 0;
    int32_t passwordDialogOpen = 0;
    int32_t closeRequested = 0;

    UINT screenSaverWasRunning = 0;   // what the system answered when told a saver runs
    bool displayModeChanged = false;  // this run's window switched the display mode
    int32_t displayOff = 0;  // the system reported the display off: nothing is drawn meanwhile
    HPOWERNOTIFY displayNotification = nullptr;  // the display-state registration, if any

    PreviewState preview;
    RainRun rain;  // the rain this run draws, saver or preview
};

// The run's record; null before WinMain creates it and after it ends.
extern HostState* hostState;
// The mode the command line asked for.
extern RunMode runMode;
