// The host's handles, one of each per process, shared by the window procedure, the run sequence
// and the entry; the host's record itself is defined below every subsystem. Windows only.
#pragma once
#include <windows.h>

#include "base/host_state_win32.h"
#include "host/command_line.h"

extern RunMode runMode;
extern HostState* hostState;  // created by WinMain, released at its end
extern HINSTANCE moduleHandle;
extern HDC deviceContext;
extern HGLRC renderContext;
extern int32_t moveCount;
