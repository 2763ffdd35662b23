// The registry store: the program's own key under HKEY_CURRENT_USER (ten values, then "Monitors",
// "RainColor" and "GlyphSet") and the one value read from the system's screen-saver key. ANSI
// registry calls; Windows only.
#pragma once
#include <windows.h>

#include <cstdint>

struct HostState;
struct Settings;

// Key paths under HKEY_CURRENT_USER. Tests point them at scratch keys of their own.
extern const char* programKeyPath;      // "Software\Qor\Torvex Saver V2"
extern const char* systemSaverKeyPath;  // "Software\Microsoft\Windows\CurrentVersion\Screen Savers"

// passwordDelay from "Password Delay" (5 when absent); clears passwordDialogOpen.
void ReadSystemSaverSettings(HostState& host);

// settings from the program key; missing or unusable values keep defaults, and "RainColor" or
// "GlyphSet" that is not a REG_DWORD naming a choice gives choice 0.
void LoadSettings(Settings& settings);

// The number values, from settings: the eight of the display, speed and driver, then
// "Monitors", "RainColor" and "GlyphSet". Not "MSTRING" nor "Continuous", which the dialog
// stores first.
void SaveSettings(const Settings& settings);

// Opens (creating when needed) the program key for writing; nullptr when that fails.
HKEY CreateProgramKey();

// Stores one number value as a 4-byte REG_DWORD; the result is not worth reporting.
void SetNumberValue(HKEY key, const char* name, int32_t value);
