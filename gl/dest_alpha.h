// Keeps the destination alpha of the colour buffer at 1, which the additive blend
// (GL_SRC_ALPHA, GL_DST_ALPHA) needs on buffers that store alpha. Calls only table functions.
#pragma once

// Clears the current draw buffer's alpha to 1 once and then masks alpha writes off, so later
// clears and blended drawing leave it at 1. Leaves the clear colour at (0, 0, 0, 0).
// Needs a current context; on a buffer without alpha planes it is harmless.
void HoldDestinationAlphaAtOne();
