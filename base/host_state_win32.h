// The host's record: what the window procedure keeps between messages, filled at start by the
// registry store and edited by the settings dialog. Defined here, below every subsystem, because
// both the host and the settings store read and write it. Windows only.
#pragma once
#include <windows.h>

#include <cstdint>

struct HostState {
    HWND window = nullptr;
    int32_t passwordDelay = 5;   // seconds
    POINT cursorPoint = {0, 0};  // reference point of the mouse rule
    uint32_t startTick = 0;
    int32_t passwordDialogOpen = 0;
    int32_t closeRequested = 0;
    int32_t fastMode = 0;  // copy of the stored "Software" value
};
