// The console display state as the system reports it: registration through the platform table
// (the calls exist from Vista on), and the WM_POWERBROADCAST data the window procedure hands on.
#include "host/win32/display_power_win32.h"

#include <cstddef>
#include <cstring>

#include "base/platform.h"
#include "host/win32/host_state_win32.h"

namespace {

// GUID_CONSOLE_DISPLAY_STATE, spelled out so that no GUID library has to be linked.
constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

constexpr DWORD kDisplayOff = 0;  // 1 is on, 2 dimmed: both still show what is drawn

}  // namespace

bool RegisterDisplayStateNotification(HWND window) {
    if (!hostState || !platform.RegisterPowerSettingNotification) return false;
    hostState->displayNotification =
        static_cast<HPOWERNOTIFY>(platform.RegisterPowerSettingNotification(
            window, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE));
    return hostState->displayNotification != nullptr;
}

void UnregisterDisplayStateNotification() {
    if (!hostState || !hostState->displayNotification) return;
    if (platform.UnregisterPowerSettingNotification)
        platform.UnregisterPowerSettingNotification(hostState->displayNotification);
    hostState->displayNotification = nullptr;
    hostState->displayOff = 0;
}

bool TakeDisplayStateChange(WPARAM wParam, LPARAM lParam) {
    if (!hostState || wParam != PBT_POWERSETTINGCHANGE || lParam == 0) return false;
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
    if (std::memcmp(&setting->PowerSetting, &kConsoleDisplayState, sizeof(GUID)) != 0) return false;
    if (setting->DataLength < sizeof(DWORD)) return false;
    // The data runs past the record's one-byte array; read it from the message's own bytes.
    DWORD state;
    std::memcpy(&state,
                reinterpret_cast<const BYTE*>(lParam) + offsetof(POWERBROADCAST_SETTING, Data),
                sizeof state);
    hostState->displayOff = state == kDisplayOff ? 1 : 0;
    return true;
}

bool DisplayIsOff() { return hostState && hostState->displayOff != 0; }

void WaitWhileDisplayOff(HWND window) {
    MSG message;
    // The peek also delivers sent messages, the display-state reports among them.
    while (!PeekMessageA(&message, window, 0, 0, PM_NOREMOVE) && DisplayIsOff())
        platform.MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
}
