// The platform table's real entries natively: a monotonic millisecond clock for both tick
// counts (the native tools set their own tick counts through the table).
#include "base/platform.h"

#include <chrono>

static uint32_t MonotonicMilliseconds() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

const Platform kRealPlatform = {MonotonicMilliseconds, MonotonicMilliseconds};

Platform platform = kRealPlatform;
