// Frames paced to the display: the driver is asked for one swap per refresh, and a frame that
// finishes early waits out the rest of the refresh interval, since many drivers (Mesa under Wine
// among them) never wait at the swap. A message for the saver window ends any wait at once.
// Relies on the platform table for the clock, the display mode and the wait. Windows only.
#pragma once
#include <windows.h>

#include <cstdint>

#include "base/frame_pacer.h"
#include "gl/context.h"

// The current display mode's refresh rate. 0 and 1 Hz (the hardware's default, so unknown) and a
// failed query count as 60.
uint32_t CurrentRefreshRate();

// Called after each frame: waits until the next frame is due (FrameWait's rule on the platform
// clock). Returns early as soon as a message for window is waiting.
void PaceFrame(HWND window, FramePacer& pacer);

// Asks the driver for one swap per display refresh where it offers a swap interval.
void AskForSwapPerRefresh(GlContext& context);
