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
        RainField field{};
        field.height = 600;
        Stream stream{};
        MessageLetter letter{};
        const int32_t glyphs[3] = {5, 6, c.topCode};
        if (c.letter) {
            letter = MessageLetter{3, 40, c.y, {}, 20, c.fast, false, false, 300};
            std::copy(glyphs, glyphs + 3, letter.glyphs);
            field.letters[0] = &letter;
            field.messageLength = 1;
            field.cycleCounter = 400;
        } else {
            stream.cellCount = 3;
            stream.x = 40;
            stream.y = c.y;
            stream.cellSize = 20;
            stream.brightHead = c.brightHead;
            stream.fastMode = c.fast;
            std::copy(glyphs, glyphs + 3, stream.glyphs);
            field.firstStream = &stream;
        }
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

TEST(RainCells, LettersFollowTheStreamsWhileTheMessageShows) {
    struct Case {
        bool continuous;
        int cycle;
        bool isSpace, erased;
        size_t letterCells;
    };
    const Case cases[] = {
        {false, 400, false, false, 1}, {false, 325, false, false, 0}, {true, 400, false, false, 0},
        {false, 400, true, false, 0},  {false, 400, false, true, 0},
    };
    for (const Case& c : cases) {
        RainField field{};
        field.height = 600;
        Stream stream{};
        stream.cellCount = 1;
        stream.cellSize = 20;
        stream.y = 100;
        stream.brightHead = true;
        MessageLetter letter{1, 200, 280, {56}, 20, false, c.isSpace, c.erased, 300};
        field.firstStream = &stream;
        field.continuous = c.continuous;
        field.cycleCounter = c.cycle;
        field.messageLength = 1;
        field.letters[0] = &letter;
        std::vector<RainCell> cells;
        ListRainCells(field, cells);
        ASSERT_EQ(cells.size(), 1 + c.letterCells) << c.cycle;
        if (c.letterCells) {
            EXPECT_EQ(cells.back().code, 56);  // after the stream
        }
    }
}

}  // namespace
