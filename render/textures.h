// The glyph pages: the 87 glyph tiles in two textures, the rain's tiles 0..55 in one and the
// letters' 56..86 in the other, each tile in its own slot of an 8-slot-wide grid, so a frame
// binds at most two textures. The tiles are drawn from the glyph artwork whose size suits the
// cells (ChooseGlyphArtSide). Needs a current OpenGL context and the renderer's colour scheme
// (it tints the letters).
#pragma once
#include <cstdint>

struct RainRenderer;

constexpr int kGlyphPageCount = 2;
constexpr int kGlyphSlotsAcross = 8;  // a page is 8 tiles wide whatever their side

// Where a glyph code's tile lies: its page and its texture coordinates (s across the tile's
// columns, t across its rows, as the tile store holds them).
struct GlyphPlace {
    int page;
    float s0, s1;
    float t0, t1;
};

// The place of a glyph code 0..86.
GlyphPlace GlyphPlaceOf(int32_t code);

// The side of the glyph artwork for cells cellSide pixels wide on a driver whose textures are at
// most maxTextureSize texels a side: the 16-px artwork up to 24-px cells, above that the
// smallest artwork at least two thirds of the cell (never magnified more than 1.5 x), at most
// 128 and at most what a page of 8 tiles across can hold; 16 when nothing bigger fits.
int ChooseGlyphArtSide(float cellSide, int32_t maxTextureSize);

// Cuts the tiles of glyph set glyphSet at the artwork side chosen for cells cellSide pixels wide
// and uploads both pages into renderer.pages (names made on first use); renderer.artSide says
// which artwork. Fast mode samples the nearest texel. Artwork the program cannot load gives the
// 16-px tiles.
void CreateGlyphTextures(RainRenderer& renderer, float cellSide, int32_t glyphSet, bool fastMode);
