// Builds and advances the rain for the tools on a fixed clock (see scene.h): the same tick seeds
// construction and every step, so a command line gives one scene.
#include "tools/scene.h"

#include <vector>

namespace {

// Without --monitor the scene is one monitor of the options' size, as the saver runs on one
// display.
std::vector<MonitorRect> SceneMonitors(const ToolOptions& options) {
    if (!options.monitors.empty()) return options.monitors;
    return {MonitorRect{0, 0, options.width, options.height}};
}

uint32_t StepTick(const ToolOptions& options, int32_t step) {
    return options.tick + static_cast<uint32_t>(step) * static_cast<uint32_t>(options.interval);
}

}  // namespace

void StartScene(const ToolOptions& options, RainRun& run) {
    const std::vector<MonitorRect> rects = SceneMonitors(options);
    if (options.startWidth > 0 && options.startHeight > 0) {
        // A window resized before its first step: the run is rebuilt for its new size.
        const MonitorRect start{0, 0, options.startWidth, options.startHeight};
        StartRain(run, options.settings, &start, 1, options.tick, options.art, 0);
        ResizeRain(run, rects.data(), static_cast<int32_t>(rects.size()), options.tick);
    } else {
        StartRain(run, options.settings, rects.data(), static_cast<int32_t>(rects.size()),
                  options.tick, options.art, 0);
    }
    for (int32_t k = 1; k <= options.steps; ++k) StepRain(run, StepTick(options, k));
}
