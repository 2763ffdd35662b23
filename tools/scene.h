// The scene every torvex-tool subcommand starts from: settings taken from the options, the
// rain built and advanced a number of update steps on a fixed, reproducible clock.
#pragma once
#include "rain/field.h"
#include "rain/monitors.h"
#include "render/run.h"
#include "tools/options.h"

// The scene's rain alone (sim: no drawing): seeds with the low 8 bits of options.tick, builds one
// field per monitor of options.monitors (the primary first; without any, one of the options'
// width and height), then runs options.steps update steps, step k seeded from the tick count
// tick + k * interval. The caller releases the fields.
void BuildScene(const ToolOptions& options, RainMonitors& monitors);

// The same scene as a run that draws (shot): started through the run API, so the renderer is set
// up as the saver sets it up, then stepped on the same clock. Needs a current context; the
// caller finishes the run.
void StartScene(const ToolOptions& options, RainRun& run);
