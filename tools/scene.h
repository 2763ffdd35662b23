// The scene every torvex-tool subcommand starts from: settings taken from the options, the
// rain field built and advanced a number of update steps on a fixed, reproducible clock.
#pragma once
#include "rain/field.h"
#include "rain/monitors.h"
#include "tools/options.h"

// Fills settings (ScrWidth, ScrHeight, Size, Message, Continuous, FastMode, RainColor, GlyphSet)
// and the renderer's colour scheme from the options,
// seeds with the low 8 bits of options.tick, builds one field per monitor of options.monitors
// (the primary first; without any, one of the options' width and height), then runs
// options.steps update steps, step k seeing the tick count tick + k * interval. The caller
// releases the fields.
void BuildScene(const ToolOptions& options, RainMonitors& monitors);
