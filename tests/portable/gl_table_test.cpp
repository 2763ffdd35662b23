// The GL entry-point table: row order, the fillers' stop-at-first-missing rule, forwarding through
// gl/gl.h, and the no-op and recording tables. Portable: runs natively, under sanitizers and Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "gl/gl.h"
#include "gl/gl_null.h"
#include "tests/support/gl_recorder.h"

namespace {

int RowOf(const std::string& name) {
    for (int row = 0; row < kGlRowCount; ++row)
        if (name == kGlRowNames[row]) return row;
    return -1;
}

TEST(GlTable, CoreRowsInByteOrderThenExtensionsInLoadOrder) {
    EXPECT_STREQ(kGlRowNames[0], "glAccum");
    EXPECT_STREQ(kGlRowNames[kGlCoreCount - 1], "glViewport");
    std::set<std::string> distinct;
    for (int row = 0; row < kGlRowCount; ++row) {
        ASSERT_NE(kGlRowNames[row], nullptr) << row;
        distinct.insert(kGlRowNames[row]);
    }
    EXPECT_EQ(distinct.size(), static_cast<size_t>(kGlRowCount));
    for (int row = 1; row < kGlCoreCount; ++row)
        EXPECT_LT(std::strcmp(kGlRowNames[row - 1], kGlRowNames[row]), 0) << kGlRowNames[row];

    // Upper case sorts before lower case, and a name before its extensions.
    const std::vector<std::pair<const char*, const char*>> before = {
        {"glColor3b", "glColor3bv"},    {"glIndexMask", "glIndexd"},
        {"glIndexPointer", "glIndexd"}, {"glTexCoord2i", "glTexCoord2iv"},
        {"glVertex2f", "glVertex2fv"},  {"glCopyPixels", "glCopyTexImage1D"}};
    for (const auto& [first, second] : before) {
        ASSERT_GE(RowOf(first), 0) << first;
        EXPECT_LT(RowOf(first), RowOf(second)) << first << " / " << second;
    }

    std::vector<std::string> extensions = {"glActiveTextureARB", "glClientActiveTextureARB"};
    for (const char* count : {"1", "2", "3", "4"})
        for (const char* form : {"d", "dv", "f", "fv", "i", "iv", "s", "sv"})
            extensions.push_back(std::string("glMultiTexCoord") + count + form + "ARB");
    for (const char* name :
         {"glLockArraysEXT", "glUnlockArraysEXT", "glPointParameterfEXT", "glPointParameterfvEXT"})
        extensions.push_back(name);
    ASSERT_EQ(extensions.size(), static_cast<size_t>(kGlExtCount));
    for (int i = 0; i < kGlExtCount; ++i)
        EXPECT_EQ(kGlRowNames[kGlCoreCount + i], extensions[i]) << i;
}

// A resolver over a fake library: every name has a distinct address unless it is listed missing.
struct FakeLibrary {
    std::set<std::string> missing;
    std::vector<std::string> asked;
    char addresses[kGlRowCount] = {};
};

void* ResolveFake(const char* name, void* user) {
    auto* library = static_cast<FakeLibrary*>(user);
    library->asked.push_back(name);
    if (library->missing.count(name)) return nullptr;
    const int row = RowOf(name);
    return row < 0 ? nullptr : &library->addresses[row];
}

TEST(GlTable, CoreFillStopsAtFirstMissingRowAndLeavesLaterRowsNull) {
    struct Case {
        std::set<std::string> missing;
        int firstMissing;
    };
    const std::vector<Case> cases = {
        {{}, -1},
        {{"glViewport"}, kGlCoreCount - 1},
        {{"glAccum"}, 0},
        {{"glColor3bv", "glTexImage2D"}, RowOf("glColor3bv")},
        {{"glActiveTextureARB", "glLockArraysEXT"}, -1},  // extensions never fail the core fill
    };
    for (const Case& c : cases) {
        StartRecording();  // every row non-null before the fill, so stale pointers would show
        FakeLibrary library;
        library.missing = c.missing;
        int firstMissing = 12345;
        const bool filled = FillGlCoreRows(&ResolveFake, &library, &firstMissing);
        SCOPED_TRACE(c.firstMissing);
        EXPECT_EQ(filled, c.firstMissing < 0);
        EXPECT_EQ(firstMissing, c.firstMissing);
        const int stop = c.firstMissing < 0 ? kGlCoreCount : c.firstMissing;
        // Nothing is asked for after the first missing row.
        EXPECT_EQ(library.asked.size(),
                  static_cast<size_t>(c.firstMissing < 0 ? kGlCoreCount : stop + 1));
        for (int row = 0; row < kGlCoreCount; ++row) {
            if (row < stop)
                ASSERT_EQ(GlTableRow(row), &library.addresses[row]) << kGlRowNames[row];
            else
                ASSERT_EQ(GlTableRow(row), nullptr) << kGlRowNames[row];
        }
    }
    EXPECT_FALSE(FillGlCoreRows(nullptr, nullptr));
    EXPECT_EQ(GlTableRow(0), nullptr);
    EXPECT_EQ(GlTableRow(-1), nullptr);
    EXPECT_EQ(GlTableRow(kGlRowCount), nullptr);
}

TEST(GlTable, ExtensionRowsAreOptionalAndLeaveCoreRowsAlone) {
    FakeLibrary library;
    ASSERT_TRUE(FillGlCoreRows(&ResolveFake, &library));
    library.missing = {"glClientActiveTextureARB", "glLockArraysEXT", "glPointParameterfvEXT"};
    library.asked.clear();
    FillGlExtRows(&ResolveFake, &library);
    EXPECT_EQ(library.asked.size(), static_cast<size_t>(kGlExtCount));
    for (int row = kGlCoreCount; row < kGlRowCount; ++row) {
        const bool missing = library.missing.count(kGlRowNames[row]) > 0;
        EXPECT_EQ(GlTableRow(row), missing ? nullptr : &library.addresses[row]) << kGlRowNames[row];
    }
    FillGlExtRows(nullptr, nullptr);
    for (int row = 0; row < kGlRowCount; ++row)
        ASSERT_EQ(GlTableRow(row), row < kGlCoreCount ? &library.addresses[row] : nullptr) << row;
    ClearGlTable();
    for (int row = 0; row < kGlRowCount; ++row) ASSERT_EQ(GlTableRow(row), nullptr) << row;
}

TEST(GlTable, CallsForwardArgumentsAndResultsThroughTheTable) {
    StartRecording();
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor4f(1.0f, 0.5f, -0.25f, 0.1f);
    glVertex2f(1280.0f, -3.5f);
    glBindTexture(GL_TEXTURE_2D, 86);
    glTexCoord2i(-1, 0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glOrtho(0.0, 1024.0, 0.0, 768.0, -1.0, 1.0);
    glCallList(4294967295u);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 16, 16, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glFlush();
    const std::vector<std::string> expected = {
        "glTexParameterf(0x0DE1, 0x2802, 10497)",
        "glClear(0x4100)",
        "glColor4f(1, 0.5, -0.25, 0.1)",
        "glVertex2f(1280, -3.5)",
        "glBindTexture(0x0DE1, 86)",
        "glTexCoord2i(-1, 0)",
        "glColorMask(1, 1, 1, 0)",
        "glOrtho(0, 1024, 0, 768, -1, 1)",
        "glCallList(4294967295)",
        "glTexImage2D(0x0DE1, 0, 3, 16, 16, 0, 0x1907, 0x1401, null)",
        "glFlush()",
    };
    EXPECT_EQ(RecordedCalls(), expected);
    EXPECT_EQ(RecordedCallsTo("glColor4f"),
              std::vector<std::string>{"glColor4f(1, 0.5, -0.25, 0.1)"});

    // Results come back unchanged, whatever the row returns.
    ClearRecordedCalls();
    EXPECT_EQ(glGenLists(1), 1u);
    EXPECT_EQ(glGenLists(3), 2u);
    EXPECT_EQ(glGenLists(1), 5u);
    GLuint names[3] = {};
    glGenTextures(3, names);
    EXPECT_EQ(std::vector<GLuint>(names, names + 3), (std::vector<GLuint>{1, 2, 3}));
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    EXPECT_EQ(RecordedCalls(),
              (std::vector<std::string>{"glGenLists(1)", "glGenLists(3)", "glGenLists(1)",
                                        "glGenTextures(3, ptr)", "glIsEnabled(0x0BE2)"}));
    glTable.glGetError = []() -> GLenum { return GL_OUT_OF_MEMORY; };
    glTable.glIsList = [](GLuint list) -> GLboolean { return list == 7 ? GL_TRUE : GL_FALSE; };
    static const GLubyte vendor[] = "Torvex test";
    glTable.glGetString = [](GLenum name) -> const GLubyte* {
        return name == GL_VENDOR ? vendor : nullptr;
    };
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_OUT_OF_MEMORY));
    EXPECT_EQ(glIsList(7), GL_TRUE);
    EXPECT_EQ(glIsList(8), GL_FALSE);
    EXPECT_EQ(glGetString(GL_VENDOR), vendor);
    EXPECT_EQ(glGetString(GL_RENDERER), nullptr);
}

TEST(GlRecorder, TextureImagesAreCopiedWithTheUnpackAlignment) {
    StartRecording();
    std::vector<unsigned char> pixels(64);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i);
    struct Case {
        GLint alignment;  // 0: left at the default
        GLsizei width, height;
        GLenum format, type;
        size_t bytes;
    };
    const std::vector<Case> cases = {
        {0, 2, 2, GL_RGB, GL_UNSIGNED_BYTE, 8 + 6},  // rows padded to 4
        {1, 2, 2, GL_RGB, GL_UNSIGNED_BYTE, 12},
        {1, 3, 2, GL_RGBA, GL_UNSIGNED_BYTE, 24},
        {8, 3, 3, GL_LUMINANCE, GL_UNSIGNED_BYTE, 8 + 8 + 3},
        {1, 2, 2, GL_RGB, GL_FLOAT, 0},  // only 8-bit images are copied
        {1, 0, 2, GL_RGB, GL_UNSIGNED_BYTE, 0},
    };
    for (const Case& c : cases) {
        if (c.alignment) glPixelStorei(GL_UNPACK_ALIGNMENT, c.alignment);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, c.width, c.height, 0, c.format, c.type,
                     pixels.data());
        ASSERT_FALSE(RecordedTexImages().empty());
        const RecordedTexImage& image = RecordedTexImages().back();
        EXPECT_EQ(image.call, RecordedCalls().back());
        EXPECT_EQ(image.pixels,
                  std::vector<unsigned char>(pixels.begin(), pixels.begin() + c.bytes))
            << c.width << "x" << c.height << " alignment " << c.alignment;
    }
    EXPECT_EQ(RecordedTexImages().size(), cases.size());
}

TEST(GlTable, NoOpTableAnswersEveryRowWithZero) {
    ClearGlTable();
    FillGlTableWithNoOps();
    for (int row = 0; row < kGlRowCount; ++row)
        ASSERT_NE(GlTableRow(row), nullptr) << kGlRowNames[row];
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(glGenLists(5), 0u);
    EXPECT_EQ(glGetString(GL_VERSION), nullptr);
    EXPECT_EQ(glIsTexture(1), GL_FALSE);
    EXPECT_EQ(glTable.glIsList(3), GL_FALSE);
    GLuint names[2] = {9, 9};
    glGenTextures(2, names);  // writes nothing
    EXPECT_EQ(names[0], 9u);
}

}  // namespace
