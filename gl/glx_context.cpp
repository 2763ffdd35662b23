// GLX through dlopen, so the program links no OpenGL library and a machine without one gets a
// message instead of a loader error. One record per context holds the library, the display, the
// window and the GLX functions looked up once.
#include "gl/glx_context.h"

#include <dlfcn.h>

#include <cstring>

namespace {

constexpr const char* kLibraryName = "libGL.so.1";

struct GlxRecord {
    void* library = nullptr;  // kept for the process: drivers do not unload cleanly
    Display* display = nullptr;
    Window window = 0;
    GLXContext context = nullptr;
    GlxMakeCurrent makeCurrent = nullptr;
    GlxSwapBuffers swapBuffers = nullptr;
    GlxDestroyContext destroyContext = nullptr;
    GlxGetProcAddress getProcAddress = nullptr;
    GlxSwapIntervalExt swapIntervalExt = nullptr;
    GlxSwapIntervalMesa swapIntervalMesa = nullptr;
    GlxSwapIntervalSgi swapIntervalSgi = nullptr;
};

template <typename Function>
Function Symbol(void* library, const char* name) {
    return reinterpret_cast<Function>(dlsym(library, name));
}

template <typename Function>
Function Lookup(GlxGetProcAddress getProcAddress, const char* name) {
    return reinterpret_cast<Function>(getProcAddress(reinterpret_cast<const unsigned char*>(name)));
}

GlxRecord& Record(GlContext& context) { return *static_cast<GlxRecord*>(context.native); }

// glXGetProcAddressARB may answer a name the driver lacks with a stub, so an extension row is only
// as good as the extension string says; the core rows are OpenGL 1.1, which every GLX driver has.
void* ResolveThroughGlx(const char* name, void* user) {
    auto getProcAddress = reinterpret_cast<GlxGetProcAddress>(user);
    return reinterpret_cast<void*>(getProcAddress(reinterpret_cast<const unsigned char*>(name)));
}

bool HasExtension(const char* list, const char* name) {
    const size_t length = std::strlen(name);
    for (const char* p = list; p && (p = std::strstr(p, name)) != nullptr; p += length)
        if ((p == list || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0')) return true;
    return false;
}

bool MakeCurrent(GlContext& context) {
    GlxRecord& r = Record(context);
    return r.makeCurrent(r.display, r.window, r.context) != 0;
}

void Swap(GlContext& context) {
    GlxRecord& r = Record(context);
    r.swapBuffers(r.display, r.window);
}

bool SwapInterval(GlContext& context, int interval) {
    GlxRecord& r = Record(context);
    if (r.swapIntervalExt) {
        r.swapIntervalExt(r.display, r.window, interval);
        return true;
    }
    if (r.swapIntervalMesa) return r.swapIntervalMesa(static_cast<unsigned>(interval)) == 0;
    return r.swapIntervalSgi && r.swapIntervalSgi(interval) == 0;
}

void Release(GlContext& context) {
    GlxRecord* r = static_cast<GlxRecord*>(context.native);
    if (!r) return;
    r->makeCurrent(r->display, None, nullptr);
    r->destroyContext(r->display, r->context);
    delete r;
    context = GlContext{};
}

// Which of the three swap-control extensions the screen offers, looked up once.
void FindSwapControl(GlxRecord& r, const char* extensions) {
    if (HasExtension(extensions, "GLX_EXT_swap_control"))
        r.swapIntervalExt = Lookup<GlxSwapIntervalExt>(r.getProcAddress, "glXSwapIntervalEXT");
    if (HasExtension(extensions, "GLX_MESA_swap_control"))
        r.swapIntervalMesa = Lookup<GlxSwapIntervalMesa>(r.getProcAddress, "glXSwapIntervalMESA");
    if (HasExtension(extensions, "GLX_SGI_swap_control"))
        r.swapIntervalSgi = Lookup<GlxSwapIntervalSgi>(r.getProcAddress, "glXSwapIntervalSGI");
}

// GLX 1.3 lets one visual carry several configurations. One without alpha planes is taken when
// the visual has one: its destination alpha reads as 1 by itself, where stored alpha must be held
// at 1 with masked clears that cost llvmpipe a pass over every pixel. Double buffering and no
// multisampling come next; depth and stencil are never used, so less is better. Null when GLX
// 1.3 is missing or no configuration draws RGBA into this visual's windows.
GLXFBConfig ConfigForVisual(void* library, Display* display, int screen, VisualID visual) {
    auto getConfigs = Symbol<GlxGetFbConfigs>(library, "glXGetFBConfigs");
    auto attrib = Symbol<GlxGetFbConfigAttrib>(library, "glXGetFBConfigAttrib");
    if (!getConfigs || !attrib) return nullptr;
    int count = 0;
    GLXFBConfig* configs = getConfigs(display, screen, &count);
    if (!configs) return nullptr;
    GLXFBConfig best = nullptr;
    long bestScore = -1;
    for (int k = 0; k < count; ++k) {
        auto get = [&](int attribute) {
            int value = 0;
            return attrib(display, configs[k], attribute, &value) == 0 ? value : 0;
        };
        if (static_cast<VisualID>(get(GLX_VISUAL_ID)) != visual ||
            !(get(GLX_RENDER_TYPE) & GLX_RGBA_BIT) || !(get(GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT))
            continue;
        const long score = (get(GLX_ALPHA_SIZE) == 0 ? 8000L : 0L) +
                           (get(GLX_DOUBLEBUFFER) ? 4000L : 0L) + (get(GLX_SAMPLES) ? 0L : 2000L) +
                           (255L - get(GLX_DEPTH_SIZE) - get(GLX_STENCIL_SIZE));
        if (score > bestScore) {
            best = configs[k];
            bestScore = score;
        }
    }
    XFree(configs);
    return best;
}

std::string CreateFor(GlxRecord& r, void* library, Display* display, Window window) {
    auto queryExtension = Symbol<GlxQueryExtension>(library, "glXQueryExtension");
    auto queryExtensions = Symbol<GlxQueryExtensionsString>(library, "glXQueryExtensionsString");
    auto getConfig = Symbol<GlxGetConfig>(library, "glXGetConfig");
    auto createContext = Symbol<GlxCreateContext>(library, "glXCreateContext");
    r.makeCurrent = Symbol<GlxMakeCurrent>(library, "glXMakeCurrent");
    r.swapBuffers = Symbol<GlxSwapBuffers>(library, "glXSwapBuffers");
    r.destroyContext = Symbol<GlxDestroyContext>(library, "glXDestroyContext");
    r.getProcAddress = Symbol<GlxGetProcAddress>(library, "glXGetProcAddressARB");
    if (!queryExtension || !queryExtensions || !getConfig || !createContext || !r.makeCurrent ||
        !r.swapBuffers || !r.destroyContext || !r.getProcAddress)
        return std::string(kLibraryName) + " lacks a GLX entry point";
    int errorBase = 0, eventBase = 0;
    if (!queryExtension(display, &errorBase, &eventBase)) return "the display has no GLX";

    // The window's own visual: a context made for another one could not draw into it.
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return "the window is gone";
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    wanted.screen = XScreenNumberOfScreen(attributes.screen);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count);
    if (!visual) return "the window's visual is unknown";
    int usesGl = 0, rgba = 0;
    const bool drawable = getConfig(display, visual, GLX_USE_GL, &usesGl) == 0 && usesGl &&
                          getConfig(display, visual, GLX_RGBA, &rgba) == 0 && rgba;
    auto createNewContext = Symbol<GlxCreateNewContext>(library, "glXCreateNewContext");
    GLXFBConfig config = drawable && createNewContext
                             ? ConfigForVisual(library, display, wanted.screen, wanted.visualid)
                             : nullptr;
    r.context = !drawable ? nullptr
                : config  ? createNewContext(display, config, GLX_RGBA_TYPE, nullptr, True)
                          : createContext(display, visual, nullptr, True);
    XFree(visual);
    if (!drawable) return "the window's visual has no RGBA OpenGL";
    if (!r.context) return "cannot create a GLX context for the window";
    r.library = library;
    r.display = display;
    r.window = window;
    if (!r.makeCurrent(display, window, r.context)) {
        r.destroyContext(display, r.context);
        return "cannot make the GLX context current";
    }
    FindSwapControl(r, queryExtensions(display, wanted.screen));
    return "";
}

}  // namespace

std::string MakeGlxContext(GlContext& context, Display* display, Window window) {
    static void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!library) return std::string("cannot load ") + kLibraryName;
    GlxRecord* record = new GlxRecord;
    const std::string problem = CreateFor(*record, library, display, window);
    if (!problem.empty()) {
        delete record;
        return problem;
    }
    context = GlContext{};
    context.native = record;
    context.makeCurrent = MakeCurrent;
    context.swap = Swap;
    const bool offered =
        record->swapIntervalExt || record->swapIntervalMesa || record->swapIntervalSgi;
    context.swapInterval = offered ? SwapInterval : nullptr;
    context.release = Release;
    context.resolve = ResolveThroughGlx;
    context.resolveUser = reinterpret_cast<void*>(record->getProcAddress);
    return "";
}
