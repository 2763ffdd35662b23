// The platform table's real entries on Windows: the Win32 functions themselves, the display-state
// notification calls looked up in user32 when the program starts.
#include "base/platform.h"

#include <windows.h>
#include <mmsystem.h>

static uint32_t RealGetTickCount() { return ::GetTickCount(); }
static uint32_t RealTimeGetTime() { return ::timeGetTime(); }

using RegisterPowerFunction = void* (*)(void*, const GUID*, unsigned long);
using UnregisterPowerFunction = int (*)(void*);

// Looked up rather than imported, so the program still starts where user32 lacks the name.
template <typename Function>
static Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

const Platform kRealPlatform = {
    RealGetTickCount,
    RealTimeGetTime,
    ::MessageBoxA,
    ::GetCursorPos,
    ::EnumDisplaySettingsA,
    ::ChangeDisplaySettingsA,
    ::GetVersionExA,
    ::MsgWaitForMultipleObjects,
    User32Function<RegisterPowerFunction>("RegisterPowerSettingNotification"),
    User32Function<UnregisterPowerFunction>("UnregisterPowerSettingNotification"),
    ::EnumDisplayMonitors,
    ::GetMonitorInfoA,
};

Platform platform = kRealPlatform;
