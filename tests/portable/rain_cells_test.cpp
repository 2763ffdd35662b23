// The frame's cell list: which cells of a column are listed, where, in what order, and the
// trail flicker's random numbers, listed or not. No GL.
#include <gtest/gtest.h>

#include <vector>

#include "rain/cells.h"
#include "rain/field.h"
#include "rain/random.h"

namespace {

// A field holding just the given stream and letter, 600 pixels high, cells of 20.
struct OneColumn {
    RainField field{};
    Stream stream{};
    MessageLetter letter{};
    OneColumn() {
        field.height = 600;
        field.width = 1000;
        field.columnCount = 50;
        stream.cellCount = 3;
        stream.x = 40;
        stream.cellSize = 20;
        stream.glyphs[0] = 5;
        stream.glyphs[1] = 6;
        stream.glyphs[2] = 46;
        letter.x = 200;
        letter.cellSize = 20;
        letter.glyphs[0] = 56;
        letter.glyphs[1] = 3;
        letter.glyphs[2] = 4;
    }
};

// The random numbers taken since seeding with `seed`.
int NumbersTaken(uint32_t seed) {
    const uint32_t now = randomState;
    SeedRandom(seed);
    for (int n = 0; n < 1000; ++n) {
        if (randomState == now) return n;
        Random();
    }
    return -1;
}

TEST(RainCells, ColumnsListTopFirstAndTakeANumberPerTrailCell) {
    struct Case {
        const char* what;
        float y;  // the stream's head (cell 0) bottom edge; nothing for a letter-only case
        bool brightHead;
        bool fast;
        int32_t code2;               // glyph of the top cell
        std::vector<float> listedY;  // bottom edges, top first
        std::vector<int32_t> listedCodes;
        int numbers;
    };
    const Case cases[] = {
        {"on screen with head", 100, true, false, 46, {140, 120, 100}, {46, 6, 5}, 2},
        {"on screen without head", 100, false, false, 46, {140, 120}, {46, 6}, 2},
        {"head's top exactly on the bottom edge",
         -20,
         true,
         false,
         46,
         {20, 0, -20},
         {46, 6, 5},
         2},
        {"head below the screen", -30, true, false, 46, {10, -10}, {46, 6}, 2},
        {"wholly below the screen", -70, true, false, 46, {}, {}, 0},
        {"fast mode", 100, true, true, 46, {140, 120, 100}, {46, 6, 5}, 2},
        // Glyph and glow of the top cell above the screen: left out, its number still taken.
        {"top cell above the screen", 590, true, false, 46, {610, 590}, {6, 5}, 2},
        {"whole column above the screen", 700, true, false, 46, {}, {}, 2},
        {"a code naming no tile", 100, true, false, 87, {120, 100}, {6, 5}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OneColumn one;
        one.stream.y = c.y;
        one.stream.brightHead = c.brightHead;
        one.stream.fastMode = c.fast;
        one.stream.glyphs[2] = c.code2;
        one.field.firstStream = &one.stream;
        SeedRandom(7);
        std::vector<RainCell> cells;
        ListRainCells(one.field, cells);
        EXPECT_EQ(NumbersTaken(7), c.numbers);
        ASSERT_EQ(cells.size(), c.listedY.size());
        for (size_t k = 0; k < cells.size(); ++k) {
            EXPECT_EQ(cells[k].x, 40.0f);
            EXPECT_EQ(cells[k].y, c.listedY[k]);
            EXPECT_EQ(cells[k].size, 20.0f);
            EXPECT_EQ(cells[k].code, c.listedCodes[k]);
            EXPECT_EQ(cells[k].head, c.listedCodes[k] == 5);
            EXPECT_EQ(cells[k].glow, !c.fast);
            if (cells[k].head)
                EXPECT_EQ(cells[k].alpha, 1.0f);
            else
                EXPECT_TRUE(cells[k].alpha >= 0.7f && cells[k].alpha <= 1.0f) << cells[k].alpha;
        }
    }
}

TEST(RainCells, LettersFollowTheStreamsWhileTheMessageShows) {
    struct Case {
        const char* what;
        bool continuous;
        int cycle;
        int cellCount;
        float y;
        bool isSpace, erased;
        size_t letterCells;
    };
    const Case cases[] = {
        {"landed", false, 400, 1, 280, false, false, 1},
        {"before the message shows", false, 325, 1, 280, false, false, 0},
        {"continuous", true, 400, 1, 280, false, false, 0},
        // No bottom-edge cut for letters: all three cells, however low.
        {"falling far below", false, 326, 3, -500, false, false, 3},
        {"a space", false, 400, 1, 280, true, false, 0},
        {"erased", false, 400, 1, 280, false, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OneColumn one;
        one.stream.y = 100;
        one.stream.brightHead = true;
        one.field.firstStream = &one.stream;
        one.field.continuous = c.continuous;
        one.field.cycleCounter = c.cycle;
        one.field.messageLength = 1;
        one.field.letters[0] = &one.letter;
        one.letter.cellCount = c.cellCount;
        one.letter.y = c.y;
        one.letter.isSpace = c.isSpace;
        one.letter.erased = c.erased;
        std::vector<RainCell> cells;
        ListRainCells(one.field, cells);
        ASSERT_EQ(cells.size(), 3 + c.letterCells);
        EXPECT_EQ(cells[2].code, 5);  // the stream comes first
        if (c.letterCells == 0) continue;
        EXPECT_EQ(cells.back().code, 56);
        EXPECT_TRUE(cells.back().head);
        EXPECT_EQ(cells.back().x, 200.0f);
        EXPECT_EQ(cells.back().y, c.y);
    }
}

// Cells are placed by one float subtraction per cell from the column's top, as the matrix stack
// placed them: cell sides that are not exact in binary keep their rounding.
TEST(RainCells, PositionsStepDownFromTheColumnTopInFloat) {
    OneColumn one;
    one.stream.cellCount = 30;
    one.stream.cellSize = 1024.0f / 52.0f;
    one.stream.y = 3.3f;
    one.stream.brightHead = true;
    for (int i = 0; i < 30; ++i) one.stream.glyphs[i] = i;
    one.field.height = 768;
    one.field.firstStream = &one.stream;
    std::vector<RainCell> cells;
    ListRainCells(one.field, cells);
    ASSERT_EQ(cells.size(), 30u);
    float y = one.stream.y + 30.0f * one.stream.cellSize;
    for (const RainCell& cell : cells) {
        y -= one.stream.cellSize;
        EXPECT_EQ(cell.y, y);
    }
    EXPECT_EQ(cells.back().code, 0);
}

}  // namespace
