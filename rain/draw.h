// One frame of the rain as the saver's frame loop and the picture tool draw it: clear, every
// stream, the message letters while they are shown, flush. Needs the renderer set up.
#pragma once

void DrawRainFrame();
