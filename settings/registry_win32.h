// The registry store: the program's own key under HKEY_CURRENT_USER (the values of
// settings/settings_list.h) and the one value read from the system's screen-saver key. ANSI
// registry calls; Windows only.
#pragma once
#include <windows.h>

#include <cstdint>

struct Settings;

// Key paths under HKEY_CURRENT_USER, passed to every call of the store: the program's keys, or a
// test's scratch keys.
struct RegistryKeys {
    const char* program = "Software\\Qor\\Torvex Saver V2";
    const char* systemSaver = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
};
inline constexpr RegistryKeys kProgramRegistryKeys{};

// The system's "Password Delay" in seconds; 5 when it is absent or unusable.
int32_t ReadPasswordDelay(const RegistryKeys& keys);

// Every value of settings/settings_list.h from the program key into settings, in the list's
// order; missing or unusable values keep what the record holds, and a choice that is not a
// REG_DWORD naming one of its entries gives choice 0.
void LoadSettings(Settings& settings, const RegistryKeys& keys);

// Every value of the list from settings, in the list's order: the message as 32 bytes of REG_SZ,
// the numbers as 4-byte REG_DWORDs. False, with nothing written, when the program key cannot be
// created or opened; a single failed write is not reported.
bool SaveSettings(const Settings& settings, const RegistryKeys& keys);

// Opens (creating when needed) the program key for writing; nullptr when that fails.
HKEY CreateProgramKey(const RegistryKeys& keys);
