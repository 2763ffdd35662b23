// The scene every torvex-tool subcommand starts from: settings taken from the options, the
// rain built and advanced a number of update steps on a fixed, reproducible clock.
#pragma once
#include "rain/field.h"
#include "rain/monitors.h"
#include "render/run.h"
#include "tools/options.h"

// The scene as a run, started through the run API as the saver starts one: seeded with the low 8
// bits of options.tick, one field per monitor of options.monitors (the primary first; without
// any, one of the options' width and height), the renderer set up; then options.steps update
// steps, step k seeded from the tick count tick + k * interval. Needs a filled GL table (a
// context for shot, the no-op table for sim); the caller finishes the run.
void StartScene(const ToolOptions& options, RainRun& run);
