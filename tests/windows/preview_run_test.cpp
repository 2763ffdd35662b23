// The preview's code path inside this process, on Wine's OpenGL: a child fills the test's own
// window, rain is drawn at the scaled column count and read back from the child's context, no
// more than 30 frames a second, nothing of the full-screen run is touched, and the preview ends
// with its parent.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <vector>

#include "base/platform.h"
#include "gl/driver_win32.h"
#include "gl/gl.h"
#include "host/win32/host_state_win32.h"
#include "host/win32/preview_win32.h"
#include "rain/field.h"
#include "rain/monitors.h"
#include "render/run.h"
#include "settings/settings.h"
#include "tests/windows/system_state.h"

namespace {

constexpr int kPreviewWidth = 152;  // the little monitor's client area
constexpr int kPreviewHeight = 112;

TEST(PreviewColumnsTest, KeepFullScreenCellSizesForAnyStoredSize) {
    struct Case {
        int32_t size, previewWidth, desktopWidth, columns;
    } cases[] = {
        {52, 152, 1024, 7},    // 52 x 152 / 1024 = 7.7, truncated
        {52, 1024, 1024, 52},  // a preview as wide as the desktop
        {1, 152, 1024, 1},     // rounds to 0: at least one column
        {0, 152, 1024, 1},     // a stored 0 or a negative size
        {-7, 152, 1024, 1},
        {INT32_MAX, 152, 1024, 152},  // no overflow; no column narrower than a pixel
        {52, 0, 1024, 1},             // a parent with an empty client area
        {52, 152, 0, 52},             // a desktop that reports no width
        {200, 152, 100, 152},         // more columns than the preview has pixels
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowColumnCount(c.size, c.previewWidth, c.desktopWidth), c.columns)
            << c.size << " x " << c.previewWidth << " / " << c.desktopWidth;
}

int displayChanges = 0;
long CountedChange(DEVMODEA*, unsigned long) {
    ++displayChanges;
    return DISP_CHANGE_SUCCESSFUL;
}

// A top-level window with the little monitor's client size, as the system's dialog gives.
HWND MakeHostWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PreviewRunTestHost";
    RegisterClassA(&windowClass);
    RECT frame = {0, 0, kPreviewWidth, kPreviewHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowExA(0, "PreviewRunTestHost", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           windowClass.hInstance, nullptr);
}

TEST(PreviewRunTest, NamesNoWindowOrOneOfItsOwnEndsAtOnce) {
    // A small number such as 42 may name a live window of the session (a handle without its
    // upper half matches any generation), so the number of a window just destroyed is used.
    hostState = new HostState();
    HWND own = MakeHostWindow();
    ASSERT_NE(own, nullptr);
    // A window of the preview's own process is no host. Should a preview run anyway, the quit
    // posted first ends it at its first pass and is taken, and the child's end posts its own.
    PostQuitMessage(77);
    RunPreview(own);
    MSG quit = {};
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 77u);
    DestroyWindow(own);
    EXPECT_EQ(StartPreview(own), nullptr);
    EXPECT_EQ(driverState.driverLibrary, nullptr);
    EndRun();
}

TEST(PreviewRunTest, DrawsScaledRainAtMostThirtyFramesASecondUntilItsParentGoes) {
    platform.ChangeDisplaySettingsA = CountedChange;
    runMode = ModePreview;
    hostState = new HostState();
    settings = Settings{};
    settings.Size = 52;
    settings.Use3dfx = 1;  // not for a preview: it still draws with the system's OpenGL
    const int cursorBefore = CursorCount();

    HWND host = MakeHostWindow();
    ASSERT_NE(host, nullptr);
    HWND child = StartPreview(host);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetParent(child), host);
    EXPECT_TRUE(IsWindowVisible(child));
    RECT client = {};
    GetClientRect(child, &client);
    EXPECT_EQ(client.right, kPreviewWidth);
    EXPECT_EQ(client.bottom, kPreviewHeight);
    EXPECT_EQ(hostState->rain.monitors.fields[0].width, kPreviewWidth);
    EXPECT_EQ(hostState->rain.monitors.fields[0].height, kPreviewHeight);
    // The count comes from this child's width against the real desktop's: 7 on 1024 pixels.
    EXPECT_EQ(hostState->rain.monitors.fields[0].columnCount,
              WindowColumnCount(52, kPreviewWidth, GetSystemMetrics(SM_CXSCREEN)));
    if (GetSystemMetrics(SM_CXSCREEN) == 1024) {
        EXPECT_EQ(hostState->rain.monitors.fields[0].columnCount, 7);
    }
    EXPECT_NE(hostState->wgl.renderContext, nullptr);
    EXPECT_FALSE(driverState.useDriverWgl);  // the system's OpenGL, GDI pixel formats and swaps

    // Input that would end a full-screen run ends nothing here.
    SendMessageA(child, WM_KEYDOWN, 'A', 0);
    SendMessageA(child, WM_LBUTTONDOWN, 0, 0);
    for (int move = 0; move < 5; ++move) {
        SetCursorPos(move % 2 ? 600 : 10, move % 2 ? 500 : 10);
        SendMessageA(child, WM_MOUSEMOVE, 0, 0);
    }
    SendMessageA(child, WM_ACTIVATE, WA_INACTIVE, 0);

    // About a second of passes: frames are counted against the wall clock, as an upper bound.
    const uint32_t start = platform.timeGetTime();
    const uint32_t framesBefore = hostState->preview.framesDrawn;
    uint32_t elapsed = 0;
    while ((elapsed = platform.timeGetTime() - start) < 1200) ASSERT_TRUE(PreviewPass());
    const uint32_t frames = hostState->preview.framesDrawn - framesBefore;
    EXPECT_GE(frames, 1u);
    // Frames 34 ms apart: at most one more than 30 a second of the time taken.
    EXPECT_LE(frames, elapsed * 30 / 1000 + 1) << frames << " frames in " << elapsed << " ms";
    EXPECT_TRUE(IsWindow(child));

    // One more frame read back from the child's context before its swap: rain is on it.
    DrawRain(hostState->rain);
    std::vector<unsigned char> pixels(kPreviewWidth * kPreviewHeight * 4);
    glReadPixels(0, 0, kPreviewWidth, kPreviewHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    size_t green = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        if (pixels[i + 1] > 64 && pixels[i + 1] > 2 * pixels[i]) ++green;
    std::printf("green pixels: %zu\n", green);
    EXPECT_GT(green, 50u);

    EXPECT_EQ(displayChanges, 0);
    EXPECT_FALSE(ScreenSaverRunning());
    EXPECT_EQ(CursorCount(), cursorBefore);

    // The parent goes, the child with it: the next pass ends the preview, the contexts are gone.
    DestroyWindow(host);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(PreviewPass());
    EXPECT_EQ(hostState->wgl.renderContext, nullptr);
    EXPECT_EQ(hostState->wgl.deviceContext, nullptr);
    StopPreview();
    EXPECT_EQ(driverState.driverLibrary, nullptr);

    EndRun();
}

}  // namespace
