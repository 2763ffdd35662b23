// The rain field: one falling stream of glyphs per screen column and one letter per message
// character. Positions are screen pixels as 32-bit floats, origin bottom-left, y upward.
// Built once per run (build.cpp), advanced by update steps (update.cpp), drawn by draw.cpp.
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
    void draw();
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
    void draw();
};

struct RainField {
    int32_t columnCount;
    Stream* firstStream;
    MessageLetter* letters[kMaxLetters];
    bool continuous;
    char message[34];
    int32_t cycleCounter;
    int32_t messageLength;

    // Screen size the field was built for (the settings' ScrWidth and ScrHeight).
    int32_t width;
    int32_t height;

    void build(int32_t columnCount, bool fastMode, bool continuous, const char* message);
    void update();
    void respawn(Stream* stream);
    void release();  // frees every stream and letter (the saver keeps them to the end)
};

// The one field of the run.
extern RainField rainField;

// Display lists shared by every stream and letter, compiled by buildDisplayLists() (draw.cpp)
// for cells of side displayListCellSize, which RainField::build sets to its own cell size first.
extern uint32_t glyphList;
extern uint32_t trailGlowList;
extern uint32_t headGlowList;
extern float displayListCellSize;
void buildDisplayLists();
