// Finds a glyph picture among the program's own resources (type "TEXTURE", integer name), the
// way Torvex.scr carries them (resources/torvex.rc). Kept beside the tile cut in the core so
// every Windows program that cuts tiles links on its own; one without the resources finds none.
#include <windows.h>

#include "render/glyph_tiles.h"

const uint8_t* FindGlyphPicture(int name) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(name), "TEXTURE");
    if (!found) return nullptr;
    // A resource too short for the cut would be read past its end: treat it as missing.
    if (SizeofResource(nullptr, found) < static_cast<DWORD>(kGlyphPictureBytes)) return nullptr;
    HGLOBAL loaded = LoadResource(nullptr, found);
    if (!loaded) return nullptr;
    return static_cast<const uint8_t*>(LockResource(loaded));
}
