// The one teardown of every run that draws, the saver's and the preview's: what the renderer
// made goes while its context is still current, then the contexts, then the driver library.
// Windows only.
#pragma once
#include <windows.h>

// The renderer's textures and arrays and the rain, then the rendering context, then the window's
// device context (hostState). Safe to call again: what is gone stays gone.
void ReleaseRendering(HWND window);

// ReleaseRendering for a window, whether or not it is still there, then the driver library.
void FinishDrawing(HWND window);
