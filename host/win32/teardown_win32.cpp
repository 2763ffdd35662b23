// The teardown of a run that draws (see teardown_win32.h). Relies on the host record, the
// renderer and the driver layer.
#include "host/win32/teardown_win32.h"

#include "gl/driver_win32.h"
#include "host/win32/host_state_win32.h"
#include "render/run.h"

void ReleaseRendering(HWND window) {
    // The textures belong to the context: they can only be deleted while it is current here.
    if (hostState->wgl.renderContext) ReleaseRenderer(hostState->rain.renderer);
    // Unbinds whatever is current and deletes the rendering context, if one was made.
    GlContext context = WglContextOf(hostState->wgl);
    ReleaseContext(context);
    if (hostState->wgl.deviceContext) {
        ReleaseDC(window, hostState->wgl.deviceContext);
        hostState->wgl.deviceContext = nullptr;
    }
    hostState->rain.monitors.release();
}

void FinishDrawing(HWND window) {
    ReleaseRendering(window);
    FreeDriverLibrary();
}
