// The few platform calls whose answers a test must be able to choose: one table of function
// pointers that defaults to the real functions (platform_win32.cpp, platform_posix.cpp).
// Production code calls through `platform`; a test replaces single entries and restores them.
// Nothing else in Torvex is hooked.
//
// Portable code may include this header: it needs no <windows.h>. The Windows entries use the
// Win32 types under their structure names, which is what <windows.h> declares them as.
#pragma once
#include <cstdint>

#ifdef _WIN32
struct HWND__;
struct tagPOINT;
struct _devicemodeA;
struct _OSVERSIONINFOA;
struct _GUID;
struct HDC__;
struct HMONITOR__;
struct tagRECT;
struct tagMONITORINFO;
#endif

struct Platform {
    uint32_t (*GetTickCount)();  // milliseconds since start: random seeds, password delay
    uint32_t (*timeGetTime)();   // milliseconds: the frame loop's pacing
#ifdef _WIN32
    int (*MessageBoxA)(HWND__* owner, const char* text, const char* caption, unsigned style);
    int (*GetCursorPos)(tagPOINT* point);
    int (*EnumDisplaySettingsA)(const char* device, unsigned long mode, _devicemodeA* record);
    long (*ChangeDisplaySettingsA)(_devicemodeA* record, unsigned long flags);
    int (*GetVersionExA)(_OSVERSIONINFOA* info);
    // The frame loop's only way of waiting: returns when the time is up or a message arrives.
    unsigned long (*MsgWaitForMultipleObjects)(unsigned long count, void* const* handles,
                                               int waitAll, unsigned long milliseconds,
                                               unsigned long wakeMask);
    // Display-state notifications, looked up in user32 at start: null where the system lacks
    // them (before Vista), and the saver then draws as if the display were always on.
    void* (*RegisterPowerSettingNotification)(void* recipient, const _GUID* setting,
                                              unsigned long flags);
    int (*UnregisterPowerSettingNotification)(void* registration);
    // The desk's monitors (base/monitors_win32.h), counted alike by the saver and the dialog.
    int (*EnumDisplayMonitors)(HDC__* dc, const tagRECT* clip,
                               int (*callback)(HMONITOR__*, HDC__*, tagRECT*, intptr_t),
                               intptr_t data);
    int (*GetMonitorInfoA)(HMONITOR__* monitor, tagMONITORINFO* info);
#endif
};

extern Platform platform;

// The table as it is at program start (the real functions); tests restore entries from it.
extern const Platform kRealPlatform;
