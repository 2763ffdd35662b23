// One frame of the rain as the saver's frame loop and the picture tool draw it: clear, every
// stream, the message letters while they are shown, flush. Needs the renderer set up.
#pragma once

struct RainField;

// Every stream of field, then its letters while they are shown; no clear, no flush.
void DrawRainField(const RainField& field);

// The frame of the run's one field: clear, DrawRainField(rainField), flush.
void DrawRainFrame();
