// One rain field per monitor (see monitors.h). The random source is shared: around every
// operation on the further fields the primary's own position in the sequence is kept aside, so
// the primary goes on exactly as it would alone.
#include "rain/monitors.h"

#include <cmath>

#include "rain/random.h"

int32_t NearestColumnCount(int32_t width, float cellSize) {
    if (width < 1 || !(cellSize > 0.0f)) return 1;
    const double columns = std::floor(static_cast<double>(width) / cellSize + 0.5);
    if (columns < 1.0) return 1;
    return columns > width ? width : static_cast<int32_t>(columns);
}

MonitorRect BoundingRect(const MonitorRect* monitors, int32_t count) {
    if (count < 1) return MonitorRect{0, 0, 0, 0};
    int64_t left = monitors[0].x, top = monitors[0].y;
    int64_t right = left + monitors[0].width, bottom = top + monitors[0].height;
    for (int32_t k = 1; k < count; ++k) {
        const MonitorRect& m = monitors[k];
        if (m.x < left) left = m.x;
        if (m.y < top) top = m.y;
        if (int64_t{m.x} + m.width > right) right = int64_t{m.x} + m.width;
        if (int64_t{m.y} + m.height > bottom) bottom = int64_t{m.y} + m.height;
    }
    return MonitorRect{static_cast<int32_t>(left), static_cast<int32_t>(top),
                       static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top)};
}

void RainMonitors::build(const MonitorRect* monitors, int32_t monitorCount, bool primaryOnly,
                         int32_t size, bool fastMode, bool continuous, const char* message) {
    count = 0;
    bounds = MonitorRect{0, 0, 0, 0};
    if (monitors == nullptr || monitorCount < 1) return;
    bounds = BoundingRect(monitors, monitorCount);
    uint32_t primaryState = randomState;
    float cellSize = 0.0f;
    for (int32_t k = 0; k < monitorCount && count < kMaxMonitors; ++k) {
        const MonitorRect& m = monitors[k];
        if (m.width < 1 || m.height < 1) continue;
        // A mirrored display reported twice would get two rains drawn over each other.
        bool seen = false;
        for (int32_t j = 0; j < count; ++j)
            seen = seen || (rects[j].x == m.x && rects[j].y == m.y && rects[j].width == m.width &&
                            rects[j].height == m.height);
        if (seen) continue;
        if (count > 0 && primaryOnly) break;
        RainField& field = fields[count];
        if (count == 0) {
            field.build(m.width, m.height, size, fastMode, continuous, message);
            cellSize = CellSize(field.width, field.columnCount);
            primaryState = randomState;
        } else {
            field.build(m.width, m.height, NearestColumnCount(m.width, cellSize), fastMode,
                        continuous, message);
        }
        rects[count++] = m;
    }
    randomState = primaryState;
}

void RainMonitors::update(uint32_t tick) {
    if (count < 1) return;
    fields[0].update(tick);
    const uint32_t primaryState = randomState;
    for (int32_t k = 1; k < count; ++k) fields[k].step();
    randomState = primaryState;
}

void RainMonitors::release() {
    for (int32_t k = 0; k < count; ++k) fields[k].release();
    count = 0;
}
