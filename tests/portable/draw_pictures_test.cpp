// The drawing as pixels: frames drawn through Mesa's off-screen library with the renderer set up
// as the saver sets it up, checked for colours, glows, orientation and the additive blend.
// Native only; without libOSMesa.so.8 it skips, or fails under CI (tests/support/dependency.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "gl/dest_alpha.h"
#include "gl/gl.h"
#include "gl/osmesa.h"
#include "rain/field.h"
#include "rain/monitors.h"
#include "render/draw.h"
#include "render/glyph_tiles.h"
#include "render/run.h"
#include "render/setup.h"
#include "settings/settings.h"
#include "tests/support/dependency.h"

namespace {

constexpr int kSide = 160;  // the screen: 10 columns of 16-pixel cells, one texel a pixel
constexpr int kColumns = 10;
constexpr float kCell = 16.0f;

using Rgb = std::array<int, 3>;

// The rain glyph with the most ink, so colour checks have strokes to look at.
int InkiestGlyphOf(const GlyphTiles& store) {
    int best = 0, bestInk = -1;
    for (int t = 0; t < kRainGlyphCount; ++t) {
        int ink = 0;
        for (int n = 0; n < kTileTexels; ++n) ink += store.tiles[t][n * 4] > 200;
        if (ink > bestInk) best = t, bestInk = ink;
    }
    return best;
}

class DrawPictures : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string error = OpenOsMesa(mesa, frame.data(), kSide, kSide);
        if (error == "cannot load libOSMesa.so.8") TORVEX_MISSING_DEPENDENCY("libOSMesa.so.8");
        ASSERT_EQ(error, "");
        settings.Size = kColumns;
    }
    void TearDown() override {
        // The fields' records belong to the tests: only the renderer is released.
        ReleaseRenderer(run->renderer);
        CloseOsMesa(mesa);
    }

    // The saver's set-up without building a field: the tests place their own records.
    void Prepare(bool fast) {
        settings.FastMode = fast ? 1 : 0;
        run->settings = settings;
        RainMonitors& rainMonitors = run->monitors;
        rainMonitors.count = 1;
        rainMonitors.bounds = rainMonitors.rects[0] = MonitorRect{0, 0, kSide, kSide};
        rainMonitors.fields[0].width = kSide;
        rainMonitors.fields[0].height = kSide;
        rainMonitors.fields[0].columnCount = kColumns;
        rainMonitors.fields[0].continuous = false;
        rainMonitors.fields[0].cycleCounter = 400;
        SetupRendererState(run->renderer, settings, kSide, kSide, kCell);
        HoldDestinationAlphaAtOne();
    }

    // Draws one frame of the given streams (and letter) and reads it back.
    void Draw(std::vector<Stream*> streams, MessageLetter* letter = nullptr) {
        for (size_t i = 0; i < streams.size(); ++i)
            streams[i]->next = i + 1 < streams.size() ? streams[i + 1] : nullptr;
        RainMonitors& rainMonitors = run->monitors;
        rainMonitors.fields[0].firstStream = streams.empty() ? nullptr : streams[0];
        rainMonitors.fields[0].letters[0] = letter;
        rainMonitors.fields[0].messageLength = letter ? 1 : 0;
        DrawRain(*run);
        glFinish();
        picture = ReadPixelsRgbTopFirst(kSide, kSide);
        ASSERT_EQ(picture.size(), static_cast<size_t>(kSide * kSide * 3));
    }

    // Pixel in column x from the left and row y from the bottom, as the drawing counts them.
    Rgb At(int x, int y) const {
        const unsigned char* p = &picture[((kSide - 1 - y) * kSide + x) * 3];
        return {p[0], p[1], p[2]};
    }
    static bool Black(const Rgb& c) { return c[0] == 0 && c[1] == 0 && c[2] == 0; }

    static Stream MakeStream(float x, float y, int cells, bool brightHead, bool fastMode,
                             int glyph) {
        Stream s{};
        s.x = x;
        s.y = y;
        s.cellCount = cells;
        s.cellSize = kCell;
        s.brightHead = brightHead;
        s.fastMode = fastMode;
        for (int i = 0; i < cells; ++i) s.glyphs[i] = glyph;
        return s;
    }

    std::vector<unsigned char> frame = std::vector<unsigned char>(kSide * kSide * 4);
    std::vector<unsigned char> picture;
    OsMesa mesa;
    Settings settings;
    std::unique_ptr<RainRun> run{new RainRun()};
    int InkiestRainGlyph() const { return InkiestGlyphOf(run->renderer.tiles); }
};

TEST_F(DrawPictures, EmptyFrameIsBlackAndHeadsAreWhiteWithAPaleBlueGlow) {
    Prepare(false);
    Draw({});
    for (size_t i = 0; i < picture.size(); ++i) ASSERT_EQ(picture[i], 0) << "byte " << i;

    const int glyph = InkiestRainGlyph();
    Stream head = MakeStream(64, 64, 1, true, false, glyph);
    Draw({&head});
    // The head cell covers x 64..79, y 64..79; its glow reaches 2 cells from its centre (72, 72).
    int whitest = 0;
    for (int y = 64; y < 80; ++y)
        for (int x = 64; x < 80; ++x) {
            const Rgb c = At(x, y);
            whitest = std::max(whitest, std::min({c[0], c[1], c[2]}));
        }
    EXPECT_GE(whitest, 250);
    for (int dx : {14, -14}) {  // inside the glow, beside the cell
        const Rgb glow = At(72 + dx, 72);
        EXPECT_GT(glow[2], 8) << dx;
        EXPECT_LE(std::abs(glow[0] - glow[1]), 1) << dx;
        EXPECT_NEAR(glow[0], 0.7 * glow[2], 2.0) << dx;
    }
    EXPECT_TRUE(Black(At(72 + 33, 72)));  // past the radius of 32
    EXPECT_TRUE(Black(At(72, 72 - 33)));
}

TEST_F(DrawPictures, TrailCellsAreGreenWithinTheirAlphaRange) {
    Prepare(false);
    const int glyph = InkiestRainGlyph();
    // Glows off for this stream, blending on: a trail texel of 255 shows as 0.8 x alpha x 255.
    Stream trail = MakeStream(32, 32, 4, false, true, glyph);
    for (int frame = 0; frame < 3; ++frame) {
        Draw({&trail});
        for (int cell = 1; cell < 4; ++cell) {
            int greenest = 0;
            for (int y = 32 + 16 * cell; y < 48 + 16 * cell; ++y)
                for (int x = 32; x < 48; ++x) {
                    const Rgb c = At(x, y);
                    ASSERT_EQ(c[0], 0);
                    ASSERT_EQ(c[2], 0);
                    greenest = std::max(greenest, c[1]);
                }
            EXPECT_GE(greenest, static_cast<int>(0.8 * 0.7 * 255) - 1) << "cell " << cell;
            EXPECT_LE(greenest, static_cast<int>(0.8 * 1.0 * 255) + 1) << "cell " << cell;
        }
        // Without a bright head, cell 0 stays dark.
        for (int y = 32; y < 48; ++y)
            for (int x = 32; x < 48; ++x) ASSERT_TRUE(Black(At(x, y)));
    }
}

TEST_F(DrawPictures, LettersShowUprightAndUnmirrored) {
    Prepare(true);  // nearest texels, no blend: the cell shows its tile's texels exactly
    const int code = 'F' - 9;
    MessageLetter letter{};
    letter.cellCount = 1;
    letter.x = 64;
    letter.y = 64;
    letter.cellSize = kCell;
    letter.fastMode = true;
    letter.glyphs[0] = code;
    Draw({}, &letter);

    const uint8_t* source = FindGlyphPicture(kLetterPictureName);
    ASSERT_NE(source, nullptr);
    const int cell = code - kFirstLetterTile;
    auto Source = [&](int column, int row) {  // the letter's cell, row 0 at its top
        const int x = 16 * (cell % 8) + column, y = 16 * (cell / 8) + row;
        return Rgb{source[(y * 128 + x) * 3], source[(y * 128 + x) * 3 + 1],
                   source[(y * 128 + x) * 3 + 2]};
    };
    int same = 0, mirrored = 0, flipped = 0;
    for (int row = 0; row < 16; ++row)
        for (int column = 0; column < 16; ++column) {
            const Rgb shown = At(64 + column, 79 - row);
            same += shown == Source(column, row);
            mirrored += shown == Source(15 - column, row);
            flipped += shown == Source(column, 15 - row);
        }
    EXPECT_EQ(same, 256);
    // The letter is asymmetric, so a mirrored or flipped drawing could not have passed.
    EXPECT_LT(mirrored, 240);
    EXPECT_LT(flipped, 240);
}

TEST_F(DrawPictures, FastModeDrawsNothingOutsideTheQuads) {
    const int glyph = InkiestRainGlyph();
    for (bool fast : {true, false}) {
        Prepare(fast);
        Stream stream = MakeStream(64, 32, 3, true, fast, glyph);
        Draw({&stream});
        int litOutside = 0;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                const bool inQuads = x >= 64 && x < 80 && y >= 32 && y < 80;
                if (!inQuads && !Black(At(x, y))) ++litOutside;
            }
        if (fast)
            EXPECT_EQ(litOutside, 0);
        else
            EXPECT_GT(litOutside, 500);  // the glows reach beyond the column
    }
}

TEST_F(DrawPictures, OverlappingGlowsAddUp) {
    Prepare(false);
    const int glyph = InkiestRainGlyph();
    Stream first = MakeStream(64, 64, 1, true, false, glyph);
    Stream second = first;
    Draw({&first});
    const Rgb one = At(72 + 14, 72);
    Draw({&first, &second});
    const Rgb two = At(72 + 14, 72);
    for (int c = 0; c < 3; ++c) {
        EXPECT_GT(two[c], one[c]) << "channel " << c;
        EXPECT_NEAR(two[c], 2 * one[c], 2) << "channel " << c;
    }
}

// Fast mode blends nothing: where cells overlap, the one later in the frame covers the earlier
// one, whichever glyph page either comes from: a new stream over an old one's tail, a letter
// falling over rain.
TEST_F(DrawPictures, InFastModeTheLaterCellCovers) {
    Prepare(true);
    const int glyph = InkiestRainGlyph();
    Stream old = MakeStream(64, 32, 3, true, true, glyph);
    Stream fresh = MakeStream(64, 32, 3, true, true, (glyph + 1) % kRainGlyphCount);
    MessageLetter letter{1, 64, 48, {'M' - 9}, kCell, true, false, false, 0};
    auto cellAt = [&](int y0) {
        std::vector<Rgb> cell;
        for (int y = y0; y < y0 + 16; ++y)
            for (int x = 64; x < 80; ++x) cell.push_back(At(x, y));
        return cell;
    };
    Draw({&fresh});
    const std::vector<Rgb> freshAlone = cellAt(64);
    Draw({}, &letter);
    const std::vector<Rgb> letterAlone = cellAt(48);
    Draw({&old}, &letter);
    EXPECT_EQ(cellAt(48), letterAlone);
    EXPECT_NE(cellAt(64), freshAlone);
    Draw({&old, &fresh});
    EXPECT_EQ(cellAt(64), freshAlone);
}

// A letter's strokes stay as sharp on big cells as on the 16-px cells of 1024 x 768: the steepest
// step between neighbouring pixels across the letter, with the artwork chosen for the cells,
// against the 16-px artwork blown up to the same cells.
TEST_F(DrawPictures, BigCellsKeepGlyphEdgesSteep) {
    auto steepest = [&](float cell, int art) {
        Prepare(false);
        run->renderer.maxArtSide = art;
        SetupRendererState(run->renderer, settings, kSide, kSide, cell);
        run->renderer.maxArtSide = 0;
        HoldDestinationAlphaAtOne();
        MessageLetter letter{1, 4, 4, {'E' - 9}, cell, true, false, false, 0};  // no glow
        Draw({}, &letter);
        int best = 0;
        for (int y = 4; y < 4 + cell; ++y)
            for (int x = 4; x + 1 < 4 + cell; ++x)
                best = std::max(best, std::abs(At(x + 1, y)[1] - At(x, y)[1]));
        return best;
    };
    const int small = steepest(1024.0f / 52, 0), big = steepest(3840.0f / 52, 0);
    const int blownUp = steepest(3840.0f / 52, 16);
    RecordProperty("steepest_1024", small);
    RecordProperty("steepest_3840", big);
    RecordProperty("steepest_3840_16px_art", blownUp);
    EXPECT_GE(big, small * 9 / 10) << "1024: " << small << ", 3840: " << big;
    EXPECT_LT(blownUp, small * 6 / 10) << "the measure cannot tell blown-up artwork";
}

// Hue in degrees (0 red, 120 green, 240 blue) and saturation of a mean colour.
std::array<double, 2> HueAndSaturation(double r, double g, double b) {
    const double hi = std::max({r, g, b}), lo = std::min({r, g, b});
    if (hi <= 0 || hi == lo) return {0, 0};
    double hue = hi == r   ? 60 * (g - b) / (hi - lo)
                 : hi == g ? 120 + 60 * (b - r) / (hi - lo)
                           : 240 + 60 * (r - g) / (hi - lo);
    if (hue < 0) hue += 360;
    return {hue, (hi - lo) / hi};
}

// Each colour choice: the trail and the landed letter show its hue, glows on, and the white head
// is still the brightest thing on screen. The hue ranges are what the names promise.
TEST_F(DrawPictures, EachColourTintsTrailsAndLettersAndKeepsHeadsBrightest) {
    const struct {
        const char* name;
        double hueLow, hueHigh, minSaturation;  // White: any hue, little saturation
        double maxSaturation;
    } colours[] = {
        {"Green", 100, 140, 0.8, 1.0}, {"Blue", 200, 235, 0.7, 1.0},   {"Red", -20, 15, 0.7, 1.0},
        {"Amber", 25, 50, 0.7, 1.0},   {"Violet", 260, 300, 0.7, 1.0}, {"White", 0, 360, 0, 0.15},
    };
    for (int choice = 0; choice < kRainColorCount; ++choice) {
        const auto& want = colours[choice];
        SCOPED_TRACE(want.name);
        settings.RainColor = choice;  // the set-up takes the scheme from the stored choice
        Prepare(false);
        const int glyph = InkiestRainGlyph();
        Stream stream = MakeStream(32, 32, 5, true, false, glyph);
        MessageLetter letter{};
        letter.cellCount = 1;
        letter.x = 112;
        letter.y = 64;
        letter.cellSize = kCell;
        letter.fastMode = true;  // its glow would only pale the stroke colour being checked
        letter.glyphs[0] = 'W' - 9;
        Draw({&stream}, &letter);

        auto meanOf = [&](int x0, int y0, int x1, int y1, int& brightest) {
            std::array<double, 3> sum{};
            int lit = 0;
            brightest = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    const Rgb c = At(x, y);
                    brightest = std::max(brightest, c[0] + c[1] + c[2]);
                    if (c[0] + c[1] + c[2] < 120) continue;  // the strokes, not the dark gaps
                    for (int k = 0; k < 3; ++k) sum[k] += c[k];
                    ++lit;
                }
            EXPECT_GT(lit, 20);
            return HueAndSaturation(sum[0], sum[1], sum[2]);
        };
        auto inRange = [&](std::array<double, 2> hs) {
            const double hue = hs[0] > 180 && want.hueLow < 0 ? hs[0] - 360 : hs[0];
            EXPECT_GE(hue, want.hueLow);
            EXPECT_LE(hue, want.hueHigh);
            EXPECT_GE(hs[1], want.minSaturation);
            EXPECT_LE(hs[1], want.maxSaturation);
        };
        int trailBrightest = 0, headBrightest = 0, letterBrightest = 0;
        inRange(meanOf(32, 48, 48, 112, trailBrightest));  // cells 1..4 of the stream
        inRange(meanOf(112, 64, 128, 80, letterBrightest));
        meanOf(32, 32, 48, 48, headBrightest);
        EXPECT_GE(headBrightest, 3 * 250);  // white strokes
        EXPECT_GT(headBrightest, trailBrightest + 60);
        EXPECT_GE(letterBrightest, 300);  // full-strength strokes, as the green letters have
    }
}

}  // namespace
