// The registry store: the program's own key under HKEY_CURRENT_USER (the values of
// settings/settings_list.h) and the one value read from the system's screen-saver key. ANSI
// registry calls; Windows only.
#pragma once
#include <windows.h>

struct HostState;
struct Settings;

// Key paths under HKEY_CURRENT_USER. Tests point them at scratch keys of their own.
extern const char* programKeyPath;      // "Software\Qor\Torvex Saver V2"
extern const char* systemSaverKeyPath;  // "Software\Microsoft\Windows\CurrentVersion\Screen Savers"

// passwordDelay from "Password Delay" (5 when absent); clears passwordDialogOpen.
void ReadSystemSaverSettings(HostState& host);

// Every value of settings/settings_list.h from the program key into settings, in the list's
// order; missing or unusable values keep what the record holds, and a choice that is not a
// REG_DWORD naming one of its entries gives choice 0.
void LoadSettings(Settings& settings);

// Every value of the list from settings, in the list's order: the message as 32 bytes of REG_SZ,
// the numbers as 4-byte REG_DWORDs. False, with nothing written, when the program key cannot be
// created or opened; a single failed write is not reported.
bool SaveSettings(const Settings& settings);

// Opens (creating when needed) the program key for writing; nullptr when that fails.
HKEY CreateProgramKey();
