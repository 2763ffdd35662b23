// The GL calls of the renderer set-up and of the rain drawing, read from the recording table:
// order, arguments, which lists and textures each cell uses, and the random numbers taken.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/platform.h"
#include "rain/draw.h"
#include "rain/field.h"
#include "rain/random.h"
#include "render/glyph_tiles.h"
#include "render/setup.h"
#include "settings/settings.h"
#include "tests/support/gl_recorder.h"

namespace {

using Calls = std::vector<std::string>;

uint32_t fixedTick = 0;
uint32_t FixedTick() { return fixedTick; }

// The screen and settings every test starts from; lists and the field are rebuilt per test.
class DrawCalls : public ::testing::Test {
protected:
    void SetUp() override {
        saved = settings;
        settings.ScrWidth = 1000;
        settings.ScrHeight = 600;
        settings.Size = 50;  // cells of exactly 20 pixels
        settings.FastMode = 0;
        settings.Continuous = 0;
        StartRecording();
    }
    void TearDown() override {
        rainField.release();
        settings = saved;
        platform = kRealPlatform;
    }
    Settings saved;
};

// The calls of one glyph cell: bind, step down, colour, quad, and the glow unless fast.
Calls Cell(int code, const std::string& colour, bool fast, int glowList) {
    Calls calls = {"glBindTexture(0x0DE1, " + std::to_string(code) + ")", "glTranslatef(0, -20, 0)",
                   colour, "glCallList(11)"};
    if (!fast) {
        calls.push_back("glDisable(0x0DE1)");
        calls.push_back("glCallList(" + std::to_string(glowList) + ")");
        calls.push_back("glEnable(0x0DE1)");
    }
    return calls;
}

const char* kWhite = "glColor4f(1, 1, 1, 1)";
const char* kGreen = "glColor4f(0, 0.8, 0, *)";  // alpha checked separately

// Replaces the alpha of every trail colour with "*" after checking it lies in 0.7..1.0.
Calls WithTrailAlphaChecked(const Calls& calls, int& trailCells) {
    Calls out;
    trailCells = 0;
    const std::string prefix = "glColor4f(0, 0.8, 0, ";
    for (const std::string& call : calls) {
        if (call.compare(0, prefix.size(), prefix) == 0) {
            const double alpha = std::atof(call.c_str() + prefix.size());
            EXPECT_GE(alpha, 0.7) << call;
            EXPECT_LE(alpha, 1.0) << call;
            ++trailCells;
            out.push_back(kGreen);
        } else {
            out.push_back(call);
        }
    }
    return out;
}

TEST_F(DrawCalls, SetupLeavesTheStateTheDrawingNeedsInOrder) {
    platform.GetTickCount = FixedTick;
    for (bool fast : {false, true}) {
        SCOPED_TRACE(fast ? "fast mode" : "normal mode");
        settings.FastMode = fast ? 1 : 0;
        fixedTick = 0x12345;
        StartRecording();
        SetupRenderer();
        const std::string filter = fast ? "9728" : "9729";
        Calls expected = {"glPixelStorei(0x0CF5, 1)", "glGenTextures(87, ptr)"};
        for (int a = 0; a < kGlyphTileCount; ++a) {
            const Calls tile = {"glBindTexture(0x0DE1, " + std::to_string(a) + ")",
                                "glTexImage2D(0x0DE1, 0, 4, 16, 16, 0, 0x1908, 0x1401, ptr)",
                                "glTexParameterf(0x0DE1, 0x2802, 10497)",
                                "glTexParameterf(0x0DE1, 0x2803, 10497)",
                                "glTexParameterf(0x0DE1, 0x2800, " + filter + ")",
                                "glTexParameterf(0x0DE1, 0x2801, " + filter + ")",
                                "glTexEnvf(0x2300, 0x2200, 8448)"};
            expected.insert(expected.end(), tile.begin(), tile.end());
        }
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
        const Calls& calls = RecordedCalls();
        ASSERT_GT(calls.size(), expected.size());
        EXPECT_EQ(Calls(calls.begin(), calls.begin() + expected.size()), expected);
        // The field comes last: its display lists are the only calls after the clear colour.
        EXPECT_EQ(calls[expected.size()], "glGenLists(1)");
        EXPECT_EQ(RecordedCallsTo("glNewList").size(), 3u);

        // What was uploaded is the tile store, cut from the program's own pictures.
        const auto& images = RecordedTexImages();
        ASSERT_EQ(images.size(), static_cast<size_t>(kGlyphTileCount));
        for (int a = 0; a < kGlyphTileCount; ++a)
            ASSERT_EQ(images[a].pixels,
                      std::vector<unsigned char>(glyphTiles[a], glyphTiles[a] + kTileBytes));
        const uint8_t* letters = FindGlyphPicture(kLetterPictureName);
        ASSERT_NE(letters, nullptr);
        EXPECT_EQ(images[57].pixels[0], letters[16 * 3]);  // B: texel 0 is pixel (16, 0)

        // Seeded with the tick's low 8 bits and nothing drawn before the build: same field.
        const float firstX = rainField.firstStream->x;
        const float firstY = rainField.firstStream->y;
        const float letterY = rainField.letters[0]->y;
        EXPECT_EQ(rainField.firstStream->fastMode, fast);
        SeedRandom(0x45);
        RainField again{};
        again.build(settings.ScrWidth, settings.ScrHeight, 50, fast, false, settings.Message);
        EXPECT_EQ(again.firstStream->x, firstX);
        EXPECT_EQ(again.firstStream->y, firstY);
        EXPECT_EQ(again.letters[0]->y, letterY);
        again.release();
        rainField.release();
    }
}

TEST_F(DrawCalls, DisplayListsHoldTheQuadAndTwoGlows) {
    SeedRandom(1);
    rainField.build(settings.ScrWidth, settings.ScrHeight, 50, false, false, "");
    EXPECT_EQ(displayLists.glyphList, 1u);
    EXPECT_EQ(displayLists.trailGlowList, 2u);
    EXPECT_EQ(displayLists.headGlowList, 3u);
    Calls expected = {"glGenLists(1)",      "glNewList(1, 0x1300)", "glBegin(0x0007)",
                      "glTexCoord2i(1, 0)", "glVertex2f(0, 0)",     "glTexCoord2i(1, 1)",
                      "glVertex2f(20, 0)",  "glTexCoord2i(0, 1)",   "glVertex2f(20, 20)",
                      "glTexCoord2i(0, 0)", "glVertex2f(0, 20)",    "glEnd()",
                      "glEndList()"};
    struct Glow {
        int list;
        const char* centre;
        const char* rim;
        const char* points[9];
    };
    const Glow glows[] = {
        {2,
         "glColor4f(0.2, 1, 0.2, 0.15)",
         "glColor4f(0.2, 1, 0.2, 0)",  // radius 24
         {"34, 10", "26.8, 26.8", "10, 34", "-6.8, 26.8", "-14, 10", "-6.8, -6.8", "10, -14",
          "26.8, -6.8", "34, 10"}},
        {3,
         "glColor4f(0.7, 0.7, 1, 0.4)",
         "glColor4f(0.7, 0.7, 1, 0)",  // radius 40
         {"50, 10", "38, 38", "10, 50", "-18, 38", "-30, 10", "-18, -18", "10, -30", "38, -18",
          "50, 10"}},
    };
    for (const Glow& glow : glows) {
        expected.push_back("glGenLists(1)");
        expected.push_back("glNewList(" + std::to_string(glow.list) + ", 0x1300)");
        expected.push_back("glBegin(0x0006)");
        expected.push_back(glow.centre);
        expected.push_back("glVertex2f(10, 10)");
        for (const char* point : glow.points) {
            expected.push_back(glow.rim);
            expected.push_back(std::string("glVertex2f(") + point + ")");
        }
        expected.push_back("glEnd()");
        expected.push_back("glEndList()");
    }
    EXPECT_EQ(RecordedCalls(), expected);
}

TEST_F(DrawCalls, DisplayListsTakeTheCellSizeOfTheFieldBeingBuilt) {
    // The run's field says 20-pixel cells; a field built elsewhere for 600 pixels in 40 columns
    // has 15-pixel cells, and its lists must be made for those.
    rainField.width = 1000;
    rainField.columnCount = 50;
    settings.ScrWidth = 600;
    SeedRandom(1);
    RainField other{};
    other.build(settings.ScrWidth, settings.ScrHeight, 40, false, false, "");
    other.release();
    const Calls vertices = RecordedCallsTo("glVertex2f");
    ASSERT_EQ(vertices.size(), 24u);
    EXPECT_EQ(Calls(vertices.begin(), vertices.begin() + 6),
              (Calls{"glVertex2f(0, 0)", "glVertex2f(15, 0)", "glVertex2f(15, 15)",
                     "glVertex2f(0, 15)", "glVertex2f(7.5, 7.5)", "glVertex2f(25.5, 7.5)"}));
    EXPECT_EQ(vertices[14], "glVertex2f(7.5, 7.5)");  // head glow: centre, then radius 30
    EXPECT_EQ(vertices[15], "glVertex2f(37.5, 7.5)");
}

TEST_F(DrawCalls, StreamsDrawTopFirstAndStopBelowTheScreen) {
    displayLists.glyphList = 11;
    displayLists.trailGlowList = 12;
    displayLists.headGlowList = 13;
    struct Case {
        const char* what;
        float y;
        bool brightHead;
        bool fast;
        std::vector<int> cellsDrawn;  // top first; cell 0 is the head
    };
    const Case cases[] = {
        {"on screen with head", 100, true, false, {2, 1, 0}},
        {"on screen without head", 100, false, false, {2, 1}},
        {"head's top exactly on the bottom edge", -20, true, false, {2, 1, 0}},
        {"head below the screen", -30, true, false, {2, 1}},
        {"wholly below the screen", -70, true, false, {}},
        {"fast mode", 100, true, true, {2, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Stream stream{};
        stream.cellCount = 3;
        stream.x = 40;
        stream.y = c.y;
        stream.cellSize = 20;
        stream.glyphs[0] = 5;
        stream.glyphs[1] = 6;
        stream.glyphs[2] = 46;
        stream.brightHead = c.brightHead;
        stream.fastMode = c.fast;
        SeedRandom(7);
        ClearRecordedCalls();
        stream.draw();

        Calls expected = {
            "glPushMatrix()",
            "glTranslatef(40, " + std::to_string(static_cast<int>(c.y) + 60) + ", 0)"};
        for (int i : c.cellsDrawn) {
            const Calls cell =
                Cell(stream.glyphs[i], i == 0 ? kWhite : kGreen, c.fast, i == 0 ? 13 : 12);
            expected.insert(expected.end(), cell.begin(), cell.end());
        }
        expected.push_back("glPopMatrix()");
        int trailCells = 0;
        EXPECT_EQ(WithTrailAlphaChecked(RecordedCalls(), trailCells), expected);

        // One random number per trail cell drawn, no more.
        const uint32_t after = randomState;
        SeedRandom(7);
        for (int i = 0; i < trailCells; ++i) Random();
        EXPECT_EQ(after, randomState);
    }
}

TEST_F(DrawCalls, LettersDrawEveryCellDownToTheLetterUnlessHidden) {
    displayLists.glyphList = 11;
    displayLists.trailGlowList = 12;
    displayLists.headGlowList = 13;
    MessageLetter letter{};
    letter.cellCount = 1;
    letter.x = 200;
    letter.y = 280;
    letter.cellSize = 20;
    letter.glyphs[0] = 56;
    letter.glyphs[1] = 3;
    letter.glyphs[2] = 4;

    ClearRecordedCalls();
    letter.draw();
    Calls expected = {"glPushMatrix()", "glTranslatef(200, 300, 0)"};
    Calls cell = Cell(56, kWhite, false, 13);
    expected.insert(expected.end(), cell.begin(), cell.end());
    expected.push_back("glPopMatrix()");
    EXPECT_EQ(RecordedCalls(), expected);

    // Still falling with a trail, and far below the screen: no bottom-edge test for letters.
    letter.cellCount = 3;
    letter.y = -500;
    ClearRecordedCalls();
    letter.draw();
    int trailCells = 0;
    const Calls calls = WithTrailAlphaChecked(RecordedCalls(), trailCells);
    EXPECT_EQ(trailCells, 2);
    EXPECT_EQ(RecordedCallsTo("glBindTexture"),
              (Calls{"glBindTexture(0x0DE1, 4)", "glBindTexture(0x0DE1, 3)",
                     "glBindTexture(0x0DE1, 56)"}));
    EXPECT_EQ(calls[1], "glTranslatef(200, -440, 0)");

    for (int hidden = 0; hidden < 2; ++hidden) {
        letter.isSpace = hidden == 0;
        letter.erased = hidden == 1;
        ClearRecordedCalls();
        letter.draw();
        EXPECT_TRUE(RecordedCalls().empty());
    }
}

TEST_F(DrawCalls, GlyphCodesWithoutATextureDrawBlankCells) {
    displayLists.glyphList = 11;
    displayLists.trailGlowList = 12;
    displayLists.headGlowList = 13;
    MessageLetter letter{};
    letter.cellCount = 4;
    letter.x = 0;
    letter.y = 300;
    letter.cellSize = 20;
    letter.glyphs[0] = -1;  // a stored character below the glyph range
    letter.glyphs[1] = 87;  // one above it
    letter.glyphs[2] = 86;  // the last glyph that exists
    letter.glyphs[3] = 2147483647;
    SeedRandom(3);
    ClearRecordedCalls();
    letter.draw();
    Calls expected = {"glPushMatrix()", "glTranslatef(0, 380, 0)", "glTranslatef(0, -20, 0)"};
    Calls cell = Cell(86, kGreen, false, 12);
    expected.insert(expected.end(), cell.begin(), cell.end());
    expected.insert(expected.end(),
                    {"glTranslatef(0, -20, 0)", "glTranslatef(0, -20, 0)", "glPopMatrix()"});
    int trailCells = 0;
    EXPECT_EQ(WithTrailAlphaChecked(RecordedCalls(), trailCells), expected);
    // The blank trail cells still take their random numbers: the flicker does not shift.
    uint32_t drawn = randomState;
    SeedRandom(3);
    for (int i = 0; i < 3; ++i) Random();
    EXPECT_EQ(drawn, randomState);
}

TEST_F(DrawCalls, FrameDrawsLettersOnlyWhileTheMessageShows) {
    SeedRandom(9);
    rainField.build(settings.ScrWidth, settings.ScrHeight, 50, false, false, "AB C");
    int streams = 0;
    for (Stream* s = rainField.firstStream; s != nullptr; s = s->next) ++streams;
    struct Case {
        bool continuous;
        int cycle;
        size_t pushes;
    };
    const Case cases[] = {
        {false, 0, 0}, {false, 325, 0}, {false, 326, 3}, {false, 600, 3}, {true, 400, 0},
    };
    for (const Case& c : cases) {
        rainField.continuous = c.continuous;
        rainField.cycleCounter = c.cycle;
        ClearRecordedCalls();
        DrawRainFrame();
        const Calls& calls = RecordedCalls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front(), "glClear(0x4100)");
        EXPECT_EQ(calls.back(), "glFlush()");
        // Every stream pushes once, drawn or not; the space draws nothing.
        EXPECT_EQ(RecordedCallsTo("glPushMatrix").size(), streams + c.pushes)
            << "cycle " << c.cycle << (c.continuous ? " continuous" : "");
    }
}

}  // namespace
