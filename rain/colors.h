// The rain's colour schemes: every colour the drawing uses, one table row per RainColor choice.
// Row 0 is the green look; the others keep its brightness relations (white heads brightest, pale
// glows, bright landed letters) in another hue.
#pragma once
#include <cstdint>

struct RainRgba {
    float r, g, b, a;
};

struct RainColors {
    float trail[3];        // trail glyph tint; its alpha flickers from 0.7 to 1.0
    RainRgba head;         // head glyphs and the message letters themselves
    RainRgba trailGlow;    // centre of the trail glow; its rim is the same colour at alpha 0
    RainRgba headGlow;     // centre of the head glow; rim likewise
    uint8_t letterRgb[3];  // stroke colour of the message letters' tiles
};

// The letters' picture is drawn in this green; a scheme with another letter colour recolours
// the letter tiles (render/), the green one leaves them as cut.
constexpr uint8_t kLetterPictureGreen[3] = {4, 235, 75};

extern const RainColors kRainColors[];  // indexed by RainColor, kRainColorCount rows

// The scheme of a RainColor value; a value that names none gives the green one.
const RainColors* RainColorScheme(int32_t choice);
