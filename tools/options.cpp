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
    return {
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
        {"--size", "N",
         [](ToolOptions& o, const char* v) -> const char* {
             return TakeNumber(v, INT32_MIN, INT32_MAX, o.size) ? nullptr : "a 32-bit whole number";
         }},
        {"--message", "TEXT",
         [](ToolOptions& o, const char* v) -> const char* {
             o.message = v;
             return nullptr;
         }},
        {"--continuous", nullptr,
         [](ToolOptions& o, const char*) -> const char* {
             o.continuous = true;
             return nullptr;
         }},
        {"--fast", nullptr,
         [](ToolOptions& o, const char*) -> const char* {
             o.fast = true;
             return nullptr;
         }},
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
}

std::vector<ToolOption> LookOptions() {
    return {
        {"--color", "N",
         [](ToolOptions& o, const char* v) -> const char* {
             return TakeNumber(v, 0, kRainColorCount - 1, o.color) ? nullptr
                                                                   : "a whole number from 0 to 5";
         }},
        {"--glyphs", "N",
         [](ToolOptions& o, const char* v) -> const char* {
             return TakeNumber(v, 0, kGlyphSetCount - 1, o.glyphs) ? nullptr
                                                                   : "a whole number from 0 to 3";
         }},
    };
}

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
        if (const char* problem = option->take(options, value)) {
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
