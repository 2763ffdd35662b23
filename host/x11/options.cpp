// The command line from the settings rows (see options.h): the rows marked for every platform
// become options under their flags, and the same rows give --help its lines and defaults.
#include "host/x11/options.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int32_t kMinChoicePrefix = 3;  // "hex" for "hexadecimal"; shorter prefixes are too vague

bool ForEveryPlatform(const SettingEntry& entry) {
    return entry.where == Where::Everywhere && entry.flag != nullptr;
}

// "--size" and "-size" both name the row whose flag is "--size"; "no-" before a switch's name
// turns it off.
const char* Bare(const char* argument) {
    if (argument[0] != '-') return nullptr;
    return argument[1] == '-' ? argument + 2 : argument + 1;
}

const SettingEntry* FindRow(const char* bare, bool& negated) {
    negated = std::strncmp(bare, "no-", 3) == 0;
    for (const SettingEntry& entry : kSettingEntries) {
        if (!ForEveryPlatform(entry)) continue;
        const char* name = Bare(entry.flag);
        if (std::strcmp(name, bare) == 0) {
            negated = false;
            return &entry;
        }
        if (negated && entry.kind == SettingKind::Flag && std::strcmp(name, bare + 3) == 0)
            return &entry;
    }
    return nullptr;
}

// A whole decimal number, sign allowed; beyond 64 bits it saturates (it is still a number, and
// the range brings it in). False for anything else.
bool ParseNumber(const char* text, int64_t& value) {
    if (*text == '\0' || std::strchr(" \t\n", *text)) return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0') return false;
    value = static_cast<int64_t>(parsed);
    return true;
}

int32_t Clamp(int64_t value, int32_t low, int32_t high) {
    return value < low ? low : value > high ? high : static_cast<int32_t>(value);
}

// A choice's value: its number, or an entry's short name or the first letters of exactly one.
bool TakeChoice(const SettingEntry& entry, const char* value, int32_t& choice) {
    int64_t number = 0;
    if (ParseNumber(value, number)) {
        choice = ChoiceOrDefault(Clamp(number, INT32_MIN, INT32_MAX), entry.high + 1);
        return true;
    }
    std::string lower = value;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    int found = -1, matches = 0;
    for (int32_t i = 0; i <= entry.high; ++i) {
        const std::string name = ChoiceShortName(entry.names[i]);
        const bool prefix =
            lower.size() >= kMinChoicePrefix && name.compare(0, lower.size(), lower) == 0;
        if (name == lower) return choice = i, true;
        if (prefix) found = i, ++matches;
    }
    if (matches != 1) return false;
    choice = found;
    return true;
}

// Only the letters the glyphs can show, as the settings dialog keeps them: upper-cased, every
// other character a space, at most 31.
void TakeLetters(char (&message)[kMessageBytes], const char* value) {
    const size_t length = std::strlen(value);
    TakeMessage(message, value, static_cast<int>(length < kMessageBytes ? length : kMessageBytes));
    for (char* c = message; *c; ++c)
        if (*c < 'A' || *c > 'Z') *c = ' ';
}

std::string ChoiceNames(const SettingEntry& entry) {
    std::string names;
    for (int32_t i = 0; i <= entry.high; ++i)
        names += (i ? ", " : "") + ChoiceShortName(entry.names[i]);
    return names;
}

std::string Needs(const SettingEntry& entry) {
    if (entry.kind != SettingKind::Choice) return "a whole number";
    return "a number from 0 to " + std::to_string(entry.high) + " or one of " + ChoiceNames(entry);
}

// Stores a row's value; false when it is not one the row takes.
bool TakeRow(const SettingEntry& entry, bool negated, const char* value, Settings& settings) {
    int64_t number = 0;
    switch (entry.kind) {
    case SettingKind::Text:
        TakeLetters(settings.*entry.text, value);
        return true;
    case SettingKind::Flag:
        settings.*entry.number = negated ? 0 : 1;
        return true;
    case SettingKind::Number:
        if (!ParseNumber(value, number)) return false;
        settings.*entry.number = Clamp(number, entry.low, entry.high);
        return true;
    case SettingKind::Choice:
        return TakeChoice(entry, value, settings.*entry.number);
    }
    return false;
}

// The host's own options. -visual takes a value; it, -install and -fps are the daemon's
// conventions for hacks and change nothing here.
enum class HostOption { None, Root, WindowId, Fullscreen, Help, Ignored, IgnoredWithValue };

HostOption FindHostOption(const char* bare) {
    struct Name {
        const char* name;
        HostOption option;
    };
    static const Name kNames[] = {{"root", HostOption::Root},
                                  {"window-id", HostOption::WindowId},
                                  {"fullscreen", HostOption::Fullscreen},
                                  {"help", HostOption::Help},
                                  {"install", HostOption::Ignored},
                                  {"fps", HostOption::Ignored},
                                  {"visual", HostOption::IgnoredWithValue}};
    for (const Name& n : kNames)
        if (std::strcmp(n.name, bare) == 0) return n.option;
    return HostOption::None;
}

}  // namespace

bool ParseWindowId(const char* text, uint32_t& id) {
    if (text == nullptr) return false;
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* digits = hex ? text + 2 : text;
    if (*digits == '\0' || *digits == '+' || *digits == '-' || *digits == ' ') return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(digits, &end, hex ? 16 : 10);
    if (*end != '\0' || errno == ERANGE || value == 0 || value > UINT32_MAX) return false;
    id = static_cast<uint32_t>(value);
    return true;
}

std::string ChoiceShortName(const char* entryName) {
    std::string name;
    for (const char* c = entryName; *c && *c != ' '; ++c)
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    return name;
}

bool ParseHostOptions(int count, const char* const* arguments, HostOptions& options,
                      std::string& error) {
    for (int i = 1; i < count; ++i) {
        const char* argument = arguments[i];
        const char* bare = Bare(argument);
        bool negated = false;
        const SettingEntry* row = bare ? FindRow(bare, negated) : nullptr;
        const HostOption host = bare ? FindHostOption(bare) : HostOption::None;
        if (!row && host == HostOption::None) {
            error = std::string("unknown option '") + argument + "' (see --help)";
            return false;
        }
        const bool takesValue = (row && row->kind != SettingKind::Flag) ||
                                host == HostOption::WindowId ||
                                host == HostOption::IgnoredWithValue;
        if (takesValue && i + 1 >= count) {
            error = std::string(argument) + " needs a value";
            return false;
        }
        const char* value = takesValue ? arguments[++i] : nullptr;
        if (row) {
            if (TakeRow(*row, negated, value, options.settings)) continue;
            error = std::string(argument) + " needs " + Needs(*row) + ", not '" + value + "'";
            return false;
        }
        switch (host) {
        case HostOption::Root:
            options.root = true;
            break;
        case HostOption::WindowId:
            if (!ParseWindowId(value, options.windowId)) {
                error = std::string(argument) + " needs a window id (0x hex or decimal), not '" +
                        value + "'";
                return false;
            }
            options.haveWindowId = true;
            break;
        case HostOption::Fullscreen:
            options.fullscreen = true;
            break;
        case HostOption::Help:
            options.help = true;
            break;
        default:
            break;
        }
    }
    return true;
}

namespace {

std::string DefaultOf(const SettingEntry& entry, const Settings& defaults) {
    switch (entry.kind) {
    case SettingKind::Text:
        return std::string("\"") + (defaults.*entry.text) + "\"";
    case SettingKind::Flag:
        return defaults.*entry.number ? "on" : "off";
    case SettingKind::Number:
        return std::to_string(defaults.*entry.number);
    case SettingKind::Choice:
        return ChoiceShortName(entry.names[defaults.*entry.number]);
    }
    return "";
}

// "  --size N          Glyph columns, ...": the meanings line up after the longest usage.
void AddLine(std::string& text, const std::string& usage, const std::string& meaning) {
    constexpr size_t kUsageColumns = 34;
    std::string line = "  " + usage;
    line.resize(line.size() < kUsageColumns ? kUsageColumns : line.size() + 1, ' ');
    text += line + meaning + "\n";
}

}  // namespace

std::string HelpText() {
    const Settings defaults;
    std::string text = "usage: torvex [options]\n";
    for (const SettingEntry& entry : kSettingEntries) {
        if (!ForEveryPlatform(entry)) continue;
        std::string usage = entry.flag;
        std::string meaning = entry.label;
        if (entry.kind == SettingKind::Flag) {
            usage += ", --no-" + std::string(Bare(entry.flag));
        } else {
            usage += std::string(" ") + entry.valueName;
            if (entry.kind == SettingKind::Choice) usage += "|NAME";
        }
        if (entry.kind == SettingKind::Number)
            meaning += ", " + std::to_string(entry.low) + " to " + std::to_string(entry.high);
        if (entry.kind == SettingKind::Choice)
            meaning += ", 0 to " + std::to_string(entry.high) + " or " + ChoiceNames(entry);
        if (entry.kind == SettingKind::Text) meaning += ": letters and spaces, at most 31";
        AddLine(text, usage, meaning + " (default " + DefaultOf(entry, defaults) + ")");
    }
    AddLine(text, "--root", "Rain in $XSCREENSAVER_WINDOW, else on the whole screen");
    AddLine(text, "--window-id ID", "Rain in that window (0x hex or decimal)");
    AddLine(text, "--fullscreen", "In a window of its own: ask for the full screen");
    AddLine(text, "--help", "This list");
    text +=
        "Each option may also be written with one dash (-size 60). Without --root or\n"
        "--window-id the rain falls in a window of its own, 1024 x 768.\n";
    return text;
}
