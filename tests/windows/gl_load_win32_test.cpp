// The Windows resolvers over a real library: Wine's opengl32.dll must export every core row by
// its exact name, and libraries without the functions (or without wglGetProcAddress) answer null.
// Windows build only; runs under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include "gl/gl_load_win32.h"
#include "gl/gl_table.h"

namespace {

TEST(GlLoadWin32, SystemLibraryExportsEveryCoreRow) {
    HMODULE opengl = LoadLibraryA("opengl32.dll");
    ASSERT_NE(opengl, nullptr);
    int firstMissing = 0;
    EXPECT_TRUE(FillGlCoreRows(&ResolveGlExport, opengl, &firstMissing));
    EXPECT_EQ(firstMissing, -1) << (firstMissing >= 0 ? kGlRowNames[firstMissing] : "");
    EXPECT_EQ(GlTableRow(kGlRow_glViewport),
              reinterpret_cast<void*>(GetProcAddress(opengl, "glViewport")));
    // Without a current context the driver may refuse extensions; either way nothing fails.
    FillGlExtRows(&ResolveGlThroughWgl, opengl);
    EXPECT_EQ(ResolveGlThroughWgl("glNoSuchFunctionARB", opengl), nullptr);
    EXPECT_EQ(ResolveGlExport("glNoSuchFunction", opengl), nullptr);
    ClearGlTable();
    FreeLibrary(opengl);
}

TEST(GlLoadWin32, LibrariesWithoutGlAnswerNull) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    int firstMissing = 0;
    EXPECT_FALSE(FillGlCoreRows(&ResolveGlExport, kernel, &firstMissing));
    EXPECT_EQ(firstMissing, 0);
    EXPECT_EQ(ResolveGlThroughWgl("glActiveTextureARB", kernel), nullptr);  // no wglGetProcAddress
    EXPECT_NE(ResolveGlExport("GetTickCount", kernel), nullptr);
    EXPECT_EQ(ResolveGlExport("glAccum", nullptr), nullptr);
    EXPECT_EQ(ResolveGlThroughWgl("glActiveTextureARB", nullptr), nullptr);
    EXPECT_EQ(ResolveGlExport(nullptr, kernel), nullptr);
}

}  // namespace
