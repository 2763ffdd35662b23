// Native off-screen OpenGL: Mesa's OSMesa library opened at run time (never linked), a context
// over a caller's RGBA buffer behind the context contract (gl/context.h), glTable filled from it,
// and a read-back of the rendered picture. Native builds only (torvex_native).
#pragma once

#include <string>
#include <vector>

#include "gl/context.h"

struct OsMesa {
    void* library = nullptr;  // dlopen handle, kept for the process: Mesa does not unload cleanly
    void* context = nullptr;  // OSMesaContext
    unsigned char* pixels = nullptr;  // the caller's buffer the context draws into
    int width = 0;
    int height = 0;
};

// The contract's record over mesa: make current binds the buffer again, a swap finishes the
// picture (there is nothing to show), no swap interval, release closes the context.
GlContext OsMesaContextOf(OsMesa& mesa);

// Loads "libOSMesa.so.8", creates an RGBA context (24 depth bits, or 16 when 24 is refused) over
// `pixels` (width * height * 4 bytes, owned by the caller and alive until CloseOsMesa), makes it
// current and fills glTable through the contract's resolver: every core row must resolve,
// extension rows may stay null.
// Returns an empty string on success, otherwise what failed (e.g. "cannot load libOSMesa.so.8");
// on failure no context is left behind.
std::string OpenOsMesa(OsMesa& mesa, unsigned char* pixels, int width, int height);

// Unbinds and destroys the context (the library stays loaded). Safe to call on a closed record.
void CloseOsMesa(OsMesa& mesa);

// Reads the current colour buffer as RGB bytes, rows from the top of the picture down
// (OpenGL's rows start at the bottom). Empty for a non-positive size.
std::vector<unsigned char> ReadPixelsRgbTopFirst(int width, int height);
