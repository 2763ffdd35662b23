// The host's record and handles, shared by the window procedure, the run sequence, the entry
// and the settings store. Windows only.
#pragma once
#include <windows.h>

#include "host/command_line.h"

struct HostState {
    HWND window = nullptr;
    int32_t passwordDelay = 5;          // seconds
    POINT cursorPoint = {0, 0};         // reference point of the mouse rule
    uint32_t startTick = 0;
    int32_t passwordDialogOpen = 0;
    int32_t closeRequested = 0;
    int32_t fastMode = 0;               // copy of the stored "Software" value
};

extern RunMode runMode;
extern HostState* hostState;            // created by WinMain, released at its end
extern HINSTANCE moduleHandle;
extern HDC deviceContext;
extern HGLRC renderContext;
extern int32_t moveCount;
