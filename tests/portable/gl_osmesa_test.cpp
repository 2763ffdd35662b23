// Mesa's off-screen library through the table: context creation, clears read back top row first,
// and destination alpha held at 1 so the additive blend (GL_SRC_ALPHA, GL_DST_ALPHA) adds up.
// Native only; without libOSMesa.so.8 it skips, or fails under CI (tests/support/dependency.h).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gl/dest_alpha.h"
#include "gl/gl.h"
#include "gl/osmesa.h"
#include "tests/support/dependency.h"

namespace {

constexpr int kWidth = 8;
constexpr int kHeight = 6;

class OsMesaTest : public testing::Test {
protected:
    void SetUp() override {
        const std::string error = OpenOsMesa(mesa, pixels.data(), kWidth, kHeight);
        if (error == "cannot load libOSMesa.so.8") TORVEX_MISSING_DEPENDENCY("libOSMesa.so.8");
        ASSERT_EQ(error, "");
    }
    void TearDown() override { CloseOsMesa(mesa); }

    // Every pixel of `rgb` within 1 of the colour (rounding differs between drivers).
    static void ExpectRows(const std::vector<unsigned char>& rgb, int firstRow, int rows,
                           std::vector<int> colour) {
        for (int y = firstRow; y < firstRow + rows; ++y)
            for (int x = 0; x < kWidth; ++x)
                for (int c = 0; c < 3; ++c)
                    ASSERT_LE(std::abs(rgb[(y * kWidth + x) * 3 + c] - colour[c]), 1)
                        << "pixel " << x << "," << y << " channel " << c;
    }

    std::vector<unsigned char> pixels = std::vector<unsigned char>(kWidth * kHeight * 4);
    OsMesa mesa;
};

TEST_F(OsMesaTest, ClearsReadBackTopRowFirst) {
    for (int row = 0; row < kGlCoreCount; ++row)
        ASSERT_NE(GlTableRow(row), nullptr) << kGlRowNames[row];
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, kHeight - 2, kWidth, 2);  // GL's rows count from the bottom
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glFinish();
    const std::vector<unsigned char> rgb = ReadPixelsRgbTopFirst(kWidth, kHeight);
    ASSERT_EQ(rgb.size(), static_cast<size_t>(kWidth * kHeight * 3));
    ExpectRows(rgb, 0, 2, {255, 0, 0});
    ExpectRows(rgb, 2, kHeight - 2, {51, 102, 153});
    EXPECT_TRUE(ReadPixelsRgbTopFirst(0, kHeight).empty());
}

TEST_F(OsMesaTest, DestinationAlphaHeldAtOneMakesTheBlendAdditive) {
    HoldDestinationAlphaAtOne();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);  // the look's clear colour must not lower alpha
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, kWidth, 0.0, kHeight, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    for (int pass = 0; pass < 2; ++pass) {
        glColor4f(0.25f, 0.5f, 0.125f, 1.0f);
        glBegin(GL_QUADS);
        glVertex2f(0.0f, 0.0f);
        glVertex2f(kWidth, 0.0f);
        glVertex2f(kWidth, kHeight);
        glVertex2f(0.0f, kHeight);
        glEnd();
    }
    glFinish();
    std::vector<unsigned char> rgba(kWidth * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    for (size_t i = 3; i < rgba.size(); i += 4) ASSERT_EQ(rgba[i], 255) << "alpha at " << i / 4;
    // Two passes add up: twice the source colour.
    ExpectRows(ReadPixelsRgbTopFirst(kWidth, kHeight), 0, kHeight, {128, 255, 64});
}

TEST(OsMesa, BadBuffersAreRefusedAndClosingClearsTheTable) {
    OsMesa mesa;
    EXPECT_EQ(OpenOsMesa(mesa, nullptr, 4, 4), "invalid off-screen buffer");
    unsigned char buffer[16];
    EXPECT_EQ(OpenOsMesa(mesa, buffer, 0, 4), "invalid off-screen buffer");
    EXPECT_EQ(OpenOsMesa(mesa, buffer, 2, -1), "invalid off-screen buffer");
    EXPECT_EQ(mesa.context, nullptr);
    const std::string error = OpenOsMesa(mesa, buffer, 2, 2);
    if (error == "cannot load libOSMesa.so.8") TORVEX_MISSING_DEPENDENCY("libOSMesa.so.8");
    ASSERT_EQ(error, "");
    CloseOsMesa(mesa);
    CloseOsMesa(mesa);  // closing twice is harmless
    EXPECT_EQ(mesa.context, nullptr);
    EXPECT_EQ(GlTableRow(kGlRow_glClear), nullptr);
}

}  // namespace
