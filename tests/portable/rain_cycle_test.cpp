// The message cycle of whole fields over many update steps: draining, letters falling and
// being wiped out, the rain returning, continuous mode, and invariants over long runs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "tests/portable/rain_support.h"

namespace {

bool OnScreen(const Stream* s, int32_t height) {
    return s->y + static_cast<float>(s->cellCount) * s->cellSize > 0.0f &&
           s->y < static_cast<float>(height);
}

std::vector<MessageLetter> LetterCopies(const RainField& field) {
    std::vector<MessageLetter> copies;
    for (int j = 0; j < field.messageLength; ++j) copies.push_back(*field.letters[j]);
    return copies;
}

// The first broken invariant of a field, or "" when all hold: as many streams as columns, each
// keeping its length, inside the screen's width, with rain glyphs; letters keeping their column
// and letter glyph, 1..14 cells, rain glyphs in the trail; the cycle count within a cycle.
std::string Violation(const TestField& t, const std::vector<int32_t>& cellCounts,
                      const std::vector<MessageLetter>& built) {
    const RainField& f = t.field;
    if (f.cycleCounter < 0 || f.cycleCounter > 600) return "cycle count";
    size_t k = 0;
    for (const Stream* s = f.firstStream; s != nullptr; s = s->next, ++k) {
        if (k >= cellCounts.size()) return "too many streams";
        if (s->cellCount != cellCounts[k]) return "stream length changed";
        if (s->x < 0.0f || s->x >= static_cast<float>(f.width)) return "stream outside the screen";
        for (int i = 0; i < s->cellCount; ++i)
            if (s->glyphs[i] < 0 || s->glyphs[i] >= 47) return "stream glyph";
    }
    if (k != cellCounts.size() || static_cast<int32_t>(k) != f.columnCount) return "stream count";
    for (int j = 0; j < f.messageLength; ++j) {
        const MessageLetter* l = f.letters[j];
        if (l->cellCount < 1 || l->cellCount > 14) return "letter length";
        if (l->x != built[j].x || l->glyphs[0] != built[j].glyphs[0])
            return "letter moved sideways";
        for (int i = 1; i < kLetterGlyphs; ++i)
            if (l->glyphs[i] < 0 || l->glyphs[i] >= 47) return "letter glyph";
    }
    return "";
}

}  // namespace

TEST(RainCycle, DrainShowMessageAndReturn) {
    const float cell = 1024.0f / 52;
    TestField t(1024, 768, 52, "THE TORVEX", false, 33);
    FixedClock clock(1000);
    const std::vector<MessageLetter> built = LetterCopies(t.field);

    t.run(325);
    EXPECT_EQ(t.field.cycleCounter, 325);
    for (int j = 0; j < 10; ++j) EXPECT_EQ(t.field.letters[j]->y, built[j].y) << "letters wait";

    // From step 301 nothing is respawned: every stream only moves down until step 550.
    std::vector<float> heights;
    for (const Stream* s : t.streams()) heights.push_back(s->y);
    t.run(1);  // 326: letters start falling
    for (int j = 0; j < 10; ++j) {
        const float expected = built[j].isSpace ? built[j].y : built[j].y - cell;
        EXPECT_EQ(t.field.letters[j]->y, expected) << j;
    }
    for (int step = 327; step <= 549; ++step) {
        t.run(1);
        size_t k = 0;
        for (const Stream* s : t.streams()) {
            EXPECT_LE(s->y, heights[k]);
            heights[k++] = s->y;
        }
    }
    EXPECT_EQ(t.field.cycleCounter, 549);
    for (const Stream* s : t.streams()) EXPECT_FALSE(OnScreen(s, 768)) << "screen drained";
    // Every letter has landed on the same row and stands alone.
    for (int j = 0; j < 10; ++j) {
        const MessageLetter* l = t.field.letters[j];
        if (l->isSpace) continue;
        EXPECT_NEAR(l->y, 768.0f - 20.0f * cell, 1e-2) << j;
        EXPECT_EQ(l->cellCount, 1);
        EXPECT_EQ(l->x, built[j].x);
        EXPECT_EQ(l->glyphs[0], built[j].glyphs[0]);
    }

    t.run(1);  // 550: one stream per column, above the screen
    size_t k = 0;
    for (const Stream* s : t.streams()) {
        EXPECT_EQ(s->x, cell * static_cast<float>(k++));
        EXPECT_GE(s->y, 768.0f);
        EXPECT_LE(s->y, 768.0f * 2.4f);
    }

    // 551..600: letters are wiped out at random and erased letters stay where they were.
    std::vector<float> letterY;
    for (int j = 0; j < 10; ++j) letterY.push_back(t.field.letters[j]->y);
    t.run(50);
    EXPECT_EQ(t.field.cycleCounter, 600);
    for (int j = 0; j < 10; ++j) EXPECT_EQ(t.field.letters[j]->y, letterY[j]);

    const std::vector<MessageLetter> before = LetterCopies(t.field);
    t.run(1);  // 601: the cycle starts over with letters drawn anew above the screen
    EXPECT_EQ(t.field.cycleCounter, 0);
    for (int j = 0; j < 10; ++j) {
        const MessageLetter* l = t.field.letters[j];
        EXPECT_FALSE(l->erased);
        EXPECT_GE(l->cellCount, 5);
        EXPECT_LE(l->cellCount, 14);
        const float cellsAbove = (l->y - 768.0f) / cell;
        EXPECT_NEAR(cellsAbove, std::round(cellsAbove), 1e-3);
        EXPECT_GE(cellsAbove, -0.001f);
        EXPECT_LE(cellsAbove, 74.001f);
        EXPECT_EQ(l->x, built[j].x);
        EXPECT_EQ(std::memcmp(l->glyphs, before[j].glyphs, sizeof l->glyphs), 0) << "not advanced";
    }
    t.run(1);
    EXPECT_EQ(t.field.cycleCounter, 1);
}

TEST(RainCycle, AboutOneLetterInEightSurvivesTheWipe) {
    // Each of 50 steps keeps a letter with chance 24/25: (24/25)^50 is about 0.13.
    TestField t(1024, 768, 52, "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDE", false, 5);
    FixedClock clock(0);
    int survivors = 0, letters = 0;
    for (int cycle = 0; cycle < 8; ++cycle) {
        t.run(600);
        for (int j = 0; j < t.field.messageLength; ++j) survivors += !t.field.letters[j]->erased;
        letters += t.field.messageLength;
        t.run(1);
    }
    EXPECT_GT(survivors, letters * 5 / 100);
    EXPECT_LT(survivors, letters * 25 / 100);
}

TEST(RainCycle, ContinuousModeNeverLeavesItsFirstState) {
    TestField t(1024, 768, 52, "THE TORVEX", true, 90);
    FixedClock clock(3);
    const std::vector<MessageLetter> built = LetterCopies(t.field);
    int onScreenAt549 = 0;
    for (int step = 1; step <= 1300; ++step) {
        t.run(1);
        ASSERT_EQ(t.field.cycleCounter, 0);
        if (step == 549)
            for (const Stream* s : t.streams()) onScreenAt549 += OnScreen(s, 768);
    }
    EXPECT_GT(onScreenAt549, 0) << "the rain never drains";
    for (int j = 0; j < 10; ++j)
        EXPECT_EQ(std::memcmp(&built[j], t.field.letters[j], sizeof(MessageLetter)), 0);
}

TEST(RainCycle, EmptyMessageStillDrainsAndReturns) {
    TestField t(800, 600, 42, "", false, 1);
    FixedClock clock(0);
    t.run(549);
    for (const Stream* s : t.streams()) EXPECT_FALSE(OnScreen(s, 600));
    t.run(52);
    EXPECT_EQ(t.field.cycleCounter, 0);
    int onScreen = 0;
    for (const Stream* s : t.streams()) onScreen += OnScreen(s, 600);
    EXPECT_GT(onScreen, 30);
}

TEST(RainCycle, InvariantsOverLongRuns) {
    struct Case {
        int32_t width, height, columns;
        const char* message;
        bool continuous;
    };
    const Case cases[] = {
        {1024, 768, 52, "THE TORVEX", false},
        {1920, 1080, 67, "ABCDEFGHIJKLMNOPQRSTUVWXYZ ABCD", false},
        {1920, 1080, 67, "", true},
        {640, 480, 1, "Q", false},
        {640, 480, 1, "", true},
        {1280, 1024, 42, "WAKE UP", false},
        {320, 200, 300, "X", false},
        {1024, 768, 52, "SHORT", true},
    };
    uint32_t seed = 0;
    for (const Case& c : cases) {
        TestField t(c.width, c.height, c.columns, c.message, c.continuous, seed);
        FixedClock clock(seed * 977);
        seed += 37;
        const std::vector<MessageLetter> built = LetterCopies(t.field);
        std::vector<int32_t> cellCounts;
        for (const Stream* s : t.streams()) cellCounts.push_back(s->cellCount);
        for (int step = 0; step < 1300; ++step) {  // two whole cycles and more
            t.run(1, 17 + step % 5);
            ASSERT_EQ(Violation(t, cellCounts, built), "") << c.message << " step " << step;
        }
    }
}
