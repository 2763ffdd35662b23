// The glyph tiles: two 128 x 128 RGB pictures of 8 x 8 cells cut into 87 tiles of 16 x 16 RGBA
// texels, one per glyph code. The cut is plain byte work; finding the pictures is the only
// platform-specific part (program resources on Windows, bytes compiled in elsewhere).
#pragma once
#include <cstdint>

#include "rain/field.h"

constexpr int kGlyphTileCount = kGlyphCodeCount;  // one tile per glyph code
constexpr int kFirstLetterTile = 56;              // tiles from here on come from the second picture
constexpr int kTileTexels = 16 * 16;
constexpr int kTileBytes = kTileTexels * 4;  // RGBA
constexpr int kGlyphPictureSide = 128;
constexpr int kGlyphPictureBytes = kGlyphPictureSide * kGlyphPictureSide * 3;  // 49152
constexpr int kRainPictureName = 161;
constexpr int kLetterPictureName = 162;

// The tile store (all zero until cut) and the buffer each picture is copied into before cutting.
extern uint8_t glyphTiles[kGlyphTileCount][kTileBytes];
extern uint8_t glyphSource[kGlyphPictureBytes];

// The bytes of glyph picture `name` (at least kGlyphPictureBytes of them), or null when the
// program holds no such picture. Defined once per platform.
const uint8_t* FindGlyphPicture(int name);

// How LoadGlyphTiles finds pictures; FindGlyphPicture unless a test points it elsewhere.
extern const uint8_t* (*glyphPictureFinder)(int name);

// Cuts pictures `first` (tiles 0..55) and `second` (tiles 56..86) into the tile store. A missing
// first picture leaves every tile as it was; a missing second one leaves tiles 56..86. A size
// above 128 in either direction reports "Texture too large" and ends the process with status 1.
void LoadGlyphTiles(int first, int second, int width, int height);
