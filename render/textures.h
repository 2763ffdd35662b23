// The glyph pages: the 87 glyph tiles in two textures, the rain's tiles 0..55 in one and the
// letters' 56..86 in the other, each tile in its own slot of an 8-slot-wide grid, so a frame
// binds at most two textures. Needs a current OpenGL context, the settings (FastMode picks the
// filter, GlyphSet the rain picture) and the renderer's colour scheme (it tints the letters).
#pragma once
#include <cstdint>

constexpr int kGlyphPageCount = 2;

// Where a glyph code's tile lies: its page and its texture coordinates (s across the tile's
// columns, t across its rows, as the tile store holds them).
struct GlyphPlace {
    int page;
    float s0, s1;
    float t0, t1;
};

// The place of a glyph code 0..86.
GlyphPlace GlyphPlaceOf(int32_t code);

// Cuts the tiles and uploads both pages into rainRenderer.pages (names made on first use).
void CreateGlyphTextures();
