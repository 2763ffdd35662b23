// The GLX maker: an OpenGL context for an X window, behind the one context contract
// (gl/context.h) beside WGL and off-screen Mesa. libGL.so.1 is opened at run time, never linked.
// Native X11 builds only (torvex_x11).
#pragma once
#include <string>

#include "gl/context.h"
#include "gl/glx.h"

// Makes a context for the window's own visual (whatever depth it has, 32-bit ARGB included),
// makes it current and fills context: swap, swap interval where GLX offers one of its three
// swap-control extensions, release, and a resolver through glXGetProcAddressARB. Returns an empty
// string on success, otherwise what failed ("cannot load libGL.so.1", "the display has no GLX",
// ...); on failure nothing is left behind.
std::string MakeGlxContext(GlContext& context, Display* display, Window window);
