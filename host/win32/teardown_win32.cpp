// The teardown of a run that draws (see teardown_win32.h). Relies on the host record, the
// renderer and the driver layer.
#include "host/win32/teardown_win32.h"

#include "gl/driver_win32.h"
#include "host/win32/host_state_win32.h"
#include "render/run.h"

void ReleaseRendering(HWND window) {
    // The textures belong to the context: they can only be deleted while it is current here.
    if (hostState->renderContext) ReleaseRenderer(hostState->rain.renderer);
    DriverMakeCurrent(nullptr, nullptr);
    if (hostState->renderContext) {
        DriverDeleteContext(hostState->renderContext);
        hostState->renderContext = nullptr;
    }
    if (hostState->deviceContext) {
        ReleaseDC(window, hostState->deviceContext);
        hostState->deviceContext = nullptr;
    }
    hostState->rain.monitors.release();
}

void FinishDrawing(HWND window) {
    ReleaseRendering(window);
    FreeDriverLibrary();
}
