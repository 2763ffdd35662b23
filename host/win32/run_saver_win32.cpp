// The saver run: brings OpenGL up through the driver layer, opens the full-screen window, runs
// the frame loop (paced to the display, idle while the display is off) until the window
// procedure posts WM_QUIT to the window, and gives the system its display mode, cursor and
// screen-saver state back.
#include "host/win32/run_saver_win32.h"

#include <cstdlib>
#include <vector>

#include <windows.h>
#include <mmsystem.h>

#include "base/platform.h"
#include "gl/dest_alpha.h"
#include "gl/driver_win32.h"
#include "gl/gl_load_win32.h"
#include "gl/gl_table.h"
#include "host/win32/display_power_win32.h"
#include "host/win32/frame_pacing_win32.h"
#include "host/win32/host_state_win32.h"
#include "host/win32/teardown_win32.h"
#include "host/win32/window_win32.h"
#include "rain/monitors.h"
#include "render/run.h"
#include "settings/settings.h"

void ChooseDriverLibrary(char* buffer) { ChooseDriverLibraryFor(settings.Use3dfx != 0, buffer); }

HWND StartSaver(int showCommand) {
    char libraryName[MAX_PATH] = {};
    ChooseDriverLibrary(libraryName);
    if (LoadDriverEntryPoints(libraryName) != kDriverLoaded) exit(0);

    // Rain beyond the primary display keeps every monitor at its desktop resolution: one
    // window over the virtual screen and no display mode change. With one monitor (or none
    // found) every choice runs as the single-display saver, stored display mode included (or
    // the desktop's, when the display cannot take it).
    std::vector<MonitorRect> monitors =
        settings.Monitors != kPrimaryMonitorOnly ? FindMonitors() : std::vector<MonitorRect>();
    const bool onMonitors = monitors.size() > 1;
    HWND window = onMonitors
                      ? CreateVirtualScreenWindow(
                            "Torvex", BoundingRect(monitors.data(), int32_t(monitors.size())))
                      : CreateSaverWindow("Torvex", 0, 0, settings.ScrWidth, settings.ScrHeight);
    if (window == nullptr) exit(1);

    CreateWglContext(hostState->wgl, GetDC(window));
    GlContext context = WglContextOf(hostState->wgl);
    // Without a pixel format there is no context, and without a context no rain: nothing to run.
    if (hostState->wgl.renderContext == nullptr || !MakeContextCurrent(context)) exit(1);
    ShowCursor(FALSE);
    ShowWindow(window, showCommand);
    // One display is a run of one monitor: the display mode's rectangle.
    if (!onMonitors) monitors = {MonitorRect{0, 0, settings.ScrWidth, settings.ScrHeight}};
    // The loop starts the step clock (RunFrameLoop).
    StartRain(hostState->rain, settings, monitors.data(), int32_t(monitors.size()),
              platform.GetTickCount(), 0, 0);
    // Every glyph adds colour times destination alpha: stored alpha must read as 1.
    if (hostState->pixelFormat.pixelFormatHasAlpha) HoldDestinationAlphaAtOne();
    // Drivers may name their extensions only to a current context, which exists only now.
    FillWglExtensions(context);
    AskForSwapPerRefresh(context);
    RegisterDisplayStateNotification(window);
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &hostState->screenSaverWasRunning, 0);
    return window;
}

bool FramePass(HWND window) {
    // Only the saver window's messages: the quit request is posted to it, not to the thread.
    MSG message;
    if (PeekMessageA(&message, window, 0, 0, PM_NOREMOVE)) {
        BOOL taken = GetMessageA(&message, window, 0, 0);
        if (taken == 0) return false;
        if (taken > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    // Nobody sees a frame while the display is off: no step, no drawing, only messages. The
    // rain goes on from where it stopped; the steps missed meanwhile are not made up.
    if (DisplayIsOff()) {
        WaitWhileDisplayOff(window);
        return true;
    }

    const uint32_t now = platform.timeGetTime();
    RainFrame(hostState->rain, now, platform.GetTickCount());
    GlContext context = WglContextOf(hostState->wgl);
    SwapContextBuffers(context);
    return true;
}

void RunFrameLoop(HWND window) {
    // Waits of a few milliseconds need the system timer at its finest; the default 15.6 ms
    // period would halve the frame rate.
    timeBeginPeriod(1);
    FramePacer pacer;
    StartPacing(pacer, CurrentRefreshRate(), platform.timeGetTime());
    // The steps are timed from the loop's start, not from the set-up before it.
    hostState->rain.lastStepTime = platform.timeGetTime();
    while (FramePass(window)) PaceFrame(window, pacer);
    timeEndPeriod(1);
}

void StopSaver(HWND window) {
    UnregisterDisplayStateNotification();
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, &hostState->screenSaverWasRunning, 0);
    DestroyWindow(window);
    // Rain on several monitors changed no display mode; there is nothing to give back.
    if (hostState->displayModeChanged) platform.ChangeDisplaySettingsA(nullptr, 0);
    FinishDrawing(window);
    ShowCursor(TRUE);
}

void RunSaver(int showCommand) {
    HWND window = StartSaver(showCommand);
    RunFrameLoop(window);
    StopSaver(window);
}
