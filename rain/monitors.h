// The run's rain: one field per monitor, the primary first, all stepped together and drawn
// (render/) each into its own monitor's rectangle of one window covering them all; one display is
// a run of one monitor. The primary's field takes exactly the random numbers a one-monitor run
// takes; every other field takes the numbers that follow the primary's, so no two monitors show
// the same rain.
#pragma once
#include <cstdint>

#include "rain/field.h"

constexpr int32_t kMaxMonitors = 16;  // monitors beyond this stay black

// A monitor in virtual-screen pixels: origin top-left, y downward, as Windows reports it.
struct MonitorRect {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

// The column count that makes a monitor `width` pixels wide show cells nearest to cellSize
// wide; at least 1.
int32_t NearestColumnCount(int32_t width, float cellSize);

// The smallest rectangle holding every monitor (all zero for none).
MonitorRect BoundingRect(const MonitorRect* monitors, int32_t count);

struct RainMonitors {
    int32_t count;       // fields in use; 0 only before a build or when nothing had area
    MonitorRect bounds;  // the whole rectangle drawn into (the window)
    MonitorRect rects[kMaxMonitors];
    RainField fields[kMaxMonitors];

    // Builds a field for the primary (monitors[0]) with `size` columns, then, unless
    // primaryOnly, one for each further monitor with cells of the primary's size. Monitors
    // without area, and a second report of the same rectangle, are left out. The caller seeds the
    // random source first, as for one field.
    void build(const MonitorRect* monitors, int32_t monitorCount, bool primaryOnly, int32_t size,
               bool fastMode, bool continuous, const char* message);
    // One update step of every field, the primary seeded from the host's tick count.
    void update(uint32_t tick);
    void release();
};
