// Cuts the two glyph pictures into the tile store. Relies on FindGlyphPicture (per platform) and,
// for the one fatal error, on the error box.
#include "render/glyph_tiles.h"

#include <cstdlib>
#include <cstring>

#include "base/error_box.h"
#include "rain/colors.h"

const uint8_t* (*glyphPictureFinder)(int name) = FindGlyphPicture;

namespace {

// Tiles are the cells transposed: each run of 16 texels is one picture column read from the top
// down. The drawn quad maps texture t along screen x and s down screen y, so the transposition
// is what makes every glyph show upright and unmirrored.
void CutCell(const uint8_t* picture, int cell, uint8_t* tile) {
    const int cellX = 16 * (cell % 8);
    const int cellY = 16 * (cell / 8);
    for (int n = 0; n < kTileTexels; ++n) {
        const int x = cellX + n / 16;
        const int y = cellY + n % 16;
        const uint8_t* pixel = picture + (y * kGlyphPictureSide + x) * 3;
        uint8_t* texel = tile + n * 4;
        texel[0] = pixel[0];
        texel[1] = pixel[1];
        texel[2] = pixel[2];
        texel[3] = 255;
    }
}

// Cuts cells 0, 1, ... of a picture into tiles firstTile..endTile-1.
void CutPicture(const uint8_t* picture, int firstTile, int endTile, GlyphTiles& store) {
    for (int tile = firstTile; tile < endTile; ++tile)
        CutCell(picture, tile - firstTile, store.tiles[tile]);
}

[[noreturn]] void TextureTooLarge() {
    ShowErrorBox("Error Loading Texture", "Texture too large");
    std::exit(1);
}

}  // namespace

void LoadGlyphTiles(GlyphTiles& store, int first, int second, int width, int height) {
    // The cut always reads 128 x 128 x 3 bytes; the size is only checked, never used.
    if (width > kGlyphPictureSide || height > kGlyphPictureSide) TextureTooLarge();

    const uint8_t* picture = glyphPictureFinder(first);
    if (!picture) return;
    CutPicture(picture, 0, kFirstLetterTile, store);

    picture = glyphPictureFinder(second);
    if (!picture) return;
    CutPicture(picture, kFirstLetterTile, kGlyphTileCount, store);
}

int GlyphSetPictureName(int32_t glyphSet) {
    static_assert(sizeof kGlyphSetPictureNames / sizeof kGlyphSetPictureNames[0] == kGlyphSetCount,
                  "one picture per glyph set");
    return kGlyphSetPictureNames[ChoiceOrDefault(glyphSet, kGlyphSetCount)];
}

void TintLetterTexels(uint8_t* texels, int count, const uint8_t (&rgb)[3]) {
    if (std::memcmp(rgb, kLetterPictureGreen, sizeof rgb) == 0) return;
    const int green = kLetterPictureGreen[1];
    for (int n = 0; n < count; ++n) {
        uint8_t* texel = texels + n * 4;
        // The green channel carries the coverage best: it is the stroke's strongest.
        const int coverage = texel[1] < green ? texel[1] : green;
        for (int c = 0; c < 3; ++c)
            texel[c] = static_cast<uint8_t>((rgb[c] * coverage + green / 2) / green);
    }
}

void TintLetterTiles(GlyphTiles& store, const uint8_t (&rgb)[3]) {
    for (int tile = kFirstLetterTile; tile < kGlyphTileCount; ++tile)
        TintLetterTexels(store.tiles[tile], kTileTexels, rgb);
}
