// Frame pacing: due times from the display's refresh rate, waits that any message for the saver
// window cuts short, and the driver's swap interval where it has one.
#include "host/win32/frame_pacing_win32.h"

#include "base/platform.h"
#include "gl/gl.h"

namespace {

bool MessageWaiting(HWND window) {
    MSG message;
    return PeekMessageA(&message, window, 0, 0, PM_NOREMOVE) != 0;
}

}  // namespace

uint32_t CurrentRefreshRate() {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    if (!platform.EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode))
        return kDefaultRefreshRate;
    return UsableRefreshRate(mode.dmDisplayFrequency);
}

void PaceFrame(HWND window, FramePacer& pacer) {
    const uint32_t now = platform.timeGetTime();
    const uint32_t wait = FrameWait(pacer, now);
    if (wait == 0) return;
    const uint32_t due = now + wait;
    // Any message may be input that ends the saver: the next pass takes it at once. Messages of
    // other windows wake the wait too, which then goes on for the time left.
    while (!MessageWaiting(window)) {
        const int32_t left = static_cast<int32_t>(due - platform.timeGetTime());
        if (left <= 0) return;
        platform.MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left),
                                           QS_ALLINPUT);
    }
}

void AskForSwapPerRefresh(GlContext& context) { SetContextSwapInterval(context, 1); }
