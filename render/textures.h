// The 87 glyph textures, named by glyph code 0..86, made once per run from the glyph tiles.
// Needs a current OpenGL context and the settings (FastMode picks the filter).
#pragma once

void CreateGlyphTextures();
