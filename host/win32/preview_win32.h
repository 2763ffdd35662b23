// The preview: the rain drawn into a child of the window whose number the system passes with /p
// (or /l), the little monitor of the Screen Saver Settings. System OpenGL only, no display-mode
// change, no cursor or screen-saver state touched, no end on input; it ends with that window.
#pragma once
#include <windows.h>

#include <cstdint>

// Frames are at least this many milliseconds apart: 1000 / 34 keeps below 30 a second.
constexpr uint32_t kPreviewFrameInterval = 34;
// While the parent is hidden or minimised, the longest wait for a message between two looks.
constexpr uint32_t kPreviewHiddenWait = 500;

// The child window, the system's OpenGL with a current context, the renderer and the rain field
// for the child's size. Returns the child, or null (everything released again) when parent
// names no window or any step fails.
HWND StartPreview(HWND parent);

// One pass: every waiting message of the thread; then, when the frame interval has passed, at
// most one update step (paced by Speed) and one frame drawn and swapped; otherwise a sleep until
// the next frame is due or a message arrives. While the parent is hidden or minimised nothing is
// stepped or drawn: the pass only waits for a message. False when WM_QUIT came or the child is
// gone.
bool PreviewPass();

// Child destroyed if still there (its contexts go with it), driver library released.
void StopPreview();

// The whole preview; returns at once when parent names no window, one of this process's, the
// desktop window or the shell's desktop.
void RunPreview(HWND parent);
