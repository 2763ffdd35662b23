// The self-pipe for end signals and the X error handlers (see signals_x11.h).
#include "host/x11/signals_x11.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

namespace {

int pipeWrite = -1;
bool ending = false;  // errors end the process (after start-up)

void OnEndSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a byte: nothing is lost when this write fails.
    if (write(pipeWrite, &byte, 1) < 0) {}
    errno = saved;
}

int OnXError(Display*, XErrorEvent* event) {
    if (!ending) return 0;
    // Requests on a window the daemon has just destroyed: the normal end under a daemon.
    if (event->error_code == BadWindow || event->error_code == BadDrawable) _exit(0);
    std::fprintf(stderr, "torvex: X error %d on request %d\n", event->error_code,
                 event->request_code);
    _exit(1);
}

// Xlib exits on its own after this returns; _exit skips the GL teardown a dead connection
// would crash in.
int OnXIoError(Display*) { _exit(1); }

}  // namespace

int WatchEndSignals() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
    pipeWrite = fds[1];
    struct sigaction action = {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    const int ends[] = {SIGTERM, SIGINT, SIGHUP};
    for (int signal : ends) sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return fds[0];
}

bool EndSignalArrived(int fd) {
    char bytes[16];
    bool arrived = false;
    while (read(fd, bytes, sizeof bytes) > 0) arrived = true;
    return arrived;
}

void InstallXErrorHandlers() {
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnXIoError);
}

void EndOnXErrors() { ending = true; }
