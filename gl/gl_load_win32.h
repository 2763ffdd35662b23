// Windows resolvers for FillGlCoreRows / FillGlExtRows over a loaded driver library. `user` is the
// library's HMODULE. Windows builds only (torvex_win).
#pragma once

// GetProcAddress(module, name): for the core rows, which the driver library exports directly.
void* ResolveGlExport(const char* name, void* module);

// The driver's own wglGetProcAddress, looked up afresh for every row, asked for the name; null
// when the driver has no wglGetProcAddress or does not know the function. For extension rows.
void* ResolveGlThroughWgl(const char* name, void* module);
