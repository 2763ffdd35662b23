// The saver's configuration in memory: one global record, filled with defaults at start, then
// with the current display mode by the host and with stored values by the registry store.
#pragma once
#include <cstdint>

constexpr int kMessageBytes = 32;  // 31 characters and the terminating zero
constexpr int kMaxMessageLength = 31;
constexpr int32_t kRainColorCount = 6;  // RainColor: Green, Blue, Red, Amber, Violet, White
constexpr int32_t kGlyphSetCount = 4;   // GlyphSet: rain glyphs, letters and digits, binary, hex

// The "Monitors" choices, in the order the settings dialog lists them.
// With one monitor all three run as the single-display saver always has (display mode switch
// included); they differ only on a desk with more than one.
constexpr int32_t kPrimaryMonitorOnly = 0;  // the display mode switch and one field, as always
constexpr int32_t kEveryMonitor = 1;        // one field per monitor, desktop resolutions kept
constexpr int32_t kPrimaryMonitorOthersBlack = 2;
constexpr int32_t kMonitorChoices = 3;
// Nothing stored, or a value that names no choice: every monitor, so that no other monitor goes
// on showing the desktop (open mail, documents) while the saver runs.
constexpr int32_t kDefaultMonitors = kEveryMonitor;

// The record: one field per row of settings/settings_list.h, with the row's default. The four
// display fields start at 0; the host fills them from the current display mode.
struct Settings {
#define SETTING_TEXT(name, field, value, ...) char field[kMessageBytes] = value;
#define SETTING_FLAG(name, field, value, ...) int32_t field = value;
#define SETTING_NUMBER SETTING_FLAG
#define SETTING_CHOICE SETTING_FLAG
#include "settings/settings_list.h"
};

// One row of the list as the store, the dialog and the tool read it.
enum class SettingKind { Text, Flag, Number, Choice };
enum class ToolUse { NoFlag, Scene, Look };
// Which hosts offer a row: every one, or only the Windows saver (its display and monitors).
enum class Where { Everywhere, WindowsOnly };
constexpr int kMaxChoices = 8;

struct SettingEntry {
    SettingKind kind;
    const char* name;                       // the registry value
    int32_t Settings::*number;              // the field of a flag, number or choice
    char (Settings::*text)[kMessageBytes];  // the field of the text
    int32_t low, high, step;                // a number's range; 0..count-1 for a choice
    const char* names[kMaxChoices];         // a choice's entries, in the order of their numbers
    Where where;
    ToolUse tool;
    const char* flag;       // the command-line option (torvex-tool, the Linux program), or nullptr
    const char* valueName;  // its value in the usage line; nullptr for a switch
    const char* label;      // a few words for a settings page; nullptr for Windows-only rows
};

// The rows, in the list's order.
// clang-format off
#define SETTING_NAMES(...) {__VA_ARGS__}
inline constexpr SettingEntry kSettingEntries[] = {
#define SETTING_TEXT(name, field, value, where, tool, flag, valueName, label) \
    {SettingKind::Text, name, nullptr, &Settings::field, 0, 0, 0, {}, \
     Where::where, ToolUse::tool, flag, valueName, label},
#define SETTING_FLAG(name, field, value, where, tool, flag, label) \
    {SettingKind::Flag, name, &Settings::field, nullptr, 0, 1, 1, {}, \
     Where::where, ToolUse::tool, flag, nullptr, label},
#define SETTING_NUMBER(name, field, value, low, high, step, where, tool, flag, valueName, label) \
    {SettingKind::Number, name, &Settings::field, nullptr, low, high, step, {}, \
     Where::where, ToolUse::tool, flag, valueName, label},
#define SETTING_CHOICE(name, field, value, count, names, where, tool, flag, valueName, label) \
    {SettingKind::Choice, name, &Settings::field, nullptr, 0, (count) - 1, 1, \
     SETTING_NAMES names, Where::where, ToolUse::tool, flag, valueName, label},
#include "settings/settings_list.h"
};
#undef SETTING_NAMES
// clang-format on

// Each row is whole: a choice names exactly its count entries; a row every host offers has an
// option and a label and a Windows-only one neither; a tool use needs the option; an option has
// a value name unless it is a flag's switch.
constexpr bool RowsAreWhole() {
    for (const SettingEntry& entry : kSettingEntries) {
        const bool everywhere = entry.where == Where::Everywhere;
        if (everywhere != (entry.flag != nullptr) || everywhere != (entry.label != nullptr))
            return false;
        if (entry.tool != ToolUse::NoFlag && entry.flag == nullptr) return false;
        if (entry.flag && (entry.kind == SettingKind::Flag) != (entry.valueName == nullptr))
            return false;
        if (entry.kind != SettingKind::Choice) continue;
        for (int32_t i = 0; i < kMaxChoices; ++i)
            if ((entry.names[i] != nullptr) != (i <= entry.high)) return false;
    }
    return true;
}
static_assert(RowsAreWhole(), "a row of settings/settings_list.h lacks a name or has one too many");

extern Settings settings;

// Upper-cases "a".."z" in place and leaves every other byte alone (the stored message's rule).
void UpperCaseMessage(char* text);

// Copies at most 31 characters of text (up to its first zero or textLength bytes) into a
// 32-byte message buffer, zero-filled, and upper-cases it: how a stored message is taken in.
void TakeMessage(char (&message)[kMessageBytes], const char* text, int textLength);

// A stored choice among count entries: value itself when it names one (0..count-1), else the
// default (0 for RainColor and GlyphSet, kDefaultMonitors for Monitors). The one rule for the
// three, so every reader of them agrees.
int32_t ChoiceOrDefault(int32_t value, int32_t count, int32_t defaultChoice = 0);
