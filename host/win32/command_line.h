// Reading the command line into a run mode and a parent window number. Pure and portable, so it
// is tested natively and fuzzed; WinMain supplies the foreground window when one is wanted.
#pragma once
#include <cstdint>

enum RunMode : int32_t {
    ModeNone = 0,
    ModeSettings = 1,
    ModeChangePassword = 2,
    ModePreview = 3,
    ModeSaver = 4,
};

struct CommandLine {
    RunMode mode = ModeNone;
    int32_t parentWindow = 0;  // window number after the switch letter (atoi rules); 0: none
    bool wantsForegroundWindow = false;  // "/c" with nothing behind it: the caller asks Windows
};

CommandLine ParseCommandLine(const char* text);
