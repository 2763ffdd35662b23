// The rain field: one falling stream of glyphs per screen column and one letter per message
// character. Positions are screen pixels as 32-bit floats, origin bottom-left, y upward.
// Built once per run (build.cpp), advanced by update steps (update.cpp), listed cell by cell for
// each frame (cells.cpp); the drawing itself is the renderer's (render/).
#pragma once
#include <cstdint>

constexpr int kCycleLength = 601;   // update steps in one message cycle
constexpr int kDrainStart = 300;    // from the step after this one streams are not respawned
constexpr int kLettersShown = 325;  // letters advance and are drawn above this count
constexpr int kReplaceStep = 550;   // streams are re-placed above the screen at this step
constexpr int kMaxLetters = 32;
constexpr int kStreamGlyphs = 100;
constexpr int kLetterGlyphs = 15;
constexpr int kRainGlyphCount = 47;  // rain glyph codes are 0..46
constexpr int kGlyphCodeCount = 87;  // glyph codes 0..86 name a tile and its texture

struct Stream {
    Stream* next;
    int32_t cellCount;  // 30..59, fixed
    float x;            // left edge of the column
    float y;            // bottom edge of the head cell (cell 0)
    int32_t glyphs[kStreamGlyphs];
    float cellSize;
    bool brightHead;
    bool fastMode;
    int32_t lengthPixels;  // cellCount * cellSize truncated

    bool advance();  // false after a step; true (nothing changed) once below the screen
};

struct MessageLetter {
    int32_t cellCount;  // 5..14 at the start of a cycle, shrinking to 1 once landed
    float x;
    float y;
    int32_t glyphs[kLetterGlyphs];  // entry 0 is the letter itself
    float cellSize;
    bool fastMode;
    bool isSpace;  // also set for a character that names no glyph: a blank column
    bool erased;
    int32_t landingHeight;  // H / 2: the letter falls while its y is above this

    void advance(bool erase);
};

struct RainField {
    int32_t columnCount;
    Stream* firstStream;
    MessageLetter* letters[kMaxLetters];
    bool continuous;
    char message[34];
    int32_t cycleCounter;
    int32_t messageLength;

    // Size in pixels of the rectangle the field was built for.
    int32_t width;
    int32_t height;

    // Builds the field for a width x height rectangle; a column count outside 1..width is brought
    // into that range here, and nowhere else.
    void build(int32_t width, int32_t height, int32_t columnCount, bool fastMode, bool continuous,
               const char* message);
    // One update step: reseeds the random source from the host's tick count, then steps.
    void update(uint32_t tick);
    // The step alone, taking numbers where the random source stands (further fields of a run).
    void step();
    void respawn(Stream* stream);
    void release();  // frees every stream and letter (the saver keeps them to the end)
};

// The side of one cell when width pixels hold columnCount columns: the one place it is computed.
float CellSize(int32_t width, int32_t columnCount);

// The column count a field is built with: a count outside 1..width is brought into that range
// (no division by zero, no columns narrower than a pixel). The one place it is clamped.
int32_t ClampColumnCount(int32_t size, int32_t width);

// The columns a window windowWidth pixels wide shows so that its cells are as wide as those of
// `size` columns across a screen screenWidth wide (a preview, a window of its own):
// size x windowWidth / screenWidth, in 1..windowWidth whatever the inputs (1 for a width below
// 1). A screen that reports no width counts as the window's own width.
int32_t WindowColumnCount(int32_t size, int32_t windowWidth, int32_t screenWidth);
