// The registry store: loads Settings and the host's copies from HKEY_CURRENT_USER and stores the
// number values the settings dialog leaves to it. Uses only the ANSI registry calls; no value
// is trusted for type or size, and nothing is ever reported to the user.
#include "settings/registry_win32.h"

#include <cstdint>

#include "base/host_state_win32.h"
#include "settings/settings.h"

const char* programKeyPath = "Software\\Qor\\Torvex Saver V2";
const char* systemSaverKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";

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

}  // namespace

void SetNumberValue(HKEY key, const char* name, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    const BYTE data[4] = {static_cast<BYTE>(bits), static_cast<BYTE>(bits >> 8),
                          static_cast<BYTE>(bits >> 16), static_cast<BYTE>(bits >> 24)};
    RegSetValueExA(key, name, 0, REG_DWORD, data, sizeof data);
}

void ReadSystemSaverSettings(HostState& host) {
    host.passwordDelay = 5;
    host.passwordDialogOpen = 0;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, systemSaverKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    QueryNumber(key, "Password Delay", host.passwordDelay);
    RegCloseKey(key);
}

void LoadSettings(HostState& host) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, programKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;

    char text[kMessageReadBytes];
    DWORD length = sizeof text;
    if (RegQueryValueExA(key, "MSTRING", nullptr, nullptr, reinterpret_cast<BYTE*>(text),
                         &length) == ERROR_SUCCESS)
        TakeMessage(settings.Message, text, static_cast<int>(length));

    // In the order they are read; "Software" is taken apart because it also feeds the host.
    const struct {
        const char* name;
        int32_t* field;
    } numbers[] = {
        {"Continuous", &settings.Continuous},
        {"ColorBits", &settings.ColorBits},
        {"Hertz", &settings.Hertz},
        {"ScrWidth", &settings.ScrWidth},
        {"ScrHeight", &settings.ScrHeight},
        {"Software", &settings.FastMode},
        {"Size", &settings.Size},
        {"Speed", &settings.Speed},
        {"3dfx", &settings.Use3dfx},
    };
    for (const auto& number : numbers) {
        if (QueryNumber(key, number.name, *number.field) && number.field == &settings.FastMode)
            host.fastMode = settings.FastMode;
    }

    // After the ten, the values with a fixed list of choices; anything they cannot use gives
    // the default.
    const struct {
        const char* name;
        int32_t count;
        int32_t defaultChoice;
        int32_t* field;
    } choices[] = {
        {"Monitors", kMonitorChoices, kDefaultMonitors, &settings.Monitors},
        {"RainColor", kRainColorCount, 0, &settings.RainColor},
        {"GlyphSet", kGlyphSetCount, 0, &settings.GlyphSet},
    };
    for (const auto& choice : choices)
        QueryChoice(key, choice.name, choice.count, choice.defaultChoice, *choice.field);
    RegCloseKey(key);
}

HKEY CreateProgramKey() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, programKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

void SaveSettings(const HostState& host) {
    HKEY key = CreateProgramKey();
    if (!key) return;
    // In the order they are written; a single failed write is not worth a word to the user.
    const struct {
        const char* name;
        int32_t value;
    } numbers[] = {
        {"ScrWidth", settings.ScrWidth},   {"ScrHeight", settings.ScrHeight},
        {"ColorBits", settings.ColorBits}, {"Hertz", settings.Hertz},
        {"Software", host.fastMode},       {"Size", settings.Size},
        {"Speed", settings.Speed},         {"3dfx", settings.Use3dfx},
        {"Monitors", settings.Monitors},   {"RainColor", settings.RainColor},
        {"GlyphSet", settings.GlyphSet},
    };
    for (const auto& number : numbers) SetNumberValue(key, number.name, number.value);
    RegCloseKey(key);
}
