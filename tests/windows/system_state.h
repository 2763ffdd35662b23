// What a saver run may leave changed in the system, read back for the run tests: the thread's
// cursor display count and the system's screen-saver-running flag; and the tidying after a run.
#pragma once
#include <windows.h>

#include "base/platform.h"
#include "host/win32/host_state_win32.h"

// The cursor display count, left as it was.
inline int CursorCount() {
    const int count = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    return count;
}

inline BOOL ScreenSaverRunning() {
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running;
}

// After a test's run: the thread's leftover messages taken, the host record gone, the real
// platform entries back.
inline void EndRun() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
    // The next run's record starts without the window class, as a new process does.
    UnregisterClassA("OpenGL", GetModuleHandleA(nullptr));
    delete hostState;
    hostState = nullptr;
    platform = kRealPlatform;
}
