// Checks the committed glyph pictures against the layout the tile cut relies on:
// size, grey-level rain signs, the letter green, black unused cells and clean cell margins.
// The picture paths come from CMake (TORVEX_RAIN_PICTURE_PATH, TORVEX_LETTER_PICTURE_PATH,
// TORVEX_SET_PICTURES_DIR for the glyph sets).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr int kSide = 128;
constexpr int kCell = 16;
constexpr size_t kPictureBytes = kSide * kSide * 3;

struct Picture {
    std::vector<uint8_t> bytes;
    const uint8_t* at(int cellIndex, int x, int y) const {
        int px = (cellIndex % 8) * kCell + x, py = (cellIndex / 8) * kCell + y;
        return &bytes[(static_cast<size_t>(py) * kSide + px) * 3];
    }
};

Picture Read(const char* path) {
    std::ifstream in(path, std::ios::binary);
    Picture p;
    p.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return p;
}

// Sum of the green channel over a cell, and its centre of mass.
struct Ink {
    double total = 0, x = 0, y = 0;
};

Ink InkOf(const Picture& p, int cellIndex) {
    Ink ink;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            double v = p.at(cellIndex, x, y)[1];
            ink.total += v;
            ink.x += v * x;
            ink.y += v * y;
        }
    if (ink.total > 0) {
        ink.x /= ink.total;
        ink.y /= ink.total;
    }
    return ink;
}

bool CellBlack(const Picture& p, int cellIndex) {
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            for (int c = 0; c < 3; ++c)
                if (p.at(cellIndex, x, y)[c] != 0) return false;
    return true;
}

// Linear filtering with repeat wrapping blends a tile's opposite edges, so the
// outermost ring of every cell must stay black.
bool BorderBlack(const Picture& p, int cellIndex) {
    for (int i = 0; i < kCell; ++i)
        for (auto [x, y] : {std::pair{i, 0}, {i, kCell - 1}, {0, i}, {kCell - 1, i}})
            for (int c = 0; c < 3; ++c)
                if (p.at(cellIndex, x, y)[c] != 0) return false;
    return true;
}

class GlyphArt : public ::testing::Test {
protected:
    void SetUp() override {
        rain = Read(TORVEX_RAIN_PICTURE_PATH);
        letters = Read(TORVEX_LETTER_PICTURE_PATH);
        ASSERT_EQ(rain.bytes.size(), kPictureBytes) << TORVEX_RAIN_PICTURE_PATH;
        ASSERT_EQ(letters.bytes.size(), kPictureBytes) << TORVEX_LETTER_PICTURE_PATH;
    }
    Picture rain, letters;
};

TEST_F(GlyphArt, RainSignsAreGreyOnBlackInTheirCells) {
    int maxGrey = 0;
    for (size_t i = 0; i < kPictureBytes; i += 3) {
        ASSERT_EQ(rain.bytes[i], rain.bytes[i + 1]) << "pixel " << i / 3;
        ASSERT_EQ(rain.bytes[i + 1], rain.bytes[i + 2]) << "pixel " << i / 3;
        maxGrey = std::max<int>(maxGrey, rain.bytes[i]);
    }
    EXPECT_EQ(maxGrey, 255);
    for (int k = 0; k < 64; ++k) {
        if (k >= 56) {
            EXPECT_TRUE(CellBlack(rain, k)) << "cell " << k;
            continue;
        }
        EXPECT_GT(InkOf(rain, k).total, 255.0 * 10) << "cell " << k << " is (nearly) empty";
        EXPECT_TRUE(BorderBlack(rain, k)) << "cell " << k;
    }
}

TEST_F(GlyphArt, RainVariantsAndHeavyDrawingsRelateToTheirOriginals) {
    // Cells 24-30 are the shapes of 16-22 with small differences: close, never equal.
    for (int k = 24; k <= 30; ++k) {
        double diff = 0;
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                diff += std::abs(rain.at(k, x, y)[1] - rain.at(k - 8, x, y)[1]);
        double ink = InkOf(rain, k - 8).total;
        EXPECT_GT(diff, 0) << "cell " << k << " equals cell " << k - 8;
        EXPECT_LT(diff, 0.35 * ink) << "cell " << k << " is not a variant of cell " << k - 8;
    }
    // Cells 32-55 are cells 0-23 with heavier strokes, shifted a pixel or two.
    for (int k = 0; k < 24; ++k) {
        Ink light = InkOf(rain, k), heavy = InkOf(rain, 32 + k);
        EXPECT_GT(heavy.total, 1.15 * light.total) << "cell " << 32 + k;
        double shift = std::hypot(heavy.x - light.x, heavy.y - light.y);
        EXPECT_GE(shift, 0.8) << "cell " << 32 + k;
        EXPECT_LE(shift, 2.6) << "cell " << 32 + k;
    }
}

TEST_F(GlyphArt, LettersAreOneGreenScaledByCoverage) {
    // Every pixel is the stroke green (4, 235, 75) times some coverage; nothing else.
    std::set<std::tuple<int, int, int>> shades;
    for (int v = 0; v <= 255; ++v)
        shades.insert({(v * 4 + 127) / 255, (v * 235 + 127) / 255, (v * 75 + 127) / 255});
    for (size_t i = 0; i < kPictureBytes; i += 3) {
        std::tuple<int, int, int> rgb{letters.bytes[i], letters.bytes[i + 1], letters.bytes[i + 2]};
        ASSERT_TRUE(shades.count(rgb))
            << "pixel " << i / 3 << " is not a shade of the letter green";
    }
    for (int k = 0; k < 64; ++k) {
        if (k >= 31) {
            EXPECT_TRUE(CellBlack(letters, k)) << "cell " << k;
            continue;
        }
        EXPECT_TRUE(BorderBlack(letters, k)) << "cell " << k;
        // The letters A-Z carry full strokes; the thin at sign may stop just short.
        int brightest = 0;
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                brightest = std::max<int>(brightest, letters.at(k, x, y)[1]);
        if (k < 26)
            EXPECT_EQ(brightest, 235) << "letter " << char('A' + k);
        else
            EXPECT_GE(brightest, 220) << "symbol cell " << k;
    }
}

TEST_F(GlyphArt, CapitalsShareCapLineAndBaseline) {
    // A message reads as one line only if the letters stand on one baseline; J and Q
    // may reach below it.
    auto solidRows = [&](int k) {
        int first = -1, last = -1;
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                if (letters.at(k, x, y)[1] >= 118) {
                    if (first < 0) first = y;
                    last = y;
                }
        return std::pair{first, last};
    };
    auto [capTop, baseline] = solidRows(7);  // H
    EXPECT_GE(baseline - capTop, 10);
    for (int k = 0; k < 26; ++k) {
        auto [top, bottom] = solidRows(k);
        char letter = char('A' + k);
        EXPECT_EQ(top, capTop) << letter;
        if (letter == 'J' || letter == 'Q')
            EXPECT_GE(bottom, baseline) << letter;
        else
            EXPECT_EQ(bottom, baseline) << letter;
    }
}

// The glyph sets share the rain picture's layout: grey-level signs on black, ink in cells 0-55
// within a black ring, grid row 7 black, and the rain's variations: cells 24-30 close to, never
// equal to, the light cell of the same sign, heavy cells heavier and shifted. Cell k draws sign
// k mod (number of signs), so in the binary and hex sets cell 32+k draws the sign of cell k, as
// in the rain picture.
TEST(GlyphSets, EachSetHasTheRainPicturesLayoutAndVariations) {
    const struct {
        const char* path;
        int signs;
    } sets[] = {
        {TORVEX_SET_PICTURES_DIR "/glyphs_set_letters_digits.raw", 36},
        {TORVEX_SET_PICTURES_DIR "/glyphs_set_binary.raw", 2},
        {TORVEX_SET_PICTURES_DIR "/glyphs_set_hex.raw", 16},
    };
    for (const auto& set : sets) {
        SCOPED_TRACE(set.path);
        const Picture p = Read(set.path);
        ASSERT_EQ(p.bytes.size(), kPictureBytes);
        for (size_t i = 0; i < kPictureBytes; i += 3) {
            ASSERT_EQ(p.bytes[i], p.bytes[i + 1]) << "pixel " << i / 3;
            ASSERT_EQ(p.bytes[i + 1], p.bytes[i + 2]) << "pixel " << i / 3;
        }
        for (int k = 0; k < 64; ++k) {
            if (k >= 56) {
                EXPECT_TRUE(CellBlack(p, k)) << "cell " << k;
                continue;
            }
            EXPECT_GT(InkOf(p, k).total, 255.0 * 10) << "cell " << k << " is (nearly) empty";
            EXPECT_TRUE(BorderBlack(p, k)) << "cell " << k;
        }
        for (int k = 24; k <= 30; ++k) {
            const int light = k % set.signs;
            if (light == k) continue;  // a sign drawn only narrow
            double diff = 0;
            for (int y = 0; y < kCell; ++y)
                for (int x = 0; x < kCell; ++x)
                    diff += std::abs(p.at(k, x, y)[1] - p.at(light, x, y)[1]);
            EXPECT_GT(diff, 0) << "cell " << k;
            EXPECT_LT(diff, 0.35 * InkOf(p, light).total) << "cell " << k;
        }
        for (int k = 32; k < 56; ++k) {
            const int light = k % set.signs;
            if (light >= 24) continue;  // only heavy drawings of it
            const Ink base = InkOf(p, light), heavy = InkOf(p, k);
            // Wide capitals are narrowed to leave room for the shift, so a little less gain
            // than the rain signs' 1.15.
            EXPECT_GT(heavy.total, 1.1 * base.total) << "cell " << k;
            const double shift = std::hypot(heavy.x - base.x, heavy.y - base.y);
            EXPECT_GE(shift, 0.8) << "cell " << k;
            EXPECT_LE(shift, 2.6) << "cell " << k;
        }
    }
}

}  // namespace
