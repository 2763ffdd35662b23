// The saver window's procedure: when the saver ends (user actions, the password delay and the
// system's screen-saver password check) and the release of the contexts on destruction.
#pragma once
#include <windows.h>

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
