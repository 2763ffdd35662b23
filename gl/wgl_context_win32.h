// The WGL maker of the context contract (gl/context.h): a rendering context of the loaded driver
// library for a window's device context, made current, swapped and deleted through the driver
// layer, its extension rows and swap interval asked of the driver's wglGetProcAddress. Windows
// only.
#pragma once
#include <windows.h>

#include "gl/context.h"

// The contexts themselves: the window's device context (its owner releases it) and the rendering
// context made for it.
struct WglContext {
    HDC deviceContext = nullptr;
    HGLRC renderContext = nullptr;
};

// Creates the driver's rendering context for deviceContext into wgl; false when it made none.
bool CreateWglContext(WglContext& wgl, HDC deviceContext);

// The contract's record over wgl, whatever it holds: its release unbinds any current context and
// deletes wgl's rendering context when there is one. The contexts' one home stays wgl.
GlContext WglContextOf(WglContext& wgl);

// The extension rows and the driver's wglSwapIntervalEXT (into driverState.wgl), asked of the
// driver once a context is current: drivers name their extensions only to a current context. The
// core rows came from the library's exports when it was loaded.
void FillWglExtensions(const GlContext& context);
