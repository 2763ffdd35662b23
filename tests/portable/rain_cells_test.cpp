// The frame's cell list: which cells of a column are listed, where, in what order, and the
// trail flicker's random numbers, listed or not. No GL.
#include <gtest/gtest.h>

#include <vector>

#include "rain/cells.h"
#include "rain/field.h"
#include "rain/random.h"

namespace {

// The random numbers taken since seeding with `seed`.
int NumbersTaken(uint32_t seed) {
    const uint32_t now = randomState;
    SeedRandom(seed);
    int n = 0;
    for (; n < 100 && randomState != now; ++n) Random();
    return n;
}

TEST(RainCells, ColumnsListTopFirstAndTakeANumberPerTrailCell) {
    struct Case {
        const char* what;
        float y;  // the column's lowest cell's bottom edge
        bool brightHead, fast, letter;
        int32_t topCode;
        std::vector<float> listedY;  // bottom edges, top first
        int numbers;
    };
    const Case cases[] = {
        {"on screen with head", 100, true, false, false, 46, {140, 120, 100}, 2},
        {"without head", 100, false, false, false, 46, {140, 120}, 2},
        {"head's top on the bottom edge", -20, true, false, false, 46, {20, 0, -20}, 2},
        {"head below the screen", -30, true, false, false, 46, {10, -10}, 2},
        {"wholly below the screen", -70, true, false, false, 46, {}, 0},
        {"fast mode", 100, true, true, false, 46, {140, 120, 100}, 2},
        // Glyph and glow above the screen: left out, the number still taken.
        {"top cell above the screen", 590, true, false, false, 46, {610, 590}, 2},
        {"whole column above the screen", 700, true, false, false, 46, {}, 2},
        {"a code naming no tile", 100, true, false, false, 87, {120, 100}, 2},
        // Letters have no bottom-edge cut.
        {"a letter far below", -500, true, false, true, 46, {-460, -480, -500}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int32_t glyphs[3] = {5, 6, c.topCode};
        Stream stream{nullptr, 3, 40, c.y, {5, 6, c.topCode}, 20, c.brightHead, c.fast, 60};
        MessageLetter letter{3, 40, c.y, {5, 6, c.topCode}, 20, c.fast, false, false, 300};
        RainField field{
            1,  c.letter ? nullptr : &stream, {&letter}, false, {}, 400, c.letter ? 1 : 0, 1000,
            600};
        SeedRandom(7);
        std::vector<RainCell> cells;
        ListRainCells(field, cells);
        EXPECT_EQ(NumbersTaken(7), c.numbers);
        ASSERT_EQ(cells.size(), c.listedY.size());
        for (size_t k = 0; k < cells.size(); ++k) {
            EXPECT_EQ(cells[k].x, 40.0f);
            EXPECT_EQ(cells[k].y, c.listedY[k]);
            EXPECT_EQ(cells[k].code, glyphs[static_cast<int>(c.listedY[k] - c.y) / 20]);
            EXPECT_EQ(cells[k].head, cells[k].code == 5);
            EXPECT_EQ(cells[k].glow, !c.fast);
            EXPECT_TRUE(cells[k].head ? cells[k].alpha == 1.0f
                                      : cells[k].alpha >= 0.7f && cells[k].alpha <= 1.0f);
        }
    }
}

// Letters come after the streams, only while the message shows, never a space or an erased one.
TEST(RainCells, LettersFollowTheStreamsWhileTheMessageShows) {
    const struct {
        bool continuous;
        int cycle;
        bool isSpace, erased, listed;
    } cases[] = {{false, 400, false, false, true},
                 {false, 325, false, false, false},
                 {true, 400, false, false, false},
                 {false, 400, true, false, false},
                 {false, 400, false, true, false}};
    for (const auto& c : cases) {
        Stream stream{nullptr, 1, 0, 100, {5}, 20, true, false, 20};
        MessageLetter letter{1, 200, 280, {56}, 20, false, c.isSpace, c.erased, 300};
        RainField field{1, &stream, {&letter}, c.continuous, {}, c.cycle, 1, 1000, 600};
        std::vector<RainCell> cells;
        ListRainCells(field, cells);
        ASSERT_EQ(cells.size(), c.listed ? 2u : 1u) << c.cycle;
        EXPECT_EQ(cells.back().code, c.listed ? 56 : 5);
    }
}

}  // namespace
