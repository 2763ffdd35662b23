// Cost of drawing the rain: one frame's calls issued into the no-op GL table (our CPU share),
// and whole frames rendered by Mesa's llvmpipe beside a bare loop that issues the same GL calls
// for the same cells straight to Mesa's functions. Native only; needs libOSMesa.so.8 for the
// second group. FullFrameByLook compares the colour and glyph-set choices.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "gl/dest_alpha.h"
#include "gl/gl.h"
#include "gl/gl_null.h"
#include "gl/osmesa.h"
#include "rain/draw.h"
#include "rain/field.h"
#include "rain/random.h"
#include "render/setup.h"
#include "settings/settings.h"

namespace {

// A field as the saver has it a few seconds into a run (mid-cycle, rain on a full screen).
void BuildField(int width, int height, int columns, bool fast) {
    rainField.release();
    settings.ScrWidth = width;
    settings.ScrHeight = height;
    settings.Size = columns;
    settings.FastMode = fast ? 1 : 0;
    settings.Continuous = 0;
    SeedRandom(77);
    rainField.build(width, height, columns, fast, false, settings.Message);
    for (int step = 0; step < 150; ++step) {
        SeedRandom(static_cast<uint32_t>(step));
        rainField.update();
    }
}

void FrameCallsThroughNoOpTable(benchmark::State& state) {
    const int columns = static_cast<int>(state.range(0));
    const bool fast = state.range(1) != 0;
    FillGlTableWithNoOps();
    BuildField(1920, 1080, columns, fast);
    for (auto _ : state) DrawRainFrame();
    rainField.release();
}
BENCHMARK(FrameCallsThroughNoOpTable)
    ->ArgNames({"columns", "fast"})
    ->Args({52, 0})
    ->Args({67, 0})
    ->Args({52, 1})
    ->Args({67, 1})
    ->Unit(benchmark::kMicrosecond);

// The same frame as a flat list of cells (trail alphas drawn once, as varied as ours), drawn by a
// loop holding Mesa's own function pointers: what the frame costs with nothing of ours between.
struct BareCell {
    GLuint texture;
    GLfloat red, green, blue, alpha;
    GLuint glowList;
};
struct BareStream {
    GLfloat x, top;
    std::vector<BareCell> cells;
};

std::vector<BareStream> FlattenField() {
    std::vector<BareStream> streams;
    for (const Stream* s = rainField.firstStream; s != nullptr; s = s->next) {
        BareStream bare{s->x, s->y + static_cast<float>(s->cellCount) * s->cellSize, {}};
        for (int i = s->cellCount - 1; i >= (s->brightHead ? 0 : 1); --i) {
            if (s->y + static_cast<float>(i + 1) * s->cellSize < 0.0f) break;
            const bool head = i == 0;
            const RainColors& colors = *displayLists.colors;
            bare.cells.push_back(
                {static_cast<GLuint>(s->glyphs[i]), head ? colors.head.r : colors.trail[0],
                 head ? colors.head.g : colors.trail[1], head ? colors.head.b : colors.trail[2],
                 head ? colors.head.a : 0.7f + 0.3f * static_cast<float>(Random()) / 32767.0f,
                 head ? displayLists.headGlowList : displayLists.trailGlowList});
        }
        streams.push_back(bare);
    }
    return streams;
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

void DrawBare(const BareGl& gl, const std::vector<BareStream>& streams, GLfloat cell, bool fast) {
    gl.clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (const BareStream& s : streams) {
        gl.push();
        gl.translate(s.x, s.top, 0.0f);
        for (const BareCell& c : s.cells) {
            gl.bind(GL_TEXTURE_2D, c.texture);
            gl.translate(0.0f, -cell, 0.0f);
            gl.colour(c.red, c.green, c.blue, c.alpha);
            gl.call(displayLists.glyphList);
            if (!fast) {
                gl.disable(GL_TEXTURE_2D);
                gl.call(c.glowList);
                gl.enable(GL_TEXTURE_2D);
            }
        }
        gl.pop();
    }
    gl.flush();
}

// args: width, height, columns, fast. Each iteration draws one frame of ours and one of the bare
// loop, alternating which goes first, so both see the same machine load; the counters give the
// frame rate of each and the ratio of their times.
void FullFrameThroughMesa(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const int columns = static_cast<int>(state.range(2));
    const bool fast = state.range(3) != 0;
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    OsMesa mesa;
    const std::string error = OpenOsMesa(mesa, pixels.data(), width, height);
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
        for (auto _ : state) {}
        return;
    }
    BuildField(width, height, columns, fast);
    SetupRendererState();
    HoldDestinationAlphaAtOne();
    const std::vector<BareStream> streams = FlattenField();
    const BareGl gl;
    const GLfloat cell = static_cast<GLfloat>(width) / static_cast<GLfloat>(columns);
    auto timeFrame = [&](bool bare) {
        const auto start = std::chrono::steady_clock::now();
        if (bare)
            DrawBare(gl, streams, cell, fast);
        else
            DrawRainFrame();
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
    rainField.release();
    CloseOsMesa(mesa);
}
BENCHMARK(FullFrameThroughMesa)
    ->ArgNames({"w", "h", "columns", "fast"})
    ->Args({1024, 768, 52, 0})
    ->Args({1024, 768, 52, 1})
    ->Args({1920, 1080, 67, 0})
    ->Args({1920, 1080, 67, 1})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(4.0)
    ->UseRealTime();

// args: RainColor, GlyphSet. Whole frames by llvmpipe at 1024 x 768, 52 columns, glows on: the
// same field drawn in the chosen look and in the default look by turns (textures and lists
// remade for each turn, outside the timing), so both see the same machine load. The colour
// changes only constants and the glyph set only texels, so the ratio should be 1.
void FullFrameByLook(benchmark::State& state) {
    constexpr int kWidth = 1024, kHeight = 768, kFramesPerTurn = 4;
    std::vector<unsigned char> pixels(static_cast<size_t>(kWidth) * kHeight * 4);
    OsMesa mesa;
    const std::string error = OpenOsMesa(mesa, pixels.data(), kWidth, kHeight);
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
        for (auto _ : state) {}
        return;
    }
    BuildField(kWidth, kHeight, 52, false);
    auto useLook = [](int32_t color, int32_t glyphs) {
        settings.RainColor = color;
        settings.GlyphSet = glyphs;
        displayLists.colors = RainColorScheme(color);
        buildDisplayLists();
        SetupRendererState();
        HoldDestinationAlphaAtOne();
    };
    // The loop's own timer counts both looks and the set-ups; the counters split the frames.
    auto timeTurn = [] {
        const auto start = std::chrono::steady_clock::now();
        for (int f = 0; f < kFramesPerTurn; ++f) {
            DrawRainFrame();
            glFinish();  // the frame is only drawn once llvmpipe has finished it
        }
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const int32_t color = static_cast<int32_t>(state.range(0));
    const int32_t glyphs = static_cast<int32_t>(state.range(1));
    for (int32_t look : {0, 1}) {  // llvmpipe compiles its shader variants on first use
        useLook(look ? color : 0, look ? glyphs : 0);
        timeTurn();
    }
    double chosen = 0.0, standard = 0.0;
    for (auto _ : state) {
        useLook(color, glyphs);
        chosen += timeTurn();
        useLook(0, 0);
        standard += timeTurn();
    }
    const double frames = static_cast<double>(state.iterations()) * kFramesPerTurn;
    state.counters["look_fps"] = frames / chosen;
    state.counters["default_fps"] = frames / standard;
    state.counters["look/default"] = chosen / standard;
    rainField.release();
    useLook(0, 0);
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

}  // namespace

BENCHMARK_MAIN();
