// Monitors and refresh rate from XRandR (see monitors_x11.h).
#include "host/x11/monitors_x11.h"

#include <X11/extensions/Xrandr.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr uint32_t kDefaultRefreshRate = 60;

bool HasRandr(Display* display, int minor) {
    int eventBase = 0, errorBase = 0, major = 0, have = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase)) return false;
    if (!XRRQueryVersion(display, &major, &have)) return false;
    return major > 1 || (major == 1 && have >= minor);
}

// RandR 1.5: the monitors as the desktop sees them, a monitor made of several outputs once.
std::vector<MonitorRect> ActiveMonitors(Display* display, Window root) {
    std::vector<MonitorRect> monitors;
    if (!HasRandr(display, 5)) return monitors;
    int count = 0;
    XRRMonitorInfo* info = XRRGetMonitors(display, root, True, &count);
    if (!info) return monitors;
    for (int k = 0; k < count; ++k) {
        const MonitorRect rect{info[k].x, info[k].y, info[k].width, info[k].height};
        if (info[k].primary)
            monitors.insert(monitors.begin(), rect);
        else
            monitors.push_back(rect);
    }
    XRRFreeMonitors(info);
    return monitors;
}

// RandR 1.2: every CRTC that shows a mode, the primary output's first.
std::vector<MonitorRect> ActiveCrtcs(Display* display, Window root) {
    std::vector<MonitorRect> monitors;
    if (!HasRandr(display, 2)) return monitors;
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    if (!resources) return monitors;
    RRCrtc primaryCrtc = None;
    if (HasRandr(display, 3)) {
        const RROutput primary = XRRGetOutputPrimary(display, root);
        XRROutputInfo* output = primary ? XRRGetOutputInfo(display, resources, primary) : nullptr;
        if (output) primaryCrtc = output->crtc;
        if (output) XRRFreeOutputInfo(output);
    }
    for (int k = 0; k < resources->ncrtc; ++k) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[k]);
        if (!crtc) continue;
        const MonitorRect rect{crtc->x, crtc->y, static_cast<int32_t>(crtc->width),
                               static_cast<int32_t>(crtc->height)};
        if (crtc->mode != None && rect.width > 0 && rect.height > 0) {
            if (resources->crtcs[k] == primaryCrtc)
                monitors.insert(monitors.begin(), rect);
            else
                monitors.push_back(rect);
        }
        XRRFreeCrtcInfo(crtc);
    }
    XRRFreeScreenResources(resources);
    return monitors;
}

// XineramaScreenInfo, as libXinerama returns it: declared here, no headers needed to build.
struct XineramaScreen {
    int screenNumber;
    short x, y, width, height;
};
using XineramaIsActiveFunction = Bool (*)(Display*);
using XineramaQueryScreensFunction = XineramaScreen* (*)(Display*, int*);

// Xinerama's screens, in its order (its first is the one desktops treat as primary).
std::vector<MonitorRect> XineramaScreens(Display* display) {
    std::vector<MonitorRect> monitors;
    int opcode = 0, eventBase = 0, errorBase = 0;
    // Asked first through Xlib: the library would print a line on stderr for a missing extension.
    if (!XQueryExtension(display, "XINERAMA", &opcode, &eventBase, &errorBase)) return monitors;
    static void* library = dlopen("libXinerama.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!library) return monitors;
    auto isActive = reinterpret_cast<XineramaIsActiveFunction>(dlsym(library, "XineramaIsActive"));
    auto queryScreens =
        reinterpret_cast<XineramaQueryScreensFunction>(dlsym(library, "XineramaQueryScreens"));
    if (!isActive || !queryScreens || !isActive(display)) return monitors;
    int count = 0;
    XineramaScreen* screens = queryScreens(display, &count);
    for (int k = 0; screens && k < count; ++k)
        if (screens[k].width > 0 && screens[k].height > 0)
            monitors.push_back(
                MonitorRect{screens[k].x, screens[k].y, screens[k].width, screens[k].height});
    if (screens) XFree(screens);
    return monitors;
}

}  // namespace

std::vector<MonitorRect> FindMonitors(Display* display, Window root) {
    std::vector<MonitorRect> monitors = ActiveMonitors(display, root);
    std::vector<MonitorRect> screens = XineramaScreens(display);
    if (screens.size() > monitors.size()) monitors = std::move(screens);
    if (monitors.empty()) monitors = ActiveCrtcs(display, root);
    if (monitors.empty()) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, root, &attributes))
            attributes.width = attributes.height = 1;
        monitors.push_back(MonitorRect{0, 0, attributes.width, attributes.height});
    }
    return monitors;
}

uint32_t CurrentRefreshRate(Display* display, Window root) {
    if (!HasRandr(display, 0)) return kDefaultRefreshRate;
    XRRScreenConfiguration* config = XRRGetScreenInfo(display, root);
    if (!config) return kDefaultRefreshRate;
    const short rate = XRRConfigCurrentRate(config);
    XRRFreeScreenConfigInfo(config);
    // 0 and 1 Hz say nothing about the display.
    return rate > 1 ? static_cast<uint32_t>(rate) : kDefaultRefreshRate;
}

int32_t MonitorWidthAt(const std::vector<MonitorRect>& monitors, int32_t x, int32_t y) {
    for (const MonitorRect& m : monitors)
        if (x >= m.x && x < m.x + m.width && y >= m.y && y < m.y + m.height) return m.width;
    return monitors.empty() ? 0 : monitors[0].width;
}
