// The saver's full-screen window: class "OpenGL", a borderless popup, the display-mode search
// with its step-by-step fallbacks (in the end the desktop's mode), and the pixel format. Display
// modes and message boxes go through the platform table so tests can script them; pixel formats go
// through the driver layer.
#include "host/win32/window_win32.h"

#include "base/monitors_win32.h"
#include "base/platform.h"
#include "gl/driver_win32.h"
#include "host/win32/host_state_win32.h"
#include "host/win32/window_proc_win32.h"
#include "settings/settings.h"

namespace {

void ShowError(const char* text, unsigned style) {
    platform.MessageBoxA(nullptr, text, "Error", style);
}

bool RegisterSaverClass() {
    hostState->module = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = SaverWindowProc;
    windowClass.hInstance = hostState->module;
    windowClass.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "OpenGL";
    return RegisterClassA(&windowClass) != 0;
}

void BuildPixelFormat() {
    PIXELFORMATDESCRIPTOR& format = hostState->pixelFormat.saverPixelFormat;
    format = PIXELFORMATDESCRIPTOR{};
    format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = static_cast<BYTE>(settings.ColorBits);
    format.cDepthBits = 16;
    format.iLayerType = PFD_MAIN_PLANE;
    hostState->pixelFormat.pixelFormatBuilt = true;
}

// Systems often grant 8 alpha planes for a 32-bit request. Stored alpha would then scale every
// additive glyph, so an otherwise equal format without alpha planes is taken when one exists.
int PreferFormatWithoutAlpha(HDC dc, int chosen) {
    PIXELFORMATDESCRIPTOR granted = {};
    int count = DescribePixelFormat(dc, chosen, sizeof granted, &granted);
    if (count == 0) return chosen;
    if (granted.cAlphaBits == 0) {
        hostState->pixelFormat.pixelFormatHasAlpha = false;
        return chosen;
    }
    for (int index = 1; index <= count; ++index) {
        PIXELFORMATDESCRIPTOR candidate = {};
        if (DescribePixelFormat(dc, index, sizeof candidate, &candidate) == 0) continue;
        // Colour bits count the alpha planes too, so equal means equal red, green and blue.
        if (candidate.dwFlags == granted.dwFlags && candidate.iPixelType == granted.iPixelType &&
            candidate.cRedBits == granted.cRedBits && candidate.cGreenBits == granted.cGreenBits &&
            candidate.cBlueBits == granted.cBlueBits && candidate.cAlphaBits == 0 &&
            candidate.cDepthBits >= 16 && candidate.cStencilBits == granted.cStencilBits &&
            candidate.cAccumBits == granted.cAccumBits &&
            candidate.cAuxBuffers == granted.cAuxBuffers) {
            hostState->pixelFormat.pixelFormatHasAlpha = false;
            return index;
        }
    }
    return chosen;
}

}  // namespace

void SetSaverPixelFormat(HWND window) {
    // A device context of its own: the run keeps the window's one only once the format is set.
    HDC dc = GetDC(window);
    if (!hostState->pixelFormat.pixelFormatBuilt) BuildPixelFormat();
    hostState->pixelFormat.pixelFormatHasAlpha = true;
    int index = DriverChoosePixelFormat(dc, &hostState->pixelFormat.saverPixelFormat);
    // The driver's own formats are not GDI's to describe; there the alpha stays unknown.
    if (index != 0 && !driverState.useDriverWgl) index = PreferFormatWithoutAlpha(dc, index);
    if (index != 0) DriverSetPixelFormat(dc, index, &hostState->pixelFormat.saverPixelFormat);
    ReleaseDC(window, dc);
}

bool SwitchDisplayMode(int width, int height) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    DWORD remembered = 0;
    bool offered = false;  // a listed mode has this depth and size, at any rate
    for (DWORD number = 0; platform.EnumDisplaySettingsA(nullptr, number, &mode); ++number) {
        const bool sameSize = mode.dmBitsPerPel == static_cast<DWORD>(settings.ColorBits) &&
                              mode.dmPelsWidth == static_cast<DWORD>(width) &&
                              mode.dmPelsHeight == static_cast<DWORD>(height);
        offered = offered || sameSize;
        if (!sameSize || mode.dmDisplayFrequency != static_cast<DWORD>(settings.Hertz)) continue;
        if (platform.ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL)
            return true;
        if (remembered == 0) remembered = number;
    }
    // A mode the display does not list is not asked for: the desktop's mode stays.
    if (!offered) return false;

    // No exact mode could be set: drop the refresh rate, then try the depth on its own.
    platform.EnumDisplaySettingsA(nullptr, remembered, &mode);
    mode.dmBitsPerPel = static_cast<DWORD>(settings.ColorBits);
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    if (platform.ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL)
        return true;

    // A refusal is not reported: the saver then runs at the desktop's mode, and a message box
    // waiting for a click would leave the desktop showing meanwhile.
    mode.dmFields = DM_BITSPERPEL;
    if (platform.ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL)
        return false;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    if (platform.ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL)
        return true;
    // Only the depth changed: give the user the stored mode back.
    platform.ChangeDisplaySettingsA(nullptr, 0);
    return false;
}

namespace {

// The popup itself, class registered on first use; null after a reported failure.
HWND OpenSaverWindow(DWORD extendedStyle, const char* title, int x, int y, int width, int height) {
    if (hostState->module == nullptr && !RegisterSaverClass()) {
        ShowError("RegisterClass() failed:  Cannot register window class.", MB_OK);
        return nullptr;
    }
    HWND window = CreateWindowExA(extendedStyle, "OpenGL", title,
                                  WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y,
                                  width, height, nullptr, nullptr, hostState->module, nullptr);
    if (window == nullptr) ShowError("CreateWindow() failed:  Cannot create a window.", MB_OK);
    return window;
}

}  // namespace

HWND CreateSaverWindow(const char* title, int x, int y, int width, int height) {
    HWND window = OpenSaverWindow(0, title, x, y, width, height);
    if (window == nullptr) return nullptr;
    hostState->displayModeChanged = SwitchDisplayMode(width, height);
    if (!hostState->displayModeChanged) {
        // A mode the display does not offer or will not take: the run keeps the desktop's mode,
        // and the window, the pixel format and the rain take its size and depth.
        TakeCurrentDisplayMode();
        SetWindowPos(window, nullptr, x, y, settings.ScrWidth, settings.ScrHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetSaverPixelFormat(window);
    return window;
}

HWND CreateVirtualScreenWindow(const char* title, const MonitorRect& bounds) {
    // Topmost, so no other program's window stays in front on any monitor.
    HWND window =
        OpenSaverWindow(WS_EX_TOPMOST, title, bounds.x, bounds.y, bounds.width, bounds.height);
    if (window != nullptr) SetSaverPixelFormat(window);
    return window;
}

std::vector<MonitorRect> FindMonitors() {
    std::vector<MonitorRect> found;
    for (const RECT& r : FindDeskMonitors())
        found.push_back(MonitorRect{r.left, r.top, r.right - r.left, r.bottom - r.top});
    return found;
}

void TakeCurrentDisplayMode() {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    platform.EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    settings.ColorBits = static_cast<int32_t>(mode.dmBitsPerPel);
    settings.ScrWidth = static_cast<int32_t>(mode.dmPelsWidth);
    settings.ScrHeight = static_cast<int32_t>(mode.dmPelsHeight);
    settings.Hertz = static_cast<int32_t>(mode.dmDisplayFrequency);
}
