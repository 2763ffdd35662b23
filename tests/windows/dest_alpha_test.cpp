// Destination alpha on a real double-buffered window whose pixel format has alpha planes: the
// hold at 1 must reach both buffers, or every other frame after a swap loses the additive blend.
#include <windows.h>

#include <gtest/gtest.h>

#include "gl/dest_alpha.h"
#include "gl/driver_win32.h"
#include "gl/gl.h"

namespace {

// A double-buffered RGBA format with alpha planes, as Wine + Mesa grant for 32-bit requests.
int AlphaFormat(HDC dc) {
    const int count = DescribePixelFormat(dc, 1, sizeof(PIXELFORMATDESCRIPTOR), nullptr);
    for (int i = 1; i <= count; ++i) {
        PIXELFORMATDESCRIPTOR pfd = {};
        DescribePixelFormat(dc, i, sizeof pfd, &pfd);
        const DWORD need = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        if ((pfd.dwFlags & need) == need && pfd.iPixelType == PFD_TYPE_RGBA && pfd.cAlphaBits > 0 &&
            pfd.cRedBits == 8)
            return i;
    }
    return 0;
}

GLubyte AlphaOf(GLenum buffer) {
    GLubyte pixel[4] = {};
    glReadBuffer(buffer);
    glReadPixels(8, 8, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return pixel[3];
}

}  // namespace

TEST(DestinationAlphaTest, HeldAtOneInBothBuffersOfADoubleBufferedWindow) {
    ASSERT_EQ(LoadDriverEntryPoints("opengl32.dll"), 0);
    WNDCLASSA wc = {};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DestAlphaTest";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "DestAlphaTest", "", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    HDC dc = GetDC(window);
    const int format = AlphaFormat(dc);
    if (format == 0) GTEST_SKIP() << "no double-buffered format with alpha planes here";
    PIXELFORMATDESCRIPTOR pfd = {};
    DescribePixelFormat(dc, format, sizeof pfd, &pfd);
    ASSERT_TRUE(DriverSetPixelFormat(dc, format, &pfd));
    HGLRC context = DriverCreateContext(dc);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(DriverMakeCurrent(dc, context));

    // Both buffers start with alpha 0, as a driver may hand them over.
    glDrawBuffer(GL_FRONT_AND_BACK);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glDrawBuffer(GL_BACK);
    ASSERT_EQ(AlphaOf(GL_BACK), 0);

    HoldDestinationAlphaAtOne();
    EXPECT_EQ(AlphaOf(GL_BACK), 255);
    EXPECT_EQ(AlphaOf(GL_FRONT), 255);
    // Drawing still goes to the back buffer, and the frame's own clear leaves alpha alone.
    GLint drawBuffer = 0;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    EXPECT_EQ(drawBuffer, GL_BACK);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(AlphaOf(GL_BACK), 255);

    DriverMakeCurrent(nullptr, nullptr);
    DriverDeleteContext(context);
    ReleaseDC(window, dc);
    DestroyWindow(window);
    FreeDriverLibrary();
}
