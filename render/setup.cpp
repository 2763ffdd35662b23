// Renderer set-up: leaves the GL state the drawing relies on (identity model-view in screen
// pixels, origin bottom-left, texturing on, additive blend unless in fast mode) and the glyph
// pages. Everything it needs is passed in: the renderer's record and the run's settings.
#include "render/setup.h"

#include "gl/gl.h"
#include "render/draw.h"
#include "render/textures.h"
#include "settings/settings.h"

void SetupRendererState(RainRenderer& renderer, const Settings& settings, int32_t width,
                        int32_t height, float cellSide) {
    // The scheme first: the letter textures are made in its colours.
    renderer.colors = RainColorScheme(settings.RainColor);
    CreateGlyphTextures(renderer, cellSide, settings.GlyphSet, settings.FastMode != 0);

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
