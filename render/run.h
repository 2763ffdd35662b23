// The rain as a library: the one API every host drives, shaped like a screen saver's hooks.
// StartRain builds the fields for the host's monitors and the renderer's state, RainFrame steps
// when Speed says so and draws, ResizeRain rebuilds for a new window, FinishRain releases what
// the context holds. The host passes in what its platform knows (the settings, the monitors, the
// time); nothing here reads a clock or a global setting. Needs a current OpenGL context.
#pragma once
#include <cstdint>

#include "rain/monitors.h"
#include "render/draw.h"
#include "settings/settings.h"

// One run: what the rain keeps between frames.
struct RainRun {
    Settings settings;          // the run's own copy: Size is the primary's column count
    RainMonitors monitors;      // one field per monitor, the primary first
    RainRenderer renderer;      // glyph tiles and pages, colours, the frame's arrays
    uint32_t lastStepTime = 0;  // the step clock (ms) when the rain last stepped
};

// Builds one field per monitor (virtual-screen pixels, the primary first; one rectangle for a
// window) after seeding the random source with the low 8 bits of seedTick, then sets the GL
// state and makes the glyph pages, the artwork at most artLimit pixels a cell (0: no limit).
// Monitors beyond the primary get the primary's cells, or stay black when settings.Monitors says
// so. The step clock starts at now.
void StartRain(RainRun& run, const Settings& settings, const MonitorRect* monitors, int32_t count,
               uint32_t seedTick, int32_t artLimit, uint32_t now);

// The frame: one update step (seeded from tick) when more than settings.Speed milliseconds have
// passed on the step clock since the last one, then the drawing (clear, every field, flush). A
// signed difference keeps the rule right across the clock's wrap; a long pause steps once and
// missed steps are not made up. Returns whether it stepped.
bool RainFrame(RainRun& run, uint32_t now, uint32_t tick);

// The two halves of a frame, for tools that step on a clock of their own.
void StepRain(RainRun& run, uint32_t tick);
void DrawRain(RainRun& run);

// Rebuilds the fields for new monitors (a window resized, a display added) with the run's
// settings, seeded from seedTick; the glyph pages are made again for the new cells.
void ResizeRain(RainRun& run, const MonitorRect* monitors, int32_t count, uint32_t seedTick);

// Frees the fields, deletes the glyph pages and frees the arrays; the context they were made in
// must be current. Safe to call twice.
void FinishRain(RainRun& run);
