// Builds and advances the rain for the tools on a fixed clock (see scene.h).
#include "tools/scene.h"

#include "base/platform.h"
#include "rain/random.h"
#include "render/draw.h"
#include "settings/settings.h"

namespace {

uint32_t fixedTick = 0;
uint32_t FixedTick() { return fixedTick; }

void TakeSettings(const ToolOptions& options) {
    settings = options.settings;
    settings.ScrWidth = options.width;
    settings.ScrHeight = options.height;
    rainRenderer.colors = RainColorScheme(settings.RainColor);
}

// Seeds, builds with `build`, then runs the steps with `update`, all on the fixed clock: the
// same tick seeds construction and every step, so a command line gives one scene.
template <typename Build, typename Update>
void RunScene(const ToolOptions& options, Build build, Update update) {
    TakeSettings(options);
    const Platform saved = platform;
    platform.GetTickCount = FixedTick;
    fixedTick = options.tick;
    SeedRandom(options.tick & 0xFF);
    build();
    for (int32_t k = 1; k <= options.steps; ++k) {
        fixedTick =
            options.tick + static_cast<uint32_t>(k) * static_cast<uint32_t>(options.interval);
        update();
    }
    platform = saved;
}

}  // namespace

void BuildScene(const ToolOptions& options, RainMonitors& monitors) {
    // Without --monitor the scene is one monitor of the options' size, as the saver runs on one
    // display.
    const std::vector<MonitorRect> screen = {MonitorRect{0, 0, options.width, options.height}};
    const std::vector<MonitorRect>& rects = options.monitors.empty() ? screen : options.monitors;
    RunScene(
        options,
        [&] {
            monitors.build(rects.data(), static_cast<int32_t>(rects.size()), false, settings.Size,
                           settings.FastMode != 0, settings.Continuous != 0, settings.Message);
        },
        [&] { monitors.update(); });
}
