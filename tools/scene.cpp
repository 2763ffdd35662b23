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

void BuildScene(const ToolOptions& options, RainField& field) {
    RunScene(
        options,
        [&] {
            field.build(settings.ScrWidth, settings.ScrHeight, settings.Size,
                        settings.FastMode != 0, settings.Continuous != 0, settings.Message);
        },
        [&] { field.update(); });
}

void BuildMonitorScene(const ToolOptions& options, RainMonitors& monitors) {
    RunScene(
        options,
        [&] {
            monitors.build(options.monitors.data(), static_cast<int32_t>(options.monitors.size()),
                           false, settings.Size, settings.FastMode != 0, settings.Continuous != 0,
                           settings.Message);
        },
        [&] { monitors.update(); });
}
