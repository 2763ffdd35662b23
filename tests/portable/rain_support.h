// Helpers shared by the rain model tests: a fixed tick count behind the platform table, a field
// built for a given screen, and the streams of a field as a vector.
#pragma once
#include <vector>

#include "base/platform.h"
#include "rain/field.h"
#include "rain/random.h"
#include "settings/settings.h"

// While alive, GetTickCount answers `tick`; the real entry comes back afterwards.
struct FixedClock {
    static inline uint32_t tick = 0;
    static uint32_t Now() { return tick; }
    Platform saved = platform;
    explicit FixedClock(uint32_t start = 0) {
        tick = start;
        platform.GetTickCount = Now;
    }
    ~FixedClock() { platform = saved; }
};

// A field built the way the saver does it: settings hold the screen, the source is seeded first.
struct TestField {
    RainField field{};
    TestField(int32_t width, int32_t height, int32_t columns, const char* message,
              bool continuous = false, uint32_t seed = 0, bool fastMode = false) {
        settings.ScrWidth = width;
        settings.ScrHeight = height;
        SeedRandom(seed);
        field.build(width, height, columns, fastMode, continuous, message);
    }
    ~TestField() { field.release(); }
    TestField(const TestField&) = delete;
    TestField& operator=(const TestField&) = delete;

    std::vector<Stream*> streams() const {
        std::vector<Stream*> list;
        for (Stream* s = field.firstStream; s != nullptr; s = s->next) list.push_back(s);
        return list;
    }
    // Runs update steps, the clock moving on by `interval` before each one.
    void run(int steps, uint32_t interval = 31) {
        for (int i = 0; i < steps; ++i) {
            FixedClock::tick += interval;
            field.update();
        }
    }
};
