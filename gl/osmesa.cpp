// OSMesa through dlopen, so the native build needs Mesa only at run time and tests can skip when
// it is absent. The few OSMesa declarations are written here: its header pulls in the system GL
// header, which must not meet gl/gl.h.
#include "gl/osmesa.h"

#include <dlfcn.h>

#include <algorithm>

#include "gl/dest_alpha.h"
#include "gl/gl.h"

namespace {

constexpr const char* kLibraryName = "libOSMesa.so.8";
constexpr GLenum kOsMesaRgba = GL_RGBA;

using CreateContextExt = void* (*)(GLenum format, GLint depthBits, GLint stencilBits,
                                   GLint accumBits, void* shareList);
using MakeCurrent = GLboolean (*)(void* context, void* buffer, GLenum type, GLsizei width,
                                  GLsizei height);
using DestroyContext = void (*)(void* context);
using OsMesaProc = void (*)();
using GetProcAddress = OsMesaProc (*)(const char* name);

template <typename Function>
Function Symbol(void* library, const char* name) {
    return reinterpret_cast<Function>(dlsym(library, name));
}

void* ResolveThroughOsMesa(const char* name, void* user) {
    auto getProcAddress = Symbol<GetProcAddress>(user, "OSMesaGetProcAddress");
    return getProcAddress != nullptr ? reinterpret_cast<void*>(getProcAddress(name)) : nullptr;
}

OsMesa& Of(GlContext& context) { return *static_cast<OsMesa*>(context.native); }

bool MakeCurrentContext(GlContext& context) {
    OsMesa& mesa = Of(context);
    auto makeCurrent = Symbol<MakeCurrent>(mesa.library, "OSMesaMakeCurrent");
    return mesa.context != nullptr && makeCurrent != nullptr &&
           makeCurrent(mesa.context, mesa.pixels, GL_UNSIGNED_BYTE, mesa.width, mesa.height);
}

void FinishPicture(GlContext&) { glFinish(); }

void ReleaseMesa(GlContext& context) { CloseOsMesa(Of(context)); }

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// Mesa frees some per-context buffers only at unload, which never happens here; those are its
// allocations, not ours, so the leak checker skips them in every program that uses this loader.
extern "C" const char* __lsan_default_suppressions() { return "leak:libOSMesa.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif

std::string OpenOsMesa(OsMesa& mesa, unsigned char* pixels, int width, int height) {
    CloseOsMesa(mesa);
    if (!pixels || width <= 0 || height <= 0) return "invalid off-screen buffer";
    if (!mesa.library) mesa.library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!mesa.library) return std::string("cannot load ") + kLibraryName;

    auto create = Symbol<CreateContextExt>(mesa.library, "OSMesaCreateContextExt");
    auto makeCurrent = Symbol<MakeCurrent>(mesa.library, "OSMesaMakeCurrent");
    auto destroy = Symbol<DestroyContext>(mesa.library, "OSMesaDestroyContext");
    auto getProcAddress = Symbol<GetProcAddress>(mesa.library, "OSMesaGetProcAddress");
    if (!create || !makeCurrent || !destroy || !getProcAddress)
        return std::string(kLibraryName) + " lacks an OSMesa entry point";

    void* context = create(kOsMesaRgba, 24, 0, 0, nullptr);
    if (!context) context = create(kOsMesaRgba, 16, 0, 0, nullptr);
    if (!context) return "cannot create an OSMesa RGBA context";
    if (!makeCurrent(context, pixels, GL_UNSIGNED_BYTE, width, height)) {
        destroy(context);
        return "cannot make the OSMesa context current";
    }
    mesa.context = context;
    mesa.pixels = pixels;
    mesa.width = width;
    mesa.height = height;
    int missing = -1;
    if (!FillGlTableFromContext(OsMesaContextOf(mesa), &missing)) {
        CloseOsMesa(mesa);
        return std::string("OpenGL function missing: ") + kGlRowNames[missing];
    }
    return "";
}

GlContext OsMesaContextOf(OsMesa& mesa) {
    return GlContext{&mesa,       MakeCurrentContext,   FinishPicture, nullptr,
                     ReleaseMesa, ResolveThroughOsMesa, mesa.library};
}

void CloseOsMesa(OsMesa& mesa) {
    if (!mesa.context || !mesa.library) return;
    auto makeCurrent = Symbol<MakeCurrent>(mesa.library, "OSMesaMakeCurrent");
    auto destroy = Symbol<DestroyContext>(mesa.library, "OSMesaDestroyContext");
    if (makeCurrent) makeCurrent(nullptr, nullptr, 0, 0, 0);
    if (destroy) destroy(mesa.context);
    mesa.context = nullptr;
    // The table now points into a library without a current context; clearing it makes a stray
    // call crash loudly instead of drawing into freed state.
    ClearGlTable();
}

std::vector<unsigned char> ReadPixelsRgbTopFirst(int width, int height) {
    std::vector<unsigned char> rgb;
    if (width <= 0 || height <= 0) return rgb;
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::vector<unsigned char> bottomFirst(rowBytes * static_cast<size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomFirst.data());
    rgb.resize(bottomFirst.size());
    for (int y = 0; y < height; ++y)
        std::copy_n(&bottomFirst[static_cast<size_t>(height - 1 - y) * rowBytes], rowBytes,
                    &rgb[static_cast<size_t>(y) * rowBytes]);
    return rgb;
}
