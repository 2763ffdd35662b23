// The one table of rain colours. Each hue follows the green row's pattern: the trail at most 0.8
// in its strongest channel, a trail glow a little whiter than the trail, a head glow paler still,
// white heads. Green, row 0, holds exactly the values the rain has always been drawn with.
#include "rain/colors.h"

#include "settings/settings.h"

const RainColors kRainColors[kRainColorCount] = {
    // Green: a pale blue-white head glow over green rain.
    {{0.0f, 0.8f, 0.0f},
     {1.0f, 1.0f, 1.0f, 1.0f},
     {0.2f, 1.0f, 0.2f, 0.15f},
     {0.7f, 0.7f, 1.0f, 0.4f},
     {4, 235, 75}},
    // Blue: sky blue rather than pure blue, which reads as almost black on a monitor.
    {{0.0f, 0.35f, 0.8f},
     {1.0f, 1.0f, 1.0f, 1.0f},
     {0.2f, 0.5f, 1.0f, 0.15f},
     {0.75f, 0.85f, 1.0f, 0.4f},
     {40, 130, 255}},
    // Red.
    {{0.8f, 0.0f, 0.0f},
     {1.0f, 1.0f, 1.0f, 1.0f},
     {1.0f, 0.2f, 0.2f, 0.15f},
     {1.0f, 0.75f, 0.7f, 0.4f},
     {255, 40, 30}},
    // Amber: the colour of old amber terminals.
    {{0.8f, 0.5f, 0.0f},
     {1.0f, 1.0f, 1.0f, 1.0f},
     {1.0f, 0.7f, 0.2f, 0.15f},
     {1.0f, 0.9f, 0.7f, 0.4f},
     {255, 176, 0}},
    // Violet.
    {{0.55f, 0.0f, 0.8f},
     {1.0f, 1.0f, 1.0f, 1.0f},
     {0.75f, 0.2f, 1.0f, 0.15f},
     {0.9f, 0.75f, 1.0f, 0.4f},
     {190, 70, 255}},
    // White: grey trails, so the white heads still stand out.
    {{0.6f, 0.6f, 0.6f},
     {1.0f, 1.0f, 1.0f, 1.0f},
     {0.8f, 0.8f, 0.8f, 0.15f},
     {0.85f, 0.85f, 1.0f, 0.4f},
     {255, 255, 255}},
};

const RainColors* RainColorScheme(int32_t choice) {
    return &kRainColors[ChoiceOrDefault(choice, kRainColorCount)];
}
