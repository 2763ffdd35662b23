// The registry store: loads and stores the values of settings/settings_list.h under
// HKEY_CURRENT_USER, and reads the system's password delay for the host. Uses only the ANSI
// registry calls; no value is trusted for type or size, and nothing is ever reported to the user.
#include "settings/registry_win32.h"

#include <cstdint>

#include "settings/settings.h"

namespace {

constexpr DWORD kMessageReadBytes = 260;  // longer stored messages are ignored

int32_t LittleEndian32(const BYTE* data) {
    return static_cast<int32_t>(
        static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
        static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24);
}

// A number value of any registry type, as the little-endian integer of exactly four bytes.
// Shorter data counts as missing rather than as a number padded with bytes nobody wrote.
bool QueryNumber(HKEY key, const char* name, int32_t& value) {
    BYTE data[4] = {};
    DWORD length = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, nullptr, data, &length) != ERROR_SUCCESS ||
        length != sizeof data)
        return false;
    value = LittleEndian32(data);
    return true;
}

// A choice among count entries (Monitors, RainColor, GlyphSet). A missing value keeps the field
// (which holds the default); one that is not a 4-byte REG_DWORD naming an entry gives the
// default. These values are new, so no earlier version stored them with another type.
void QueryChoice(HKEY key, const char* name, int32_t count, int32_t defaultChoice, int32_t& field) {
    BYTE data[8] = {};
    DWORD length = sizeof data;
    DWORD type = REG_NONE;
    const LONG result = RegQueryValueExA(key, name, nullptr, &type, data, &length);
    if (result == ERROR_FILE_NOT_FOUND) return;
    if (result != ERROR_SUCCESS || type != REG_DWORD || length != 4) {
        field = defaultChoice;
        return;
    }
    field = ChoiceOrDefault(LittleEndian32(data), count, defaultChoice);
}

void SetNumberValue(HKEY key, const char* name, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    const BYTE data[4] = {static_cast<BYTE>(bits), static_cast<BYTE>(bits >> 8),
                          static_cast<BYTE>(bits >> 16), static_cast<BYTE>(bits >> 24)};
    RegSetValueExA(key, name, 0, REG_DWORD, data, sizeof data);
}

}  // namespace

int32_t ReadPasswordDelay(const RegistryKeys& keys) {
    int32_t delay = 5;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keys.systemSaver, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return delay;
    QueryNumber(key, "Password Delay", delay);
    RegCloseKey(key);
    return delay;
}

void LoadSettings(Settings& settings, const RegistryKeys& keys) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keys.program, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    for (const SettingEntry& entry : kSettingEntries) {
        if (entry.kind == SettingKind::Text) {
            char text[kMessageReadBytes];
            DWORD length = sizeof text;
            if (RegQueryValueExA(key, entry.name, nullptr, nullptr, reinterpret_cast<BYTE*>(text),
                                 &length) == ERROR_SUCCESS)
                TakeMessage(settings.*entry.text, text, static_cast<int>(length));
        } else if (entry.kind == SettingKind::Choice) {
            // Anything a choice cannot use gives its default, the record's.
            QueryChoice(key, entry.name, entry.high + 1, Settings{}.*entry.number,
                        settings.*entry.number);
        } else {
            QueryNumber(key, entry.name, settings.*entry.number);
        }
    }
    RegCloseKey(key);
}

HKEY CreateProgramKey(const RegistryKeys& keys) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keys.program, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool SaveSettings(const Settings& settings, const RegistryKeys& keys) {
    HKEY key = CreateProgramKey(keys);
    if (!key) return false;
    for (const SettingEntry& entry : kSettingEntries) {
        if (entry.kind == SettingKind::Text)
            RegSetValueExA(key, entry.name, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(settings.*entry.text), kMessageBytes);
        else
            SetNumberValue(key, entry.name, settings.*entry.number);
    }
    RegCloseKey(key);
    return true;
}
