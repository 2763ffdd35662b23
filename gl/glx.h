// The few GLX declarations Torvex uses, written here as gl/gl.h writes OpenGL's: the system
// <GL/glx.h> pulls in the system gl.h, which must not meet gl/gl.h. Xlib's own types come from
// its headers; every GLX function is looked up in libGL.so.1 at run time (gl/glx_context.cpp).
#pragma once
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using GLXContext = struct __GLXcontextRec*;
using GLXDrawable = XID;

// glXGetConfig attributes.
constexpr int GLX_USE_GL = 1;
constexpr int GLX_RGBA = 4;
constexpr int GLX_DOUBLEBUFFER = 5;

using GlxQueryExtension = Bool (*)(Display* display, int* errorBase, int* eventBase);
using GlxQueryExtensionsString = const char* (*)(Display* display, int screen);
using GlxGetConfig = int (*)(Display* display, XVisualInfo* visual, int attribute, int* value);
using GlxCreateContext = GLXContext (*)(Display* display, XVisualInfo* visual, GLXContext share,
                                        Bool direct);
using GlxDestroyContext = void (*)(Display* display, GLXContext context);
using GlxMakeCurrent = Bool (*)(Display* display, GLXDrawable drawable, GLXContext context);
using GlxSwapBuffers = void (*)(Display* display, GLXDrawable drawable);
using GlxGetProcAddress = void (*(*)(const unsigned char* name))();
// The three swap-control extensions, whichever the driver names.
using GlxSwapIntervalExt = void (*)(Display* display, GLXDrawable drawable, int interval);
using GlxSwapIntervalMesa = int (*)(unsigned int interval);
using GlxSwapIntervalSgi = int (*)(int interval);
