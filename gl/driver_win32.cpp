// The driver layer: choosing and loading the OpenGL library, filling the entry-point table from
// it, and the WGL wrappers, whose functions are looked up once, when the library is loaded.
// Relies on the table and its resolvers (gl/gl_table.h, gl/gl_load_win32.h) and on
// platform.MessageBoxA.
#include "gl/driver_win32.h"

#include <cstring>

#include "base/platform.h"
#include "gl/gl_load_win32.h"
#include "gl/gl_table.h"

DriverState driverState;

namespace {

constexpr char kSystemLibrary[] = "opengl32.dll";
constexpr const char* kGlideRuntimes[] = {"glide2x.dll", "glide3x.dll"};
constexpr const char* k3dfxDrivers[] = {"3dfxvgl.dll", "3dfxOGL.dll", "3dfxgl.dll"};

// Presence is all that is asked of a probed library; nothing probed stays loaded.
bool IsPresent(const char* name) {
    HMODULE library = LoadLibraryA(name);
    if (!library) return false;
    FreeLibrary(library);
    return true;
}

template <typename Function>
void Resolve(Function& function, const char* name) {
    // Through void*: GetProcAddress's generic type and the real signature are unrelated.
    function = reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(driverState.driverLibrary, name)));
}

void ResolveDriverWgl() {
    DriverWgl& wgl = driverState.wgl;
    Resolve(wgl.createContext, "wglCreateContext");
    Resolve(wgl.makeCurrent, "wglMakeCurrent");
    Resolve(wgl.deleteContext, "wglDeleteContext");
    Resolve(wgl.choosePixelFormat, "wglChoosePixelFormat");
    Resolve(wgl.setPixelFormat, "wglSetPixelFormat");
    Resolve(wgl.swapBuffers, "wglSwapBuffers");
}

}  // namespace

void ChooseDriverLibraryFor(bool use3dfx, char* buffer) {
    if (!buffer) return;
    buffer[0] = '\0';
    // The 3Dfx OpenGL drivers are only worth trying where a Glide runtime is installed.
    if (use3dfx && (IsPresent(kGlideRuntimes[0]) || IsPresent(kGlideRuntimes[1]))) {
        for (const char* name : k3dfxDrivers) {
            std::strcpy(buffer, name);
            if (IsPresent(buffer)) return;
        }
        buffer[0] = '\0';
    }
    std::strcpy(buffer, kSystemLibrary);
}

int LoadDriverEntryPoints(const char* name) {
    FreeDriverLibrary();  // a second load must not strand the first library
    driverState.driverLibrary = name ? LoadLibraryA(name) : nullptr;
    if (!driverState.driverLibrary) {
        platform.MessageBoxA(GetFocus(), "OpenGL ICD dll not found", "Error", MB_OK);
        return kDriverNotFound;
    }
    ResolveDriverWgl();
    if (!FillGlCoreRows(ResolveGlExport, driverState.driverLibrary)) {
        FillGlExtRows(nullptr, nullptr);  // every row after the missing one reads as null
        return kDriverMissingFunction;
    }
    // No context exists yet, so a driver that answers only for a current one leaves these null.
    FillGlExtRows(ResolveGlThroughWgl, driverState.driverLibrary);
    // Only the system library routes pixel formats and swaps through GDI; the name decides,
    // byte for byte, as the library choice wrote it.
    if (std::strcmp(name, kSystemLibrary) != 0) driverState.useDriverWgl = true;
    return kDriverLoaded;
}

BOOL FreeDriverLibrary() {
    if (!driverState.driverLibrary) return FALSE;
    const BOOL freed = FreeLibrary(driverState.driverLibrary);
    driverState.driverLibrary = nullptr;
    driverState.wgl = DriverWgl{};
    return freed;
}

HGLRC DriverCreateContext(HDC deviceContext) {
    const auto create = driverState.wgl.createContext;
    return create ? create(deviceContext) : nullptr;
}

BOOL DriverMakeCurrent(HDC deviceContext, HGLRC renderContext) {
    const auto makeCurrent = driverState.wgl.makeCurrent;
    return makeCurrent ? makeCurrent(deviceContext, renderContext) : FALSE;
}

BOOL DriverDeleteContext(HGLRC renderContext) {
    const auto deleteContext = driverState.wgl.deleteContext;
    return deleteContext ? deleteContext(renderContext) : FALSE;
}

int DriverChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* descriptor) {
    if (!driverState.useDriverWgl) {
        const int index = ChoosePixelFormat(deviceContext, descriptor);
        if (index != 0) return index;
    }
    const auto choose = driverState.wgl.choosePixelFormat;
    if (!choose) return 0;
    // Once the driver has chosen the format, setting it and swapping must go to the driver too.
    driverState.useDriverWgl = true;
    return choose(deviceContext, descriptor);
}

BOOL DriverSetPixelFormat(HDC deviceContext, int index, const PIXELFORMATDESCRIPTOR* descriptor) {
    if (!driverState.useDriverWgl) {
        const BOOL set = SetPixelFormat(deviceContext, index, descriptor);
        if (set) return set;
    }
    const auto setFormat = driverState.wgl.setPixelFormat;
    if (!setFormat) return FALSE;
    driverState.useDriverWgl = true;
    return setFormat(deviceContext, index, descriptor);
}

void DriverSwapBuffers(HDC deviceContext) {
    if (!driverState.useDriverWgl && SwapBuffers(deviceContext)) return;
    // A failed GDI swap is retried through the driver on every frame; the route is not switched.
    const auto swap = driverState.wgl.swapBuffers;
    if (swap) swap(deviceContext);
}
