// The frame's cell list (see cells.h). Positions follow the steps the cells have always been
// placed by, one float subtraction of the cell side per cell from the top of the column, so the
// pixels they cover stay where they were.
#include "rain/cells.h"

#include "rain/field.h"
#include "rain/random.h"

namespace {

// A cell whose glyph and widest glow (twice the cell around its centre) lie wholly above the
// screen covers no pixel.
bool AboveScreen(float y, float size, int32_t height) {
    return y - 1.5f * size >= static_cast<float>(height);
}

// Cells from index `top` down to `lowest` of a column whose top edge is at `columnTop`;
// `cutBelow` ends the column at the first cell wholly below the screen.
void ListColumn(const int32_t* glyphs, int top, int lowest, float x, float columnTop, float size,
                bool fastMode, bool cutBelow, float bottomOfLowest, int32_t height,
                std::vector<RainCell>& cells) {
    float y = columnTop;
    for (int i = top; i >= lowest; --i) {
        if (cutBelow && bottomOfLowest + static_cast<float>(i + 1) * size < 0.0f) break;
        y -= size;
        const bool head = i == 0;
        float alpha = 1.0f;
        if (!head) alpha = 0.7f + 0.3f * static_cast<float>(Random()) / 32767.0f;
        const int32_t code = glyphs[i];
        // A code that names no tile (a hand-edited stored message) shows as a blank cell.
        if (code < 0 || code >= kGlyphCodeCount) continue;
        if (AboveScreen(y, size, height)) continue;
        cells.push_back(RainCell{x, y, size, code, alpha, head, !fastMode});
    }
}

}  // namespace

void ListRainCells(const RainField& field, std::vector<RainCell>& cells) {
    cells.clear();
    for (const Stream* s = field.firstStream; s != nullptr; s = s->next) {
        const float top = s->y + static_cast<float>(s->cellCount) * s->cellSize;
        ListColumn(s->glyphs, s->cellCount - 1, s->brightHead ? 0 : 1, s->x, top, s->cellSize,
                   s->fastMode, true, s->y, field.height, cells);
    }
    if (field.continuous || field.cycleCounter <= kLettersShown) return;
    for (int32_t j = 0; j < field.messageLength; ++j) {
        const MessageLetter* l = field.letters[j];
        if (l == nullptr || l->isSpace || l->erased) continue;
        const float top = l->y + static_cast<float>(l->cellCount) * l->cellSize;
        ListColumn(l->glyphs, l->cellCount - 1, 0, l->x, top, l->cellSize, l->fastMode, false, l->y,
                   field.height, cells);
    }
}
