// The one context contract: whatever made an OpenGL context (WGL on Windows, GLX on X11, Mesa's
// off-screen library for the tools and tests), a host drives it through these few calls, and the
// entry-point table is filled through its resolver. Portable; each maker fills the record.
#pragma once

#include "gl/gl_table.h"

struct GlContext {
    void* native = nullptr;  // the maker's own record (device and rendering contexts, display...)
    bool (*makeCurrent)(GlContext& context) = nullptr;
    void (*swap)(GlContext& context) = nullptr;
    // Null where the platform offers no swap interval: then only the host's timer paces frames.
    bool (*swapInterval)(GlContext& context, int interval) = nullptr;
    void (*release)(GlContext& context) = nullptr;
    GlResolver resolve = nullptr;  // answers an entry point's address by name
    void* resolveUser = nullptr;   // passed to resolve unchanged
};

// Each is a no-op answering false (or nothing) on a record its maker did not fill.
bool MakeContextCurrent(GlContext& context);
void SwapContextBuffers(GlContext& context);
bool SetContextSwapInterval(GlContext& context, int interval);
// Unbinds and destroys the context and clears the record; safe to call twice.
void ReleaseContext(GlContext& context);

// Fills the core rows through the context's resolver (false, with *firstMissing set, at the first
// core function it cannot answer) and then every extension row it can.
bool FillGlTableFromContext(const GlContext& context, int* firstMissing = nullptr);
