// The program's entry: reads the command line, prepares what every run mode needs (the 3Dfx
// splash switch, the current display mode as default, HostState, the stored settings) and runs
// the mode. Relies on the registry store, the settings dialog, RunSaver and RunPreview.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>

#include "base/platform.h"
#include "host/win32/command_line.h"
#include "host/win32/host_state_win32.h"
#include "host/win32/preview_win32.h"
#include "host/win32/run_saver_win32.h"
#include "host/win32/window_win32.h"
#include "settings/dialogs_win32.h"
#include "settings/registry_win32.h"
#include "settings/settings.h"

namespace {

// Windows 95/98 password services; absent elsewhere, and then silently nothing happens.
void ChangeSaverPassword(HWND parent) {
    HMODULE library = LoadLibraryA("MPR.DLL");
    if (!library) return;
    using ChangePassword = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, DWORD);
    auto change = reinterpret_cast<ChangePassword>(
        reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
    if (change) change("SCRSAVE", parent, 0, 0);
    FreeLibrary(library);
}

// The manifest asks for per-monitor DPI awareness, so display modes, monitors and windows are in
// real pixels on scaled displays. Where the manifest entry is not read, the call asks for the
// same; where the call is missing (before Windows 10, Wine), the older system-wide call, and
// where that is missing too, nothing: the saver then runs as the system scales it.
void UseRealPixels() {
    HMODULE user = GetModuleHandleA("user32.dll");
    if (!user) return;
    using SetContext = BOOL(WINAPI*)(HANDLE);
    using SetAware = BOOL(WINAPI*)();
    auto setContext = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext")));
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, spelled out for older headers.
    // Refused when the manifest has already set it, which is as good.
    if (setContext) {
        setContext(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)));
        return;
    }
    auto setAware = reinterpret_cast<SetAware>(
        reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDPIAware")));
    if (setAware) setAware();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    hostState = new HostState();
    const CommandLine commandLine = ParseCommandLine(GetCommandLineA());
    runMode = commandLine.mode;
    HWND parent = commandLine.wantsForegroundWindow
                      ? GetForegroundWindow()
                      : reinterpret_cast<HWND>(static_cast<intptr_t>(commandLine.parentWindow));

    // Through the C library, so a driver DLL that reads its own CRT environment sees it too.
    _putenv("FX_GLIDE_NO_SPLASH=1");
    UseRealPixels();
    TakeCurrentDisplayMode();
    const Settings desktop = settings;

    hostState->passwordDelay = ReadPasswordDelay(kProgramRegistryKeys);
    LoadSettings(settings, kProgramRegistryKeys);
    // A stored 0 in the mode's size or depth means "not set": the current value stays, as when
    // nothing is stored. Hertz 0 keeps its own meaning, no rate asked for.
    for (int32_t Settings::*field :
         {&Settings::ScrWidth, &Settings::ScrHeight, &Settings::ColorBits})
        if (settings.*field == 0) settings.*field = desktop.*field;

    switch (runMode) {
    case ModeChangePassword:
        ChangeSaverPassword(parent);
        break;
    case ModeSettings:
        hostState->module = instance;
        ShowSettingsDialog(instance, parent, kProgramRegistryKeys);
        break;
    case ModeSaver:
        RunSaver(showCommand);
        break;
    case ModePreview:
        RunPreview(parent);  // nothing when the number names no window
        break;
    case ModeNone:
        break;
    }

    delete hostState;
    hostState = nullptr;
    return 0;
}
