// The OpenGL driver layer: which library supplies OpenGL, loading it into the entry-point table,
// and the context, pixel-format and swap calls that go to GDI or to the driver's own WGL exports.
// Windows only; the library is found by file name with the platform's usual search.
#pragma once
#include <windows.h>

// The driver library's WGL functions, looked up once when it is loaded; null where it lacks one.
struct DriverWgl {
    HGLRC(WINAPI* createContext)(HDC) = nullptr;
    BOOL(WINAPI* makeCurrent)(HDC, HGLRC) = nullptr;
    BOOL(WINAPI* deleteContext)(HGLRC) = nullptr;
    int(WINAPI* choosePixelFormat)(HDC, const PIXELFORMATDESCRIPTOR*) = nullptr;
    BOOL(WINAPI* setPixelFormat)(HDC, int, const PIXELFORMATDESCRIPTOR*) = nullptr;
    BOOL(WINAPI* swapBuffers)(HDC) = nullptr;
    // The swap interval extension, asked of wglGetProcAddress once a context is current
    // (FillWglExtensions); null where the driver lacks it.
    BOOL(WINAPI* swapIntervalEXT)(int) = nullptr;
};

// The driver layer's record, one per process.
struct DriverState {
    HMODULE driverLibrary = nullptr;  // null before loading, after a failed load and after release
    bool useDriverWgl = false;  // pixel formats and swaps go to the driver; never cleared once set
    DriverWgl wgl;              // from driverLibrary; all null while none is loaded
};

extern DriverState driverState;

// Writes the library file name to load into buffer (at least 13 bytes): a 3Dfx OpenGL driver
// when use3dfx is set and a Glide runtime and the driver are present, else "opengl32.dll".
// Every library probed here is released again before returning.
void ChooseDriverLibraryFor(bool use3dfx, char* buffer);

constexpr int kDriverLoaded = 0;
constexpr int kDriverMissingFunction = -1;
constexpr int kDriverNotFound = -666;

// Loads the library and fills the entry-point table: 0, -1 (a core function is missing, no
// message) or -666 (not loadable, after a message box).
int LoadDriverEntryPoints(const char* name);

// Releases the driver library; returns what FreeLibrary answered (0 when nothing was loaded).
BOOL FreeDriverLibrary();

// Each calls its WGL function of the loaded library (driverState.wgl); 0 when no library is
// loaded or the driver lacks the function.
HGLRC DriverCreateContext(HDC deviceContext);
BOOL DriverMakeCurrent(HDC deviceContext, HGLRC renderContext);
BOOL DriverDeleteContext(HGLRC renderContext);

// GDI first unless driverState.useDriverWgl; a GDI failure retries through the driver's WGL
// function.
int DriverChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* descriptor);
BOOL DriverSetPixelFormat(HDC deviceContext, int index, const PIXELFORMATDESCRIPTOR* descriptor);
void DriverSwapBuffers(HDC deviceContext);
