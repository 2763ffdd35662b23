// The one-time renderer set-up of a saver run: random seed, glyph textures, a pixel-exact 2D
// projection, blending by FastMode, texturing, clear colour, then the rain field itself.
// Needs the GL table filled, a current context and the settings loaded.
#pragma once
#include <cstdint>

struct MonitorRect;

// The whole set-up: seeds the rain's random source from the tick count, sets the GL state and
// builds the rain field, for the display mode's size and the stored Size.
void SetupRenderer();

// The same for a width x height window with columnCount columns (the preview).
void SetupRendererFor(int32_t width, int32_t height, int32_t columnCount);

// The same for rain on several monitors: seeds, builds one field per monitor (only the
// primary's when primaryOnly) into rainMonitors, the primary with the stored Size's columns or
// columnCount, and sets the GL state. One display is a run of one monitor.
void SetupRendererForMonitors(const MonitorRect* monitors, int32_t count, bool primaryOnly);
void SetupRendererForMonitors(const MonitorRect* monitors, int32_t count, bool primaryOnly,
                              int32_t columnCount);

// The GL part alone (textures, projection, viewport, blending, texturing, clear colour) for a
// width x height window whose cells are cellSide pixels wide (the glyph artwork is chosen for
// them): draws no random numbers, so tools that seed and build the field themselves get the same
// field. Without arguments, the display mode's size and the stored Size's cells.
void SetupRendererState();
void SetupRendererState(int32_t width, int32_t height, float cellSide);
