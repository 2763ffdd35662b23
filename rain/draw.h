// One frame of the rain as the saver's frame loop and the picture tool draw it: clear, every
// stream, the message letters while they are shown, flush. Needs the renderer set up.
#pragma once
#include <cstdint>

struct RainField;

// Every stream of field, then its letters while they are shown; no clear, no flush.
void DrawRainField(const RainField& field);

// A pixel-exact 2D projection onto the window rectangle at (x, y) from its bottom-left corner,
// width x height pixels: one unit a pixel, origin at the rectangle's bottom-left corner. Leaves
// the model-view matrix current.
void SetPixelProjection(int32_t x, int32_t y, int32_t width, int32_t height);

// The frame of the run's one field: clear, DrawRainField(rainField), flush.
void DrawRainFrame();
