// Renderer set-up: leaves the GL state the drawing relies on (identity model-view in screen
// pixels, origin bottom-left, texturing on, additive blend unless in fast mode) and builds the
// rain field. Relies on the GL table, the settings record and the platform tick count.
#include "render/setup.h"

#include "base/platform.h"
#include "gl/gl.h"
#include "rain/field.h"
#include "rain/monitors.h"
#include "rain/random.h"
#include "render/draw.h"
#include "render/textures.h"
#include "settings/settings.h"

void SetupRenderer() { SetupRendererFor(settings.ScrWidth, settings.ScrHeight, settings.Size); }

void SetupRendererFor(int32_t width, int32_t height, int32_t columnCount) {
    SeedRandom(platform.GetTickCount() & 0xFF);
    SetupRendererState(width, height);
    // Nothing since the seeding drew a random number: the field depends only on the seed, the
    // settings and the window's size.
    rainField.build(width, height, columnCount, settings.FastMode != 0, settings.Continuous != 0,
                    settings.Message);
    PrepareRainDrawing(rainField);
}

void SetupRendererForMonitors(const MonitorRect* monitors, int32_t count, bool primaryOnly) {
    SeedRandom(platform.GetTickCount() & 0xFF);
    SetupRendererState();
    rainMonitors.build(monitors, count, primaryOnly, settings.Size, settings.FastMode != 0,
                       settings.Continuous != 0, settings.Message);
    for (int32_t k = 0; k < rainMonitors.count; ++k) PrepareRainDrawing(rainMonitors.fields[k]);
}

void SetupRendererState() { SetupRendererState(settings.ScrWidth, settings.ScrHeight); }

void SetupRendererState(int32_t width, int32_t height) {
    // The scheme first: the letter textures are made in its colours.
    rainRenderer.colors = RainColorScheme(settings.RainColor);
    CreateGlyphTextures();

    SetPixelProjection(0, 0, width, height);
    glLoadIdentity();

    if (settings.FastMode == 0) {
        // Source times its alpha plus destination times destination alpha: with destination
        // alpha reading as 1 every glyph and glow adds its light to what is already there.
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    }
    glEnable(GL_TEXTURE_2D);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}
