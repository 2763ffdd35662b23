// Every stored setting, one row each, in the order the store writes and reads them (the order the
// registry has always held them in). From these rows come the Settings record and its defaults,
// the registry load and save, the dialog's controls and ranges, and torvex-tool's options.
// Rows, by how the value is stored and edited:
//   SETTING_TEXT  (registry name, field, default, control, tool, flag, value)  REG_SZ of 32 bytes
//   SETTING_FLAG  (registry name, field, default, control, tool, flag)         check box, 0 or 1
//   SETTING_NUMBER(registry name, field, default, control, low, high, step, tool, flag, value)
//   SETTING_CHOICE(registry name, field, default, control, count, (names), tool, flag, value)
// Numbers and flags are read as 4 bytes whatever their registry type, choices only as a REG_DWORD
// naming one of the count names, which the dialog lists in this order. A number's control is a
// trackbar over low..high in steps of step, or the mode list for the four display fields (the
// range is then unused). Tool: Scene (every subcommand takes the flag), Look (only shot: it
// changes the picture, not the field) or NoFlag. No include guard: an includer defines the four
// macros and includes this file, which undefines them at its end.
// What the values mean: the display mode to switch to and draw for (the host puts the current
// one in before loading; Hertz 0 asks for no rate), Size glyph columns across the screen, Speed
// milliseconds between rain update steps; flags count as set when non-zero.
// clang-format off
SETTING_TEXT  ("MSTRING",    Message,    "THE TORVEX",        IDC_MESSAGE,                           Scene,  "--message", "TEXT")
SETTING_FLAG  ("Continuous", Continuous, 0,                   IDC_CONTINUOUS,                        Scene,  "--continuous")
SETTING_NUMBER("ScrWidth",   ScrWidth,   0,                   IDC_MODE_LIST,  0, 0, 0,               NoFlag, nullptr, nullptr)
SETTING_NUMBER("ScrHeight",  ScrHeight,  0,                   IDC_MODE_LIST,  0, 0, 0,               NoFlag, nullptr, nullptr)
SETTING_NUMBER("ColorBits",  ColorBits,  0,                   IDC_MODE_LIST,  0, 0, 0,               NoFlag, nullptr, nullptr)
SETTING_NUMBER("Hertz",      Hertz,      0,                   IDC_MODE_LIST,  0, 0, 0,               NoFlag, nullptr, nullptr)
SETTING_FLAG  ("Software",   FastMode,   0,                   IDC_FAST_MODE,                         Scene,  "--fast")
SETTING_NUMBER("Size",       Size,       52,                  IDC_SIZE_BAR,   42, 67, 1,             Scene,  "--size", "N")
SETTING_NUMBER("Speed",      Speed,      30,                  IDC_SPEED_BAR,  0, 100, 10,            NoFlag, nullptr, nullptr)
SETTING_FLAG  ("3dfx",       Use3dfx,    0,                   IDC_USE_3DFX,                          NoFlag, nullptr)
SETTING_CHOICE("Monitors",   Monitors,   kDefaultMonitors,    IDC_MONITORS,   kMonitorChoices,  ("Primary monitor only", "Every monitor", "Primary monitor, others black"), NoFlag, nullptr, nullptr)
SETTING_CHOICE("RainColor",  RainColor,  0,                   IDC_RAIN_COLOR, kRainColorCount,  ("Green", "Blue", "Red", "Amber", "Violet", "White"), Look, "--color", "N")
SETTING_CHOICE("GlyphSet",   GlyphSet,   0,                   IDC_GLYPH_SET,  kGlyphSetCount,   ("Rain glyphs", "Letters and digits", "Binary", "Hexadecimal"), Look, "--glyphs", "N")
// clang-format on
#undef SETTING_TEXT
#undef SETTING_FLAG
#undef SETTING_NUMBER
#undef SETTING_CHOICE
