// The one way a failure is shown to the user: a message box with no owner window on Windows,
// a line on standard error elsewhere (the native tools). Portable.
#pragma once

// Shows text under caption with an error icon and waits for OK.
void ShowErrorBox(const char* caption, const char* text);
