// The host's record: what the window procedure keeps between messages, with the password delay
// the registry store reads at start. Defined here, below every subsystem, because both the host
// and the settings store write it. Windows only.
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
    int32_t displayOff = 0;  // the system reported the display off: nothing is drawn meanwhile
    HPOWERNOTIFY displayNotification = nullptr;  // the display-state registration, if any
};
