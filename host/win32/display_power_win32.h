// Whether anyone can see the saver: the system's console display state (on, off, dimmed), as the
// power notifications report it to the saver window. Kept in hostState. Windows only.
#pragma once
#include <windows.h>

// Asks the system to send the saver window the display state. False, with nothing registered,
// where the platform lacks the call (before Vista) or refuses: the display then counts as on.
bool RegisterDisplayStateNotification(HWND window);

// Ends the registration, if there is one.
void UnregisterDisplayStateNotification();

// WM_POWERBROADCAST: records a console display state change carried by the message. True when
// the message was one; anything else (other settings, short or missing data) changes nothing.
bool TakeDisplayStateChange(WPARAM wParam, LPARAM lParam);

// The display was reported off: no frame is drawn and no step is made.
bool DisplayIsOff();

// While the display is off: returns once a message for window is waiting or the display has
// been reported on again (the report arrives as a sent message, handled inside the wait).
void WaitWhileDisplayOff(HWND window);
