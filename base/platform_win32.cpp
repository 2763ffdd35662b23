// The platform table's real entries on Windows: the Win32 functions themselves.
#include "base/platform.h"

#include <windows.h>
#include <mmsystem.h>

static uint32_t RealGetTickCount() { return ::GetTickCount(); }
static uint32_t RealTimeGetTime() { return ::timeGetTime(); }

const Platform kRealPlatform = {
    RealGetTickCount,       RealTimeGetTime,          ::MessageBoxA,   ::GetCursorPos,
    ::EnumDisplaySettingsA, ::ChangeDisplaySettingsA, ::GetVersionExA,
};

Platform platform = kRealPlatform;
