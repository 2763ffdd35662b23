// The command line of the Linux program: the host's own options (--root, --window-id,
// --fullscreen, --help) and one option per settings row marked for every platform, generated from
// settings/settings_list.h with the rows' ranges. XScreenSaver writes "-opt" as often as "--opt":
// both are taken.
#pragma once
#include <cstdint>
#include <string>

#include "settings/settings.h"

struct HostOptions {
    Settings settings;  // the rows' defaults, then what the command line sets
    bool root = false;
    bool fullscreen = false;
    bool help = false;
    bool haveWindowId = false;
    uint32_t windowId = 0;
};

// Reads arguments[1..count). False on an unknown option, a missing value or a value that is not
// what the option needs (a number, a choice's number or name, a window id), with error set to one
// line naming the option. Numbers out of a row's range are brought into it; a choice's number that
// names no entry counts as its first, as the registry load has it.
bool ParseHostOptions(int count, const char* const* arguments, HostOptions& options,
                      std::string& error);

// A window id as daemons write it: "0x" and hex digits, or decimal digits; never 0, at most
// 32 bits. False otherwise.
bool ParseWindowId(const char* text, uint32_t& id);

// The short name a choice's entry takes on the command line: its first word in lower case
// ("Rain glyphs" -> "rain").
std::string ChoiceShortName(const char* entryName);

// Every option with its default, one a line, for --help.
std::string HelpText();
