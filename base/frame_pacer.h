// When frames are due, as plain arithmetic every host shares: frame n of a run of on-time frames
// is due at start + n * 1000 / refreshRate milliseconds, so that 60 Hz alternates 16 and 17 ms
// intervals rather than rounding one way. Only the waiting itself is per platform.
#pragma once
#include <cstdint>

constexpr uint32_t kDefaultRefreshRate = 60;  // Hz, where the display does not say

struct FramePacer {
    uint32_t refreshRate = kDefaultRefreshRate;  // Hz, at least 2
    uint32_t start = 0;                          // clock when frame 0 of the run was done
    uint32_t frames = 0;                         // frames done since start, below refreshRate
};

// A rate the pacer can use: 0 and 1 Hz (the hardware's default, so unknown) count as 60.
uint32_t UsableRefreshRate(uint32_t hertz);

// Frames are due from now on at refreshRate.
void StartPacing(FramePacer& pacer, uint32_t refreshRate, uint32_t now);

// Called after each frame, with the clock: the milliseconds to wait until the next frame is due.
// A frame done an interval or more after the previous one was due waits 0, and later frames are
// timed from it (nothing is hurried to catch up).
uint32_t FrameWait(FramePacer& pacer, uint32_t now);
