/* A window as a screen-saver daemon gives one, for tests/e2e/linux.sh: black (--argb: 32-bit ARGB),
 * its id printed once mapped, then stdin commands "resize W H", "unmap", "map", "destroy", "quit",
 * each answered "ok" when done. --monitors WxH+X+Y... sets the screen's monitors (the first
 * primary) instead and keeps them until "quit": the server drops them with their client.
 * --close ID asks window ID to close as a window manager's close button does (WM_DELETE_WINDOW). */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int SetMonitors(Display* display, int count, char** geometries) {
    const Window root = DefaultRootWindow(display);
    /* The first takes the screen's output, hiding the server's own monitor for it. */
    XRRScreenResources* resources = XRRGetScreenResources(display, root);
    if (!resources || resources->noutput < 1) return 1;
    for (int k = 0; k < count; ++k) {
        XRRMonitorInfo* m = XRRAllocateMonitor(display, k == 0 ? 1 : 0);
        unsigned width = 0, height = 0;
        char name[] = "TEST-0";
        name[5] = (char)('0' + k);
        if (sscanf(geometries[k], "%ux%u+%d+%d", &width, &height, &m->x, &m->y) != 4) return 2;
        if (k == 0) m->outputs[0] = resources->outputs[0];
        m->name = XInternAtom(display, name, False);
        m->primary = k == 0;
        m->width = (int)width;
        m->height = (int)height;
        m->mwidth = m->width / 4; /* millimetres: any, but not zero */
        m->mheight = m->height / 4;
        XRRSetMonitor(display, root, m);
        XRRFreeMonitors(m);
    }
    XRRFreeScreenResources(resources);
    XSync(display, False);
    return 0;
}

static void WaitFor(Display* display, Window window, int type) {
    XEvent event;
    do XWindowEvent(display, window, StructureNotifyMask, &event);
    while (event.type != type);
}

/* The ICCCM's close request, as a window manager's close button sends it. */
static int AskToClose(Display* display, Window window) {
    XClientMessageEvent event;
    memset(&event, 0, sizeof event);
    event.type = ClientMessage;
    event.window = window;
    event.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.format = 32;
    event.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSendEvent(display, window, False, NoEventMask, (XEvent*)&event);
    XSync(display, False);
    return 0;
}

int main(int argc, char** argv) {
    unsigned width = 0, height = 0;
    int x = 0, y = 0;
    Display* display = XOpenDisplay(NULL);
    if (display && argc == 3 && strcmp(argv[1], "--close") == 0)
        return AskToClose(display, strtoul(argv[2], NULL, 0));
    const int monitors = argc > 2 && strcmp(argv[1], "--monitors") == 0;
    if (!display ||
        (!monitors && (argc < 2 || sscanf(argv[1], "%ux%u+%d+%d", &width, &height, &x, &y) != 4))) {
        fprintf(stderr,
                "usage: host_window WxH+X+Y [--argb] | --monitors WxH+X+Y... | --close ID\n");
        return 2;
    }
    const int screen = DefaultScreen(display);
    Window window = RootWindow(display, screen);
    if (monitors && SetMonitors(display, argc - 2, argv + 2) != 0) return 1;
    if (!monitors) {
        XSetWindowAttributes attributes;
        memset(&attributes, 0, sizeof attributes);
        attributes.event_mask = StructureNotifyMask;
        /* No window manager's frame or placement: the window lies exactly where the test looks. */
        attributes.override_redirect = True;
        unsigned long mask = CWBackPixel | CWBorderPixel | CWEventMask | CWOverrideRedirect;
        Visual* visual = CopyFromParent;
        int depth = CopyFromParent;
        XVisualInfo argb;
        if (argc > 2 && strcmp(argv[2], "--argb") == 0) {
            if (!XMatchVisualInfo(display, screen, 32, TrueColor, &argb)) return 1;
            visual = argb.visual;
            depth = 32;
            attributes.colormap = XCreateColormap(display, window, visual, AllocNone);
            mask |= CWColormap;
        }
        window = XCreateWindow(display, window, x, y, width, height, 0, depth, InputOutput, visual,
                               mask, &attributes);
        XMapWindow(display, window);
        WaitFor(display, window, MapNotify);
    }
    printf("0x%lx\n", window);
    fflush(stdout);

    char line[128];
    while (fgets(line, sizeof line, stdin) && strncmp(line, "quit", 4) != 0) {
        if (sscanf(line, "resize %u %u", &width, &height) == 2) {
            XResizeWindow(display, window, width, height);
            WaitFor(display, window, ConfigureNotify);
        } else if (strncmp(line, "unmap", 5) == 0) {
            XUnmapWindow(display, window);
            WaitFor(display, window, UnmapNotify);
        } else if (strncmp(line, "map", 3) == 0) {
            XMapWindow(display, window);
            WaitFor(display, window, MapNotify);
        } else if (strncmp(line, "destroy", 7) == 0) {
            XDestroyWindow(display, window);
            WaitFor(display, window, DestroyNotify);
        }
        printf("ok\n");
        fflush(stdout);
    }
    XCloseDisplay(display);
    return 0;
}
