// WGL behind the context contract (see wgl_context_win32.h). Every call goes to the loaded driver
// library through the driver layer, so a 3Dfx driver's own WGL is used where it has one.
#include "gl/wgl_context_win32.h"

#include "gl/driver_win32.h"
#include "gl/gl_load_win32.h"

namespace {

WglContext& Of(GlContext& context) { return *static_cast<WglContext*>(context.native); }

bool MakeCurrent(GlContext& context) {
    WglContext& wgl = Of(context);
    return DriverMakeCurrent(wgl.deviceContext, wgl.renderContext) != FALSE;
}

void Swap(GlContext& context) { DriverSwapBuffers(Of(context).deviceContext); }

bool SwapInterval(GlContext&, int interval) {
    return driverState.wgl.swapIntervalEXT != nullptr &&
           driverState.wgl.swapIntervalEXT(interval) != FALSE;
}

// The context is unbound before it is deleted; the device context stays the window's.
void Release(GlContext& context) {
    WglContext& wgl = Of(context);
    DriverMakeCurrent(nullptr, nullptr);
    if (wgl.renderContext != nullptr) {
        DriverDeleteContext(wgl.renderContext);
        wgl.renderContext = nullptr;
    }
}

}  // namespace

bool CreateWglContext(WglContext& wgl, HDC deviceContext) {
    wgl.deviceContext = deviceContext;
    wgl.renderContext = DriverCreateContext(deviceContext);
    return wgl.renderContext != nullptr;
}

GlContext WglContextOf(WglContext& wgl) {
    return GlContext{&wgl,
                     MakeCurrent,
                     Swap,
                     SwapInterval,
                     Release,
                     ResolveGlThroughWgl,
                     driverState.driverLibrary};
}

void FillWglExtensions(const GlContext& context) {
    FillGlExtRows(context.resolve, context.resolveUser);
    driverState.wgl.swapIntervalEXT = reinterpret_cast<BOOL(WINAPI*)(int)>(
        context.resolve != nullptr ? context.resolve("wglSwapIntervalEXT", context.resolveUser)
                                   : nullptr);
}
