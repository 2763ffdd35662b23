// Uploads every glyph tile as its own 16 x 16 RGBA texture, named by its tile index so that a
// glyph code can be bound directly. Relies on the tile cut (glyph_tiles.h) and the GL table.
#include "render/textures.h"

#include "gl/gl.h"
#include "rain/field.h"
#include "render/glyph_tiles.h"
#include "settings/settings.h"

namespace {
// Reserved so the names 1..87 are marked used; the drawing binds by tile index, never by these.
GLuint textureNames[kGlyphTileCount];
}  // namespace

void CreateGlyphTextures() {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(kGlyphTileCount, textureNames);
    LoadGlyphTiles(GlyphSetPictureName(settings.GlyphSet), kLetterPictureName, kGlyphPictureSide,
                   kGlyphPictureSide);
    // The letters stand in the rain's colour; the drawing's scheme is chosen before this.
    TintLetterTiles(displayLists.colors->letterRgb);

    // Fast mode samples the nearest texel: cheaper on slow drivers, blockier when scaled.
    const GLfloat filter = settings.FastMode != 0 ? GLfloat(GL_NEAREST) : GLfloat(GL_LINEAR);
    for (GLuint a = 0; a < kGlyphTileCount; ++a) {
        // Tile 0 goes into texture object 0, the default texture: glyph code 0 binds it.
        glBindTexture(GL_TEXTURE_2D, a);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, glyphTiles[a]);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLfloat(GL_REPEAT));
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLfloat(GL_REPEAT));
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        // Context state, set with every tile all the same: the drawing colour tints each glyph.
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLfloat(GL_MODULATE));
    }
}
