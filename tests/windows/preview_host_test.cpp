// Torvex.scr's preview seen from outside, as the Screen Saver Settings see it: this test makes
// the little monitor's window, starts `Torvex.scr /p <its number>`, and watches the child that
// appears in it, input that must not end it, and the end that its parent's destruction brings.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int kPreviewWidth = 152;
constexpr int kPreviewHeight = 112;

// Torvex.scr two folders up from this program (build/win64/tests/windows).
std::string SaverPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.find_last_of("\\/") + 1);
    return folder + "..\\..\\Torvex.scr";
}

// Handles the messages this thread is sent (the saver's child talks to its parent) for up to
// milliseconds, or until done answers true; returns done's last answer.
template <typename Done>
bool PumpUntil(DWORD milliseconds, Done done) {
    const DWORD start = GetTickCount();
    while (!done()) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    return true;
}

TEST(PreviewHostTest, ChildFillsTheHostIgnoresInputAndEndsWithIt) {
    const std::string saver = SaverPath();
    ASSERT_NE(GetFileAttributesA(saver.c_str()), INVALID_FILE_ATTRIBUTES)
        << saver << " is missing: build the Torvex target first";

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PreviewHostTest";
    RegisterClassA(&windowClass);
    RECT frame = {0, 0, kPreviewWidth, kPreviewHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND host =
        CreateWindowExA(0, "PreviewHostTest", "preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                        40, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                        windowClass.hInstance, nullptr);
    ASSERT_NE(host, nullptr);

    std::string commandLine =
        "\"" + saver + "\" /p " +
        std::to_string(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(host)));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(saver.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
        << "cannot start " << commandLine << " (error " << GetLastError() << ")";
    auto running = [&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; };

    HWND child = nullptr;
    const bool appeared = PumpUntil(10000, [&] {
        // Shown once its creation is complete (WS_VISIBLE), which is what is waited for.
        child = FindWindowExA(host, nullptr, nullptr, nullptr);
        return child != nullptr && IsWindowVisible(child);
    });
    EXPECT_TRUE(appeared) << "no visible child window in the host within 10 s";
    if (appeared) {
        DWORD owner = 0;
        GetWindowThreadProcessId(child, &owner);
        EXPECT_EQ(owner, process.dwProcessId);
        RECT client = {};
        GetClientRect(child, &client);
        EXPECT_EQ(client.right, kPreviewWidth);
        EXPECT_EQ(client.bottom, kPreviewHeight);

        // A key, a click and large mouse moves, each of which ends a full-screen run.
        PostMessageA(child, WM_KEYDOWN, 'A', 0);
        PostMessageA(child, WM_LBUTTONDOWN, 0, 0);
        for (int move = 0; move < 5; ++move) {
            SetCursorPos(move % 2 ? 700 : 5, move % 2 ? 600 : 5);
            PostMessageA(child, WM_MOUSEMOVE, 0, MAKELPARAM(move % 2 ? 150 : 0, 0));
        }
        PumpUntil(1000, [] { return false; });
        EXPECT_TRUE(running()) << "input ended the preview";

        // scripts/bench-preview keeps the preview running longer and measures its CPU time
        // from outside: under Wine, GetProcessTimes of another process shows a fraction of it.
        const char* hold = std::getenv("TORVEX_PREVIEW_SECONDS");
        if (hold && std::atoi(hold) > 0) PumpUntil(std::atoi(hold) * 1000u, [] { return false; });
        EXPECT_TRUE(running());
    }

    // The parent goes: the saver must be gone within two seconds, with exit code 0.
    DestroyWindow(host);
    const bool ended = PumpUntil(2000, [&] { return !running(); });
    EXPECT_TRUE(ended) << "the preview outlived its parent by two seconds";
    if (!ended) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    if (ended) {
        EXPECT_EQ(code, 0u);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// The desktop is nobody's little monitor: the preview ends at once with code 0.
TEST(PreviewHostTest, TheDesktopsNumberEndsAtOnce) {
    std::string commandLine = "\"" + SaverPath() + "\" /p " +
                              std::to_string(reinterpret_cast<uintptr_t>(GetDesktopWindow()));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(SaverPath().c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process));
    const bool ended = WaitForSingleObject(process.hProcess, 5000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 99);
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_TRUE(ended && code == 0) << "code " << code;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace
