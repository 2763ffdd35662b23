// Default entries of the platform table: the real Win32 functions on Windows; natively a
// monotonic millisecond clock (the native tools set their own tick counts).
#include "host/platform.h"

#ifdef _WIN32
#include <windows.h>
#include <mmsystem.h>

static uint32_t RealGetTickCount() { return ::GetTickCount(); }
static uint32_t RealTimeGetTime() { return ::timeGetTime(); }

const Platform kRealPlatform = {
    RealGetTickCount,
    RealTimeGetTime,
    ::MessageBoxA,
    ::GetCursorPos,
    ::EnumDisplaySettingsA,
    ::ChangeDisplaySettingsA,
    ::GetVersionExA,
};
#else
#include <chrono>

static uint32_t MonotonicMilliseconds() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

const Platform kRealPlatform = {MonotonicMilliseconds, MonotonicMilliseconds};
#endif

Platform platform = kRealPlatform;
