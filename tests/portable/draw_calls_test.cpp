// The GL calls of the renderer set-up and of the rain drawing, read from the recording table: the
// set-up's state and glyph pages, and how few calls a frame takes whatever the field holds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "rain/field.h"
#include "rain/monitors.h"
#include "rain/random.h"
#include "render/draw.h"
#include "render/glyph_tiles.h"
#include "render/run.h"
#include "render/textures.h"
#include "settings/settings.h"
#include "tests/support/gl_recorder.h"

namespace {

using Calls = std::vector<std::string>;

// The settings every test starts from, and a run of its own for each start.
class DrawCalls : public ::testing::Test {
protected:
    void SetUp() override {
        settings.Size = 50;  // cells of exactly 20 pixels on the 1000-pixel screen
        settings.FastMode = 0;
        settings.Continuous = 0;
        StartRecording();
    }
    void TearDown() override { FinishRain(*run); }
    // A run started afresh on the given monitors, as a host starts one; only its calls stay
    // recorded.
    RainRun& Start(const std::vector<MonitorRect>& monitors, uint32_t tick = 0) {
        FinishRain(*run);
        run.reset(new RainRun());
        ClearRecordedCalls();
        StartRain(*run, settings, monitors.data(), static_cast<int32_t>(monitors.size()), tick, 0,
                  0);
        return *run;
    }
    Settings settings;
    std::unique_ptr<RainRun> run{new RainRun()};
};

TEST_F(DrawCalls, SetupLeavesTheStateTheDrawingNeedsInOrder) {
    for (bool fast : {false, true}) {
        SCOPED_TRACE(fast ? "fast mode" : "normal mode");
        settings.FastMode = fast ? 1 : 0;
        StartRecording();
        const RainRun& started = Start({{0, 0, 1000, 600}}, 0x12345);
        const std::string filter = fast ? "9728" : "9729";
        Calls expected = {"glPixelStorei(0x0CF5, 1)", "glGenTextures(2, ptr)"};
        for (int page = 0; page < 2; ++page) {
            const Calls upload = {
                "glBindTexture(0x0DE1, " + std::to_string(page + 1) + ")",
                page == 0 ? "glTexImage2D(0x0DE1, 0, 4, 128, 128, 0, 0x1908, 0x1401, ptr)"
                          : "glTexImage2D(0x0DE1, 0, 4, 128, 64, 0, 0x1908, 0x1401, ptr)",
                "glTexParameterf(0x0DE1, 0x2802, 10497)",
                "glTexParameterf(0x0DE1, 0x2803, 10497)",
                "glTexParameterf(0x0DE1, 0x2800, " + filter + ")",
                "glTexParameterf(0x0DE1, 0x2801, " + filter + ")"};
            expected.insert(expected.end(), upload.begin(), upload.end());
        }
        expected.push_back("glTexEnvf(0x2300, 0x2200, 8448)");
        const Calls projection = {"glMatrixMode(0x1701)",
                                  "glLoadIdentity()",
                                  "glOrtho(0, 1000, 0, 600, -1, 1)",
                                  "glViewport(0, 0, 1000, 600)",
                                  "glMatrixMode(0x1700)",
                                  "glLoadIdentity()"};
        expected.insert(expected.end(), projection.begin(), projection.end());
        if (!fast) {
            expected.push_back("glEnable(0x0BE2)");
            expected.push_back("glBlendFunc(0x0302, 0x0304)");
        }
        expected.push_back("glEnable(0x0DE1)");
        expected.push_back("glClearColor(0, 0, 0, 0)");
        // The field is built first and compiles nothing: these are all the set-up's calls.
        EXPECT_EQ(RecordedCalls(), expected);

        // Each tile lies in its slot of its page, rows as cut: B's texel 0 is pixel (16, 0) of
        // the letter picture, in slot 1 of the letter page.
        const auto& images = RecordedTexImages();
        ASSERT_EQ(images.size(), 2u);
        for (int tile : {0, 9, 46, 55, 56, 57, 86}) {
            const int page = tile < kFirstLetterTile ? 0 : 1, slot = tile - (page ? 56 : 0);
            const int left = 16 * (slot % 8), top = 16 * (slot / 8);
            for (int row = 0; row < 16; ++row)
                ASSERT_EQ(0, std::memcmp(&images[page].pixels[((top + row) * 128 + left) * 4],
                                         started.renderer.tiles.tiles[tile] + row * 64, 64))
                    << "tile " << tile << " row " << row;
        }
        const uint8_t* letters = FindGlyphPicture(kLetterPictureName);
        ASSERT_NE(letters, nullptr);
        EXPECT_EQ(images[1].pixels[16 * 4], letters[16 * 3]);

        // Seeded with the tick's low 8 bits and nothing drawn before the build: same field.
        const RainField& field = started.monitors.fields[0];
        EXPECT_EQ(field.firstStream->fastMode, fast);
        SeedRandom(0x45);
        RainField again{};
        again.build(1000, 600, 50, fast, false, settings.Message);
        EXPECT_EQ(again.firstStream->x, field.firstStream->x);
        EXPECT_EQ(again.firstStream->y, field.firstStream->y);
        EXPECT_EQ(again.letters[0]->y, field.letters[0]->y);
        again.release();
    }
}

// The glyph artwork a set-up uploads: 16 px up to 24-px cells, then the smallest artwork at
// least two thirds of the cell, within what the driver takes in a page of 8 tiles across. The
// monitors take the primary's cells, the preview its own.
TEST_F(DrawCalls, TheGlyphArtworkSuitsTheCells) {
    // kind: 's' one screen, 'm' monitors (this screen first, a 1024 x 768 one beside), 'p' preview.
    const struct {
        char kind;
        int32_t width, height, columns;
        int maxTextureSize, side;
    } cases[] = {
        {'s', 1024, 768, 52, 1024, 16},  {'s', 1200, 768, 50, 1024, 16},  // 19.7- and 24-px cells
        {'s', 1920, 1080, 52, 1024, 32}, {'s', 2560, 1440, 52, 1024, 64},
        {'s', 3840, 2160, 52, 1024, 64}, {'s', 7680, 4320, 42, 1024, 128},
        {'s', 3840, 2160, 52, 256, 32},  // an old 3Dfx card
        {'s', 7680, 4320, 42, 512, 64},  {'s', 3840, 2160, 52, 64, 16},
        {'m', 3840, 2160, 52, 1024, 64},  // the big primary's cells, not the small monitor's
        {'m', 1024, 768, 52, 1024, 16},  {'p', 152, 112, 7, 1024, 16},
        {'p', 400, 300, 4, 1024, 128},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " " << c.width << " / " << c.columns
                                        << ", textures up to " << c.maxTextureSize);
        StartRecording();
        SetRecordedMaxTextureSize(c.maxTextureSize);
        settings.Size = c.columns;
        std::vector<MonitorRect> monitors = {{0, 0, c.width, c.height}};
        if (c.kind == 'm') monitors.push_back({c.width, 0, 1024, 768});
        Start(monitors);
        const std::string side = std::to_string(8 * c.side) + ", ";
        EXPECT_EQ(RecordedCallsTo("glTexImage2D"),
                  (Calls{"glTexImage2D(0x0DE1, 0, 4, " + side + side + "0, 0x1908, 0x1401, ptr)",
                         "glTexImage2D(0x0DE1, 0, 4, " + side + std::to_string(4 * c.side) +
                             ", 0, 0x1908, 0x1401, ptr)"}));
    }
    // From 1024 x 768 to 7680 x 4320 and at every size the dialog offers, no glyph is drawn from
    // artwork magnified more than 1.5 x.
    for (int32_t width : {1024, 1280, 1366, 1600, 1920, 2560, 3440, 3840, 5120, 7680})
        for (int32_t columns = 42; columns <= 67; ++columns) {
            const float cell = CellSize(width, columns);
            EXPECT_LE(cell / static_cast<float>(ChooseGlyphArtSide(cell, 1024)), 1.5f);
        }
}

// A frame is a few array draws per field whatever its column count: the bound holds from the
// default to the most columns the dialog offers, on one field and per field on monitors, and
// the draws cover every listed cell (a quad each, and a fan of eight indexed triangles for each
// glow).
TEST_F(DrawCalls, AFrameTakesAtMostAHundredCallsPerField) {
    struct Case {
        int32_t width, height, columns;
        bool fast;
        int steps;
        int monitors;
    };
    const Case cases[] = {
        {1920, 1080, 52, false, 150, 1}, {1920, 1080, 67, false, 350, 1},
        {1920, 1080, 67, true, 150, 1},  {3840, 2160, 67, false, 150, 1},
        {1024, 768, 52, false, 340, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.columns) + " columns" + (c.fast ? " fast" : "") + ", " +
                     std::to_string(c.monitors) + " monitor(s)");
        settings.FastMode = c.fast ? 1 : 0;
        const std::vector<MonitorRect> rects = {{0, 0, c.width, c.height}, {c.width, 0, 800, 600}};
        settings.Size = c.columns;
        RainRun& r = Start({rects.begin(), rects.begin() + c.monitors}, 5);
        const RainMonitors& m = r.monitors;
        for (int step = 0; step < c.steps; ++step) StepRain(r, 31u * step);
        size_t cells = 0, glows = 0;
        const uint32_t before = randomState;
        std::vector<RainCell> listed;
        for (int32_t k = 0; k < m.count; ++k) {
            ListRainCells(m.fields[k], listed);
            cells += listed.size();
            for (const RainCell& cell : listed) glows += cell.glow;
        }
        randomState = before;
        ClearRecordedCalls();
        DrawRain(r);
        EXPECT_LE(RecordedCalls().size(), 100u * m.count);
        size_t vertices = 0, indices = 0;
        for (const std::string& call : RecordedCallsTo("glDrawArrays"))
            vertices += std::stoul(call.substr(call.rfind(", ") + 2));
        for (const std::string& call : RecordedCallsTo("glDrawElements"))
            indices += std::stoul(call.substr(call.find(", ") + 2));
        EXPECT_EQ(vertices, 4 * cells);
        EXPECT_EQ(indices, 24 * glows);
        EXPECT_GT(cells, 200u);
    }
}

TEST_F(DrawCalls, EachMonitorsFieldIsDrawnIntoItsViewport) {
    // A primary at (0,0) and a shorter monitor to its left, 100 pixels lower: the window spans
    // x -600..1024 and y 0..768, and GL counts y up from its bottom, so the second monitor's
    // viewport starts at y 768 - (100 + 500) = 168.
    const std::vector<MonitorRect> rects = {{0, 0, 1024, 768}, {-600, 100, 600, 500}};
    settings.Size = 52;
    RainRun& r = Start(rects, 7);
    ClearRecordedCalls();
    DrawRain(r);
    EXPECT_EQ(RecordedCallsTo("glViewport"),
              (Calls{"glViewport(600, 0, 1024, 768)", "glViewport(0, 168, 600, 500)"}));
    EXPECT_EQ(RecordedCallsTo("glOrtho"),
              (Calls{"glOrtho(0, 1024, 0, 768, -1, 1)", "glOrtho(0, 600, 0, 500, -1, 1)"}));
    EXPECT_EQ(RecordedCallsTo("glClear").size(), 1u);
}

}  // namespace
