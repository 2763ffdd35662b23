// Cost of drawing the rain: one frame's calls issued into the no-op GL table (our CPU share),
// and whole frames rendered by Mesa's llvmpipe beside a bare loop that draws the same field the
// way it used to be drawn, a handful of calls per cell (display lists, a texture per tile, every
// cell down to the bottom of the screen), straight to Mesa's functions. Native only; needs
// libOSMesa.so.8 for the second group. FullFrameByLook compares the colour and glyph-set choices.
#include <benchmark/benchmark.h>

#include <chrono>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "gl/dest_alpha.h"
#include "gl/gl.h"
#include "gl/gl_null.h"
#include "gl/osmesa.h"
#include "rain/cells.h"
#include "rain/field.h"
#include "rain/monitors.h"
#include "rain/random.h"
#include "render/draw.h"
#include "render/glyph_tiles.h"
#include "render/run.h"
#include "render/setup.h"
#include "settings/settings.h"

namespace {

// The run every benchmark draws; large, so not on the stack.
RainRun& run = *new RainRun();

// A run as the saver has it a few seconds in (mid-cycle, rain on a full screen), started through
// the run API with the GL state set up.
void BuildField(int width, int height, int columns, bool fast) {
    FinishRain(run);
    Settings settings;
    settings.Size = columns;
    settings.FastMode = fast ? 1 : 0;
    settings.Continuous = 0;
    const MonitorRect screen{0, 0, width, height};
    StartRain(run, settings, &screen, 1, 77, 0, 0);
    // step(), not update(): the field must be the same in every run, whatever the clock.
    for (int step = 0; step < 150; ++step) run.monitors.fields[0].step();
}

void FrameCallsThroughNoOpTable(benchmark::State& state) {
    const int columns = static_cast<int>(state.range(0));
    const bool fast = state.range(1) != 0;
    FillGlTableWithNoOps();
    BuildField(1920, 1080, columns, fast);
    for (auto _ : state) DrawRain(run);
    FinishRain(run);
}
BENCHMARK(FrameCallsThroughNoOpTable)
    ->ArgNames({"columns", "fast"})
    ->Args({52, 0})
    ->Args({67, 0})
    ->Args({52, 1})
    ->Args({67, 1})
    ->Unit(benchmark::kMicrosecond);

// The cell-by-cell pattern: the glyph quad and the two glows compiled into display lists, and
// one texture per tile, as the drawing once had them.
struct BareLists {
    GLuint glyph, trailGlow, headGlow;
    GLuint textures[kGlyphTileCount];
};

GLuint CompileGlow(GLfloat cell, GLfloat radius, RainRgba centre) {
    static const GLfloat rim[9][2] = {{1, 0},        {0.7f, 0.7f},  {0, 1},
                                      {-0.7f, 0.7f}, {-1, 0},       {-0.7f, -0.7f},
                                      {0, -1},       {0.7f, -0.7f}, {1, 0}};
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLE_FAN);
    glColor4f(centre.r, centre.g, centre.b, centre.a);
    glVertex2f(cell / 2, cell / 2);
    for (const auto& d : rim) {
        glColor4f(centre.r, centre.g, centre.b, 0.0f);
        glVertex2f(cell / 2 + d[0] * radius, cell / 2 + d[1] * radius);
    }
    glEnd();
    glEndList();
    return list;
}

BareLists CompileBareLists(GLfloat c, bool fast) {
    BareLists lists{};
    lists.glyph = glGenLists(1);
    glNewList(lists.glyph, GL_COMPILE);
    glBegin(GL_QUADS);
    glTexCoord2i(1, 0);
    glVertex2f(0, 0);
    glTexCoord2i(1, 1);
    glVertex2f(c, 0);
    glTexCoord2i(0, 1);
    glVertex2f(c, c);
    glTexCoord2i(0, 0);
    glVertex2f(0, c);
    glEnd();
    glEndList();
    lists.trailGlow = CompileGlow(c, 1.2f * c, run.renderer.colors->trailGlow);
    lists.headGlow = CompileGlow(c, 2.0f * c, run.renderer.colors->headGlow);
    glGenTextures(kGlyphTileCount, lists.textures);
    const GLfloat filter = fast ? GLfloat(GL_NEAREST) : GLfloat(GL_LINEAR);
    for (int a = 0; a < kGlyphTileCount; ++a) {
        glBindTexture(GL_TEXTURE_2D, lists.textures[a]);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     run.renderer.tiles.tiles[a]);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    }
    return lists;
}

// The cells the old drawing drew: the same list without leaving out those above the screen.
std::vector<RainCell> CellsDrawnCellByCell() {
    RainField tall = run.monitors.fields[0];
    tall.height = INT_MAX / 4;
    std::vector<RainCell> cells;
    ListRainCells(tall, cells);
    return cells;
}

struct BareGl {
    decltype(glTable.glClear) clear = glTable.glClear;
    decltype(glTable.glFlush) flush = glTable.glFlush;
    decltype(glTable.glFinish) finish = glTable.glFinish;
    decltype(glTable.glPushMatrix) push = glTable.glPushMatrix;
    decltype(glTable.glPopMatrix) pop = glTable.glPopMatrix;
    decltype(glTable.glTranslatef) translate = glTable.glTranslatef;
    decltype(glTable.glBindTexture) bind = glTable.glBindTexture;
    decltype(glTable.glColor4f) colour = glTable.glColor4f;
    decltype(glTable.glCallList) call = glTable.glCallList;
    decltype(glTable.glEnable) enable = glTable.glEnable;
    decltype(glTable.glDisable) disable = glTable.glDisable;
};

void DrawBare(const BareGl& gl, const BareLists& lists, const std::vector<RainCell>& cells,
              bool fast) {
    const RainColors& colors = *run.renderer.colors;
    gl.clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    bool inColumn = false;
    float columnX = 0.0f, lastY = 0.0f;
    for (const RainCell& c : cells) {
        // A new column pushes and moves to its top, then each cell steps down one side.
        if (!inColumn || c.x != columnX || c.y != lastY - c.size) {
            if (inColumn) gl.pop();
            gl.push();
            gl.translate(c.x, c.y + c.size, 0.0f);
            columnX = c.x;
            inColumn = true;
        }
        lastY = c.y;
        gl.bind(GL_TEXTURE_2D, lists.textures[c.code]);
        gl.translate(0.0f, -c.size, 0.0f);
        if (c.head)
            gl.colour(colors.head.r, colors.head.g, colors.head.b, colors.head.a);
        else
            gl.colour(colors.trail[0], colors.trail[1], colors.trail[2], c.alpha);
        gl.call(lists.glyph);
        if (!fast) {
            gl.disable(GL_TEXTURE_2D);
            gl.call(c.head ? lists.headGlow : lists.trailGlow);
            gl.enable(GL_TEXTURE_2D);
        }
    }
    if (inColumn) gl.pop();
    gl.flush();
}

// Opens an off-screen picture of width x height for a benchmark, or marks it skipped.
bool OpenForBenchmark(benchmark::State& state, OsMesa& mesa, std::vector<unsigned char>& pixels,
                      int width, int height) {
    pixels.resize(static_cast<size_t>(width) * height * 4);
    const std::string error = OpenOsMesa(mesa, pixels.data(), width, height);
    if (error.empty()) return true;
    state.SkipWithError(error.c_str());
    for (auto _ : state) {}
    return false;
}

// args: width, height, columns, fast. Each iteration draws one frame of ours and one of the bare
// loop, alternating which goes first, so both see the same machine load; the counters give the
// frame rate of each and the ratio of their times.
void FullFrameThroughMesa(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const int columns = static_cast<int>(state.range(2));
    const bool fast = state.range(3) != 0;
    OsMesa mesa;
    std::vector<unsigned char> pixels;
    if (!OpenForBenchmark(state, mesa, pixels, width, height)) return;
    BuildField(width, height, columns, fast);
    HoldDestinationAlphaAtOne();
    const BareLists lists = CompileBareLists(CellSize(width, columns), fast);
    const std::vector<RainCell> cells = CellsDrawnCellByCell();
    const BareGl gl;
    auto timeFrame = [&](bool bare) {
        const auto start = std::chrono::steady_clock::now();
        if (bare)
            DrawBare(gl, lists, cells, fast);
        else
            DrawRain(run);
        gl.finish();  // the frame is only drawn once llvmpipe has finished it
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    // llvmpipe compiles its shader variants on first use: keep that out of the timing.
    for (int warmUp = 0; warmUp < 3; ++warmUp) timeFrame(false), timeFrame(true);

    double ours = 0.0, bare = 0.0;
    bool bareFirst = false;
    for (auto _ : state) {
        if (bareFirst) bare += timeFrame(true);
        ours += timeFrame(false);
        if (!bareFirst) bare += timeFrame(true);
        bareFirst = !bareFirst;
    }
    const double frames = static_cast<double>(state.iterations());
    state.counters["ours_fps"] = frames / ours;
    state.counters["bare_fps"] = frames / bare;
    state.counters["ours/bare"] = ours / bare;
    FinishRain(run);
    CloseOsMesa(mesa);
}
BENCHMARK(FullFrameThroughMesa)
    ->ArgNames({"w", "h", "columns", "fast"})
    ->Args({640, 480, 52, 0})
    ->Args({640, 480, 52, 1})
    ->Args({1920, 1080, 52, 0})
    ->Args({1920, 1080, 52, 1})
    ->Args({1920, 1080, 67, 0})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(4.0)
    ->UseRealTime();

// The built field drawn `frames` frames a turn set up by `first`, then by `second`, by turns, so
// both see the same machine load; the set-ups are outside the timing, and so is a first round
// (llvmpipe compiles its shader variants on first use). Returns the two total times.
template <typename First, typename Second>
std::pair<double, double> TimeByTurns(benchmark::State& state, int frames, First first,
                                      Second second) {
    auto timeTurn = [frames] {
        const auto start = std::chrono::steady_clock::now();
        for (int f = 0; f < frames; ++f) {
            DrawRain(run);
            glFinish();  // the frame is only drawn once llvmpipe has finished it
        }
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    first();
    timeTurn();
    second();
    timeTurn();
    std::pair<double, double> times{0.0, 0.0};
    for (auto _ : state) {
        first();
        times.first += timeTurn();
        second();
        times.second += timeTurn();
    }
    return times;
}

// args: RainColor, GlyphSet. Whole frames by llvmpipe at 1024 x 768, 52 columns, glows on: the
// same field in the chosen look and in the default look by turns (textures remade for each
// turn). The colour changes only constants and the glyph set only texels: the ratio should be 1.
void FullFrameByLook(benchmark::State& state) {
    constexpr int kWidth = 1024, kHeight = 768, kFramesPerTurn = 4;
    OsMesa mesa;
    std::vector<unsigned char> pixels;
    if (!OpenForBenchmark(state, mesa, pixels, kWidth, kHeight)) return;
    BuildField(kWidth, kHeight, 52, false);
    auto useLook = [](int32_t color, int32_t glyphs) {
        run.settings.RainColor = color;
        run.settings.GlyphSet = glyphs;
        SetupRendererState(run.renderer, run.settings, kWidth, kHeight, CellSize(kWidth, 52));
        HoldDestinationAlphaAtOne();
    };
    const int32_t color = static_cast<int32_t>(state.range(0));
    const int32_t glyphs = static_cast<int32_t>(state.range(1));
    const auto [chosen, standard] = TimeByTurns(
        state, kFramesPerTurn, [&] { useLook(color, glyphs); }, [&] { useLook(0, 0); });
    const double frames = static_cast<double>(state.iterations()) * kFramesPerTurn;
    state.counters["look_fps"] = frames / chosen;
    state.counters["default_fps"] = frames / standard;
    state.counters["look/default"] = chosen / standard;
    useLook(0, 0);
    FinishRain(run);
    CloseOsMesa(mesa);
}
BENCHMARK(FullFrameByLook)
    ->ArgNames({"color", "glyphs"})
    ->Args({1, 0})
    ->Args({4, 3})
    ->Args({3, 2})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(4.0)
    ->UseRealTime();

// args: columns, fast. Whole frames by llvmpipe at 3840 x 2160: the same field drawn from the
// artwork chosen for its cells and from the 16-px artwork by turns (textures remade each turn).
void FullFrameByArt(benchmark::State& state) {
    constexpr int kWidth = 3840, kHeight = 2160, kFramesPerTurn = 2;
    OsMesa mesa;
    std::vector<unsigned char> pixels;
    if (!OpenForBenchmark(state, mesa, pixels, kWidth, kHeight)) return;
    const int columns = static_cast<int>(state.range(0));
    BuildField(kWidth, kHeight, columns, state.range(1) != 0);
    auto useArt = [&](int32_t maxSide) {
        run.renderer.maxArtSide = maxSide;
        SetupRendererState(run.renderer, run.settings, kWidth, kHeight, CellSize(kWidth, columns));
        HoldDestinationAlphaAtOne();
    };
    const auto [big, small] = TimeByTurns(
        state, kFramesPerTurn, [&] { useArt(0); }, [&] { useArt(16); });
    useArt(0);
    state.counters["art"] = run.renderer.artSide;
    state.counters["big/16px"] = big / small;
    state.counters["big_fps"] = static_cast<double>(state.iterations()) * kFramesPerTurn / big;
    run.renderer.maxArtSide = 0;
    FinishRain(run);
    CloseOsMesa(mesa);
}
BENCHMARK(FullFrameByArt)
    ->ArgNames({"columns", "fast"})
    ->Args({52, 0})
    ->Args({52, 1})
    ->Args({42, 0})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(6.0)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
