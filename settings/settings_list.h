// Every stored setting, one row each, in the order the store writes and reads them (the order the
// registry has always held them in). From these rows come the Settings record and its defaults,
// the registry load and save, the dialog's ranges (settings/dialogs_win32.cpp pairs each row with
// its control), torvex-tool's options, and the Linux program's options and settings file.
// Rows, by how the value is stored and edited:
//   SETTING_TEXT  (registry name, field, default, where, tool, flag, value, label)  REG_SZ, 32
//   bytes SETTING_FLAG  (registry name, field, default, where, tool, flag, label)         0 or 1
//   SETTING_NUMBER(registry name, field, default, low, high, step, where, tool, flag, value, label)
//   SETTING_CHOICE(registry name, field, default, count, (names), where, tool, flag, value, label)
// Numbers and flags are read as 4 bytes whatever their registry type, choices only as a REG_DWORD
// naming one of the count names, which the dialog lists in this order. A number's dialog control
// is a trackbar over low..high in steps of step, or the mode list for the four display fields
// (the range is then unused). Where: Everywhere (every host offers it, as the command-line option
// flag, described by label) or WindowsOnly (the display mode, the 3Dfx driver and the monitors
// are the Windows host's own). Tool: Scene (every torvex-tool subcommand takes the flag), Look
// (only shot: it changes the picture, not the field) or NoFlag. No include guard: an includer
// defines the four macros and includes this file, which undefines them at its end.
// What the values mean: the display mode to switch to and draw for (the host puts the current
// one in before loading; Hertz 0 asks for no rate), Size glyph columns across the screen, Speed
// milliseconds between rain update steps; flags count as set when non-zero.
// clang-format off
SETTING_TEXT  ("MSTRING",    Message,    "THE TORVEX",                         Everywhere,  Scene,  "--message",    "TEXT", "Message")
SETTING_FLAG  ("Continuous", Continuous, 0,                                    Everywhere,  Scene,  "--continuous",         "Continuous rain, no message")
SETTING_NUMBER("ScrWidth",   ScrWidth,   0,                 0, 0, 0,           WindowsOnly, NoFlag, nullptr,        nullptr, nullptr)
SETTING_NUMBER("ScrHeight",  ScrHeight,  0,                 0, 0, 0,           WindowsOnly, NoFlag, nullptr,        nullptr, nullptr)
SETTING_NUMBER("ColorBits",  ColorBits,  0,                 0, 0, 0,           WindowsOnly, NoFlag, nullptr,        nullptr, nullptr)
SETTING_NUMBER("Hertz",      Hertz,      0,                 0, 0, 0,           WindowsOnly, NoFlag, nullptr,        nullptr, nullptr)
SETTING_FLAG  ("Software",   FastMode,   0,                                    Everywhere,  Scene,  "--fast",               "Fast mode")
SETTING_NUMBER("Size",       Size,       52,                42, 67, 1,         Everywhere,  Scene,  "--size",       "N",    "Glyph columns")
SETTING_NUMBER("Speed",      Speed,      30,                0, 100, 10,        Everywhere,  NoFlag, "--speed",      "MS",   "Milliseconds between steps")
SETTING_FLAG  ("3dfx",       Use3dfx,    0,                                    WindowsOnly, NoFlag, nullptr,                nullptr)
SETTING_CHOICE("Monitors",   Monitors,   kDefaultMonitors,  kMonitorChoices,  ("Primary monitor only", "Every monitor", "Primary monitor, others black"), WindowsOnly, NoFlag, nullptr, nullptr, nullptr)
SETTING_CHOICE("RainColor",  RainColor,  0,                 kRainColorCount,  ("Green", "Blue", "Red", "Amber", "Violet", "White"), Everywhere, Look, "--color", "N", "Colour")
SETTING_CHOICE("GlyphSet",   GlyphSet,   0,                 kGlyphSetCount,   ("Rain glyphs", "Letters and digits", "Binary", "Hexadecimal"), Everywhere, Look, "--glyphs", "N", "Glyph set")
// clang-format on
#undef SETTING_TEXT
#undef SETTING_FLAG
#undef SETTING_NUMBER
#undef SETTING_CHOICE
