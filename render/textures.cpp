// Uploads the glyph tiles as two pages (see textures.h). Every tile's edge texels are black, as
// the glyph pictures keep a black ring round each glyph: a tile's neighbours in the page are
// sampled exactly where its own opposite edge used to be, and with the same value.
#include "render/textures.h"

#include <cstring>
#include <iterator>
#include <vector>

#include "gl/gl.h"
#include "render/draw.h"
#include "render/glyph_pictures.h"
#include "render/glyph_tiles.h"

namespace {

// Slot rows of each page: 56 rain tiles in 8 x 8 slots, 31 letter tiles in 8 x 4.
constexpr int kPageRows[kGlyphPageCount] = {8, 4};
constexpr int kPageFirstTile[kGlyphPageCount] = {0, kFirstLetterTile};
constexpr int kPageEndTile[kGlyphPageCount] = {kFirstLetterTile, kGlyphTileCount};

// An empty page of tiles `side` texels wide: opaque black, like the tiles' edges.
std::vector<uint8_t> BlankPage(int page, int side) {
    std::vector<uint8_t> texels(
        static_cast<size_t>(kGlyphSlotsAcross) * side * kPageRows[page] * side * 4, 0);
    for (size_t k = 3; k < texels.size(); k += 4) texels[k] = 255;
    return texels;
}

// The page from the 16-px tile store, each tile's rows into its slot.
std::vector<uint8_t> PageFromTiles(int page, const GlyphTiles& store) {
    constexpr int side = 16, width = kGlyphSlotsAcross * side;
    std::vector<uint8_t> texels = BlankPage(page, side);
    for (int tile = kPageFirstTile[page]; tile < kPageEndTile[page]; ++tile) {
        const int slot = tile - kPageFirstTile[page];
        const int left = (slot % kGlyphSlotsAcross) * side, top = (slot / kGlyphSlotsAcross) * side;
        for (int row = 0; row < side; ++row)
            std::memcpy(&texels[(static_cast<size_t>(top + row) * width + left) * 4],
                        store.tiles[tile] + row * side * 4, side * 4);
    }
    return texels;
}

// The page cut straight from a picture of 8 x 8 cells `side` pixels wide, as the tile cut does it
// at 16: each tile row is a picture column read from the top down (see glyph_tiles.cpp).
std::vector<uint8_t> PageFromPicture(int page, int side, const std::vector<uint8_t>& picture,
                                     const uint8_t (&letterRgb)[3]) {
    const int width = kGlyphSlotsAcross * side, pictureSide = GlyphPictureSide(side);
    std::vector<uint8_t> texels = BlankPage(page, side);
    for (int cell = 0; cell < kPageEndTile[page] - kPageFirstTile[page]; ++cell) {
        const int cellX = side * (cell % 8), cellY = side * (cell / 8);
        const int left = (cell % kGlyphSlotsAcross) * side, top = (cell / kGlyphSlotsAcross) * side;
        for (int row = 0; row < side; ++row) {
            uint8_t* out = &texels[(static_cast<size_t>(top + row) * width + left) * 4];
            for (int column = 0; column < side; ++column, out += 4) {
                const uint8_t* pixel =
                    &picture[(static_cast<size_t>(cellY + column) * pictureSide + cellX + row) * 3];
                out[0] = pixel[0];
                out[1] = pixel[1];
                out[2] = pixel[2];
            }
        }
    }
    if (page == 1)
        for (int row = 0; row < kPageRows[page] * side; ++row)
            TintLetterTexels(&texels[static_cast<size_t>(row) * width * 4], width, letterRgb);
    return texels;
}

}  // namespace

GlyphPlace GlyphPlaceOf(int32_t code) {
    const int page = code < kFirstLetterTile ? 0 : 1;
    const int slot = code - kPageFirstTile[page];
    const float across = kGlyphSlotsAcross, down = static_cast<float>(kPageRows[page]);
    const float column = static_cast<float>(slot % kGlyphSlotsAcross);
    const float row = static_cast<float>(slot / kGlyphSlotsAcross);
    return GlyphPlace{page, column / across, (column + 1.0f) / across, row / down,
                      (row + 1.0f) / down};
}

int ChooseGlyphArtSide(float cellSide, int32_t maxTextureSize) {
    constexpr int kSmallest = kGlyphArtSides[0];
    if (!(cellSide > 24.0f)) return kSmallest;
    int chosen = kSmallest;
    for (int side : kGlyphArtSides) {
        if (side * kGlyphSlotsAcross > maxTextureSize) break;
        chosen = side;
        if (3.0f * static_cast<float>(side) >= 2.0f * cellSide) break;
    }
    return chosen;
}

void CreateGlyphTextures(RainRenderer& r, float cellSide, int32_t glyphSet, bool fastMode) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (r.pages[0] == 0) glGenTextures(kGlyphPageCount, r.pages);
    // A driver that does not answer is held to the 64 texels every OpenGL 1.1 driver allows.
    GLint maxTextureSize = 64;
    if (cellSide > 24.0f) glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
    if (r.maxArtSide > 0 && maxTextureSize > kGlyphSlotsAcross * r.maxArtSide)
        maxTextureSize = kGlyphSlotsAcross * r.maxArtSide;
    int side = ChooseGlyphArtSide(cellSide, maxTextureSize);

    std::vector<uint8_t> pages[kGlyphPageCount];
    std::vector<uint8_t> rain, letters;
    if (side != kGlyphArtSides[0] && LoadGlyphPicture(GlyphSetPictureName(glyphSet), side, rain) &&
        LoadGlyphPicture(kLetterPictureName, side, letters)) {
        pages[0] = PageFromPicture(0, side, rain, r.colors->letterRgb);
        pages[1] = PageFromPicture(1, side, letters, r.colors->letterRgb);
    } else {
        side = kGlyphArtSides[0];
        LoadGlyphTiles(r.tiles, GlyphSetPictureName(glyphSet), kLetterPictureName,
                       kGlyphPictureSide, kGlyphPictureSide);
        // The letters stand in the rain's colour; the scheme is chosen before this.
        TintLetterTiles(r.tiles, r.colors->letterRgb);
        pages[0] = PageFromTiles(0, r.tiles);
        pages[1] = PageFromTiles(1, r.tiles);
    }
    r.artSide = side;

    // Fast mode samples the nearest texel: cheaper on slow drivers, blockier when scaled.
    const GLfloat filter = fastMode ? GLfloat(GL_NEAREST) : GLfloat(GL_LINEAR);
    for (int page = 0; page < kGlyphPageCount; ++page) {
        glBindTexture(GL_TEXTURE_2D, r.pages[page]);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, kGlyphSlotsAcross * side, kPageRows[page] * side, 0,
                     GL_RGBA, GL_UNSIGNED_BYTE, pages[page].data());
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLfloat(GL_REPEAT));
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLfloat(GL_REPEAT));
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    }
    // The drawing colour tints each glyph.
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLfloat(GL_MODULATE));
}
