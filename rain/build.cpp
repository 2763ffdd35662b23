// Construction of the rain field: one stream per column on a full screen and one letter per
// message character above it. The order of the random draws is part of the behaviour (a seed
// gives one picture), so every draw is named in the order it is taken.
#include <cstring>
#include <new>

#include "rain/field.h"
#include "rain/random.h"
#include "settings/settings.h"

float CellSize(int32_t width, int32_t columnCount) {
    return static_cast<float>(width) / static_cast<float>(columnCount);
}

int32_t ClampColumnCount(int32_t size, int32_t width) {
    if (width < 1) width = 1;
    if (size < 1) return 1;
    if (size > width) return width;
    return size;
}

int32_t WindowColumnCount(int32_t size, int32_t windowWidth, int32_t screenWidth) {
    if (windowWidth < 1) return 1;
    const int64_t screen = screenWidth < 1 ? windowWidth : screenWidth;
    const int64_t scaled =
        static_cast<int64_t>(ClampColumnCount(size, static_cast<int32_t>(screen))) * windowWidth /
        screen;
    return ClampColumnCount(static_cast<int32_t>(scaled), windowWidth);
}

namespace {

// Fields every stream gets the same way; the caller has set y and cellCount.
void FillStream(Stream* stream, float x, float cellSize, bool fastMode) {
    stream->next = nullptr;
    stream->x = x;
    stream->cellSize = cellSize;
    stream->lengthPixels = static_cast<int32_t>(static_cast<float>(stream->cellCount) * cellSize);
    stream->fastMode = fastMode;
    for (int i = 0; i < stream->cellCount; ++i) stream->glyphs[i] = Random() % kRainGlyphCount;
    // The unused tail is never drawn; a fixed value keeps the record fully defined.
    for (int i = stream->cellCount; i < kStreamGlyphs; ++i) stream->glyphs[i] = 0;
    stream->brightHead = (Random() & 1) != 0;
}

}  // namespace

void RainField::build(int32_t width, int32_t height, int32_t columnCount, bool fastMode,
                      bool continuous, const char* message) {
    this->width = width;
    this->height = height;
    // A column count of 0 would divide by zero and one above the width would give columns
    // narrower than a pixel.
    columnCount = ClampColumnCount(columnCount, width);
    this->columnCount = columnCount;
    this->continuous = continuous;
    cycleCounter = 0;

    // The letters table has room for 32, the settings hold 31: take no more than 31.
    std::memset(this->message, 0, sizeof this->message);
    messageLength = 0;
    if (message != nullptr)
        while (messageLength < kMaxMessageLength && message[messageLength] != '\0') {
            this->message[messageLength] = message[messageLength];
            ++messageLength;
        }

    const float cellSize = CellSize(width, columnCount);
    const double H = height;

    firstStream = nullptr;
    Stream** link = &firstStream;
    for (int32_t k = 0; k < columnCount; ++k) {
        Stream* stream = new (std::nothrow) Stream;
        if (stream == nullptr) break;  // out of memory: fewer streams rather than a crash
        int32_t column = k;
        if (k == 0) {
            // The first stream takes a random column and starts on the screen; the others start
            // anywhere up to twice the screen height, so rain fills the screen from the start.
            column = Random() % columnCount;
            stream->y = static_cast<float>(H * Random() / 32767.0);
        } else {
            stream->y = static_cast<float>(2.0 * H * Random() / 32767.0);
        }
        stream->cellCount = 30 + Random() % 30;
        FillStream(stream, static_cast<float>(column) * cellSize, cellSize, fastMode);
        *link = stream;
        link = &stream->next;
    }

    for (MessageLetter*& letter : letters) letter = nullptr;
    const int32_t firstColumn = columnCount / 2 - messageLength / 2;
    for (int32_t j = 0; j < messageLength; ++j) {
        MessageLetter* letter = new (std::nothrow) MessageLetter;
        if (letter == nullptr) {
            messageLength = j;
            break;
        }
        letter->x = static_cast<float>(firstColumn + j) * cellSize;
        letter->y = static_cast<float>(height) + static_cast<float>(Random() % 75) * cellSize;
        letter->cellCount = 5 + Random() % 10;
        letter->erased = false;
        letter->fastMode = fastMode;
        letter->cellSize = cellSize;
        letter->landingHeight = height / 2;
        for (int i = 1; i < letter->cellCount; ++i) letter->glyphs[i] = Random() % kRainGlyphCount;
        // A later cycle may draw more cells than this one; their entries are only ever seen
        // after the fall has rewritten them, but they must hold glyphs that exist. Repeat the
        // drawn trail rather than take more random numbers.
        for (int i = letter->cellCount; i < kLetterGlyphs; ++i)
            letter->glyphs[i] = letter->glyphs[1 + (i - 1) % (letter->cellCount - 1)];
        const int code = static_cast<signed char>(this->message[j]) - 9;
        const bool hasGlyph = code >= 0 && code < kGlyphCodeCount;
        // A character without a glyph keeps its column and shows nothing, like a space.
        letter->isSpace = this->message[j] == ' ' || !hasGlyph;
        letter->glyphs[0] = hasGlyph ? code : 0;
        letters[j] = letter;
    }
}

void RainField::release() {
    while (firstStream != nullptr) {
        Stream* next = firstStream->next;
        delete firstStream;
        firstStream = next;
    }
    for (MessageLetter*& letter : letters) {
        delete letter;
        letter = nullptr;
    }
    messageLength = 0;
}
