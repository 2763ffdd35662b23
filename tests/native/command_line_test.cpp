// The command-line parser: program-name skipping, switch letters, window numbers (atoi rules
// with saturation beyond 32 bits). Runs natively, under sanitizers and under Wine.
#include <gtest/gtest.h>

#include <climits>

#include "host/command_line.h"

TEST(CommandLine, ModesAndWindowNumbers) {
    struct Case {
        const char* text;
        RunMode mode;
        int32_t parent;
        bool foreground;
    };
    const Case cases[] = {
        {"", ModeSettings, 0, false},
        {"Torvex.scr", ModeSettings, 0, false},
        {"Torvex.scr     ", ModeSettings, 0, false},
        {"\"C:\\Program Files\\Torvex.scr\"", ModeSettings, 0, false},
        {"\"C:\\Program Files\\Torvex.scr\" /s", ModeSaver, 0, false},
        {"\"C:\\Program Files\\Torvex.scr\"/s", ModeSaver, 0, false},    // glued to the quote
        {"\"C:\\Program Files\\Torvex.scr\"  /p 7", ModePreview, 7, false},
        {"\"C:\\no closing quote /s", ModeSettings, 0, false},           // all of it is the name
        {"C:\\Torvex.scr/s", ModeSettings, 0, false},                    // part of the name
        {"C:\\Torvex.scr/s /c 5", ModeSettings, 5, false},
        {"t.scr -S", ModeSaver, 0, false},
        {"t.scr /s", ModeSaver, 0, false},
        {"t.scr s", ModeSaver, 0, false},
        {"t.scr /s 1234", ModeSaver, 0, false},                          // number ignored
        {"t.scr /Sxyz", ModeSaver, 0, false},
        {"t.scr /c", ModeSettings, 0, true},
        {"t.scr /C   ", ModeSettings, 0, true},                          // only spaces behind
        {"t.scr /c::", ModeSettings, 0, true},
        {"t.scr /c:1234", ModeSettings, 1234, false},
        {"t.scr /c 1234", ModeSettings, 1234, false},
        {"t.scr /c: : 12", ModeSettings, 12, false},
        {"t.scr /c x", ModeSettings, 0, false},                          // text, no digits
        {"t.scr /c:-5", ModeSettings, -5, false},
        {"t.scr /p 42", ModePreview, 42, false},
        {"t.scr /P", ModePreview, 0, false},
        {"t.scr /l 42", ModePreview, 42, false},
        {"t.scr L:42abc", ModePreview, 42, false},
        {"t.scr /a", ModeChangePassword, 0, false},
        {"t.scr -A:99", ModeChangePassword, 99, false},
        {"t.scr /x", ModeNone, 0, false},
        {"t.scr /1", ModeNone, 0, false},
        {"t.scr /", ModeNone, 0, false},                                 // bare switch at the end
        {"t.scr -", ModeNone, 0, false},
        {"t.scr //s", ModeNone, 0, false},                               // one switch char only
        {"t.scr\t/s", ModeSettings, 0, false},                           // tab is part of the name
        {"t.scr \t/s", ModeNone, 0, false},                              // tabs are not skipped
        {"t.scr /c\t42", ModeSettings, 42, false},                       // atoi skips the tab
        {"t.scr /p\t", ModePreview, 0, false},
        {"t.scr /c 2147483647", ModeSettings, INT32_MAX, false},
        {"t.scr /c 2147483648", ModeSettings, INT32_MAX, false},         // saturates
        {"t.scr /c 99999999999999999999999", ModeSettings, INT32_MAX, false},
        {"t.scr /p -2147483648", ModePreview, INT32_MIN, false},
        {"t.scr /p -99999999999999", ModePreview, INT32_MIN, false},
        {"t.scr /a +17", ModeChangePassword, 17, false},
        {"t.scr /a - 17", ModeChangePassword, 0, false},                 // sign must touch digits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CommandLine line = ParseCommandLine(c.text);
        EXPECT_EQ(line.mode, c.mode);
        EXPECT_EQ(line.parentWindow, c.parent);
        EXPECT_EQ(line.wantsForegroundWindow, c.foreground);
    }
}

TEST(CommandLine, NullTextOpensTheSettings) {
    EXPECT_EQ(ParseCommandLine(nullptr).mode, ModeSettings);
}
