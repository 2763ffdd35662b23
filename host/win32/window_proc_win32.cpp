// The saver window's procedure: user actions, and a close that another program asks for, end the
// saver at once within the password delay and afterwards only when the system's screen-saver
// password is verified.
// Relies on hostState (created before the window) and the driver layer for the context.
#include "host/win32/window_proc_win32.h"

#include <cstdint>

#include "base/platform.h"
#include "gl/driver_win32.h"
#include "host/win32/display_power_win32.h"
#include "host/win32/host_state_win32.h"
#include "host/win32/teardown_win32.h"

namespace {

constexpr int32_t kLargeMove = 50;  // pixels along either axis
constexpr int32_t kMovesBeforeClose = 3;
constexpr DWORD kVersionRecordSize = 148;

using VerifyPasswordFunction = BOOL(WINAPI*)(HWND);

bool IsSaverMode() { return runMode == ModeSaver; }
bool IsFree() { return hostState->passwordDialogOpen == 0; }

void ReadCursor(POINT* point) {
    // A failed read keeps the last known point rather than leaving garbage in it.
    POINT position = *point;
    if (platform.GetCursorPos(&position)) *point = position;
}

// The quit goes to the window, not the thread: the frame loop takes only this window's
// messages, so a thread message would never end it.
void PostQuit() { PostMessageA(hostState->window, WM_QUIT, 0, 0); }

void AskForClose() {
    hostState->closeRequested = 1;
    PostMessageA(hostState->window, WM_CLOSE, 0, 0);
}

// The platform's own check; only systems other than NT have one. A missing library or entry
// point lets the close through.
bool PasswordAccepted(HWND window) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = kVersionRecordSize;
    platform.GetVersionExA(&version);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) return true;

    HMODULE library = LoadLibraryA("PASSWORD.CPL");
    if (!library) return true;
    bool accepted = true;
    auto verify = reinterpret_cast<VerifyPasswordFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "VerifyScreenSavePwd")));
    if (verify) accepted = verify(window) != 0;
    FreeLibrary(library);
    return accepted;
}

// A negative stored delay means never ask; a delay too long for 32-bit milliseconds saturates
// rather than wrapping to a short one.
uint32_t PasswordDelayMilliseconds(int32_t seconds) {
    if (seconds < 0) return UINT32_MAX;
    const uint64_t milliseconds = static_cast<uint64_t>(seconds) * 1000u;
    return milliseconds > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(milliseconds);
}

LRESULT HandleClose(HWND window) {
    if (hostState->passwordDialogOpen) return 0;  // a check is already running further up
    // A close that another program asks for (an uninstaller that must remove the running file,
    // say) counts as input does: at once within the password delay, else after the check.
    hostState->closeRequested = 1;

    const uint32_t elapsed = platform.GetTickCount() - hostState->startTick;
    if (elapsed <= PasswordDelayMilliseconds(hostState->passwordDelay)) {
        PostQuit();
        return 0;
    }

    hostState->passwordDialogOpen = 1;
    SendMessageA(hostState->window, WM_SETCURSOR, 0, 0);  // the arrow, for the dialog
    const bool accepted = PasswordAccepted(window);
    hostState->passwordDialogOpen = 0;
    SendMessageA(hostState->window, WM_SETCURSOR, 0, 0);  // no cursor again
    // Movement made while the dialog was open must not count towards the next close.
    ReadCursor(&hostState->cursorPoint);
    if (accepted) PostQuit();
    return 0;
}

void HandleMouseMove() {
    POINT position = hostState->cursorPoint;
    if (!platform.GetCursorPos(&position)) return;
    const int64_t dx = static_cast<int64_t>(position.x) - hostState->cursorPoint.x;
    const int64_t dy = static_cast<int64_t>(position.y) - hostState->cursorPoint.y;
    if ((dx < 0 ? -dx : dx) <= kLargeMove && (dy < 0 ? -dy : dy) <= kLargeMove) return;

    ReadCursor(&hostState->cursorPoint);
    if (hostState->moveCount < kMovesBeforeClose) {
        ++hostState->moveCount;
    } else {
        hostState->moveCount = 0;
        AskForClose();
    }
}

}  // namespace

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Without the host record there is no state to keep and nothing drawn; a plain window.
    if (!hostState) {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcA(window, message, wParam, lParam);
    }

    switch (message) {
    case WM_CREATE:
        hostState->window = window;
        ReadCursor(&hostState->cursorPoint);
        hostState->startTick = platform.GetTickCount();
        break;

    case WM_DESTROY:
        ReleaseRendering(window);
        PostQuitMessage(0);
        break;

    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
        if (IsSaverMode() && IsFree() && LOWORD(wParam) == 0) AskForClose();
        break;

    case WM_CLOSE:
        if (IsSaverMode()) return HandleClose(window);
        break;

    case WM_SETCURSOR:
        // Handled here: default processing would put the class cursor straight back.
        SetCursor(IsSaverMode() && IsFree() ? nullptr : LoadCursorA(nullptr, IDC_ARROW));
        return TRUE;

    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (IsSaverMode() && IsFree()) AskForClose();
        break;

    case WM_SYSCOMMAND:
        // Neither another screen saver nor the system menu's close may take over the screen.
        if (IsSaverMode() && (wParam == SC_SCREENSAVE || wParam == SC_CLOSE)) return 0;
        break;

    case WM_MOUSEMOVE:
        if (IsSaverMode() && IsFree()) HandleMouseMove();
        break;

    case WM_POWERBROADCAST:
        // The display switched off or on: the frame loop stops drawing or goes on.
        if (TakeDisplayStateChange(wParam, lParam)) return TRUE;
        break;

    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
