// The desk's monitors through the platform table's EnumDisplayMonitors and GetMonitorInfoA.
#include "base/monitors_win32.h"

#include "base/platform.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* found = reinterpret_cast<std::vector<RECT>*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!platform.GetMonitorInfoA(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    if (r.right <= r.left || r.bottom <= r.top) return TRUE;
    const bool primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    for (auto seen = found->begin(); seen != found->end(); ++seen) {
        if (!EqualRect(&*seen, &r)) continue;
        // Reported again, the second time as the primary: it still comes first.
        if (primary) {
            found->erase(seen);
            found->insert(found->begin(), r);
        }
        return TRUE;
    }
    if (primary)
        found->insert(found->begin(), r);
    else
        found->push_back(r);
    return TRUE;
}

}  // namespace

std::vector<RECT> FindDeskMonitors() {
    std::vector<RECT> found;
    platform.EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&found));
    return found;
}
