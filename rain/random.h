// The rain's random source: the classic linear congruential generator, kept here so that the
// same seed gives the same sequence on every platform (C libraries' rand() differ).
#pragma once
#include <cstdint>

extern uint32_t randomState;

// Seeding sets the state; every later number comes from it alone.
inline void SeedRandom(uint32_t seed) { randomState = seed; }

// Next number, 0..32767.
inline int Random() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFF);
}
