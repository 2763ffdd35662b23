// The desk's monitors, found one way for everybody who asks: the saver (rain on every monitor
// only where there is more than one) and the settings dialog (the Resolution list greyed where a
// choice ignores it). Through the platform table, so tests can give any desk. Windows only.
#pragma once
#include <windows.h>

#include <vector>

// The monitors in virtual-screen pixels, the primary first. A monitor without area, and a second
// report of the same rectangle (a mirrored display), are left out. Empty when none are found.
std::vector<RECT> FindDeskMonitors();
