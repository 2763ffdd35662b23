// Command-line options of torvex-tool's subcommands: one record holding every option's value
// and one parser driven by a table of accepted options, so each subcommand lists what it takes
// (the scene options are shared) and every subcommand reports bad input the same way. The options
// of stored settings come from the rows of settings/settings_list.h that name a flag.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "rain/monitors.h"
#include "settings/settings.h"

struct ToolOptions {
    // The scene: screen, the stored settings and the clock of the update steps.
    int32_t width = 1024;
    int32_t height = 768;
    // The saver's own defaults, so a bare command line shows what the saver shows. Size is the
    // column count before clamping to 1..width.
    Settings settings;
    uint32_t tick = 0;      // tick count when the field is built
    int32_t interval = 31;  // milliseconds between update steps
    int32_t steps = 0;      // update steps run after building
    std::string out;        // shot: the PNG file to write
    int32_t art = 0;  // shot: the largest glyph artwork side to use; 0 chooses as the saver does
    // --monitor, repeatable, the primary first: one field per monitor. Empty: one plain field.
    std::vector<MonitorRect> monitors;
    // shot --resized-from WxH: the run starts in a window of this size and is then resized to the
    // scene's, as a host's window is; 0 x 0 starts at the scene's size.
    int32_t startWidth = 0;
    int32_t startHeight = 0;
};

struct ToolOption {
    const char* name;       // "--width"
    const char* valueName;  // "W" in the usage line; nullptr for a switch without a value
    // Stores the value (nullptr for a switch); returns what is wrong with it, or nullptr.
    const char* (*take)(ToolOptions& options, const char* value);
    // An option of a stored setting instead takes its value into that row's field.
    const SettingEntry* setting = nullptr;
};

// --width --height, the settings' Scene flags (--message --continuous --fast --size), then
// --tick --interval --steps --monitor.
std::vector<ToolOption> SceneOptions();

// The settings' Look flags (--color --glyphs): the look of a drawn scene (the field itself is the
// same for every look).
std::vector<ToolOption> LookOptions();

// Reads arguments[first..count) into options. On bad input returns false and sets error to one
// line naming the problem; options may then be partly filled.
bool ParseToolOptions(int count, const char* const* arguments, int first,
                      const std::vector<ToolOption>& accepted, ToolOptions& options,
                      std::string& error);

// "usage: torvex-tool sim [--width W] ... [--continuous]"
std::string UsageLine(const char* subcommand, const std::vector<ToolOption>& accepted);

// "WxH+X+Y" (either offset may be "-N" instead of "+N"): W and H from 1 to 65536, X and Y from
// -65536 to 65536. False otherwise.
bool ParseMonitor(const char* text, MonitorRect& monitor);

// Strict decimal number: optional sign, digits only, within min..max. False otherwise.
bool ParseWholeNumber(const char* text, int64_t min, int64_t max, int64_t& value);
