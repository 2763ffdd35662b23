// The glyph pictures at every artwork size as the program loads them: reduced to 16 px each tile
// shows its own glyph, glyphs keep a scaled black ring, and a lacking or broken one loads nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "render/glyph_pictures.h"

namespace {

const struct {
    int name;
    const char* file;  // the 16-px picture
    int usedCells;
    bool grey;  // red = green = blue; otherwise shades of the letter green
} kPictures[] = {{161, "glyphs_rain.raw", 56, true},
                 {162, "glyphs_letters.raw", 31, false},
                 {171, "glyphs_set_letters_digits.raw", 56, true},
                 {172, "glyphs_set_binary.raw", 56, true},
                 {173, "glyphs_set_hex.raw", 56, true}};

std::vector<uint8_t> Load(int name, int cellSide) {
    std::vector<uint8_t> pixels;
    const size_t bytes = 3u * GlyphPictureSide(cellSide) * GlyphPictureSide(cellSide);
    EXPECT_TRUE(LoadGlyphPicture(name, cellSide, pixels) && pixels.size() == bytes)
        << name << " at " << cellSide;
    pixels.resize(bytes);  // the failure is reported; what follows stays in bounds
    return pixels;
}

// A cell's green channel (the coverage, in every picture) reduced to 16 x 16 by box average.
std::vector<double> Tile16(const std::vector<uint8_t>& pixels, int cellSide, int cell) {
    const int side = GlyphPictureSide(cellSide), scale = cellSide / 16;
    std::vector<double> tile(256);
    for (int y = 0; y < cellSide; ++y)
        for (int x = 0; x < cellSide; ++x)
            tile[y / scale * 16 + x / scale] +=
                pixels[((cell / 8 * cellSide + y) * side + cell % 8 * cellSide + x) * 3 + 1];
    return tile;
}

double Correlation(const std::vector<double>& a, const std::vector<double>& b) {
    const double n = a.size();
    double sa = 0, sb = 0, ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sa += a[i], sb += b[i], ab += a[i] * b[i], aa += a[i] * a[i], bb += b[i] * b[i];
    const double spread = (n * aa - sa * sa) * (n * bb - sb * sb);
    return spread > 0 ? (n * ab - sa * sb) / std::sqrt(spread) : 0;
}

// Reduced, a big tile matches its 16-px tile at 0.98 or better; a neighbouring tile, which always
// holds another sign, at 0.91 at most (E against F): a swapped tile fails.
TEST(GlyphPictureSizes, EachBigPictureReducedTo16ShowsEveryTilesOwnGlyph) {
    constexpr double kSameGlyph = 0.95;
    for (const auto& picture : kPictures) {
        std::ifstream file(std::string(TORVEX_SET_PICTURES_DIR "/") + picture.file,
                           std::ios::binary);
        const std::vector<uint8_t> raw{std::istreambuf_iterator<char>(file), {}};
        const std::vector<uint8_t> small = Load(picture.name, 16);
        ASSERT_EQ(small, raw) << picture.file;
        for (int cellSide : kGlyphArtSides) {
            if (cellSide == 16) continue;
            SCOPED_TRACE(std::string(picture.file) + " at " + std::to_string(cellSide));
            const std::vector<uint8_t> big = Load(picture.name, cellSide);
            for (int k = 0; k < picture.usedCells; ++k) {
                const int other = k + 1 < picture.usedCells ? k + 1 : k - 1;
                const std::vector<double> reduced = Tile16(big, cellSide, k);
                EXPECT_GE(Correlation(reduced, Tile16(small, 16, k)), kSameGlyph) << "cell " << k;
                EXPECT_LT(Correlation(reduced, Tile16(small, 16, other)), kSameGlyph) << other;
            }
        }
    }
}

// Linear filtering with repeat wrapping, and a shared atlas, blend whatever lies at a tile's edge:
// a ring of cellSide / 16 pixels stays black around every glyph, and unused cells stay black.
TEST(GlyphPictureSizes, EveryGlyphKeepsItsScaledBlackRingAndItsColours) {
    std::vector<bool> letterShade(1 << 24);
    for (int v = 0; v < 256; ++v)
        letterShade[(v * 4 + 127) / 255 << 16 | (v * 235 + 127) / 255 << 8 | (v * 75 + 127) / 255] =
            true;
    for (const auto& picture : kPictures)
        for (int cellSide : kGlyphArtSides) {
            SCOPED_TRACE(std::string(picture.file) + " at " + std::to_string(cellSide));
            const std::vector<uint8_t> pixels = Load(picture.name, cellSide);
            const int side = GlyphPictureSide(cellSide), ring = cellSide / 16;
            int stray = 0, offColour = 0;
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x) {
                    const uint8_t* p = &pixels[(static_cast<size_t>(y) * side + x) * 3];
                    const int cx = x % cellSide, cy = y % cellSide;
                    const bool edge =
                        cx < ring || cy < ring || cx >= cellSide - ring || cy >= cellSide - ring;
                    const bool used = y / cellSide * 8 + x / cellSide < picture.usedCells;
                    if ((edge || !used) && (p[0] | p[1] | p[2])) ++stray;
                    if (picture.grey ? p[0] != p[1] || p[2] != p[1]
                                     : !letterShade[p[0] << 16 | p[1] << 8 | p[2]])
                        ++offColour;
                }
            EXPECT_EQ(stray, 0) << "pixels lit in a cell's ring or an unused cell";
            EXPECT_EQ(offColour, 0) << "pixels not in the picture's colour";
        }
}

TEST(GlyphPictureSizes, WhatTheProgramLacksOrCannotUnpackLoadsAsNothing) {
    std::vector<uint8_t> pixels;
    for (auto [name, side] : {std::pair{160, 16},
                              {174, 32},
                              {0, 64},
                              {161, 8},
                              {161, 48},
                              {161, 256},
                              {161, 0},
                              {161, -16}}) {
        pixels = {1, 2, 3};
        EXPECT_FALSE(LoadGlyphPicture(name, side, pixels) || !pixels.empty())
            << name << " " << side;
    }
    const StoredGlyphPicture stored = FindStoredGlyphPicture(162, 32);
    ASSERT_GT(stored.size, 100u);
    std::vector<uint8_t> flipped(stored.bytes, stored.bytes + stored.size);
    flipped[stored.size / 2] ^= 0x10;
    const struct {
        const uint8_t* bytes;
        size_t size;
        int side;
    } bad[] = {{stored.bytes, 3, 32},                 // the colour only
               {stored.bytes, stored.size / 2, 32},   // cut in half
               {stored.bytes, stored.size - 1, 32},   // the last byte cut
               {flipped.data(), flipped.size(), 32},  // one bit changed
               {stored.bytes, stored.size, 64}};      // read as bigger cells
    for (const auto& c : bad) {
        pixels = {1, 2, 3};
        EXPECT_FALSE(UnpackGlyphPicture({c.bytes, c.size}, c.side, pixels) || !pixels.empty())
            << c.size << " bytes at " << c.side;
    }
}

}  // namespace
