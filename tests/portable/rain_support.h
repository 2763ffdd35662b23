// Helpers shared by the rain model tests: the tick count the host would pass to the steps, a
// field built for a given screen, and the streams of a field as a vector.
#pragma once
#include <vector>

#include "rain/field.h"
#include "rain/random.h"

// The tick count the steps are seeded from, set for a test.
struct FixedClock {
    static inline uint32_t tick = 0;
    explicit FixedClock(uint32_t start = 0) { tick = start; }
};

// A field built the way the saver does it: the source is seeded first.
struct TestField {
    RainField field{};
    TestField(int32_t width, int32_t height, int32_t columns, const char* message,
              bool continuous = false, uint32_t seed = 0, bool fastMode = false) {
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
            field.update(FixedClock::tick);
        }
    }
};
