// The program's entry: reads the command line, prepares what every run mode needs (the 3Dfx
// splash switch, the current display mode as default, HostState, the stored settings) and runs
// the mode. Relies on the registry store, the settings dialog and RunSaver.
#include <windows.h>

#include <cstdlib>

#include "base/platform.h"
#include "host/command_line.h"
#include "host/host_globals_win32.h"
#include "host/run_saver_win32.h"
#include "host/window_win32.h"
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

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    moduleHandle = nullptr;
    const CommandLine commandLine = ParseCommandLine(GetCommandLineA());
    runMode = commandLine.mode;
    HWND parent = commandLine.wantsForegroundWindow
                      ? GetForegroundWindow()
                      : reinterpret_cast<HWND>(static_cast<intptr_t>(commandLine.parentWindow));

    // Through the C library, so a driver DLL that reads its own CRT environment sees it too.
    _putenv("FX_GLIDE_NO_SPLASH=1");
    TakeCurrentDisplayMode();

    hostState = new HostState();
    ReadSystemSaverSettings(*hostState);
    LoadSettings(*hostState);

    switch (runMode) {
    case ModeChangePassword:
        ChangeSaverPassword(parent);
        break;
    case ModeSettings:
        moduleHandle = instance;
        ShowSettingsDialog(instance, parent, *hostState);
        break;
    case ModeSaver:
        RunSaver(showCommand);
        break;
    case ModePreview:
    case ModeNone:
        break;
    }

    delete hostState;
    hostState = nullptr;
    return 0;
}
