// Construction of the rain field: placement of streams and letters, the order and number of
// random draws, glyph codes, and the guards against column counts and messages out of range.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tests/portable/rain_support.h"

TEST(RainBuild, StreamsFillEveryColumnAndDrawInOrder) {
    const float cell = 1024.0f / 52;
    EXPECT_NEAR(cell, 19.692308f, 1e-5);
    for (uint32_t seed : {0u, 1u, 77u, 255u}) {
        TestField t(1024, 768, 52, "THE TORVEX", false, seed);
        const std::vector<Stream*> streams = t.streams();
        ASSERT_EQ(streams.size(), 52u);
        EXPECT_EQ(t.field.columnCount, 52);
        EXPECT_EQ(t.field.cycleCounter, 0);
        EXPECT_EQ(t.field.width, 1024);
        EXPECT_EQ(t.field.height, 768);

        // The first stream: column, height and length are the first three draws.
        SeedRandom(seed);
        const int column = Random() % 52;
        const int heightDraw = Random();
        const int countDraw = Random();
        const Stream* first = streams[0];
        EXPECT_EQ(first->x, static_cast<float>(column) * cell);
        EXPECT_EQ(first->y, static_cast<float>(768.0 * heightDraw / 32767.0));
        EXPECT_EQ(first->cellCount, 30 + countDraw % 30);
        for (int i = 0; i < first->cellCount; ++i) EXPECT_EQ(first->glyphs[i], Random() % 47);
        EXPECT_EQ(first->brightHead, (Random() & 1) != 0);
        // The second stream starts anywhere up to twice the screen height.
        EXPECT_EQ(streams[1]->y, static_cast<float>(2.0 * 768 * Random() / 32767.0));

        for (size_t k = 0; k < streams.size(); ++k) {
            const Stream* s = streams[k];
            if (k > 0) {
                EXPECT_EQ(s->x, static_cast<float>(k) * cell);
            }
            EXPECT_GE(s->y, 0.0f);
            EXPECT_LE(s->y, k == 0 ? 768.0f : 1536.0f);
            EXPECT_GE(s->cellCount, 30);
            EXPECT_LE(s->cellCount, 59);
            EXPECT_EQ(s->cellSize, cell);
            EXPECT_EQ(s->lengthPixels, static_cast<int32_t>(s->cellCount * cell));
            EXPECT_FALSE(s->fastMode);
            for (int i = 0; i < s->cellCount; ++i)
                EXPECT_LT(static_cast<uint32_t>(s->glyphs[i]), 47u);
        }
    }
}

TEST(RainBuild, TakesExactlyTheNamedRandomNumbers) {
    // Filling the letters' unused glyph entries must not take numbers: the generator state after
    // building equals the state after the named draws alone.
    for (uint32_t seed = 0; seed < 256; seed += 51) {
        TestField t(1920, 1080, 67, "A MESSAGE", false, seed);
        int draws = 1;  // the first stream's column
        for (const Stream* s : t.streams()) draws += 2 + s->cellCount + 1;
        for (int j = 0; j < t.field.messageLength; ++j)
            draws += 2 + t.field.letters[j]->cellCount - 1;
        const uint32_t after = randomState;
        SeedRandom(seed);
        for (int i = 0; i < draws; ++i) Random();
        EXPECT_EQ(after, randomState) << "seed " << seed;
    }
}

TEST(RainBuild, LengthInWholePixels) {
    // 45 cells of 19.692308 pixels: 886.15, truncated.
    bool seen = false;
    for (uint32_t seed = 0; seed < 256 && !seen; ++seed) {
        TestField t(1024, 768, 52, "", false, seed);
        for (const Stream* s : t.streams())
            if (s->cellCount == 45) {
                EXPECT_EQ(s->lengthPixels, 886);
                seen = true;
            }
    }
    EXPECT_TRUE(seen);
}

TEST(RainBuild, LettersAreCentredAboveTheScreen) {
    struct Case {
        int32_t columns;
        const char* message;
        int32_t firstColumn;
    };
    const Case cases[] = {
        {52, "THE TORVEX", 21},  // columns 21..30
        {52, "ABCDEFGHI", 22},   // 9 characters: 22..30
        {52, "Q", 26},
        {1, "Q", 0},
        {10, "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDE",
         -10},  // longer than the screen: runs off both sides
    };
    for (const Case& c : cases) {
        TestField t(1024, 768, c.columns, c.message, false, 9);
        const float cell = 1024.0f / static_cast<float>(c.columns);
        ASSERT_EQ(t.field.messageLength, static_cast<int32_t>(std::strlen(c.message)));
        EXPECT_STREQ(t.field.message, c.message);
        for (int j = 0; j < t.field.messageLength; ++j) {
            const MessageLetter* l = t.field.letters[j];
            EXPECT_EQ(l->x, static_cast<float>(c.firstColumn + j) * cell) << c.message << " " << j;
            const float cellsAbove = (l->y - 768.0f) / cell;
            EXPECT_GE(cellsAbove, -0.001f);
            EXPECT_LE(cellsAbove, 74.001f);
            EXPECT_NEAR(cellsAbove, std::round(cellsAbove), 1e-3);
            EXPECT_GE(l->cellCount, 5);
            EXPECT_LE(l->cellCount, 14);
            EXPECT_FALSE(l->erased);
            EXPECT_EQ(l->cellSize, cell);
            for (int i = 1; i < kLetterGlyphs; ++i)
                EXPECT_LT(static_cast<uint32_t>(l->glyphs[i]), 47u);
        }
        for (int j = t.field.messageLength; j < kMaxLetters; ++j)
            EXPECT_EQ(t.field.letters[j], nullptr);
    }
}

TEST(RainBuild, LetterGlyphCodes) {
    // Capitals name tiles 56..81; a space keeps its column; bytes that name no tile show nothing.
    TestField t(1024, 768, 52, "AMZ \x7e\xe9\x01!", false, 3, true);
    struct Expect {
        int code;
        bool blank;
    };
    const Expect expected[] = {{56, false}, {68, false}, {81, false}, {23, true},
                               {0, true},   {0, true},   {0, true},   {24, false}};
    ASSERT_EQ(t.field.messageLength, 8);
    for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(t.field.letters[j]->glyphs[0], expected[j].code) << j;
        EXPECT_EQ(t.field.letters[j]->isSpace, expected[j].blank) << j;
        EXPECT_TRUE(t.field.letters[j]->fastMode);
    }
}

TEST(RainBuild, OutOfRangeInputIsBroughtIntoRange) {
    struct Case {
        int32_t width;
        int32_t columns;
        const char* message;
        int32_t streams;
        int32_t letters;
    };
    const Case cases[] = {
        {1024, 0, "AB", 1, 2},      {1024, -40, "AB", 1, 2},
        {300, 5000, "", 300, 0},  // no column narrower than a pixel
        {1024, 52, nullptr, 52, 0}, {1024, 52, "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJ", 52, 31},
        {0, 52, "A", 1, 1},  // no screen width: still one column, no division by 0
    };
    for (const Case& c : cases) {
        TestField t(c.width, 768, c.columns, c.message);
        EXPECT_EQ(t.field.columnCount, c.streams);
        EXPECT_EQ(static_cast<int32_t>(t.streams().size()), c.streams);
        EXPECT_EQ(t.field.messageLength, c.letters);
        EXPECT_EQ(std::strlen(t.field.message), static_cast<size_t>(c.letters));
        for (const Stream* s : t.streams())
            EXPECT_TRUE(std::isfinite(s->x) && std::isfinite(s->cellSize));
    }
}
