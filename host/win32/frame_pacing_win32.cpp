// Frame pacing: due times from the display's refresh rate, waits that any message for the saver
// window cuts short, and the driver's swap interval where it has one.
#include "host/win32/frame_pacing_win32.h"

#include "base/platform.h"
#include "gl/gl.h"

namespace {

uint32_t UsableRate(uint32_t hertz) { return hertz <= 1 ? kDefaultRefreshRate : hertz; }

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
    return UsableRate(mode.dmDisplayFrequency);
}

void StartPacing(FramePacer& pacer, uint32_t refreshRate) {
    pacer.refreshRate = UsableRate(refreshRate);
    pacer.start = platform.timeGetTime();
    pacer.frames = 0;
}

void PaceFrame(HWND window, FramePacer& pacer) {
    ++pacer.frames;
    const uint32_t due = pacer.start + pacer.frames * 1000u / pacer.refreshRate;
    if (pacer.frames == pacer.refreshRate) {  // a whole second: keeps the product small
        pacer.start += 1000u;
        pacer.frames = 0;
    }
    const uint32_t now = platform.timeGetTime();
    if (static_cast<int32_t>(due - now) <= 0) {
        pacer.start = now;
        pacer.frames = 0;
        return;
    }
    // Any message may be input that ends the saver: the next pass takes it at once. Messages of
    // other windows wake the wait too, which then goes on for the time left.
    while (!MessageWaiting(window)) {
        const int32_t left = static_cast<int32_t>(due - platform.timeGetTime());
        if (left <= 0) return;
        platform.MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left),
                                           QS_ALLINPUT);
    }
}

void AskForSwapPerRefresh() {
    if (glTable.wglSwapIntervalEXT) wglSwapIntervalEXT(1);
}
