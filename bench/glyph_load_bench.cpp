// Time LoadGlyphPicture takes for the rain and letter pictures a run loads together, at every
// artwork size: the first load (into fresh buffers, as a run loads them), then the median and
// fastest of a number of loads. A plain program, not a Google
// Benchmark one, so the same code runs natively and under Wine (from the program's resources).
//   glyph_load_bench [repetitions]      (default 30)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "render/glyph_pictures.h"
#include "render/glyph_tiles.h"

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    std::printf("rain + letter pictures, %d loads a size\n", repetitions);
    std::printf("cell side  picture side  first (ms)  median (ms)  fastest (ms)\n");
    for (int cellSide : kGlyphArtSides) {
        std::vector<double> ms;  // in the order taken: ms[0] is the first load
        std::vector<uint8_t> rain, letters;
        for (int i = 0; i < repetitions; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const bool loaded = LoadGlyphPicture(kRainPictureName, cellSide, rain) &&
                                LoadGlyphPicture(kLetterPictureName, cellSide, letters);
            const auto end = std::chrono::steady_clock::now();
            if (!loaded) {
                std::fprintf(stderr, "glyph_load_bench: no pictures with %d-px cells\n", cellSide);
                return 1;
            }
            ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
        const double first = ms[0];
        std::sort(ms.begin(), ms.end());
        std::printf("%9d  %12d  %10.3f  %11.3f  %12.3f\n", cellSide, GlyphPictureSide(cellSide),
                    first, ms[ms.size() / 2], ms[0]);
    }
    return 0;
}
