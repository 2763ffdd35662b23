// Table-filling resolvers over a driver library: plain exports for the OpenGL 1.1 functions, and
// the driver's wglGetProcAddress for the extensions. Relies only on GetProcAddress.
#include "gl/gl_load_win32.h"

#include <windows.h>

namespace {

using WglGetProcAddress = PROC(WINAPI*)(LPCSTR name);

}  // namespace

void* ResolveGlExport(const char* name, void* module) {
    if (!module || !name) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void* ResolveGlThroughWgl(const char* name, void* module) {
    if (!module || !name) return nullptr;
    // Looked up per row rather than once, so each row asks the library as it stands.
    auto wglGetProcAddressOfDriver = reinterpret_cast<WglGetProcAddress>(
        reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), "wglGetProcAddress")));
    if (!wglGetProcAddressOfDriver) return nullptr;
    return reinterpret_cast<void*>(wglGetProcAddressOfDriver(name));
}
