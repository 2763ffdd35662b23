// The pure parsers: the command line (program-name skipping, switch letters, window numbers
// under atoi rules with saturation) and the display-mode texts of the settings dialog.
// Runs natively, under sanitizers and under Wine.
#include <gtest/gtest.h>

#include <climits>

#include "host/win32/command_line.h"
#include "settings/mode_text.h"

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
        {"\"C:\\Program Files\\Torvex.scr\"/s", ModeSaver, 0, false},  // glued to the quote
        {"\"C:\\Program Files\\Torvex.scr\"  /p 7", ModePreview, 7, false},
        {"\"C:\\no closing quote /s", ModeSettings, 0, false},  // all of it is the name
        {"C:\\Torvex.scr/s", ModeSettings, 0, false},           // part of the name
        {"C:\\Torvex.scr/s /c 5", ModeSettings, 5, false},
        {"t.scr -S", ModeSaver, 0, false},
        {"t.scr /s", ModeSaver, 0, false},
        {"t.scr s", ModeSaver, 0, false},
        {"t.scr /s 1234", ModeSaver, 0, false},  // number ignored
        {"t.scr /Sxyz", ModeSaver, 0, false},
        {"t.scr /c", ModeSettings, 0, true},
        {"t.scr /C   ", ModeSettings, 0, true},  // only spaces behind
        {"t.scr /c::", ModeSettings, 0, true},
        {"t.scr /c:1234", ModeSettings, 1234, false},
        {"t.scr /c 1234", ModeSettings, 1234, false},
        {"t.scr /c: : 12", ModeSettings, 12, false},
        {"t.scr /c x", ModeSettings, 0, false},  // text, no digits
        {"t.scr /c:-5", ModeSettings, -5, false},
        {"t.scr /p 42", ModePreview, 42, false},
        {"t.scr /P", ModePreview, 0, false},
        {"t.scr /l 42", ModePreview, 42, false},
        {"t.scr L:42abc", ModePreview, 42, false},
        {"t.scr /a", ModeChangePassword, 0, false},
        {"t.scr -A:99", ModeChangePassword, 99, false},
        {"t.scr /x", ModeNone, 0, false},
        {"t.scr /1", ModeNone, 0, false},
        {"t.scr /", ModeNone, 0, false},  // bare switch at the end
        {"t.scr -", ModeNone, 0, false},
        {"t.scr //s", ModeNone, 0, false},          // one switch char only
        {"t.scr\t/s", ModeSettings, 0, false},      // tab is part of the name
        {"t.scr \t/s", ModeNone, 0, false},         // tabs are not skipped
        {"t.scr /c\t42", ModeSettings, 42, false},  // atoi skips the tab
        {"t.scr /p\t", ModePreview, 0, false},
        {"t.scr /c 2147483647", ModeSettings, INT32_MAX, false},
        {"t.scr /c 2147483648", ModeSettings, INT32_MAX, false},  // saturates
        {"t.scr /c 99999999999999999999999", ModeSettings, INT32_MAX, false},
        {"t.scr /p -2147483648", ModePreview, INT32_MIN, false},
        {"t.scr /p -99999999999999", ModePreview, INT32_MIN, false},
        {"t.scr /a +17", ModeChangePassword, 17, false},
        {"t.scr /a - 17", ModeChangePassword, 0, false},  // sign must touch digits
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

// The settings dialog's display-mode texts: the list's form and the parse OK makes of it.
TEST(ModeText, FormatsWithAndWithoutRate) {
    EXPECT_EQ(FormatModeText(800, 600, 16, 75, true), "800 x 600 x 16bits x 75Hz");
    EXPECT_EQ(FormatModeText(800, 600, 16, 75, false), "800 x 600 x 16bits");
    EXPECT_EQ(FormatModeText(1024, 768, 32, 0, true), "1024 x 768 x 32bits x 0Hz");
    EXPECT_EQ(FormatModeText(-1, 0, 0, 0, false), "-1 x 0 x 0bits");
}

TEST(ModeText, ParsesPiecesAndRejectsTextsWithoutTheirMarks) {
    struct Case {
        const char* text;
        bool withRate;
        bool accepted;
        ModeFields expected;
    };
    const Case cases[] = {
        {"800 x 600 x 16bits x 75Hz", true, true, {800, 600, 16, 75}},
        {"800 x 600 x 16bits x 75Hz", false, true, {800, 600, 16, -7}},  // rate left alone
        {"800 x 600 x 16bits", false, true, {800, 600, 16, -7}},
        {"800 x 600 x 16bits", true, false, {-7, -7, -7, -7}},  // no "H" to end a rate
        {"1600 x 1200 x 32bits x 0Hz", true, true, {1600, 1200, 32, 0}},
        {"800x600x16bits", false, true, {800, 0, 6, -7}},  // pieces start 2 past
        {"800 x", false, false, {-7, -7, -7, -7}},
        {"800 x 600 x", false, false, {-7, -7, -7, -7}},
        {"x x b", false, true, {0, 0, 0, -7}},
        {"x x bH", true, true, {0, 0, 0, 0}},  // rate piece past end
        {"", false, false, {-7, -7, -7, -7}},
        {"garbage", true, false, {-7, -7, -7, -7}},
        {"99999999999 x 1 x 1bits", false, true, {INT32_MAX, 1, 1, -7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ModeFields fields{-7, -7, -7, -7};
        EXPECT_EQ(ParseModeText(c.text, c.withRate, fields), c.accepted);
        EXPECT_EQ(fields.width, c.expected.width);
        EXPECT_EQ(fields.height, c.expected.height);
        EXPECT_EQ(fields.bits, c.expected.bits);
        EXPECT_EQ(fields.hertz, c.expected.hertz);
    }
    ModeFields untouched;
    EXPECT_FALSE(ParseModeText(nullptr, false, untouched));
}
