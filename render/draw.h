// Drawing the rain: a field's cell list (rain/cells.h) turned into client vertex arrays and
// drawn in a few array draws, glyphs from the glyph pages, then every glow in one indexed draw.
// Relies on the GL state of the renderer set-up and on the glyph pages (textures.h).
#pragma once
#include <cstdint>
#include <vector>

#include "rain/cells.h"
#include "rain/colors.h"
#include "render/glyph_tiles.h"

struct RainField;
struct RainMonitors;

struct GlyphVertex {
    float x, y;
    float s, t;
    float r, g, b, a;
};

struct GlowVertex {
    float x, y;
    float r, g, b, a;
};

// The renderer's record: the colour scheme, the glyph tiles and the pages' texture names made
// from them, and the arrays a frame is drawn from, kept across frames so drawing allocates
// nothing once they have grown. One per run (render/run.h).
struct RainRenderer {
    const RainColors* colors = &kRainColors[0];
    uint32_t pages[2] = {0, 0};  // see kGlyphPageCount (textures.h)
    int32_t artSide = 16;        // side of the glyph artwork the pages were cut from
    int32_t maxArtSide = 0;      // a bound on the artwork chosen (0: none; the tool's --art)
    std::vector<RainCell> cells;
    std::vector<GlyphVertex> glyphs;
    std::vector<GlowVertex> glows;      // nine a glow: the centre, then the rim
    std::vector<uint32_t> glowIndices;  // the fans' triangles over glows, grown once
    GlyphTiles tiles;  // the 16-px tiles the pages are cut from when no bigger artwork is used
};

// Sizes the arrays for the most cells field can show in a frame, so that its frames do not
// allocate. Called by the set-up after each field is built.
void PrepareRainDrawing(RainRenderer& renderer, const RainField& field);

// Deletes the glyph pages and frees the arrays; needs the context they were made in, current.
void ReleaseRenderer(RainRenderer& renderer);

// Every visible cell of field in its drawing order; no clear, no flush.
void DrawRainField(RainRenderer& renderer, const RainField& field);

// A pixel-exact 2D projection onto the window rectangle at (x, y) from its bottom-left corner,
// width x height pixels: one unit a pixel, origin at the rectangle's bottom-left corner. Leaves
// the model-view matrix current.
void SetPixelProjection(int32_t x, int32_t y, int32_t width, int32_t height);

// Clears the window and draws every field into its monitor's rectangle (viewport and projection
// per monitor; what lies outside every monitor stays black), then flushes. The primary's field
// takes the frame's random numbers as it would alone; the others' are taken back.
void DrawRainMonitors(RainRenderer& renderer, const RainMonitors& monitors);
