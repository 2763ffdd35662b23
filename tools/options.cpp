// Table-driven option parsing for torvex-tool (see options.h).
#include "tools/options.h"

#include <cctype>
#include <cstring>

bool ParseWholeNumber(const char* text, int64_t min, int64_t max, int64_t& value) {
    if (text == nullptr) return false;
    const char* p = text;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (*p == '\0') return false;
    int64_t magnitude = 0;
    for (; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return false;
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > (int64_t{1} << 40)) return false;  // far beyond every range used here
    }
    value = negative ? -magnitude : magnitude;
    return value >= min && value <= max;
}

namespace {

// Screens beyond this would only make the tool allocate and print without end.
constexpr int64_t kMaxScreenSide = 65536;

template <typename T>
bool TakeNumber(const char* text, int64_t min, int64_t max, T& field) {
    int64_t value = 0;
    if (!ParseWholeNumber(text, min, max, value)) return false;
    field = static_cast<T>(value);
    return true;
}

// A stored setting's option takes what loading the setting would keep: any 32-bit number, a
// choice that names an entry (the tool refuses the rest rather than fall back to 0), any text
// (cut and upper-cased as a stored message is); a flag's switch sets it to 1. Empty when the
// value is taken, else what it needs.
std::string TakeSetting(const SettingEntry& entry, Settings& settings, const char* value) {
    switch (entry.kind) {
    case SettingKind::Text: {
        // Only the first 31 characters can be taken; the length just has to reach past them.
        const size_t length = std::strlen(value);
        TakeMessage(settings.*entry.text, value,
                    static_cast<int>(length < kMessageBytes ? length : kMessageBytes));
        return "";
    }
    case SettingKind::Flag:
        settings.*entry.number = 1;
        return "";
    case SettingKind::Number:
        return TakeNumber(value, INT32_MIN, INT32_MAX, settings.*entry.number)
                   ? ""
                   : "a 32-bit whole number";
    case SettingKind::Choice:
        return TakeNumber(value, 0, entry.high, settings.*entry.number)
                   ? ""
                   : "a whole number from 0 to " + std::to_string(entry.high);
    }
    return "";
}

// The options of the settings rows that name a flag for `use`, in the list's order.
std::vector<ToolOption> SettingOptions(ToolUse use) {
    std::vector<ToolOption> options;
    for (const SettingEntry& entry : kSettingEntries)
        if (entry.tool == use) options.push_back({entry.flag, entry.valueName, nullptr, &entry});
    return options;
}

}  // namespace

bool ParseMonitor(const char* text, MonitorRect& monitor) {
    if (text == nullptr) return false;
    // Four pieces: W before the "x", H up to the first sign after it, X from that sign up to
    // the next one, Y from there on. W and H start with a digit; the offsets carry their sign.
    const std::string s = text;
    const size_t times = s.find('x');
    const size_t xSign = s.find_first_of("+-", times == std::string::npos ? 0 : times);
    const size_t ySign = xSign == std::string::npos ? xSign : s.find_first_of("+-", xSign + 1);
    if (times == std::string::npos || ySign == std::string::npos) return false;
    const std::string width = s.substr(0, times), height = s.substr(times + 1, xSign - times - 1);
    if (width.empty() || height.empty() || !std::isdigit(static_cast<unsigned char>(width[0])) ||
        !std::isdigit(static_cast<unsigned char>(height[0])))
        return false;
    int64_t w = 0, h = 0, x = 0, y = 0;
    if (!ParseWholeNumber(width.c_str(), 1, kMaxScreenSide, w) ||
        !ParseWholeNumber(height.c_str(), 1, kMaxScreenSide, h) ||
        !ParseWholeNumber(s.substr(xSign, ySign - xSign).c_str(), -kMaxScreenSide, kMaxScreenSide,
                          x) ||
        !ParseWholeNumber(s.substr(ySign).c_str(), -kMaxScreenSide, kMaxScreenSide, y))
        return false;
    monitor = MonitorRect{static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(w),
                          static_cast<int32_t>(h)};
    return true;
}

std::vector<ToolOption> SceneOptions() {
    std::vector<ToolOption> options = {
        {"--width", "W",
         [](ToolOptions& o, const char* v) -> const char* {
             return TakeNumber(v, 1, kMaxScreenSide, o.width) ? nullptr
                                                              : "a whole number from 1 to 65536";
         }},
        {"--height", "H",
         [](ToolOptions& o, const char* v) -> const char* {
             return TakeNumber(v, 1, kMaxScreenSide, o.height) ? nullptr
                                                               : "a whole number from 1 to 65536";
         }},
    };
    for (const ToolOption& option : SettingOptions(ToolUse::Scene)) options.push_back(option);
    const ToolOption clockAndMonitors[] = {
        {"--tick", "T",
         [](ToolOptions& o, const char* v) -> const char* {
             return TakeNumber(v, 0, UINT32_MAX, o.tick) ? nullptr
                                                         : "a whole number from 0 to 4294967295";
         }},
        {"--interval", "MS",
         [](ToolOptions& o, const char* v) -> const char* {
             return TakeNumber(v, 0, INT32_MAX, o.interval) ? nullptr
                                                            : "a whole number from 0 to 2147483647";
         }},
        {"--steps", "N",
         [](ToolOptions& o, const char* v) -> const char* {
             return TakeNumber(v, 0, INT32_MAX, o.steps) ? nullptr
                                                         : "a whole number from 0 to 2147483647";
         }},
        {"--monitor", "WxH+X+Y",
         [](ToolOptions& o, const char* v) -> const char* {
             MonitorRect monitor;
             if (!ParseMonitor(v, monitor))
                 return "WxH+X+Y (sides 1 to 65536, offsets -65536 to 65536)";
             if (o.monitors.size() >= static_cast<size_t>(kMaxMonitors))
                 return "at most 16 monitors";
             o.monitors.push_back(monitor);
             return nullptr;
         }},
    };
    for (const ToolOption& option : clockAndMonitors) options.push_back(option);
    return options;
}

std::vector<ToolOption> LookOptions() { return SettingOptions(ToolUse::Look); }

bool ParseToolOptions(int count, const char* const* arguments, int first,
                      const std::vector<ToolOption>& accepted, ToolOptions& options,
                      std::string& error) {
    for (int i = first; i < count; ++i) {
        const char* argument = arguments[i];
        const ToolOption* option = nullptr;
        for (const ToolOption& candidate : accepted)
            if (std::strcmp(candidate.name, argument) == 0) option = &candidate;
        if (option == nullptr) {
            error = std::string("unknown option '") + argument + "'";
            return false;
        }
        const char* value = nullptr;
        if (option->valueName != nullptr) {
            if (i + 1 >= count) {
                error = std::string(option->name) + " needs a value " + option->valueName;
                return false;
            }
            value = arguments[++i];
        }
        std::string problem;
        if (option->setting)
            problem = TakeSetting(*option->setting, options.settings, value);
        else if (const char* wrong = option->take(options, value))
            problem = wrong;
        if (!problem.empty()) {
            error = std::string(option->name) + " needs " + problem + ", not '" + value + "'";
            return false;
        }
    }
    return true;
}

std::string UsageLine(const char* subcommand, const std::vector<ToolOption>& accepted) {
    std::string line = std::string("usage: torvex-tool ") + subcommand;
    for (const ToolOption& option : accepted) {
        line += std::string(" [") + option.name;
        if (option.valueName != nullptr) line += std::string(" ") + option.valueName;
        line += "]";
    }
    return line;
}
