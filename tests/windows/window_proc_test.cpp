// The saver window procedure on real windows under Wine: messages are sent and posted for real,
// while the clock, the cursor position and the platform version come through the platform seam
// and the password check from the fixture PASSWORD.CPL.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/platform.h"
#include "gl/driver_win32.h"
#include "gl/gl_table.h"
#include "host/win32/host_state_win32.h"
#include "host/win32/window_proc_win32.h"
#include "tests/windows/fixture_files.h"
#include "tests/windows/fixtures/gl_fixture.h"

namespace {

uint32_t fakeTick = 0;
POINT fakeCursor = {0, 0};
DWORD fakePlatformId = VER_PLATFORM_WIN32_NT;
DWORD seenVersionSize = 0;

uint32_t FakeTickCount() { return fakeTick; }
int FakeCursorPos(POINT* point) {
    *point = fakeCursor;
    return TRUE;
}
int FakeVersion(OSVERSIONINFOA* info) {
    seenVersionSize = info->dwOSVersionInfoSize;
    info->dwPlatformId = fakePlatformId;
    return TRUE;
}

const char kClassName[] = "TorvexSaverTest";
const char kPassword[] = "PASSWORD.CPL";

int PasswordChecks() { return std::atoi(Environment("TORVEX_PASSWORD_CALLS").c_str()); }

class WindowProcTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.GetTickCount = FakeTickCount;
        platform.GetCursorPos = FakeCursorPos;
        platform.GetVersionExA = FakeVersion;
        fakeTick = 1000;
        fakeCursor = {100, 100};
        fakePlatformId = VER_PLATFORM_WIN32_NT;
        seenVersionSize = 0;
        runMode = ModeSaver;
        hostState = new HostState();
        SetEnvironmentVariableA("TORVEX_PASSWORD_CALLS", nullptr);
        SetEnvironmentVariableA("TORVEX_PASSWORD_ANSWER", nullptr);
        SetDllDirectoryA(FixtureFolder().c_str());  // PASSWORD.CPL present
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = SaverWindowProc;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);  // as the saver's own class
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClassName;
        RegisterClassA(&windowClass);
    }

    void TearDown() override {
        if (window && IsWindow(window)) DestroyWindow(window);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
        delete hostState;
        hostState = nullptr;
        runMode = ModeNone;
        platform = kRealPlatform;
        SetDllDirectoryA(nullptr);
    }

    // Hidden, so that no activation of its own reaches the procedure.
    void Open() {
        if (window && IsWindow(window)) DestroyWindow(window);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
        *hostState = HostState();
        window = CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        // Creation recorded the window, the tick and the cursor (the rules below rely on them).
        ASSERT_EQ(hostState->window, window);
    }

    // Handles this window's queued messages as the frame loop does; true when WM_QUIT came.
    bool Pump() {
        bool quit = false;
        MSG message;
        while (PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        return quit;
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(window, message, wParam, lParam);
    }

    HWND window = nullptr;
};

TEST_F(WindowProcTest, CloseRuleAfterAKey) {
    struct Case {
        const char* label;
        uint32_t start;
        uint32_t now;
        int32_t delay;
        DWORD platformId;
        const char* library;  // fixture copied in as PASSWORD.CPL; null: none
        const char* answer;
        bool quit;
        int checks;
    };
    const Case cases[] = {
        {"within", 1000, 5999, 5, 1, kPassword, "refuse", true, 0},
        {"exactly_at_delay", 1000, 6000, 5, 1, kPassword, "refuse", true, 0},
        {"after_refused", 1000, 6001, 5, 1, kPassword, "refuse", false, 1},
        {"after_accepted", 1000, 6001, 5, 1, kPassword, "accept", true, 1},
        {"nt_never_checks", 1000, 60000, 5, VER_PLATFORM_WIN32_NT, kPassword, "refuse", true, 0},
        {"no_password_library", 1000, 6001, 5, 1, nullptr, "refuse", true, 0},
        {"no_entry_point", 1000, 6001, 5, 1, "glide2x.dll", "refuse", true, 0},
        {"tick_wrapped", 0xFFFFF000u, 0x100u, 5, 1, kPassword, "refuse", true, 0},
        {"negative_delay", 1000, 100001000, -1, 1, kPassword, "refuse", true, 0},
        {"zero_delay_same_tick", 1000, 1000, 0, 1, kPassword, "refuse", true, 0},
        {"zero_delay_later", 1000, 1001, 0, 1, kPassword, "refuse", false, 1},
        // Negative: never ask, however long the saver has run; too long: saturates, no wrap.
        {"minus_one_after_49_days", 0, 0xFFFFFFF0u, -1, 1, kPassword, "refuse", true, 0},
        {"most_negative_delay", 1000, 1001, INT32_MIN, 1, kPassword, "refuse", true, 0},
        {"overflowing_delay", 1000, 3000001000u, 5000000, 1, kPassword, "refuse", true, 0},
        {"largest_exact_delay", 0, 4294967001u, 4294967, 1, kPassword, "refuse", false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fakeTick = c.start;
        Open();
        hostState->passwordDelay = c.delay;
        fakeTick = c.now;
        fakePlatformId = c.platformId;
        seenVersionSize = 0;
        SetEnvironmentVariableA("TORVEX_PASSWORD_CALLS", nullptr);
        SetEnvironmentVariableA("TORVEX_PASSWORD_ANSWER", c.answer);
        const std::string folder = c.library ? MakeCaseFolder("password", {{c.library, kPassword}})
                                             : MakeCaseFolder("password", {});
        ASSERT_FALSE(folder.empty());

        Send(WM_KEYDOWN, 'A');
        EXPECT_EQ(hostState->closeRequested, 1);
        EXPECT_EQ(Pump(), c.quit);
        EXPECT_EQ(PasswordChecks(), c.checks);
        const bool checkRan =
            c.delay >= 0 && c.now - c.start > static_cast<uint64_t>(c.delay) * 1000u;
        EXPECT_EQ(seenVersionSize, checkRan ? 148u : 0u);
        if (c.checks > 0) {
            char expected[32];
            std::snprintf(expected, sizeof expected, "%p", static_cast<void*>(window));
            EXPECT_EQ(Environment("TORVEX_PASSWORD_WINDOW"), expected);
        }
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
        EXPECT_EQ(hostState->passwordDialogOpen, 0);
        EXPECT_TRUE(IsWindow(window));
    }
}

TEST_F(WindowProcTest, WhatAsksForAClose) {
    struct Case {
        const char* label;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool close;
    };
    const Case cases[] = {
        {"key", WM_KEYDOWN, 'A', 0, true},
        {"left_button", WM_LBUTTONDOWN, MK_LBUTTON, 0, true},
        {"right_button", WM_RBUTTONDOWN, MK_RBUTTON, 0, true},
        {"middle_button", WM_MBUTTONDOWN, MK_MBUTTON, 0, true},
        {"deactivated", WM_ACTIVATE, WA_INACTIVE, 0, true},
        {"deactivated_minimized", WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0, true},
        {"activated", WM_ACTIVATE, WA_ACTIVE, 0, false},
        {"click_activated", WM_ACTIVATE, WA_CLICKACTIVE, 0, false},
        {"program_deactivated", WM_ACTIVATEAPP, FALSE, 0, true},
        {"program_activated", WM_ACTIVATEAPP, TRUE, 0, false},
        {"caption_inactive", WM_NCACTIVATE, FALSE, 0, true},
        {"caption_active", WM_NCACTIVATE, TRUE, 0, false},
        {"alt_key", WM_SYSKEYDOWN, 'A', 1 << 29, false},
        {"key_up", WM_KEYUP, 'A', 0, false},
        {"button_up", WM_LBUTTONUP, 0, 0, false},
        {"wheel", WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0, false},
    };
    const RunMode modes[] = {ModeSaver, ModeSettings, ModePreview, ModeNone};
    for (RunMode mode : modes) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.label) + " in mode " + std::to_string(mode));
            // Active and focused beforehand, so that default processing of an activation
            // does not activate the window for real (which Wine reports as a deactivation
            // of a hidden window).
            runMode = ModeNone;
            Open();
            SetFocus(window);
            Pump();
            runMode = mode;
            ASSERT_EQ(hostState->closeRequested, 0);
            Send(c.message, c.wParam, c.lParam);
            const bool close = c.close && mode == ModeSaver;
            EXPECT_EQ(hostState->closeRequested, close ? 1 : 0);
            EXPECT_EQ(Pump(), close);
            EXPECT_TRUE(IsWindow(window));
        }
    }
}

// Another program's close request (the uninstaller's) counts as input: within the delay, at once.
TEST_F(WindowProcTest, CloseFromAnotherProgramCountsAsInput) {
    Open();
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Pump());
}

// Past the delay a refused password keeps the saver running; a later close from anywhere, even
// another program's, goes through the check again, and the mouse count is not reset.
TEST_F(WindowProcTest, RefusedPasswordKeepsRunningUntilAccepted) {
    Open();
    fakeTick = 1000 + 5001;
    fakePlatformId = VER_PLATFORM_WIN32_WINDOWS;
    SetEnvironmentVariableA("TORVEX_PASSWORD_ANSWER", "refuse");
    hostState->moveCount = 2;
    Send(WM_RBUTTONDOWN);
    EXPECT_FALSE(Pump());
    EXPECT_EQ(PasswordChecks(), 1);
    EXPECT_EQ(hostState->moveCount, 2);
    EXPECT_EQ(hostState->closeRequested, 1);

    EXPECT_EQ(Send(WM_CLOSE), 0);
    EXPECT_FALSE(Pump());
    EXPECT_EQ(PasswordChecks(), 2);

    SetEnvironmentVariableA("TORVEX_PASSWORD_ANSWER", "accept");
    EXPECT_EQ(Send(WM_CLOSE), 0);
    EXPECT_TRUE(Pump());
    EXPECT_EQ(PasswordChecks(), 3);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(WindowProcTest, FourthLargeMoveAsksForAClose) {
    struct Step {
        POINT cursor;
        int moveCount;
        POINT reference;
        bool quit;
    };
    const Step steps[] = {
        {{150, 150}, 0, {100, 100}, false},  // exactly 50 along both axes
        {{50, 50}, 0, {100, 100}, false},   {{151, 100}, 1, {151, 100}, false},
        {{151, 130}, 1, {151, 100}, false},  // drifting...
        {{151, 152}, 2, {151, 152}, false},  // ...counts once past 50 from the reference
        {{100, 152}, 3, {100, 152}, false}, {{100, 100}, 0, {100, 100}, true},
        {{100, 151}, 1, {100, 151}, false},  // the count starts again
    };
    Open();
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        fakeCursor = steps[i].cursor;
        Send(WM_MOUSEMOVE, 0, MAKELPARAM(999, 999));  // the message's own point is not used
        EXPECT_EQ(hostState->moveCount, steps[i].moveCount);
        EXPECT_EQ(hostState->cursorPoint.x, steps[i].reference.x);
        EXPECT_EQ(hostState->cursorPoint.y, steps[i].reference.y);
        EXPECT_EQ(Pump(), steps[i].quit);
    }
    // Outside saver mode the mouse counts for nothing.
    runMode = ModeSettings;
    fakeCursor = {900, 900};
    Send(WM_MOUSEMOVE);
    EXPECT_EQ(hostState->moveCount, 1);
}

// The password "dialog" runs its own message loop; what it delivers to the saver window asks
// for nothing, and movement made meanwhile is not counted afterwards.
void DuringCheck(HWND window);
struct {
    int dialogOpen = -1;
    bool arrow = false;
    LRESULT closeResult = -1;
} seen;

void DuringCheck(HWND window) {
    seen.dialogOpen = hostState->passwordDialogOpen;
    seen.arrow = GetCursor() == LoadCursorA(nullptr, IDC_ARROW);
    fakeCursor = {500, 500};
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    SendMessageA(window, WM_LBUTTONDOWN, 0, 0);
    SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, 0);
    SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
    seen.closeResult = SendMessageA(window, WM_CLOSE, 0, 0);
    fakeCursor = {600, 600};
}

TEST_F(WindowProcTest, MessagesDuringTheCheckAskForNothing) {
    HMODULE held = LoadLibraryA((FixtureFolder() + "PASSWORD.CPL").c_str());
    ASSERT_NE(held, nullptr);
    auto setHook = reinterpret_cast<void (*)(void (*)(HWND))>(
        reinterpret_cast<void*>(GetProcAddress(held, "PasswordFixtureSetHook")));
    ASSERT_NE(setHook, nullptr);
    setHook(DuringCheck);

    Open();
    fakeTick = 1000 + 5001;
    fakePlatformId = VER_PLATFORM_WIN32_WINDOWS;
    SetEnvironmentVariableA("TORVEX_PASSWORD_ANSWER", "refuse");
    hostState->moveCount = 2;
    Send(WM_KEYDOWN, 'Q');
    EXPECT_FALSE(Pump());

    EXPECT_EQ(seen.dialogOpen, 1);
    EXPECT_TRUE(seen.arrow);
    EXPECT_EQ(seen.closeResult, 0);
    EXPECT_EQ(PasswordChecks(), 1);  // the nested close did not start a second check
    EXPECT_EQ(hostState->moveCount, 2);
    EXPECT_EQ(hostState->passwordDialogOpen, 0);
    EXPECT_EQ(hostState->cursorPoint.x, 600);
    EXPECT_EQ(hostState->cursorPoint.y, 600);
    EXPECT_EQ(GetCursor(), nullptr);

    fakeCursor = {650, 550};  // within 50 of the point where the check ended
    Send(WM_MOUSEMOVE);
    EXPECT_EQ(hostState->moveCount, 2);
    setHook(nullptr);
    FreeLibrary(held);
}

TEST_F(WindowProcTest, CursorIsHiddenOnlyInSaverModeWhileFree) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    struct Case {
        RunMode mode;
        int dialogOpen;
        bool hidden;
    };
    const Case cases[] = {{ModeSaver, 0, true},
                          {ModeSaver, 1, false},
                          {ModeSettings, 0, false},
                          {ModePreview, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + "/" + std::to_string(c.dialogOpen));
        runMode = c.mode;
        Open();
        hostState->passwordDialogOpen = c.dialogOpen;
        for (LPARAM hit : {MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), LPARAM(0)}) {
            SetCursor(c.hidden ? arrow : nullptr);
            EXPECT_EQ(Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(window), hit), TRUE);
            EXPECT_EQ(GetCursor(), c.hidden ? nullptr : arrow) << "hit " << hit;
        }
    }
}

// The system menu's close (Alt+F4 among others) and the system's own screen-saver start are
// swallowed in saver mode, even once a close has been asked for.
TEST_F(WindowProcTest, SystemCommands) {
    struct Case {
        const char* label;
        RunMode mode;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool quit;
        bool destroyed;
    };
    const Case cases[] = {
        {"close", ModeSaver, WM_SYSCOMMAND, SC_CLOSE, 0, false, false},
        {"screen_saver", ModeSaver, WM_SYSCOMMAND, SC_SCREENSAVE, 0, false, false},
        {"alt_f4", ModeSaver, WM_SYSKEYDOWN, VK_F4, 1 << 29, false, false},
        {"close_with_low_bits", ModeSaver, WM_SYSCOMMAND, SC_CLOSE | 2, 0, true, false},
        {"close_in_settings_mode", ModeSettings, WM_SYSCOMMAND, SC_CLOSE, 0, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        runMode = c.mode;
        Open();
        hostState->closeRequested = 1;  // an unswallowed close would end the saver at once
        Send(c.message, c.wParam, c.lParam);
        EXPECT_EQ(Pump(), c.quit);
        EXPECT_EQ(!IsWindow(window), c.destroyed);
    }
}

// Destruction unbinds and deletes the rendering context through the driver, releases the
// device context and posts a thread quit message, in every mode.
TEST_F(WindowProcTest, DestroyReleasesContexts) {
    ASSERT_EQ(LoadDriverEntryPoints((FixtureFolder() + "gl_full.dll").c_str()), 0);
    auto* record = reinterpret_cast<GlFixtureRecord*>(
        reinterpret_cast<void*>(GetProcAddress(driverState.driverLibrary, "glFixtureRecord")));
    ASSERT_NE(record, nullptr);
    const RunMode modes[] = {ModeSaver, ModeSettings};
    for (RunMode mode : modes) {
        for (bool withContext : {true, false}) {
            SCOPED_TRACE(std::to_string(mode) + (withContext ? " with context" : " without"));
            runMode = mode;
            Open();
            *record = GlFixtureRecord{};
            record->lastDeviceContext = record->lastRenderContext = &seen;
            hostState->wgl.renderContext =
                withContext ? static_cast<HGLRC>(GL_FIXTURE_CONTEXT) : nullptr;
            hostState->wgl.deviceContext = GetDC(window);
            ASSERT_TRUE(DestroyWindow(window));
            EXPECT_EQ(record->makeCurrent, 1);
            EXPECT_EQ(record->lastDeviceContext, nullptr);
            EXPECT_EQ(record->deleteContext, withContext ? 1 : 0);
            EXPECT_EQ(record->lastRenderContext, withContext ? GL_FIXTURE_CONTEXT : nullptr);
            EXPECT_EQ(hostState->wgl.renderContext, nullptr);
            EXPECT_EQ(hostState->wgl.deviceContext, nullptr);
            MSG message;
            ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
            EXPECT_EQ(message.hwnd, nullptr);
            EXPECT_EQ(message.wParam, 0u);
        }
    }
    FreeDriverLibrary();
    driverState.useDriverWgl = false;
    ClearGlTable();
}

}  // namespace
