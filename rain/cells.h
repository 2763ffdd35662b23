// What one frame of a field shows: its visible cells in drawing order, each with its place,
// glyph and flicker. The renderer only draws this list; the model keeps no GL.
#pragma once
#include <cstdint>
#include <vector>

struct RainField;

struct RainCell {
    float x;       // left edge, pixels from the field's left
    float y;       // bottom edge, pixels from the field's bottom
    float size;    // side of the square cell
    int32_t code;  // glyph code 0..kGlyphCodeCount-1
    float alpha;   // 1 for heads; a trail's flicker, 0.7..1.0
    bool head;     // the lowest cell of a stream with a bright head, or a message letter
    bool glow;     // drawn with a glow (every cell but in fast mode)
};

// Replaces cells with the frame's cells of field: every stream top cell first, then the letters
// while the message shows. Each trail cell takes one random number, in this order, whether it is
// listed or not: cells above the screen (glyph and glow alike) and glyph codes naming no tile
// are left out but still take theirs, so the flicker of the others does not shift. A stream's
// cells below the screen end it without a number.
void ListRainCells(const RainField& field, std::vector<RainCell>& cells);
