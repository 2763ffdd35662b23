// The host's globals: one of each per process, shared by the entry, the run sequence, the
// window procedure and the settings store. Windows only.
#include "host/host_globals_win32.h"

RunMode runMode = ModeNone;
HostState* hostState = nullptr;
HINSTANCE moduleHandle = nullptr;
HDC deviceContext = nullptr;
HGLRC renderContext = nullptr;
int32_t moveCount = 0;
