// The renderer's GL state for a run: the colour scheme, the glyph pages for the cells' size, a
// pixel-exact 2D projection, blending unless in fast mode, texturing and the clear colour.
// Draws no random numbers. Needs the GL table filled and a current context.
#pragma once
#include <cstdint>

struct RainRenderer;
struct Settings;

// Sets the state for a width x height window whose cells are cellSide pixels wide (the glyph
// artwork is chosen for them), in the colour, glyph set and mode the settings name.
void SetupRendererState(RainRenderer& renderer, const Settings& settings, int32_t width,
                        int32_t height, float cellSide);
