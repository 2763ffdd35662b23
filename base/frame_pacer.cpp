// The frame pacer's arithmetic (see frame_pacer.h). Times are a wrapping millisecond clock;
// differences are taken signed, so the rule holds across the wrap.
#include "base/frame_pacer.h"

uint32_t UsableRefreshRate(uint32_t hertz) { return hertz <= 1 ? kDefaultRefreshRate : hertz; }

void StartPacing(FramePacer& pacer, uint32_t refreshRate, uint32_t now) {
    pacer.refreshRate = UsableRefreshRate(refreshRate);
    pacer.start = now;
    pacer.frames = 0;
}

uint32_t FrameWait(FramePacer& pacer, uint32_t now) {
    ++pacer.frames;
    const uint32_t due = pacer.start + pacer.frames * 1000u / pacer.refreshRate;
    if (pacer.frames == pacer.refreshRate) {  // a whole second: keeps the product small
        pacer.start += 1000u;
        pacer.frames = 0;
    }
    const int32_t left = static_cast<int32_t>(due - now);
    if (left <= 0) {
        pacer.start = now;
        pacer.frames = 0;
        return 0;
    }
    return static_cast<uint32_t>(left);
}
