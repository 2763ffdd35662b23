// Frames paced to the display: the driver is asked for one swap per refresh, and a frame that
// finishes early waits out the rest of the refresh interval, since many drivers (Mesa under Wine
// among them) never wait at the swap. A message for the saver window ends any wait at once.
// Relies on the platform table for the clock, the display mode and the wait. Windows only.
#pragma once
#include <windows.h>

#include <cstdint>

constexpr uint32_t kDefaultRefreshRate = 60;  // Hz, where the display mode does not say

// When frames are due: frame n of a run of on-time frames at start + n * 1000 / refreshRate
// milliseconds, so that 60 Hz alternates 16 and 17 ms intervals rather than rounding one way.
struct FramePacer {
    uint32_t refreshRate = kDefaultRefreshRate;  // Hz, at least 2
    uint32_t start = 0;                          // clock when frame 0 of the run was done
    uint32_t frames = 0;                         // frames done since start, below refreshRate
};

// The current display mode's refresh rate. 0 and 1 Hz (the hardware's default, so unknown) and a
// failed query count as 60.
uint32_t CurrentRefreshRate();

// Frames are due from now on at refreshRate (0 and 1 count as 60).
void StartPacing(FramePacer& pacer, uint32_t refreshRate);

// Called after each frame: waits until the next frame is due. A frame done an interval or more
// after the previous one was due does not wait, and later frames are timed from it (nothing is
// hurried to catch up). Returns early as soon as a message for window is waiting.
void PaceFrame(HWND window, FramePacer& pacer);

// Asks the driver for one swap per display refresh where the entry-point table has the row.
void AskForSwapPerRefresh();
