// Builds and advances the rain field for the tools on a fixed clock (see scene.h).
#include "tools/scene.h"

#include "base/platform.h"
#include "rain/random.h"
#include "settings/settings.h"

namespace {

uint32_t fixedTick = 0;
uint32_t FixedTick() { return fixedTick; }

}  // namespace

void BuildScene(const ToolOptions& options, RainField& field) {
    settings.ScrWidth = options.width;
    settings.ScrHeight = options.height;
    settings.Size = options.size;
    settings.Continuous = options.continuous ? 1 : 0;
    settings.FastMode = options.fast ? 1 : 0;
    settings.RainColor = options.color;
    settings.GlyphSet = options.glyphs;
    // Before the field is built: building compiles the glow lists in the scheme's colours.
    displayLists.colors = RainColorScheme(settings.RainColor);
    // Only the first 31 characters can be taken; the length just has to reach past them.
    const size_t length = options.message.size();
    TakeMessage(settings.Message, options.message.c_str(),
                static_cast<int>(length < kMessageBytes ? length : kMessageBytes));

    // The same tick seeds construction and every step, so a command line gives one scene.
    const Platform saved = platform;
    platform.GetTickCount = FixedTick;
    SeedRandom(options.tick & 0xFF);
    field.build(settings.ScrWidth, settings.ScrHeight, settings.Size, settings.FastMode != 0,
                settings.Continuous != 0, settings.Message);
    for (int32_t k = 1; k <= options.steps; ++k) {
        fixedTick =
            options.tick + static_cast<uint32_t>(k) * static_cast<uint32_t>(options.interval);
        field.update();
    }
    platform = saved;
}
