// Reading the saver's command line: skip the program's own name, then one switch letter with an
// optional "-" or "/" and, for some letters, a window number. Pure: WinMain asks Windows for the
// foreground window when the result says so.
#include "host/win32/command_line.h"

#include "base/text.h"

namespace {

const char* SkipSpacesAndColons(const char* p) {
    while (*p == ' ' || *p == ':') ++p;
    return p;
}

}  // namespace

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
    case 'S':
    case 's':
        result.mode = ModeSaver;
        break;
    case 'C':
    case 'c':
        result.mode = ModeSettings;
        p = SkipSpacesAndColons(p + 1);
        if (*p)
            result.parentWindow = AtoiSaturating(p);
        else
            result.wantsForegroundWindow = true;
        break;
    case 'P':
    case 'p':
    case 'L':
    case 'l':
        result.mode = ModePreview;
        result.parentWindow = AtoiSaturating(SkipSpacesAndColons(p + 1));
        break;
    case 'A':
    case 'a':
        result.mode = ModeChangePassword;
        result.parentWindow = AtoiSaturating(SkipSpacesAndColons(p + 1));
        break;
    default:
        result.mode = ModeNone;
        break;
    }
    return result;
}
