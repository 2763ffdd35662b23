// Loads glyph pictures at any artwork size: the 16-px ones through the tile cut's finder, the
// bigger ones unpacked with zlib (linked statically on Windows, so Torvex.scr stays one file).
#include "render/glyph_pictures.h"

#include <zlib.h>

#include <iterator>

#include "render/glyph_tiles.h"

namespace {

constexpr int kColourBytes = 3;
constexpr int kLargestCellSide = kGlyphArtSides[std::size(kGlyphArtSides) - 1];

}  // namespace

bool UnpackGlyphPicture(const StoredGlyphPicture& stored, int cellSide,
                        std::vector<uint8_t>& pixels) {
    pixels.clear();
    if (cellSide <= 0 || cellSide > kLargestCellSide || !stored.bytes) return false;
    if (stored.size <= static_cast<size_t>(kColourBytes)) return false;
    const size_t count =
        static_cast<size_t>(GlyphPictureSide(cellSide)) * GlyphPictureSide(cellSide);

    // uncompress2 succeeds only on a whole stream whose checksum matches; a stream that would
    // unpack to more than the buffer holds fails too, so only the exact size is left to check.
    std::vector<uint8_t> coverage(count);
    uLongf unpacked = static_cast<uLongf>(count);
    uLong packed = static_cast<uLong>(stored.size - kColourBytes);
    if (uncompress2(coverage.data(), &unpacked, stored.bytes + kColourBytes, &packed) != Z_OK ||
        unpacked != count)
        return false;

    // Every pixel's channel is (colour * coverage + 127) / 255: one table per channel.
    uint8_t shade[kColourBytes][256];
    for (int c = 0; c < kColourBytes; ++c)
        for (int v = 0; v < 256; ++v)
            shade[c][v] = static_cast<uint8_t>((stored.bytes[c] * v + 127) / 255);
    pixels.resize(count * kColourBytes);
    uint8_t* out = pixels.data();
    for (size_t i = 0; i < count; ++i, out += kColourBytes) {
        const uint8_t v = coverage[i];
        out[0] = shade[0][v];
        out[1] = shade[1][v];
        out[2] = shade[2][v];
    }
    return true;
}

bool LoadGlyphPicture(int name, int cellSide, std::vector<uint8_t>& pixels) {
    pixels.clear();
    if (cellSide == kGlyphArtSides[0]) {
        const uint8_t* raw = glyphPictureFinder(name);
        if (!raw) return false;
        pixels.assign(raw, raw + kGlyphPictureBytes);
        return true;
    }
    const StoredGlyphPicture stored = FindStoredGlyphPicture(name, cellSide);
    return stored.bytes && UnpackGlyphPicture(stored, cellSide, pixels);
}
