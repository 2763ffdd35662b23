// Reading the saver's command line: skip the program's own name, then one switch letter with an
// optional "-" or "/" and, for some letters, a window number. Pure: WinMain asks Windows for the
// foreground window when the result says so.
#include "host/command_line.h"

#include <climits>

namespace {

bool IsAtoiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const char* SkipSpacesAndColons(const char* p) {
    while (*p == ' ' || *p == ':') ++p;
    return p;
}

}  // namespace

// The C library's atoi leaves overflow undefined; a window number typed by hand must not be,
// so values beyond 32 bits saturate at INT32_MIN / INT32_MAX, as strtol does.
int32_t AtoiSaturating(const char* text) {
    const char* p = text;
    while (IsAtoiSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > limit) {
            value = limit;  // keep consuming digits without growing
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}

CommandLine ParseCommandLine(const char* text) {
    CommandLine result;
    const char* p = text ? text : "";

    // The program's name: quoted up to the closing quote, otherwise up to the first space.
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
    } else {
        while (*p && *p != ' ') ++p;
    }
    if (*p) ++p;
    while (*p == ' ') ++p;

    if (!*p) {
        result.mode = ModeSettings;
        return result;
    }
    if (*p == '-' || *p == '/') ++p;

    switch (*p) {
    case 'S': case 's':
        result.mode = ModeSaver;
        break;
    case 'C': case 'c':
        result.mode = ModeSettings;
        p = SkipSpacesAndColons(p + 1);
        if (*p)
            result.parentWindow = AtoiSaturating(p);
        else
            result.wantsForegroundWindow = true;
        break;
    case 'P': case 'p': case 'L': case 'l':
        result.mode = ModePreview;
        result.parentWindow = AtoiSaturating(SkipSpacesAndColons(p + 1));
        break;
    case 'A': case 'a':
        result.mode = ModeChangePassword;
        result.parentWindow = AtoiSaturating(SkipSpacesAndColons(p + 1));
        break;
    default:
        result.mode = ModeNone;
        break;
    }
    return result;
}
