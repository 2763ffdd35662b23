// Frames paced to the display and the display-off pause, on real windows under Wine: the clock,
// the display mode and the wait come through the platform table, the GL calls are recorded.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/platform.h"
#include "gl/gl_table.h"
#include "host/display_power_win32.h"
#include "host/frame_pacing_win32.h"
#include "host/host_state.h"
#include "host/run_saver_win32.h"
#include "host/window_proc_win32.h"
#include "rain/field.h"
#include "settings/settings.h"
#include "tests/support/gl_recorder.h"

namespace {

constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kOtherSetting = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};

uint32_t clockNow = 0;
uint32_t ScriptedClock() { return clockNow; }

int answeredHertz = 60;  // negative: the query fails
int AnsweredMode(const char*, unsigned long mode, DEVMODEA* record) {
    if (mode != ENUM_CURRENT_SETTINGS || answeredHertz < 0) return FALSE;
    record->dmDisplayFrequency = static_cast<DWORD>(answeredHertz);
    return TRUE;
}

// Every wait asked for, and what happens in it: by default the time passes; the test may make
// a message arrive instead.
struct Wait {
    unsigned long milliseconds;
    unsigned long wakeMask;
};
std::vector<Wait> waits;
HWND saverWindow = nullptr;
int clickAtWait = -1;  // the wait (0-based) during which a mouse button goes down
UINT postDuringWait = 0;

unsigned long RecordedWait(unsigned long, void* const*, int, unsigned long milliseconds,
                           unsigned long wakeMask) {
    waits.push_back({milliseconds, wakeMask});
    const int index = static_cast<int>(waits.size()) - 1;
    if (index == clickAtWait) {
        PostMessageA(saverWindow, WM_LBUTTONDOWN, 0, 0);
        clockNow += 1;
        return WAIT_OBJECT_0;
    }
    if (postDuringWait) {
        PostMessageA(saverWindow, postDuringWait, 0, 0);
        return WAIT_OBJECT_0;
    }
    if (waits.size() > 50) PostMessageA(saverWindow, WM_QUIT, 0, 0);  // a loop that never ends
    if (milliseconds != INFINITE) clockNow += milliseconds;
    return WAIT_TIMEOUT;
}

int Count(const std::string& name) { return static_cast<int>(RecordedCallsTo(name).size()); }

// What the system sends when the display state changes; data 0 off, 1 on, 2 dimmed.
LRESULT SendDisplayState(HWND window, DWORD state, const GUID& setting = kConsoleDisplayState,
                         DWORD length = sizeof(DWORD)) {
    POWERBROADCAST_SETTING message = {};
    message.PowerSetting = setting;
    message.DataLength = length;
    std::memcpy(message.Data, &state, sizeof state);
    return SendMessageA(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                        reinterpret_cast<LPARAM>(&message));
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
        platform.timeGetTime = ScriptedClock;
        platform.GetTickCount = ScriptedClock;  // within the password delay throughout
        platform.EnumDisplaySettingsA = AnsweredMode;
        platform.MsgWaitForMultipleObjects = RecordedWait;
        clockNow = 1000;
        answeredHertz = 60;
        waits.clear();
        clickAtWait = -1;
        postDuringWait = 0;
        // Hidden: no activation changes of its own reach the procedure.
        saverWindow = CreateWindowExA(0, "FramePacingTest", "", WS_POPUP, 0, 0, 64, 64, nullptr,
                                      nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(saverWindow, nullptr);
        deviceContext = nullptr;  // swaps go nowhere
        settings.ScrWidth = 640;
        settings.ScrHeight = 480;
        settings.Speed = 30;
        StartRecording();
        rainField.build(20, false, false, "THE TORVEX");
        ClearRecordedCalls();
    }
    void TearDown() override {
        DestroyWindow(saverWindow);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
        delete hostState;
        hostState = nullptr;
        runMode = ModeNone;
        platform = kRealPlatform;
    }
};

TEST_F(FramePacingTest, EarlyFramesWaitTheRestOfTheIntervalLateOnesDoNot) {
    struct Case {
        const char* name;
        int hertz;                   // the display mode's answer; negative: no answer
        std::vector<uint32_t> work;  // milliseconds each frame takes
        std::vector<uint32_t> wait;  // milliseconds waited after it
    };
    const Case cases[] = {
        {"50 Hz: early frames wait out 20 ms", 50, {5, 0, 19}, {15, 20, 1}},
        {"a frame longer than an interval does not wait; the next is timed from it",
         50,
         {25, 3, 20, 21, 0},
         {0, 17, 0, 0, 20}},
        {"75 Hz", 75, {0, 0, 0}, {13, 13, 14}},
        {"0 Hz counts as 60", 0, {0, 0, 0, 0}, {16, 17, 17, 16}},
        {"1 Hz counts as 60", 1, {0, 0, 0, 0}, {16, 17, 17, 16}},
        {"no display mode counts as 60", -1, {2, 0, 0}, {14, 17, 17}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        answeredHertz = c.hertz;
        FramePacer pacer;
        StartPacing(pacer, CurrentRefreshRate());
        for (size_t i = 0; i < c.work.size(); ++i) {
            SCOPED_TRACE(i);
            clockNow += c.work[i];
            waits.clear();
            PaceFrame(saverWindow, pacer);
            uint32_t waited = 0;
            for (const Wait& w : waits) {
                EXPECT_EQ(w.wakeMask, static_cast<unsigned long>(QS_ALLINPUT));
                waited += w.milliseconds;
            }
            EXPECT_EQ(waited, c.wait[i]);
        }
    }

    // No drift: two seconds of instant frames at 60 Hz are 120 frames and 2000 ms of waiting.
    FramePacer pacer;
    StartPacing(pacer, 60);
    const uint32_t begin = clockNow;
    for (int frame = 0; frame < 120; ++frame) {
        waits.clear();
        PaceFrame(saverWindow, pacer);
    }
    EXPECT_EQ(clockNow - begin, 2000u);
}

TEST_F(FramePacingTest, AClickDuringAWaitEndsTheLoopAtOnce) {
    clickAtWait = 2;  // during the third wait
    RunFrameLoop(saverWindow);
    // Waits after two frames, the click in the third; then no wait until the loop ends: the
    // click asks for a close, the close posts the quit, each taken by the next pass.
    ASSERT_EQ(waits.size(), 3u);
    EXPECT_EQ(waits[0].milliseconds, 16u);
    EXPECT_EQ(waits[1].milliseconds, 17u);
    EXPECT_EQ(Count("glClear"), 5);
    EXPECT_EQ(clockNow, 1000u + 33u + 1u);
    EXPECT_EQ(hostState->closeRequested, 1);
}

TEST_F(FramePacingTest, NothingIsDrawnOrSteppedWhileTheDisplayIsOff) {
    struct Case {
        const char* name;
        DWORD state;
        GUID setting;
        DWORD length;
        bool draws;  // after this report
    };
    const Case cases[] = {
        {"on", 1, kConsoleDisplayState, 4, true},
        {"off", 0, kConsoleDisplayState, 4, false},
        {"another setting changes nothing", 1, kOtherSetting, 4, false},
        {"data too short changes nothing", 1, kConsoleDisplayState, 0, false},
        {"dimmed still shows the rain", 2, kConsoleDisplayState, 4, true},
        {"off again", 0, kConsoleDisplayState, 4, false},
        {"on again", 1, kConsoleDisplayState, 4, true},
    };
    postDuringWait = WM_USER;  // while off, the wait ends with a message
    uint32_t lastStepTime = clockNow;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SendDisplayState(saverWindow, c.state, c.setting, c.length),
                  c.setting == kConsoleDisplayState && c.length == 4 ? TRUE : FALSE);
        const int32_t counter = rainField.cycleCounter;
        clockNow += 100;  // a step is due in every pass
        ClearRecordedCalls();
        waits.clear();
        ASSERT_TRUE(FramePass(saverWindow, lastStepTime));
        EXPECT_EQ(Count("glClear"), c.draws ? 1 : 0);
        EXPECT_EQ(Count("glFlush"), c.draws ? 1 : 0);
        EXPECT_EQ(rainField.cycleCounter - counter, c.draws ? 1 : 0);
        // Off: one wait for messages only, with no time limit.
        ASSERT_EQ(waits.size(), c.draws ? 0u : 1u);
        if (!c.draws) {
            EXPECT_EQ(waits[0].milliseconds, static_cast<unsigned long>(INFINITE));
        }
    }

    // Back on after a long time off: one step, where the rain stopped; none made up.
    SendDisplayState(saverWindow, 0);
    const int32_t counter = rainField.cycleCounter;
    for (int pass = 0; pass < 5; ++pass) {
        clockNow += 1000;
        ASSERT_TRUE(FramePass(saverWindow, lastStepTime));
    }
    EXPECT_EQ(rainField.cycleCounter, counter);
    SendDisplayState(saverWindow, 1);
    ASSERT_TRUE(FramePass(saverWindow, lastStepTime));
    EXPECT_EQ(rainField.cycleCounter, counter + 1);
}

// Registration through the platform table; the answer is kept for the unregistration.
int registrations = 0;
void* registeredRecipient = nullptr;
GUID registeredSetting = {};
unsigned long registeredFlags = 99;
std::vector<void*> unregistered;
int token = 0;

void* RecordedRegister(void* recipient, const GUID* setting, unsigned long flags) {
    ++registrations;
    registeredRecipient = recipient;
    registeredSetting = *setting;
    registeredFlags = flags;
    return &token;
}
int RecordedUnregister(void* registration) {
    unregistered.push_back(registration);
    return TRUE;
}

TEST_F(FramePacingTest, RegistersForTheDisplayStateWhereThePlatformCan) {
    platform.RegisterPowerSettingNotification = RecordedRegister;
    platform.UnregisterPowerSettingNotification = RecordedUnregister;
    EXPECT_TRUE(RegisterDisplayStateNotification(saverWindow));
    EXPECT_EQ(registrations, 1);
    EXPECT_EQ(registeredRecipient, saverWindow);
    EXPECT_TRUE(registeredSetting == kConsoleDisplayState);
    EXPECT_EQ(registeredFlags, static_cast<unsigned long>(DEVICE_NOTIFY_WINDOW_HANDLE));
    UnregisterDisplayStateNotification();
    EXPECT_EQ(unregistered, std::vector<void*>{&token});
    UnregisterDisplayStateNotification();  // once only
    EXPECT_EQ(unregistered.size(), 1u);

    // Without the calls (before Vista) nothing is registered and every pass draws.
    platform.RegisterPowerSettingNotification = nullptr;
    platform.UnregisterPowerSettingNotification = nullptr;
    EXPECT_FALSE(RegisterDisplayStateNotification(saverWindow));
    EXPECT_EQ(hostState->displayNotification, nullptr);
    UnregisterDisplayStateNotification();
    uint32_t lastStepTime = clockNow;
    for (int pass = 0; pass < 3; ++pass) ASSERT_TRUE(FramePass(saverWindow, lastStepTime));
    EXPECT_EQ(Count("glClear"), 3);
    EXPECT_TRUE(waits.empty());
}

TEST_F(FramePacingTest, AsksForOneSwapPerRefreshOnlyWhereTheDriverHasIt) {
    AskForSwapPerRefresh();
    EXPECT_EQ(RecordedCalls(), std::vector<std::string>{"wglSwapIntervalEXT(1)"});
    glTable.wglSwapIntervalEXT = nullptr;
    ClearRecordedCalls();
    AskForSwapPerRefresh();
    EXPECT_TRUE(RecordedCalls().empty());
}

}  // namespace
