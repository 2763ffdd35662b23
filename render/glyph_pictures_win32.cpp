// Finds a big glyph picture among the program's own resources: type "GLYPHS<cell side>",
// integer name the picture's (resources/glyph_art.rc), as Torvex.scr carries them.
#include <windows.h>

#include <cstdio>

#include "render/glyph_pictures.h"

StoredGlyphPicture FindStoredGlyphPicture(int name, int cellSide) {
    char type[16];
    std::snprintf(type, sizeof type, "GLYPHS%d", cellSide);
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(name), type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(nullptr, found);
    if (!loaded) return {};
    return {static_cast<const uint8_t*>(LockResource(loaded)), SizeofResource(nullptr, found)};
}
