// The rain frame in array draws (see draw.h). Vertices are placed on the CPU exactly as
// glTranslatef once placed each cell: the cell's corner plus its offsets, in float. Glyphs and
// glows add their light, so drawing every glow after every glyph shows the same picture; in fast
// mode nothing blends and the cells keep their list order, later covering earlier.
#include "render/draw.h"

#include <algorithm>
#include <cmath>

#include "gl/gl.h"
#include "rain/field.h"
#include "rain/monitors.h"
#include "rain/random.h"
#include "render/textures.h"

namespace {

// Cells drawn per batch: the arrays never grow past this, whatever the field holds.
constexpr size_t kBatchCells = 8192;
// A glow is a fan of eight triangles around the cell's centre: its nine distinct vertices (the
// centre, then the rim) are sent once, and the triangles name them by index.
constexpr int kGlowVertices = 9;
constexpr int kGlowIndices = 24;

// The glow's rim: eight directions round a circle, the diagonal factor 0.7 (not 0.7071) part of
// the look. The fan closes on the first rim vertex again, the same point.
constexpr float kRim[8][2] = {
    {1.0f, 0.0f},  {0.7f, 0.7f},   {0.0f, 1.0f},  {-0.7f, 0.7f},
    {-1.0f, 0.0f}, {-0.7f, -0.7f}, {0.0f, -1.0f}, {0.7f, -0.7f},
};

// Indices for `glows` glows, each its eight triangles (centre, rim k, rim k + 1), grown once to
// the most glows a batch has had and then only read.
void GrowGlowIndices(size_t glows, std::vector<uint32_t>& indices) {
    for (size_t g = indices.size() / kGlowIndices; g < glows; ++g) {
        const uint32_t first = static_cast<uint32_t>(g * kGlowVertices);
        for (uint32_t k = 0; k < 8; ++k) {
            indices.push_back(first);
            indices.push_back(first + 1 + k);
            indices.push_back(first + 1 + (k + 1) % 8);
        }
    }
}

void AddGlyph(const RainCell& cell, const RainColors& colors, std::vector<GlyphVertex>& out) {
    const GlyphPlace place = GlyphPlaceOf(cell.code);
    const float r = cell.head ? colors.head.r : colors.trail[0];
    const float g = cell.head ? colors.head.g : colors.trail[1];
    const float b = cell.head ? colors.head.b : colors.trail[2];
    const float a = cell.head ? colors.head.a : cell.alpha;
    const float x1 = cell.x + cell.size, y1 = cell.y + cell.size;
    // Texture t runs along x and s down y: with the transposed tiles, glyphs stand upright.
    out.push_back({cell.x, cell.y, place.s1, place.t0, r, g, b, a});
    out.push_back({x1, cell.y, place.s1, place.t1, r, g, b, a});
    out.push_back({x1, y1, place.s0, place.t1, r, g, b, a});
    out.push_back({cell.x, y1, place.s0, place.t0, r, g, b, a});
}

// A soft disc around the cell, from the centre colour to the same colour fully transparent.
void AddGlow(const RainCell& cell, const RainColors& colors, std::vector<GlowVertex>& out) {
    const RainRgba& c = cell.head ? colors.headGlow : colors.trailGlow;
    const float radius = (cell.head ? 2.0f : 1.2f) * cell.size;
    const float middle = cell.size / 2.0f;
    out.push_back({cell.x + middle, cell.y + middle, c.r, c.g, c.b, c.a});
    for (int k = 0; k < 8; ++k)
        out.push_back({cell.x + (middle + kRim[k][0] * radius),
                       cell.y + (middle + kRim[k][1] * radius), c.r, c.g, c.b, 0.0f});
}

// One batch of the list: the glyphs of each page in one draw each, then all glows in one indexed
// draw.
void DrawBatch(const RainCell* first, size_t count, RainRenderer& r) {
    r.glyphs.clear();
    r.glows.clear();
    GLsizei pageVertices[kGlyphPageCount] = {};
    for (int page = 0; page < kGlyphPageCount; ++page) {
        const size_t before = r.glyphs.size();
        for (size_t k = 0; k < count; ++k)
            if (GlyphPlaceOf(first[k].code).page == page) AddGlyph(first[k], *r.colors, r.glyphs);
        pageVertices[page] = static_cast<GLsizei>(r.glyphs.size() - before);
    }
    for (size_t k = 0; k < count; ++k)
        if (first[k].glow) AddGlow(first[k], *r.colors, r.glows);

    if (!r.glyphs.empty()) {
        const GlyphVertex* v = r.glyphs.data();
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(2, GL_FLOAT, sizeof(GlyphVertex), &v->x);
        glTexCoordPointer(2, GL_FLOAT, sizeof(GlyphVertex), &v->s);
        glColorPointer(4, GL_FLOAT, sizeof(GlyphVertex), &v->r);
        GLint start = 0;
        for (int page = 0; page < kGlyphPageCount; ++page) {
            if (pageVertices[page] == 0) continue;
            glBindTexture(GL_TEXTURE_2D, r.pages[page]);
            glDrawArrays(GL_QUADS, start, pageVertices[page]);
            start += pageVertices[page];
        }
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    if (!r.glows.empty()) {
        const size_t glows = r.glows.size() / kGlowVertices;
        GrowGlowIndices(glows, r.glowIndices);
        const GlowVertex* v = r.glows.data();
        glDisable(GL_TEXTURE_2D);
        glVertexPointer(2, GL_FLOAT, sizeof(GlowVertex), &v->x);
        glColorPointer(4, GL_FLOAT, sizeof(GlowVertex), &v->r);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(glows * kGlowIndices), GL_UNSIGNED_INT,
                       r.glowIndices.data());
        glEnable(GL_TEXTURE_2D);
    }
}

}  // namespace

void PrepareRainDrawing(RainRenderer& r, const RainField& field) {
    if (field.columnCount < 1 || field.width < 1) return;
    const float size = CellSize(field.width, field.columnCount);
    // A stream shows at most the cells that fit the height, plus those its glows reach from
    // beyond the edges.
    const double rows = std::ceil(static_cast<double>(field.height) / size) + 4.0;
    const size_t perStream = static_cast<size_t>(std::min(rows, 59.0));
    const size_t most =
        static_cast<size_t>(field.columnCount) * perStream + kMaxLetters * kLetterGlyphs;
    const size_t batch = std::min(most, kBatchCells);
    r.cells.reserve(most);
    r.glyphs.reserve(batch * 4);
    r.glows.reserve(batch * kGlowVertices);
    r.glowIndices.reserve(batch * kGlowIndices);
}

void ReleaseRenderer(RainRenderer& r) {
    if (r.pages[0] != 0) glDeleteTextures(kGlyphPageCount, r.pages);
    r.pages[0] = r.pages[1] = 0;
    r.cells = {};
    r.glyphs = {};
    r.glows = {};
    r.glowIndices = {};
}

void DrawRainField(RainRenderer& r, const RainField& field) {
    ListRainCells(field, r.cells);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    for (size_t done = 0; done < r.cells.size(); done += kBatchCells)
        DrawBatch(r.cells.data() + done, std::min(kBatchCells, r.cells.size() - done), r);
}

void SetPixelProjection(int32_t x, int32_t y, int32_t width, int32_t height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, static_cast<GLdouble>(width), 0.0, static_cast<GLdouble>(height), -1.0, 1.0);
    glViewport(x, y, width, height);
    glMatrixMode(GL_MODELVIEW);
}

void DrawRainMonitors(RainRenderer& renderer, const RainMonitors& monitors) {
    // Colour only: nothing tests depth, and clearing a depth buffer the frame never reads costs
    // llvmpipe a pass over every pixel (a third of a fast frame at 1920 x 1080).
    glClear(GL_COLOR_BUFFER_BIT);
    const MonitorRect& window = monitors.bounds;
    uint32_t primaryState = randomState;
    for (int32_t k = 0; k < monitors.count; ++k) {
        const MonitorRect& m = monitors.rects[k];
        // GL counts from the window's bottom-left corner, the monitors from its top-left.
        SetPixelProjection(m.x - window.x, window.y + window.height - (m.y + m.height), m.width,
                           m.height);
        DrawRainField(renderer, monitors.fields[k]);
        if (k == 0) primaryState = randomState;
    }
    randomState = primaryState;
    glFlush();
}
