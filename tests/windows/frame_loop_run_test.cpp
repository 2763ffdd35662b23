// The whole saver run in one process on Wine's OpenGL: start-up leaves a visible window with a
// current context, rain drawn and the screen-saver state on; a quit ends the loop, and the
// teardown gives everything back. Display-mode changes are recorded, not made.
#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "base/platform.h"
#include "gl/driver_win32.h"
#include "gl/gl.h"
#include "gl/gl_table.h"
#include "host/win32/host_state_win32.h"
#include "host/win32/run_saver_win32.h"
#include "host/win32/window_win32.h"
#include "rain/field.h"
#include "rain/monitors.h"
#include "render/run.h"
#include "settings/settings.h"
#include "tests/windows/system_state.h"

namespace {

// Each display-mode change with what stood around it: the order of start-up and teardown.
struct ModeChange {
    bool restore;  // ChangeDisplaySettingsA(NULL, 0)
    bool windowAlive;
    bool driverLoaded;
    BOOL saverRunning;
    int cursorCount;
    bool operator==(const ModeChange& o) const {
        return restore == o.restore && windowAlive == o.windowAlive &&
               driverLoaded == o.driverLoaded && saverRunning == o.saverRunning &&
               cursorCount == o.cursorCount;
    }
};

void PrintTo(const ModeChange& c, std::ostream* out) {
    *out << (c.restore ? "restore" : "request") << " window " << c.windowAlive << " driver "
         << c.driverLoaded << " running " << c.saverRunning << " cursor " << c.cursorCount;
}

std::vector<ModeChange> modeChanges;

long RecordedChange(DEVMODEA* record, unsigned long) {
    modeChanges.push_back({record == nullptr, hostState->window && IsWindow(hostState->window),
                           driverState.driverLibrary != nullptr, ScreenSaverRunning(),
                           CursorCount()});
    return DISP_CHANGE_SUCCESSFUL;
}

// The display-state registration, made for the window and ended before it goes.
std::vector<HWND> registeredFor;
std::vector<bool> windowAliveAtUnregister;
int registration = 0;

void* RecordedRegister(void* recipient, const GUID*, unsigned long) {
    registeredFor.push_back(static_cast<HWND>(recipient));
    return &registration;
}
int RecordedUnregister(void* handle) {
    windowAliveAtUnregister.push_back(handle == &registration && IsWindow(hostState->window));
    return TRUE;
}

TEST(SaverRunTest, StartsDrawsQuitsAndGivesEverythingBack) {
    platform.ChangeDisplaySettingsA = RecordedChange;
    platform.RegisterPowerSettingNotification = RecordedRegister;
    platform.UnregisterPowerSettingNotification = RecordedUnregister;
    DEVMODEA current = {};
    current.dmSize = sizeof current;
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current));
    settings.ScrWidth = static_cast<int32_t>(current.dmPelsWidth);
    settings.ScrHeight = static_cast<int32_t>(current.dmPelsHeight);
    settings.ColorBits = static_cast<int32_t>(current.dmBitsPerPel);
    settings.Hertz = static_cast<int32_t>(current.dmDisplayFrequency);
    runMode = ModeSaver;
    hostState = new HostState();
    const int cursorBefore = CursorCount();

    HWND window = StartSaver(SW_SHOW);
    ASSERT_NE(window, nullptr);
    // The mode is switched with the window up and the driver loaded, before the cursor is
    // hidden and the system is told that a saver runs.
    EXPECT_EQ(modeChanges, (std::vector<ModeChange>{{false, true, true, FALSE, cursorBefore}}));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(hostState->window, window);
    EXPECT_NE(driverState.driverLibrary, nullptr);
    EXPECT_EQ(hostState->wgl.deviceContext, GetDC(window));  // the window's own device context
    EXPECT_NE(hostState->wgl.renderContext, nullptr);
    EXPECT_NE(hostState->rain.monitors.fields[0].firstStream, nullptr);
    EXPECT_TRUE(ScreenSaverRunning());
    EXPECT_EQ(CursorCount(), cursorBefore - 1);  // hidden for the run
    EXPECT_EQ(registeredFor, std::vector<HWND>{window});
    // The swap interval is what the driver names with the context current, as drivers name
    // extensions only then.
    using WglGetProcAddress = PROC(WINAPI*)(LPCSTR);
    auto wglGetProcAddressOfDriver = reinterpret_cast<WglGetProcAddress>(
        reinterpret_cast<void*>(GetProcAddress(driverState.driverLibrary, "wglGetProcAddress")));
    ASSERT_NE(wglGetProcAddressOfDriver, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(driverState.wgl.swapIntervalEXT),
              reinterpret_cast<void*>(wglGetProcAddressOfDriver("wglSwapIntervalEXT")));

    // A few passes, then one more frame read back before its swap: rain is on it.
    hostState->rain.lastStepTime = platform.timeGetTime();
    for (int pass = 0; pass < 3; ++pass) ASSERT_TRUE(FramePass(window));
    DrawRain(hostState->rain);
    std::vector<unsigned char> pixels(static_cast<size_t>(settings.ScrWidth) * settings.ScrHeight *
                                      4);
    glReadPixels(0, 0, settings.ScrWidth, settings.ScrHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    size_t green = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        if (pixels[i + 1] > 64 && pixels[i + 1] > 2 * pixels[i]) ++green;
    // Only the first stream starts on screen, so early frames may hold little rain; a glyph
    // cell alone is some tens of green pixels.
    EXPECT_GT(green, 50u);

    PostMessageA(window, WM_QUIT, 0, 0);
    EXPECT_FALSE(FramePass(window));
    StopSaver(window);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(windowAliveAtUnregister, std::vector<bool>{true});
    // The stored mode comes back after the saver state is off and the window gone, while the
    // driver is still loaded and the cursor still hidden.
    ASSERT_EQ(modeChanges.size(), 2u);
    EXPECT_EQ(modeChanges[1], (ModeChange{true, false, true, FALSE, cursorBefore - 1}));
    EXPECT_EQ(driverState.driverLibrary, nullptr);
    EXPECT_EQ(hostState->wgl.deviceContext, nullptr);
    EXPECT_EQ(hostState->wgl.renderContext, nullptr);
    EXPECT_FALSE(ScreenSaverRunning());
    EXPECT_EQ(CursorCount(), cursorBefore);

    EndRun();
}

}  // namespace
