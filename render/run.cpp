// The run API (see run.h): the one place the rain is built for a host's monitors, the one place
// the Speed rule steps it, and the one teardown of what a run holds.
#include "render/run.h"

#include "rain/random.h"
#include "render/setup.h"

namespace {

void BuildRain(RainRun& run, const MonitorRect* monitors, int32_t count, uint32_t seedTick) {
    const Settings& s = run.settings;
    SeedRandom(seedTick & 0xFF);
    // The fields depend only on the seed, the settings and the monitors; the GL state after them
    // draws no random numbers.
    run.monitors.build(monitors, count, s.Monitors == kPrimaryMonitorOthersBlack, s.Size,
                       s.FastMode != 0, s.Continuous != 0, s.Message);
    // Every monitor has the primary's cells, give or take a fraction of a pixel: one artwork.
    const RainField& primary = run.monitors.fields[0];
    const float cellSide =
        run.monitors.count > 0 ? CellSize(primary.width, primary.columnCount) : 0.0f;
    SetupRendererState(run.renderer, s, run.monitors.bounds.width, run.monitors.bounds.height,
                       cellSide);
    for (int32_t k = 0; k < run.monitors.count; ++k)
        PrepareRainDrawing(run.renderer, run.monitors.fields[k]);
}

}  // namespace

void StartRain(RainRun& run, const Settings& settings, const MonitorRect* monitors, int32_t count,
               uint32_t seedTick, int32_t artLimit, uint32_t now) {
    run.settings = settings;
    run.renderer.maxArtSide = artLimit;
    run.lastStepTime = now;
    BuildRain(run, monitors, count, seedTick);
}

bool RainFrame(RainRun& run, uint32_t now, uint32_t tick) {
    bool stepped = false;
    if (static_cast<int32_t>(now - run.lastStepTime) > run.settings.Speed) {
        StepRain(run, tick);
        run.lastStepTime = now;
        stepped = true;
    }
    DrawRain(run);
    return stepped;
}

void StepRain(RainRun& run, uint32_t tick) { run.monitors.update(tick); }

void DrawRain(RainRun& run) { DrawRainMonitors(run.renderer, run.monitors); }

void ResizeRain(RainRun& run, const MonitorRect* monitors, int32_t count, uint32_t seedTick) {
    run.monitors.release();
    BuildRain(run, monitors, count, seedTick);
}

void FinishRain(RainRun& run) {
    run.monitors.release();
    ReleaseRenderer(run.renderer);
}
