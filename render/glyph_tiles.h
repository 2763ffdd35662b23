// The glyph tiles: two 128 x 128 RGB pictures of 8 x 8 cells cut into 87 tiles of 16 x 16 RGBA
// texels, one per glyph code. The cut is plain byte work; finding the pictures is the only
// platform-specific part (program resources on Windows, bytes compiled in elsewhere).
#pragma once
#include <cstdint>

#include "rain/field.h"
#include "settings/settings.h"

constexpr int kGlyphTileCount = kGlyphCodeCount;  // one tile per glyph code
constexpr int kFirstLetterTile = 56;              // tiles from here on come from the second picture
constexpr int kTileTexels = 16 * 16;
constexpr int kTileBytes = kTileTexels * 4;  // RGBA
constexpr int kGlyphPictureSide = 128;
constexpr int kGlyphPictureBytes = kGlyphPictureSide * kGlyphPictureSide * 3;  // 49152
constexpr int kRainPictureName = 161;  // glyph set 0, the rain glyphs
constexpr int kLetterPictureName = 162;
// The pictures of glyph sets 0..kGlyphSetCount-1: the rain glyphs, capital letters and digits,
// binary, hexadecimal. Each in the rain picture's layout, so the rain picks from any of them
// the same way.
constexpr int kGlyphSetPictureNames[] = {kRainPictureName, 171, 172, 173};

// The picture of a GlyphSet value; a value that names no set gives the rain glyphs.
int GlyphSetPictureName(int32_t glyphSet);

// The tile store: one 16 x 16 RGBA tile per glyph code (all zero until cut). The renderer keeps
// one for the run it draws.
struct GlyphTiles {
    uint8_t tiles[kGlyphTileCount][kTileBytes] = {};
};

// The bytes of glyph picture `name` (at least kGlyphPictureBytes of them), or null when the
// program holds no such picture. Defined once per platform.
const uint8_t* FindGlyphPicture(int name);

// How LoadGlyphTiles finds pictures; FindGlyphPicture unless a test points it elsewhere.
extern const uint8_t* (*glyphPictureFinder)(int name);

// Cuts pictures `first` (tiles 0..55) and `second` (tiles 56..86) into the tile store. A missing
// first picture leaves every tile as it was; a missing second one leaves tiles 56..86. A size
// above 128 in either direction reports "Texture too large" and ends the process with status 1.
void LoadGlyphTiles(GlyphTiles& store, int first, int second, int width, int height);

// Redraws the letter tiles (56..86) in stroke colour rgb: each texel keeps the share of the
// picture's green it had, so the edges stay as soft as drawn. Tiles already in that green stay
// exactly as cut.
void TintLetterTiles(GlyphTiles& store, const uint8_t (&rgb)[3]);

// The same for count RGBA texels of letter artwork anywhere (the bigger glyph artwork).
void TintLetterTexels(uint8_t* texels, int count, const uint8_t (&rgb)[3]);
