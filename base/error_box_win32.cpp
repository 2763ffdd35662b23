// The error box on Windows, through the platform table so tests can answer it.
#include "base/error_box.h"

#include <windows.h>

#include "base/platform.h"

void ShowErrorBox(const char* caption, const char* text) {
    platform.MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONERROR);
}
