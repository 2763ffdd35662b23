// The few GLX declarations Torvex uses, written here as gl/gl.h writes OpenGL's: the system
// <GL/glx.h> pulls in the system gl.h, which must not meet gl/gl.h. Xlib's own types come from
// its headers; every GLX function is looked up in libGL.so.1 at run time (gl/glx_context.cpp).
#pragma once
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using GLXContext = struct __GLXcontextRec*;
using GLXDrawable = XID;
using GLXFBConfig = struct __GLXFBConfigRec*;

// glXGetConfig and glXGetFBConfigAttrib attributes and their values.
constexpr int GLX_USE_GL = 1;
constexpr int GLX_RGBA = 4;
constexpr int GLX_DOUBLEBUFFER = 5;
constexpr int GLX_ALPHA_SIZE = 11;
constexpr int GLX_DEPTH_SIZE = 12;
constexpr int GLX_STENCIL_SIZE = 13;
constexpr int GLX_VISUAL_ID = 0x800B;
constexpr int GLX_DRAWABLE_TYPE = 0x8010;
constexpr int GLX_RENDER_TYPE = 0x8011;
constexpr int GLX_RGBA_TYPE = 0x8014;
constexpr int GLX_WINDOW_BIT = 0x0001;
constexpr int GLX_RGBA_BIT = 0x0001;
constexpr int GLX_SAMPLES = 100001;

using GlxQueryExtension = Bool (*)(Display* display, int* errorBase, int* eventBase);
using GlxQueryExtensionsString = const char* (*)(Display* display, int screen);
using GlxGetConfig = int (*)(Display* display, XVisualInfo* visual, int attribute, int* value);
using GlxCreateContext = GLXContext (*)(Display* display, XVisualInfo* visual, GLXContext share,
                                        Bool direct);
// GLX 1.3: the configurations of a screen, to pick one for the window's visual.
using GlxGetFbConfigs = GLXFBConfig* (*)(Display* display, int screen, int* count);
using GlxGetFbConfigAttrib = int (*)(Display* display, GLXFBConfig config, int attribute,
                                     int* value);
using GlxCreateNewContext = GLXContext (*)(Display* display, GLXFBConfig config, int renderType,
                                           GLXContext share, Bool direct);
using GlxDestroyContext = void (*)(Display* display, GLXContext context);
using GlxMakeCurrent = Bool (*)(Display* display, GLXDrawable drawable, GLXContext context);
using GlxSwapBuffers = void (*)(Display* display, GLXDrawable drawable);
using GlxGetProcAddress = void (*(*)(const unsigned char* name))();
// The three swap-control extensions, whichever the driver names.
using GlxSwapIntervalExt = void (*)(Display* display, GLXDrawable drawable, int interval);
using GlxSwapIntervalMesa = int (*)(unsigned int interval);
using GlxSwapIntervalSgi = int (*)(int interval);
