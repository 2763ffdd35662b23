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
    const MonitorRect window{0, 0, width, height};
    SetupRendererForMonitors(&window, 1, false, columnCount);
}

void SetupRendererForMonitors(const MonitorRect* monitors, int32_t count, bool primaryOnly) {
    SetupRendererForMonitors(monitors, count, primaryOnly, settings.Size);
}

void SetupRendererForMonitors(const MonitorRect* monitors, int32_t count, bool primaryOnly,
                              int32_t columnCount) {
    SeedRandom(platform.GetTickCount() & 0xFF);
    // The fields depend only on the seed, the settings and the monitors; the GL state after them
    // draws no random numbers.
    rainMonitors.build(monitors, count, primaryOnly, columnCount, settings.FastMode != 0,
                       settings.Continuous != 0, settings.Message);
    // Every monitor has the primary's cells, give or take a fraction of a pixel: one artwork.
    const RainField& primary = rainMonitors.fields[0];
    const float cellSide =
        rainMonitors.count > 0 ? CellSize(primary.width, primary.columnCount) : 0.0f;
    SetupRendererState(rainMonitors.bounds.width, rainMonitors.bounds.height, cellSide);
    for (int32_t k = 0; k < rainMonitors.count; ++k) PrepareRainDrawing(rainMonitors.fields[k]);
}

void SetupRendererState() {
    SetupRendererState(
        settings.ScrWidth, settings.ScrHeight,
        CellSize(settings.ScrWidth, ClampColumnCount(settings.Size, settings.ScrWidth)));
}

void SetupRendererState(int32_t width, int32_t height, float cellSide) {
    // The scheme first: the letter textures are made in its colours.
    rainRenderer.colors = RainColorScheme(settings.RainColor);
    CreateGlyphTextures(cellSide);

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
