// The 87 glyph textures, named by glyph code 0..86, made once per run from the glyph tiles.
// Needs a current OpenGL context, the settings (FastMode picks the filter, GlyphSet the rain
// picture) and the drawing's colour scheme (displayLists.colors tints the letters).
#pragma once

void CreateGlyphTextures();
