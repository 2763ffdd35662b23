// Frames paced to the display and the display-off pause, on a real saver window under Wine: the
// clock, the display mode and the wait come through the platform table, the GL calls are recorded.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "base/platform.h"
#include "gl/driver_win32.h"
#include "gl/gl_table.h"
#include "gl/wgl_context_win32.h"
#include "host/win32/display_power_win32.h"
#include "host/win32/frame_pacing_win32.h"
#include "host/win32/host_state_win32.h"
#include "host/win32/run_saver_win32.h"
#include "host/win32/window_proc_win32.h"
#include "rain/field.h"
#include "rain/monitors.h"
#include "settings/settings.h"
#include "tests/support/gl_recorder.h"
#include "tests/windows/system_state.h"

namespace {

constexpr GUID kDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kOtherSetting = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1}};

uint32_t clockNow = 0;
uint32_t ScriptedClock() { return clockNow; }
int hertz = 60;  // the display mode's answer; negative: the query fails
int AnsweredMode(const char*, unsigned long, DEVMODEA* record) {
    record->dmDisplayFrequency = static_cast<DWORD>(hertz);
    return hertz >= 0;
}

// Each wait asked for (milliseconds). The time passes in it, unless a message is to arrive.
std::vector<unsigned long> waits;
HWND saverWindow = nullptr;
size_t clickInWait = 0;  // 1-based; 0: none
UINT postInWait = 0;
unsigned long RecordedWait(unsigned long, void* const*, int, unsigned long ms, unsigned long mask) {
    EXPECT_EQ(mask, static_cast<unsigned long>(QS_ALLINPUT));
    waits.push_back(ms);
    if (waits.size() == clickInWait) PostMessageA(saverWindow, WM_LBUTTONDOWN, 0, 0);
    if (postInWait) PostMessageA(saverWindow, postInWait, 0, 0);
    if (waits.size() > 50) PostMessageA(saverWindow, WM_QUIT, 0, 0);  // a loop that never ends
    if (waits.size() != clickInWait && !postInWait && ms != INFINITE) clockNow += ms;
    return WAIT_TIMEOUT;
}

int Count(const std::string& name) { return static_cast<int>(RecordedCallsTo(name).size()); }

// What the system sends: data 0 off, 1 on, 2 dimmed.
void SendDisplayState(DWORD state, const GUID& setting = kDisplayState, DWORD length = 4) {
    alignas(POWERBROADCAST_SETTING) BYTE message[sizeof(POWERBROADCAST_SETTING) + 4] = {};
    *reinterpret_cast<POWERBROADCAST_SETTING*>(message) = {setting, length, {}};
    std::memcpy(message + offsetof(POWERBROADCAST_SETTING, Data), &state, sizeof state);
    SendMessageA(saverWindow, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                 reinterpret_cast<LPARAM>(message));
}

class FramePacingTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = SaverWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "FramePacingTest";
        RegisterClassA(&windowClass);
        runMode = ModeSaver;
        hostState = new HostState();
        platform.timeGetTime = platform.GetTickCount = ScriptedClock;  // within the delay
        platform.EnumDisplaySettingsA = AnsweredMode;
        platform.MsgWaitForMultipleObjects = RecordedWait;
        clockNow = 1000;
        // Hidden: no activation changes of its own reach the procedure.
        saverWindow = CreateWindowExA(0, "FramePacingTest", "", WS_POPUP, 0, 0, 64, 64, nullptr,
                                      nullptr, windowClass.hInstance, nullptr);
        hostState->wgl.deviceContext = nullptr;  // swaps go nowhere
        hostState->rain.settings.Speed = 30;
        StartRecording();
        const MonitorRect screen{0, 0, 640, 480};
        hostState->rain.monitors.build(&screen, 1, false, 20, false, false, "THE TORVEX");
        ClearRecordedCalls();
    }
    void TearDown() override {
        DestroyWindow(saverWindow);
        EndRun();
        waits.clear();
        clickInWait = postInWait = 0;
        hertz = 60;
    }
};

TEST_F(FramePacingTest, EarlyFramesWaitTheRestOfTheIntervalLateOnesDoNot) {
    struct Case {
        const char* name;
        int hertz;
        std::vector<uint32_t> work;  // milliseconds each frame takes
        std::vector<uint32_t> wait;  // milliseconds waited after it
    };
    const Case cases[] = {
        {"50 Hz", 50, {5, 0, 19}, {15, 20, 1}},
        {"a frame of an interval or more does not wait; the next is timed from it",
         50,
         {25, 3, 20, 21, 0},
         {0, 17, 0, 0, 20}},
        {"75 Hz", 75, {0, 0, 0}, {13, 13, 14}},
        {"0 Hz counts as 60", 0, {0, 0, 0, 0}, {16, 17, 17, 16}},
        {"1 Hz counts as 60", 1, {0, 0, 0, 0}, {16, 17, 17, 16}},
        {"no display mode counts as 60", -1, {2, 0}, {14, 17}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hertz = c.hertz;
        FramePacer pacer;
        StartPacing(pacer, CurrentRefreshRate(), platform.timeGetTime());
        for (size_t i = 0; i < c.work.size(); ++i) {
            clockNow += c.work[i];
            const uint32_t before = clockNow;
            PaceFrame(saverWindow, pacer);
            EXPECT_EQ(clockNow - before, c.wait[i]) << "frame " << i;
        }
    }
    // No drift: two seconds of instant frames at 60 Hz are 120 frames.
    FramePacer pacer;
    StartPacing(pacer, 60, platform.timeGetTime());
    const uint32_t begin = clockNow;
    for (int frame = 0; frame < 120; ++frame, waits.clear()) PaceFrame(saverWindow, pacer);
    EXPECT_EQ(clockNow - begin, 2000u);
}

TEST_F(FramePacingTest, AClickDuringAWaitEndsTheLoopAtOnce) {
    clickInWait = 3;
    RunFrameLoop(saverWindow);
    // No wait after the click: the click asks for a close, the close posts the quit, each
    // taken by the next pass, which draws without waiting.
    EXPECT_EQ(waits, (std::vector<unsigned long>{16, 17, 17}));
    EXPECT_EQ(Count("glClear"), 5);
    EXPECT_EQ(hostState->closeRequested, 1);
}

TEST_F(FramePacingTest, NothingIsDrawnOrSteppedWhileTheDisplayIsOff) {
    struct Case {
        const char* name;
        DWORD state;
        GUID setting;
        DWORD length;
        bool draws;  // afterwards
    };
    const Case cases[] = {
        {"off", 0, kDisplayState, 4, false},
        {"another setting changes nothing", 1, kOtherSetting, 4, false},
        {"short data changes nothing", 1, kDisplayState, 0, false},
        {"dimmed still shows the rain", 2, kDisplayState, 4, true},
        {"off again", 0, kDisplayState, 4, false},
        {"on", 1, kDisplayState, 4, true},
    };
    postInWait = WM_USER;  // while off, a message ends each wait
    hostState->rain.lastStepTime = clockNow;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SendDisplayState(c.state, c.setting, c.length);
        const int32_t counter = hostState->rain.monitors.fields[0].cycleCounter;
        clockNow += 100;  // a step is due
        ClearRecordedCalls();
        waits.clear();
        ASSERT_TRUE(FramePass(saverWindow));
        EXPECT_EQ(Count("glFlush"), c.draws ? 1 : 0);
        EXPECT_EQ(hostState->rain.monitors.fields[0].cycleCounter - counter, c.draws ? 1 : 0);
        // Off: one wait for messages only, with no time limit.
        EXPECT_EQ(waits,
                  c.draws ? std::vector<unsigned long>{} : std::vector<unsigned long>{INFINITE});
    }
    // A long time off, then on: one step from where the rain stopped, none made up.
    SendDisplayState(0);
    const int32_t counter = hostState->rain.monitors.fields[0].cycleCounter;
    for (int pass = 0; pass < 5; ++pass, clockNow += 1000) FramePass(saverWindow);
    SendDisplayState(1);
    FramePass(saverWindow);
    EXPECT_EQ(hostState->rain.monitors.fields[0].cycleCounter, counter + 1);
}

TEST_F(FramePacingTest, WithoutTheRegistrationCallEveryPassDraws) {
    platform.RegisterPowerSettingNotification = nullptr;
    EXPECT_FALSE(RegisterDisplayStateNotification(saverWindow));
    hostState->rain.lastStepTime = clockNow;
    for (int pass = 0; pass < 3; ++pass) ASSERT_TRUE(FramePass(saverWindow));
    EXPECT_EQ(Count("glFlush"), 3);
    UnregisterDisplayStateNotification();  // nothing to end, and no call to end it with
}

std::vector<int> intervalsAsked;
BOOL WINAPI RecordInterval(int interval) {
    intervalsAsked.push_back(interval);
    return TRUE;
}

TEST_F(FramePacingTest, AsksForOneSwapPerRefreshOnlyWhereTheDriverHasIt) {
    WglContext wgl;  // no rendering context: the interval is the driver's, not the context's
    GlContext context = WglContextOf(wgl);
    driverState.wgl.swapIntervalEXT = RecordInterval;
    AskForSwapPerRefresh(context);
    EXPECT_EQ(intervalsAsked, std::vector<int>{1});
    driverState.wgl.swapIntervalEXT = nullptr;
    AskForSwapPerRefresh(context);
    EXPECT_EQ(intervalsAsked, std::vector<int>{1});
}

}  // namespace
