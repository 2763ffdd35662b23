// One update step of the rain field: every stream falls a cell, streams that left the screen
// come back at the top of a free column, and the message cycle drains the rain, lets the
// letters fall and stand, and brings the rain back. Seeds the random source from the tick count
// the host passes in.
#include <cmath>

#include "rain/field.h"
#include "rain/random.h"

namespace {

// Steps after which the cycle starts over (the count runs 1..601, then back to 0).
constexpr int kCycleEnd = kCycleLength - 1;

// The generator's numbers, the same sequence as Random()'s, four states ahead: each new state is
// made from the one four places back by a single jump (state * a^4 + c_4), so four chains of
// multiplications overlap instead of one waiting on the other. The trail refresh is a long
// run of draws, and this chain is most of a step's cost.
class RandomAhead {
public:
    RandomAhead() : last(randomState) {
        for (int k = 0; k < 4; ++k) ahead[k] = last * kJumpMultiplier[k] + kJumpIncrement[k];
    }
    // The shared source continues after the last number taken.
    ~RandomAhead() { randomState = last; }
    RandomAhead(const RandomAhead&) = delete;
    RandomAhead& operator=(const RandomAhead&) = delete;

    uint32_t next() {
        last = ahead[0];
        ahead[0] = ahead[1];
        ahead[1] = ahead[2];
        ahead[2] = ahead[3];
        ahead[3] = last * kJumpMultiplier[3] + kJumpIncrement[3];
        return (last >> 16) & 0x7FFF;
    }

private:
    // Multiplier and increment that move the generator on by 1, 2, 3 and 4 numbers at once.
    static constexpr uint32_t kJumpMultiplier[4] = {214013u, 214013u * 214013u,
                                                    214013u * 214013u * 214013u,
                                                    214013u * 214013u * 214013u * 214013u};
    static constexpr uint32_t kJumpIncrement[4] = {
        2531011u, 2531011u * 214013u + 2531011u,
        (2531011u * 214013u + 2531011u) * 214013u + 2531011u,
        ((2531011u * 214013u + 2531011u) * 214013u + 2531011u) * 214013u + 2531011u};

    uint32_t last;
    uint32_t ahead[4];
};

// The glyph refresh shared by streams and falling letters: a fresh glyph enters entry 1, every
// entry from 1 up gets a 1-in-20 chance of a new glyph, and the trail shifts up one entry, so
// that glyphs stay put on the screen while the head moves down under them.
void RefreshTrail(int32_t* glyphs, int32_t cellCount) {
    {
        RandomAhead random;
        glyphs[1] = static_cast<int32_t>(random.next() % kRainGlyphCount);
        for (int i = 1; i < cellCount; ++i)
            if (random.next() % 20 == 0)
                glyphs[i] = static_cast<int32_t>(random.next() % kRainGlyphCount);
    }
    for (int i = cellCount - 1; i >= 2; --i) glyphs[i] = glyphs[i - 1];
}

void Fall(Stream* stream) {
    stream->y = stream->y - stream->cellSize;
    RefreshTrail(stream->glyphs, stream->cellCount);
}

}  // namespace

bool Stream::advance() {
    // Gone only once the top is strictly below the bottom edge; exactly on it still moves.
    if (-(static_cast<float>(cellCount) * cellSize) > y) return true;
    Fall(this);
    return false;
}

void MessageLetter::advance(bool erase) {
    if (erase) erased = true;
    if (isSpace || erased) return;
    if (y > static_cast<float>(landingHeight)) {
        y = y - cellSize;
        RefreshTrail(glyphs, cellCount);
        return;
    }
    // Landed: the trail shrinks a cell per step until the letter stands alone.
    if (cellCount > 1) --cellCount;
    if (cellCount > 1)
        for (int i = 1; i < cellCount; ++i)
            if (Random() % 20 == 0) glyphs[i] = Random() % kRainGlyphCount;
}

void RainField::respawn(Stream* stream) {
    const float cellSize = CellSize(width, columnCount);
    const float top = static_cast<float>(height);
    for (int attempt = 0; attempt < 5; ++attempt) {
        const float candidate = cellSize * static_cast<float>(Random() % columnCount);
        // A column is busy while a stream there still reaches above the screen: entering it
        // now would overlap that stream's tail.
        bool busy = false;
        for (const Stream* other = firstStream; other != nullptr && !busy; other = other->next)
            busy = std::fabs(other->x - candidate) < 1.0f &&
                   other->y + static_cast<float>(other->lengthPixels) > top;
        if (!busy) {
            stream->x = candidate;
            stream->y = top;
            return;
        }
    }
    // Every try was busy: stay below the screen and try again at the next step.
}

void RainField::update(uint32_t tick) {
    SeedRandom(tick & 0xFF);
    step();
}

void RainField::step() {
    if (continuous) {
        for (Stream* stream = firstStream; stream != nullptr; stream = stream->next)
            if (stream->advance()) respawn(stream);
        return;
    }

    const int32_t step = ++cycleCounter;
    const float cellSize = CellSize(width, columnCount);
    const double H = height;
    int32_t k = 0;
    for (Stream* stream = firstStream; stream != nullptr; stream = stream->next, ++k) {
        if (step > kDrainStart && step <= kReplaceStep) {
            // Draining: streams fall off the screen and are not brought back.
            if (stream->y + static_cast<float>(stream->cellCount) * stream->cellSize > 0.0f)
                Fall(stream);
            if (step == kReplaceStep) {
                // One stream per column above the screen, so the rain returns as a full front.
                stream->x = cellSize * static_cast<float>(k);
                stream->y = static_cast<float>(H + 1.4 * H * Random() / 32767.0);
            }
        } else if (stream->advance()) {
            respawn(stream);
        }
    }

    if (step > kCycleEnd) {
        cycleCounter = 0;
        for (int32_t j = 0; j < messageLength; ++j) {
            MessageLetter* letter = letters[j];
            letter->y = static_cast<float>(height) + static_cast<float>(Random() % 75) * cellSize;
            letter->erased = false;
            letter->cellCount = 5 + Random() % 10;
        }
    }

    if (cycleCounter > kLettersShown)
        for (int32_t j = 0; j < messageLength; ++j) {
            const bool erase = cycleCounter > kReplaceStep && Random() % 25 == 0;
            letters[j]->advance(erase);
        }
}
