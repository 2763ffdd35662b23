// The host's record and run mode (see host_state_win32.h). Windows only.
#include "host/win32/host_state_win32.h"

HostState* hostState = nullptr;
RunMode runMode = ModeNone;
