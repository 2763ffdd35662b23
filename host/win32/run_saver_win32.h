// The saver run, and its pieces apart so that tests and the Wine benchmark can drive them:
// start-up up to the first frame, one pass of the frame loop, and the teardown.
#pragma once
#include <windows.h>

#include <cstdint>

// The whole saver run: driver, window, context, renderer set-up, frame loop and teardown.
void RunSaver(int showCommand);

// The OpenGL library for this run, chosen by the stored "3dfx" setting (see
// ChooseDriverLibraryFor).
void ChooseDriverLibrary(char* buffer);

// Driver, window, context, cursor, renderer, swap interval, display-state registration and the
// system's screen-saver state. Ends the process with exit code 0 when the driver cannot be
// loaded, 1 when the window cannot be made.
HWND StartSaver(int showCommand);

// One pass: at most one message of the saver window, at most one update step when more than
// Speed milliseconds have passed on the rain's step clock, then one frame drawn and swapped.
// Returns false, having drawn nothing, when the message taken was WM_QUIT. While the display is
// reported off it neither steps nor draws, and waits for the next message instead.
bool FramePass(HWND window);

// Passes until WM_QUIT, each frame paced to the current display mode's refresh rate.
void RunFrameLoop(HWND window);

// Display-state registration ended, screen-saver state off, window destroyed, display mode
// restored, driver released, cursor back.
void StopSaver(HWND window);
