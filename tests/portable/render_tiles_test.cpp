// The glyph tile cut: texel order, alpha, stop rules, missing pictures and the size check,
// through synthetic pictures whose pixels name their own position.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/platform.h"
#include "render/glyph_tiles.h"

namespace {

// Pixel (x, y) of picture p holds (x, y, p): every texel says where it came from.
std::vector<uint8_t> MakePicture(uint8_t id) {
    std::vector<uint8_t> picture(kGlyphPictureBytes);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            uint8_t* pixel = &picture[(y * 128 + x) * 3];
            pixel[0] = static_cast<uint8_t>(x);
            pixel[1] = static_cast<uint8_t>(y);
            pixel[2] = id;
        }
    return picture;
}

std::vector<uint8_t> rainPicture;
std::vector<uint8_t> letterPicture;
bool rainPresent = true;
bool lettersPresent = true;
std::vector<int> namesAsked;
GlyphTiles store;  // the tiles a renderer would keep

const uint8_t* TestFinder(int name) {
    namesAsked.push_back(name);
    if (name == kRainPictureName && rainPresent) return rainPicture.data();
    if (name == kLetterPictureName && lettersPresent) return letterPicture.data();
    return nullptr;
}

class GlyphTileCut : public ::testing::Test {
protected:
    void SetUp() override {
        rainPicture = MakePicture(1);
        letterPicture = MakePicture(2);
        rainPresent = lettersPresent = true;
        namesAsked.clear();
        store = GlyphTiles{};
        glyphPictureFinder = TestFinder;
    }
    void TearDown() override { glyphPictureFinder = FindGlyphPicture; }

    static const uint8_t* Texel(int tile, int n) { return &store.tiles[tile][n * 4]; }
    static bool TilesZero(int from, int to) {
        for (int t = from; t < to; ++t)
            for (int b = 0; b < kTileBytes; ++b)
                if (store.tiles[t][b] != 0) return false;
        return true;
    }
};

TEST_F(GlyphTileCut, TexelsAreTheCellTransposedWithOpaqueAlpha) {
    LoadGlyphTiles(store, kRainPictureName, kLetterPictureName, 128, 128);
    struct Case {
        int tile, texel, x, y, picture;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 1},        {0, 1, 0, 1, 1},      // next texel: the pixel below
        {0, 16, 1, 0, 1},       {0, 255, 15, 15, 1},  // next run: the column to the right
        {1, 0, 16, 0, 1},       {8, 0, 0, 16, 1},     // cells go across, then down
        {55, 255, 127, 111, 1},                       // last rain tile: grid row 6, cell 7
        {56, 0, 0, 0, 2},       {57, 0, 16, 0, 2},    // A, then B at pixel (16, 0)
        {86, 255, 111, 63, 2},                        // last tile: cell 30 of the letters
    };
    for (const Case& c : cases) {
        const uint8_t* texel = Texel(c.tile, c.texel);
        EXPECT_EQ(texel[0], c.x) << "tile " << c.tile << " texel " << c.texel;
        EXPECT_EQ(texel[1], c.y) << "tile " << c.tile << " texel " << c.texel;
        EXPECT_EQ(texel[2], c.picture) << "tile " << c.tile << " texel " << c.texel;
    }
    for (int t = 0; t < kGlyphTileCount; ++t)
        for (int n = 0; n < kTileTexels; ++n) ASSERT_EQ(Texel(t, n)[3], 255) << t << " " << n;
    EXPECT_EQ(namesAsked, (std::vector<int>{kRainPictureName, kLetterPictureName}));
}

TEST_F(GlyphTileCut, CellsBeyondTheStopRulesNeverReachATile) {
    LoadGlyphTiles(store, kRainPictureName, kLetterPictureName, 128, 128);
    std::vector<uint8_t> before(&store.tiles[0][0], &store.tiles[0][0] + sizeof store.tiles);
    // Scribble over grid row 7 of the rain picture and cells 31.. of the letter picture.
    for (int y = 112; y < 128; ++y) std::memset(&rainPicture[y * 128 * 3], 0xAB, 128 * 3);
    for (int y = 48; y < 128; ++y)
        for (int x = (y < 64 ? 112 : 0); x < 128; ++x)
            std::memset(&letterPicture[(y * 128 + x) * 3], 0xCD, 3);
    LoadGlyphTiles(store, kRainPictureName, kLetterPictureName, 128, 128);
    EXPECT_EQ(0, std::memcmp(before.data(), store.tiles, before.size()));
}

TEST_F(GlyphTileCut, MissingPicturesLeaveTheirTilesAlone) {
    rainPresent = false;
    LoadGlyphTiles(store, kRainPictureName, kLetterPictureName, 128, 128);
    EXPECT_TRUE(TilesZero(0, kGlyphTileCount));
    // Without the first picture the second is not even looked for.
    EXPECT_EQ(namesAsked, std::vector<int>{kRainPictureName});

    rainPresent = true;
    lettersPresent = false;
    LoadGlyphTiles(store, kRainPictureName, kLetterPictureName, 128, 128);
    EXPECT_TRUE(TilesZero(kFirstLetterTile, kGlyphTileCount));
    EXPECT_EQ(Texel(55, 255)[0], 127);
    EXPECT_EQ(Texel(55, 255)[3], 255);
}

#ifdef _WIN32
int ReportBox(HWND__*, const char* text, const char* caption, unsigned style) {
    std::fprintf(stderr, "box [%s] [%s] %#x\n", caption, text, style);
    std::fflush(stderr);
    return 1;
}
#endif

TEST_F(GlyphTileCut, PicturesLargerThan128EndTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
#ifdef _WIN32
    platform.MessageBoxA = ReportBox;
    const char* expected = "box \\[Error Loading Texture\\] \\[Texture too large\\] 0x10";
#else
    const char* expected = "Error Loading Texture: Texture too large";
#endif
    EXPECT_EXIT(LoadGlyphTiles(store, kRainPictureName, kLetterPictureName, 129, 128),
                ::testing::ExitedWithCode(1), expected);
    EXPECT_EXIT(LoadGlyphTiles(store, kRainPictureName, kLetterPictureName, 128, 129),
                ::testing::ExitedWithCode(1), expected);
    LoadGlyphTiles(store, kRainPictureName, kLetterPictureName, 128, 128);  // exactly 128 passes
    EXPECT_EQ(Texel(57, 0)[0], 16);
#ifdef _WIN32
    platform.MessageBoxA = kRealPlatform.MessageBoxA;
#endif
}

// The pictures the program itself carries: compiled in natively, resources under Windows.
TEST(GlyphPictures, TheProgramCarriesBothPicturesAndNoOthers) {
    const uint8_t* rain = FindGlyphPicture(kRainPictureName);
    const uint8_t* letters = FindGlyphPicture(kLetterPictureName);
    ASSERT_NE(rain, nullptr);
    ASSERT_NE(letters, nullptr);
    EXPECT_NE(0, std::memcmp(rain, letters, kGlyphPictureBytes));
    EXPECT_EQ(FindGlyphPicture(163), nullptr);
    EXPECT_EQ(FindGlyphPicture(0), nullptr);
}

// Every glyph set reaches the same 47 rain tiles the same way: its own picture, opaque texels,
// ink in every tile the rain picks, and the message letters as they are with the rain glyphs.
TEST(GlyphPictures, EachGlyphSetIsCarriedAndCutLikeTheRainGlyphs) {
    EXPECT_EQ(GlyphSetPictureName(0), kRainPictureName);
    EXPECT_EQ(GlyphSetPictureName(-1), kRainPictureName);
    EXPECT_EQ(GlyphSetPictureName(kGlyphSetCount), kRainPictureName);
    std::vector<uint8_t> lettersWithRain;
    std::vector<const uint8_t*> pictures;
    for (int set = 0; set < kGlyphSetCount; ++set) {
        SCOPED_TRACE(set);
        const uint8_t* picture = FindGlyphPicture(GlyphSetPictureName(set));
        ASSERT_NE(picture, nullptr);
        for (const uint8_t* other : pictures)
            EXPECT_NE(0, std::memcmp(picture, other, kGlyphPictureBytes));
        pictures.push_back(picture);

        store = GlyphTiles{};
        LoadGlyphTiles(store, GlyphSetPictureName(set), kLetterPictureName, 128, 128);
        for (int t = 0; t < kGlyphTileCount; ++t)
            for (int n = 0; n < kTileTexels; ++n) ASSERT_EQ(store.tiles[t][n * 4 + 3], 255) << t;
        for (int t = 0; t < kRainGlyphCount; ++t) {
            int ink = 0;
            for (int n = 0; n < kTileTexels; ++n) ink += store.tiles[t][n * 4] > 128;
            EXPECT_GE(ink, 8) << "tile " << t << " is (nearly) empty";
        }
        const uint8_t* letters = store.tiles[kFirstLetterTile];
        const size_t letterBytes = sizeof store.tiles - kFirstLetterTile * sizeof store.tiles[0];
        if (set == 0)
            lettersWithRain.assign(letters, letters + letterBytes);
        else
            EXPECT_EQ(0, std::memcmp(letters, lettersWithRain.data(), letterBytes));
    }
}

}  // namespace
