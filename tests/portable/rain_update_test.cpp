// The update step of single streams and letters: falling and glyph refresh, the bottom edge,
// respawning into free columns, letters landing and shrinking, and seeding from the tick count.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tests/portable/rain_support.h"

namespace {

Stream MakeStream(int32_t cellCount, float y, float cellSize = 10.0f) {
    Stream s{};
    s.cellCount = cellCount;
    s.y = y;
    s.cellSize = cellSize;
    s.lengthPixels = static_cast<int32_t>(static_cast<float>(cellCount) * cellSize);
    for (int i = 0; i < kStreamGlyphs; ++i) s.glyphs[i] = 100 + i;  // not a rain glyph: traceable
    return s;
}

}  // namespace

TEST(RainUpdate, StreamFallsAndShiftsItsGlyphs) {
    // (a, b, c, d, e, ...) becomes (a, X, X, c, d, ...): glyphs stay put on the screen while the
    // head moves down; only the 1-in-20 refresh may change an entry.
    int untouched = 0;
    for (uint32_t seed = 0; seed < 256; ++seed) {
        Stream s = MakeStream(30, 500.0f);
        SeedRandom(seed);
        ASSERT_FALSE(s.advance());
        EXPECT_EQ(s.y, 490.0f);
        EXPECT_EQ(s.glyphs[0], 100);
        EXPECT_LT(s.glyphs[1], 47);
        EXPECT_EQ(s.glyphs[2], s.glyphs[1]);
        bool refreshed = false;
        for (int i = 3; i < 30; ++i) {
            if (s.glyphs[i] != 100 + i - 1) {
                EXPECT_LT(s.glyphs[i], 47) << "seed " << seed << " entry " << i;
                refreshed = true;
            }
        }
        for (int i = 30; i < kStreamGlyphs; ++i)
            EXPECT_EQ(s.glyphs[i], 100 + i);  // beyond the stream
        if (!refreshed) ++untouched;
    }
    // About 0.95^29 of the seeds replace nothing, and some always do.
    EXPECT_GT(untouched, 20);
    EXPECT_LT(untouched, 120);
}

TEST(RainUpdate, RefreshTakesTheSourceNumbersInOrder) {
    // The refresh draws ahead of the shared source for speed; it must still use the numbers of
    // Random() in order and leave the source just after the last one it used.
    for (uint32_t seed = 0; seed < 256; seed += 17) {
        for (int32_t cells : {30, 31, 37, 59}) {
            Stream s = MakeStream(cells, 500.0f);
            int32_t expected[kStreamGlyphs];
            std::memcpy(expected, s.glyphs, sizeof expected);
            SeedRandom(seed);
            expected[1] = Random() % 47;
            for (int i = 1; i < cells; ++i)
                if (Random() % 20 == 0) expected[i] = Random() % 47;
            for (int i = cells - 1; i >= 2; --i) expected[i] = expected[i - 1];
            const int following = Random();

            SeedRandom(seed);
            s.advance();
            EXPECT_EQ(std::memcmp(s.glyphs, expected, sizeof expected), 0) << seed << " " << cells;
            EXPECT_EQ(Random(), following) << seed << " " << cells;
        }
    }
}

TEST(RainUpdate, StreamLeavesOnlyBelowTheBottomEdge) {
    struct Case {
        float y;
        bool gone;
    };
    const Case cases[] = {
        {-300.0f, false},  // top exactly on the bottom edge: moves once more
        {-300.5f, true},
        {-299.0f, false},
        {-1e9f, true},
    };
    for (const Case& c : cases) {
        Stream s = MakeStream(30, c.y);
        SeedRandom(5);
        const uint32_t state = randomState;
        EXPECT_EQ(s.advance(), c.gone) << c.y;
        if (c.gone) {
            EXPECT_EQ(s.y, c.y);
            EXPECT_EQ(s.glyphs[1], 101);
            EXPECT_EQ(randomState, state);  // a gone stream takes no numbers
        } else {
            EXPECT_EQ(s.y, c.y - 10.0f);
        }
    }
}

TEST(RainUpdate, RespawnOnlyIntoColumnsNotStillEntering) {
    // One column, so every try picks it; `other` stands in that column.
    struct Case {
        float otherX;
        float otherY;
        bool respawned;
    };
    const Case cases[] = {
        {0.0f, 399.5f, true},    // its top (y + 300) is below H = 700: column free
        {0.0f, 400.0f, true},    // exactly on the top edge: free
        {0.0f, 400.5f, false},   // still sticks out above: busy
        {0.99f, 450.0f, false},  // less than a pixel away: same column
        {1.0f, 450.0f, true},    // a whole pixel away: another column
    };
    for (const Case& c : cases) {
        RainField field{};
        field.width = 100;
        field.height = 700;
        field.columnCount = 1;
        Stream gone = MakeStream(30, -5000.0f);
        Stream other = MakeStream(30, c.otherY);
        other.x = c.otherX;
        gone.x = 0.0f;
        field.firstStream = &gone;
        gone.next = &other;
        SeedRandom(11);
        field.respawn(&gone);
        if (c.respawned) {
            EXPECT_EQ(gone.x, 0.0f);
            EXPECT_EQ(gone.y, 700.0f);
        } else {
            EXPECT_EQ(gone.y, -5000.0f) << c.otherX << " " << c.otherY;
            // Five tries, one number each.
            const uint32_t after = randomState;
            SeedRandom(11);
            for (int i = 0; i < 5; ++i) Random();
            EXPECT_EQ(after, randomState);
        }
        EXPECT_EQ(gone.cellCount, 30);
        EXPECT_EQ(gone.glyphs[0], 100);
    }
}

TEST(RainUpdate, RespawnGivesUpAfterFiveBusyTries) {
    // Two columns, column 0 busy: a respawned stream always lands in column 1, unless all five
    // tries pick column 0 (1 in 32), when it stays below the screen.
    int stayed = 0;
    for (uint32_t seed = 0; seed < 256; ++seed) {
        RainField field{};
        field.width = 200;
        field.height = 700;
        field.columnCount = 2;
        Stream gone = MakeStream(30, -5000.0f);
        Stream blocker = MakeStream(30, 650.0f);
        gone.x = 100.0f;
        blocker.x = 0.0f;
        field.firstStream = &blocker;
        blocker.next = &gone;
        SeedRandom(seed);
        field.respawn(&gone);
        if (gone.y == -5000.0f) {
            ++stayed;
            EXPECT_EQ(gone.x, 100.0f);
        } else {
            EXPECT_EQ(gone.x, 100.0f);
            EXPECT_EQ(gone.y, 700.0f);
        }
    }
    EXPECT_GT(stayed, 0);
    EXPECT_LT(stayed, 24);
}

TEST(RainUpdate, LetterFallsToTheMiddleRowAndShrinks) {
    // H 768, 52 columns on 1024: a letter 10 cells above the top lands after 30 steps, 20 cells
    // below the top; then 14 cells shrink to 1 in 13 steps, and nothing changes afterwards.
    const float cell = 1024.0f / 52;
    MessageLetter l{};
    l.cellSize = cell;
    l.landingHeight = 768 / 2;
    l.y = 768.0f + 10.0f * cell;
    l.cellCount = 14;
    for (int i = 0; i < kLetterGlyphs; ++i) l.glyphs[i] = i == 0 ? 60 : 100 + i;
    SeedRandom(42);
    int falls = 0;
    for (float before = l.y; falls < 100; before = l.y) {
        l.advance(false);
        if (l.y == before) break;
        ++falls;
        EXPECT_EQ(l.glyphs[2], l.glyphs[1]);
    }
    EXPECT_EQ(falls, 30);
    EXPECT_NEAR(l.y, 768.0f - 20.0f * cell, 1e-3);
    EXPECT_EQ(l.cellCount, 13);  // the step that found it landed already shrank it
    for (int step = 0; step < 20; ++step) l.advance(false);
    EXPECT_EQ(l.cellCount, 1);
    EXPECT_EQ(l.glyphs[0], 60);
    EXPECT_NEAR(l.y, 768.0f - 20.0f * cell, 1e-3);

    MessageLetter landed = l;
    landed.cellCount = 14;
    int steps = 0;
    while (landed.cellCount > 1 && steps < 50) {
        landed.advance(false);
        ++steps;
    }
    EXPECT_EQ(steps, 13);
}

TEST(RainUpdate, EachStepIsSeededFromTheLowBitsOfTheTickCount) {
    // Ticks with the same low 8 bits give the same step; others a different one.
    auto stepAt = [](uint32_t tick) {
        TestField t(1024, 768, 52, "", true, 7);
        t.field.update(tick);
        std::vector<float> heads;
        for (const Stream* s : t.streams()) heads.push_back(s->glyphs[1] + s->y);
        return heads;
    };
    EXPECT_EQ(stepAt(0x12345), stepAt(0x45));
    EXPECT_EQ(stepAt(0xFFFFFF00), stepAt(0));
    EXPECT_NE(stepAt(0x45), stepAt(0x46));
    EXPECT_NE(stepAt(0x80), stepAt(0));  // all eight bits count
}
