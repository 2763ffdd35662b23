// Times the saver's real run under Wine: the start-up of a saver run, then a fixed number of
// frame-loop passes with the default settings at the current display mode, normal or fast mode.
// Prints frames per second, CPU time per frame and the time from process start to first swap.
//   bench_frame_loop.exe [frames] [fast]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/platform.h"
#include "host/host_globals_win32.h"
#include "host/run_saver_win32.h"
#include "host/window_win32.h"
#include "rain/field.h"
#include "settings/settings.h"

namespace {

double FileTimeSeconds(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e7;
}

double NowSeconds() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return FileTimeSeconds(now);
}

// Seconds since the process was created, and the CPU seconds it has used so far.
void ProcessTimes(double* sinceStart, double* cpu) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    *sinceStart = NowSeconds() - FileTimeSeconds(created);
    *cpu = FileTimeSeconds(kernel) + FileTimeSeconds(user);
}

}  // namespace

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 300;
    const bool fast = argc > 2 && std::strcmp(argv[2], "fast") == 0;
    if (frames < 1 || frames > 1000000) {
        std::fprintf(stderr, "usage: bench_frame_loop [frames 1..1000000] [fast]\n");
        return 2;
    }

    runMode = ModeSaver;
    hostState = new HostState();
    TakeCurrentDisplayMode();
    settings.FastMode = fast ? 1 : 0;

    HWND window = StartSaver(SW_SHOW);
    uint32_t lastStepTime = platform.timeGetTime();
    if (!FramePass(window, lastStepTime)) return 1;
    double firstSwap, cpuAtFirst;
    ProcessTimes(&firstSwap, &cpuAtFirst);

    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    const int32_t firstCycle = rainField.cycleCounter;
    long done = 0;
    while (done < frames && FramePass(window, lastStepTime)) ++done;
    QueryPerformanceCounter(&end);
    double sinceStart, cpu;
    ProcessTimes(&sinceStart, &cpu);
    const int32_t lastCycle = rainField.cycleCounter;
    StopSaver(window);

    const double seconds = static_cast<double>(end.QuadPart - begin.QuadPart) /
                           static_cast<double>(frequency.QuadPart);
    std::printf(
        "%s mode, %dx%d, %d columns: %ld frames in %.2f s: %.1f frames/s, "
        "CPU %.2f ms/frame; first frame swapped %.0f ms after process start; "
        "cycle counter %d -> %d\n",
        fast ? "fast" : "normal", settings.ScrWidth, settings.ScrHeight, settings.Size, done,
        seconds, done / seconds, (cpu - cpuAtFirst) * 1000.0 / done, firstSwap * 1000.0, firstCycle,
        lastCycle);
    delete hostState;
    return done == frames ? 0 : 1;
}
