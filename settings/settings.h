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

struct Settings {
    int32_t ScrWidth = 0;  // display mode to switch to and draw for; host fills the defaults
    int32_t ScrHeight = 0;
    int32_t ColorBits = 0;
    int32_t Hertz = 0;       // 0: no refresh rate requested
    int32_t Size = 52;       // glyph columns across the screen
    int32_t Speed = 30;      // milliseconds between rain update steps
    int32_t Continuous = 0;  // flags count as set when non-zero
    int32_t FastMode = 0;
    int32_t Use3dfx = 0;
    char Message[kMessageBytes] = "THE TORVEX";
    int32_t Monitors = kDefaultMonitors;  // where the rain falls (the kMonitors choices)
    int32_t RainColor = 0;                // 0..kRainColorCount-1; 0 is the green look
    int32_t GlyphSet = 0;                 // 0..kGlyphSetCount-1; 0 is the rain glyphs
};

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

// The column count the rain field is built with: a stored Size outside 1..width is brought
// into that range (no division by zero, no columns narrower than a pixel).
int32_t ClampColumnCount(int32_t size, int32_t width);
