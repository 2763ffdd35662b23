// The preview in the Screen Saver Settings' little monitor: a child of the window the system
// names, drawn with the system's OpenGL at a column count that keeps full-screen cell sizes,
// paced to at most 30 frames a second with the thread asleep in between. Relies on the saver
// window's pixel-format logic and window procedure, and on the renderer set-up's GL state.
#include "host/win32/preview_win32.h"

#include "base/platform.h"
#include "gl/dest_alpha.h"
#include "gl/driver_win32.h"
#include "host/win32/host_state_win32.h"
#include "host/win32/teardown_win32.h"
#include "host/win32/window_proc_win32.h"
#include "host/win32/window_win32.h"
#include "rain/field.h"
#include "render/run.h"
#include "settings/settings.h"

namespace {

constexpr char kPreviewClass[] = "Torvex Preview";

// The saver's window procedure serves the child too: outside saver mode it ends nothing on
// input, keeps the arrow cursor, and on WM_DESTROY releases the contexts and posts the quit.
bool RegisterPreviewClass(HINSTANCE instance) {
    WNDCLASSA existing = {};
    if (GetClassInfoA(instance, kPreviewClass, &existing)) return true;
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = SaverWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kPreviewClass;
    return RegisterClassA(&windowClass) != 0;
}

}  // namespace

HWND StartPreview(HWND parent) {
    hostState->preview = PreviewState{};
    if (!IsWindow(parent)) return nullptr;
    // The 3Dfx setting is for the full screen; a child window is drawn by the system's OpenGL.
    if (LoadDriverEntryPoints("opengl32.dll") != kDriverLoaded) return nullptr;

    HINSTANCE instance = GetModuleHandleA(nullptr);
    RECT client = {};
    GetClientRect(parent, &client);
    const int32_t width = client.right - client.left > 0 ? client.right - client.left : 1;
    const int32_t height = client.bottom - client.top > 0 ? client.bottom - client.top : 1;
    HWND window = nullptr;
    if (RegisterPreviewClass(instance))
        window = CreateWindowExA(0, kPreviewClass, "Torvex",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                 width, height, parent, nullptr, instance, nullptr);
    if (window == nullptr) {
        FreeDriverLibrary();
        return nullptr;
    }

    SetSaverPixelFormat(window);
    // Unlike the full screen, a preview without a context ends quietly: the little monitor
    // simply stays as it was.
    GlContext context = WglContextOf(hostState->wgl);
    if (!CreateWglContext(hostState->wgl, GetDC(window)) || !MakeContextCurrent(context)) {
        DestroyWindow(window);
        FreeDriverLibrary();
        return nullptr;
    }

    // The little monitor shows the full screen's cells: fewer columns, as many as fit.
    Settings shown = settings;
    shown.Size = WindowColumnCount(settings.Size, width, GetSystemMetrics(SM_CXSCREEN));
    const MonitorRect area{0, 0, width, height};
    StartRain(hostState->rain, shown, &area, 1, platform.GetTickCount(), 0, 0);
    if (hostState->pixelFormat.pixelFormatHasAlpha) HoldDestinationAlphaAtOne();

    hostState->preview.parent = parent;
    hostState->preview.window = window;
    const uint32_t now = platform.timeGetTime();
    hostState->rain.lastStepTime = now;
    hostState->preview.lastFrameTime = now - kPreviewFrameInterval;  // the first frame at once
    return window;
}

bool PreviewPass() {
    // Every message of the thread: the child's destruction, sent from the parent's process,
    // arrives among them, and the window procedure then posts the quit to the thread.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return false;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (!IsWindow(hostState->preview.window) || !IsWindow(hostState->preview.parent)) return false;

    // Nobody sees a hidden or minimised little monitor (the child is visible only while every
    // ancestor is): no step, no frame, only messages. Showing the parent repaints the child,
    // which wakes the wait; the time-out is for systems that show it without a repaint.
    if (!IsWindowVisible(hostState->preview.window) ||
        IsIconic(GetAncestor(hostState->preview.parent, GA_ROOT))) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPreviewHiddenWait, QS_ALLINPUT);
        return true;
    }

    const uint32_t now = platform.timeGetTime();
    const uint32_t sinceFrame = now - hostState->preview.lastFrameTime;
    if (sinceFrame < kPreviewFrameInterval) {
        // Asleep until the next frame is due, woken at once by any message.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPreviewFrameInterval - sinceFrame,
                                  QS_ALLINPUT);
        return true;
    }
    hostState->preview.lastFrameTime = now;
    RainFrame(hostState->rain, now, platform.GetTickCount());
    GlContext context = WglContextOf(hostState->wgl);
    SwapContextBuffers(context);
    ++hostState->preview.framesDrawn;
    return true;
}

void StopPreview() {
    if (IsWindow(hostState->preview.window)) DestroyWindow(hostState->preview.window);
    // A child destroyed with its parent in another thread may leave its contexts behind.
    FinishDrawing(hostState->preview.window);
    hostState->preview.window = nullptr;
}

void RunPreview(HWND parent) {
    // The host window belongs to the system's dialog. A stray small number can name a window of
    // this very process (its input-method window, say), which would keep the preview alive for
    // good: such a number counts as naming no window.
    DWORD owner = 0;
    if (GetWindowThreadProcessId(parent, &owner) == 0 || owner == GetCurrentProcessId()) return;
    // The desktop is nobody's little monitor: a preview there would cover the screen and, with
    // no program to close and no input that ends it, never end. A parent that is merely hidden
    // is taken: the Screen Saver Settings may start the preview before their dialog shows.
    if (parent == GetDesktopWindow() || parent == GetShellWindow()) return;
    if (StartPreview(parent) == nullptr) return;
    while (PreviewPass()) {}
    StopPreview();
}
