// The settings dialog (template 122) and the Read Me box (template 149), with the procedures
// that fill them from Settings and store them on OK. Windows only; templates in resources/.
#pragma once
#include <windows.h>

struct RegistryKeys;

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ReadMeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the trackbar class, then shows the settings dialog modally; its result: 1 after OK,
// 2 after Cancel, -1 when the dialog could not be created.
// The dialog edits Settings and stores it under keys on OK (the dialog's lParam at creation).
// An owner that is not a window is ignored.
INT_PTR ShowSettingsDialog(HINSTANCE instance, HWND owner, const RegistryKeys& keys);
