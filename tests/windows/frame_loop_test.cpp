// One pass of the saver's frame loop on a real window, with a scripted millisecond clock and
// the recording GL table: pacing of the update steps, message handling, what each pass draws.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/platform.h"
#include "host/win32/host_state_win32.h"
#include "host/win32/run_saver_win32.h"
#include "rain/field.h"
#include "rain/monitors.h"
#include "render/run.h"
#include "settings/settings.h"
#include "tests/support/gl_recorder.h"

namespace {

uint32_t clockNow = 0;
uint32_t ScriptedClock() { return clockNow; }

int userMessages = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) ++userMessages;
    return DefWindowProcA(window, message, wParam, lParam);
}

int Count(const std::string& name) { return static_cast<int>(RecordedCallsTo(name).size()); }

// Letter cells drawn: the quads of the draw that follows binding the letter page.
int LetterCells() {
    const std::string letterPage =
        "glBindTexture(0x0DE1, " + std::to_string(hostState->rain.renderer.pages[1]) + ")";
    const std::vector<std::string>& calls = RecordedCalls();
    int cells = 0;
    for (size_t k = 0; k + 1 < calls.size(); ++k)
        if (calls[k] == letterPage && calls[k + 1].rfind("glDrawArrays(0x0007", 0) == 0)
            cells += std::stoi(calls[k + 1].substr(calls[k + 1].rfind(", ") + 2)) / 4;
    return cells;
}

class FrameLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = CountingProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "FrameLoopTest";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "FrameLoopTest", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        userMessages = 0;
        hostState = new HostState();            // no device context: swaps go nowhere
        hostState->rain.renderer.pages[0] = 1;  // the page names a set-up would give
        hostState->rain.renderer.pages[1] = 2;
        platform.timeGetTime = ScriptedClock;
        StartRecording();
        const MonitorRect screen{0, 0, 640, 480};
        hostState->rain.monitors.build(&screen, 1, false, 20, false, false, "THE TORVEX");
        ClearRecordedCalls();
    }
    void TearDown() override {
        DestroyWindow(window);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
        delete hostState;
        hostState = nullptr;
        platform = kRealPlatform;
    }
    HWND window = nullptr;
};

TEST_F(FrameLoopTest, StepsOnlyWhenMoreThanSpeedMillisecondsHavePassed) {
    struct Case {
        const char* name;
        int32_t speed;
        uint32_t start;
        std::vector<uint32_t> passes;  // clock at each pass
        std::vector<int> steps;        // steps made by each pass
    };
    const Case cases[] = {
        {"Speed 30, a pass every 10 ms: the fourth pass steps",
         30,
         1000,
         {1010, 1020, 1030, 1040, 1050, 1060, 1070, 1080},
         {0, 0, 0, 1, 0, 0, 0, 1}},
        {"Speed 0: every pass in which the clock moved",
         0,
         500,
         {500, 501, 501, 503, 503},
         {0, 1, 0, 1, 0}},
        {"a long pass steps once, missed steps are not made up",
         30,
         0,
         {5000, 5000, 5030, 5031},
         {1, 0, 0, 1}},
        {"across the clock's wrap", 30, 0xFFFFFFF0u, {0x0Eu, 0x0Fu}, {0, 1}},
        {"a clock that went back does not step", 30, 1000, {900, 0x800003E8u}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hostState->rain.settings.Speed = c.speed;
        hostState->rain.lastStepTime = c.start;
        for (size_t i = 0; i < c.passes.size(); ++i) {
            SCOPED_TRACE(i);
            hostState->rain.monitors.fields[0].cycleCounter = 10;
            clockNow = c.passes[i];
            ClearRecordedCalls();
            const uint32_t before = hostState->rain.lastStepTime;
            ASSERT_TRUE(FramePass(window));
            EXPECT_EQ(hostState->rain.monitors.fields[0].cycleCounter - 10, c.steps[i]);
            EXPECT_EQ(hostState->rain.lastStepTime, c.steps[i] ? clockNow : before);
            // Every pass draws a whole frame, stepped or not.
            EXPECT_EQ(Count("glClear"), 1);
            EXPECT_EQ(Count("glFlush"), 1);
        }
    }
}

TEST_F(FrameLoopTest, TakesOneMessagePerPassAndQuitsBeforeDrawing) {
    hostState->rain.settings.Speed = 30;
    hostState->rain.lastStepTime = 0;
    clockNow = 10;
    PostMessageA(window, WM_USER, 0, 0);
    PostMessageA(window, WM_USER, 0, 0);
    EXPECT_TRUE(FramePass(window));
    EXPECT_EQ(userMessages, 1);
    EXPECT_TRUE(FramePass(window));
    EXPECT_EQ(userMessages, 2);
    EXPECT_EQ(Count("glClear"), 2);

    // The quit request is posted to the window; the pass ends before stepping or drawing.
    PostMessageA(window, WM_QUIT, 0, 0);
    ClearRecordedCalls();
    hostState->rain.monitors.fields[0].cycleCounter = 10;
    clockNow = 100000;
    EXPECT_FALSE(FramePass(window));
    EXPECT_TRUE(RecordedCalls().empty());
    EXPECT_EQ(hostState->rain.monitors.fields[0].cycleCounter, 10);
    EXPECT_EQ(hostState->rain.lastStepTime, 0u);

    // Messages of other windows are not the loop's to take.
    PostMessageA(nullptr, WM_USER, 0, 0);
    EXPECT_TRUE(FramePass(window));
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_REMOVE));
}

TEST_F(FrameLoopTest, LettersAreDrawnAbove325AndNeverInContinuousMode) {
    struct Case {
        bool continuous;
        int32_t counter;
        int letters;  // non-space letters of "THE TORVEX"
    };
    const Case cases[] = {
        {false, 325, 0}, {false, 326, 9}, {false, 600, 9},
        {false, 0, 0},   {true, 326, 0},  {true, 600, 0},
    };
    hostState->rain.settings.Speed = 30;
    // Built letters wait above the screen, where nothing is drawn: bring them down into it.
    for (int32_t j = 0; j < hostState->rain.monitors.fields[0].messageLength; ++j)
        hostState->rain.monitors.fields[0].letters[j]->y = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "continuous " << c.continuous << " counter " << c.counter);
        hostState->rain.monitors.fields[0].continuous = c.continuous;
        hostState->rain.monitors.fields[0].cycleCounter = c.counter;
        hostState->rain.lastStepTime = clockNow;  // no step: the counter stays as set
        ClearRecordedCalls();
        ASSERT_TRUE(FramePass(window));
        EXPECT_EQ(hostState->rain.monitors.fields[0].cycleCounter, c.counter);
        EXPECT_EQ(LetterCells(), c.letters);
    }
}

}  // namespace
