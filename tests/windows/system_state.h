// What a saver run may leave changed in the system, read back for the run tests: the thread's
// cursor display count and the system's screen-saver-running flag.
#pragma once
#include <windows.h>

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
