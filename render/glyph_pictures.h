// The glyph pictures at every cell side the artwork is drawn with. The 16-px ones are the raw
// pictures the tile cut reads (FindGlyphPicture); the bigger ones are stored packed, the stroke
// colour then zlib-packed coverage (tools/glyphgen/README.md), and unpacked here on request.
// Finding the stored bytes is per platform: program resources on Windows, bytes compiled in
// elsewhere (resources/embed_glyph_art.cmake).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kGlyphArtSides[] = {16, 32, 64, 128};  // cell sides the artwork exists at

// A picture is 8 x 8 cells whatever their side.
constexpr int GlyphPictureSide(int cellSide) { return 8 * cellSide; }

// A big picture as the program holds it: the stroke colour (red, green, blue), then one zlib
// stream of the coverage, one byte a pixel, rows top first.
struct StoredGlyphPicture {
    const uint8_t* bytes = nullptr;
    size_t size = 0;
};

// The stored bytes of picture `name` drawn with cells of cellSide px (32, 64 or 128); empty
// when the program holds none. Defined once per platform.
StoredGlyphPicture FindStoredGlyphPicture(int name, int cellSide);

// Unpacks a stored picture into RGB bytes, each colour channel scaled by the coverage exactly as
// the generator rounds it. False, with pixels left empty, unless the stream is whole and holds
// exactly the coverage of a picture with cells of cellSide px.
bool UnpackGlyphPicture(const StoredGlyphPicture& stored, int cellSide,
                        std::vector<uint8_t>& pixels);

// The RGB bytes (rows top first, (8*cellSide)^2*3 bytes) of glyph picture `name` drawn with
// cells of cellSide px; false (and pixels left empty) when the program lacks it or it fails to
// decode.
bool LoadGlyphPicture(int name, int cellSide, std::vector<uint8_t>& pixels);
