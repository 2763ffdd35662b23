// Uploads the glyph tiles as two pages (see textures.h). Every tile's edge texels are black, as
// the glyph pictures keep a black ring round each glyph: a tile's neighbours in the page are
// sampled exactly where its own opposite edge used to be, and with the same value.
#include "render/textures.h"

#include <cstring>
#include <vector>

#include "gl/gl.h"
#include "render/draw.h"
#include "render/glyph_tiles.h"
#include "settings/settings.h"

namespace {

constexpr int kSlotsAcross = 8;
constexpr int kTileSide = 16;
// Slot rows of each page: 56 rain tiles in 8 x 8 slots, 31 letter tiles in 8 x 4.
constexpr int kPageRows[kGlyphPageCount] = {8, 4};
constexpr int kPageFirstTile[kGlyphPageCount] = {0, kFirstLetterTile};
constexpr int kPageEndTile[kGlyphPageCount] = {kFirstLetterTile, kGlyphTileCount};

// One page as RGBA texels: each tile's rows into its slot, empty slots opaque black like the
// tiles' edges.
std::vector<uint8_t> PageTexels(int page) {
    const int width = kSlotsAcross * kTileSide;
    std::vector<uint8_t> texels(static_cast<size_t>(width) * kPageRows[page] * kTileSide * 4, 0);
    for (size_t k = 3; k < texels.size(); k += 4) texels[k] = 255;
    for (int tile = kPageFirstTile[page]; tile < kPageEndTile[page]; ++tile) {
        const int slot = tile - kPageFirstTile[page];
        const int left = (slot % kSlotsAcross) * kTileSide, top = (slot / kSlotsAcross) * kTileSide;
        for (int row = 0; row < kTileSide; ++row)
            std::memcpy(&texels[(static_cast<size_t>(top + row) * width + left) * 4],
                        glyphTiles[tile] + row * kTileSide * 4, kTileSide * 4);
    }
    return texels;
}

}  // namespace

GlyphPlace GlyphPlaceOf(int32_t code) {
    const int page = code < kFirstLetterTile ? 0 : 1;
    const int slot = code - kPageFirstTile[page];
    const float across = kSlotsAcross, down = static_cast<float>(kPageRows[page]);
    const float column = static_cast<float>(slot % kSlotsAcross);
    const float row = static_cast<float>(slot / kSlotsAcross);
    return GlyphPlace{page, column / across, (column + 1.0f) / across, row / down,
                      (row + 1.0f) / down};
}

void CreateGlyphTextures() {
    RainRenderer& r = rainRenderer;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (r.pages[0] == 0) glGenTextures(kGlyphPageCount, r.pages);
    LoadGlyphTiles(GlyphSetPictureName(settings.GlyphSet), kLetterPictureName, kGlyphPictureSide,
                   kGlyphPictureSide);
    // The letters stand in the rain's colour; the scheme is chosen before this.
    TintLetterTiles(r.colors->letterRgb);

    // Fast mode samples the nearest texel: cheaper on slow drivers, blockier when scaled.
    const GLfloat filter = settings.FastMode != 0 ? GLfloat(GL_NEAREST) : GLfloat(GL_LINEAR);
    for (int page = 0; page < kGlyphPageCount; ++page) {
        const std::vector<uint8_t> texels = PageTexels(page);
        glBindTexture(GL_TEXTURE_2D, r.pages[page]);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, kSlotsAcross * kTileSide, kPageRows[page] * kTileSide, 0,
                     GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLfloat(GL_REPEAT));
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLfloat(GL_REPEAT));
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    }
    // The drawing colour tints each glyph.
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLfloat(GL_MODULATE));
}
