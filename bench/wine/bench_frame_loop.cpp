// Times the saver's real run under Wine: the start-up of a saver run, then a fixed number of
// frame-loop passes with the default settings at the current display mode, normal or fast mode.
// Prints frames per second, CPU time per frame and the time from process start to first swap.
//   bench_frame_loop.exe [frames] [fast|normal] [every]
// With "every": "Monitors" set to every monitor, one field per monitor over the virtual screen.
// With "power": in one run, the loop for some seconds unpaced (swap interval 0, no waits), paced
// (as the saver runs) and with the display reported off; frames per second and CPU per second.
// Unpaced and paced run alternately in slices of about a second, so both see the same mix of
// scenes and of machine load.
//   bench_frame_loop.exe power [seconds] [fast] [continuous]
#include <windows.h>
#include <mmsystem.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "base/platform.h"
#include "gl/driver_win32.h"
#include "gl/gl.h"
#include "host/win32/display_power_win32.h"
#include "host/win32/frame_pacing_win32.h"
#include "host/win32/host_state_win32.h"
#include "host/win32/run_saver_win32.h"
#include "host/win32/window_win32.h"
#include "rain/field.h"
#include "rain/monitors.h"
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

// CPU seconds of the Unix processes listed in TORVEX_BENCH_WATCH (the X server and wineserver,
// which copy every swapped frame to the screen), read through Wine's Z: drive; clock ticks per
// second in TORVEX_BENCH_TICK. 0 when nothing is listed.
double WatchedCpu() {
    const char* pids = std::getenv("TORVEX_BENCH_WATCH");
    if (!pids) return 0;
    const char* tick = std::getenv("TORVEX_BENCH_TICK");
    const double ticksPerSecond = tick ? std::atof(tick) : 100.0;
    double total = 0;
    std::istringstream list(pids);
    std::string pid;
    while (list >> pid) {
        std::ifstream stat("Z:\\proc\\" + pid + "\\stat");
        std::string text;
        std::getline(stat, text);
        const size_t close = text.rfind(')');  // the name may hold spaces
        if (close == std::string::npos) continue;
        std::istringstream fields(text.substr(close + 1));
        std::string field;
        unsigned long long user = 0, system = 0;
        for (int index = 3; index <= 15 && fields >> field; ++index) {
            if (index == 14) user = std::strtoull(field.c_str(), nullptr, 10);
            if (index == 15) system = std::strtoull(field.c_str(), nullptr, 10);
        }
        total += static_cast<double>(user + system) / ticksPerSecond;
    }
    return total;
}

constexpr int kWarmUpSteps = 200;  // enough for every stream to be on screen

struct Phase {
    double seconds = 0;  // wall time
    double cpu = 0;      // CPU seconds of the process
    double others = 0;   // CPU seconds of the watched X server and wineserver
    double waited = 0;   // wall seconds spent waiting for the next frame's time
    long frames = 0;     // passes that drew
    int32_t steps = 0;   // update steps made
};

void PrintPhase(const char* name, const Phase& phase) {
    std::printf(
        "%-8s %6.2f s: %5ld frames, %5.1f frames/s, %4ld steps, %4.1f s waited; CPU ms/s: "
        "saver %6.1f (%5.2f%% of a core), X server + wineserver %6.1f\n",
        name, phase.seconds, phase.frames, phase.frames / phase.seconds,
        static_cast<long>(phase.steps), phase.waited, phase.cpu * 1000.0 / phase.seconds,
        phase.cpu * 100.0 / phase.seconds, phase.others * 1000.0 / phase.seconds);
}

// Runs passes until seconds have gone by (or the loop ends), pacing each when asked.
Phase RunPhase(HWND window, double seconds, bool paced) {
    FramePacer pacer;
    StartPacing(pacer, CurrentRefreshRate(), platform.timeGetTime());
    Phase phase;
    double begin, cpuBegin, now, cpu;
    ProcessTimes(&begin, &cpuBegin);
    const double othersBegin = WatchedCpu();
    do {
        const bool drew = !DisplayIsOff();
        const uint32_t stepTime = hostState->rain.lastStepTime;
        if (!FramePass(window)) break;
        if (hostState->rain.lastStepTime != stepTime) ++phase.steps;
        if (drew && !DisplayIsOff()) ++phase.frames;
        if (paced) {
            const double before = NowSeconds();
            PaceFrame(window, pacer);
            phase.waited += NowSeconds() - before;
        }
        ProcessTimes(&now, &cpu);
    } while (now - begin < seconds);
    phase.seconds = now - begin;
    phase.cpu = cpu - cpuBegin;
    phase.others = WatchedCpu() - othersBegin;
    return phase;
}

void SendDisplayState(HWND window, DWORD state) {
    static const GUID kConsoleDisplayState = {
        0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
    alignas(POWERBROADCAST_SETTING)
        BYTE message[sizeof(POWERBROADCAST_SETTING) + sizeof state] = {};
    *reinterpret_cast<POWERBROADCAST_SETTING*>(message) = {kConsoleDisplayState, sizeof state, {}};
    std::memcpy(message + offsetof(POWERBROADCAST_SETTING, Data), &state, sizeof state);
    SendMessageA(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                 reinterpret_cast<LPARAM>(message));
}

// Plays the system for the display-off phase: after the given time the display comes back on
// and the saver is told to end, from another thread, as the system's messages would come.
struct OffPhase {
    HWND window;
    DWORD milliseconds;
};
DWORD WINAPI DisplayBackOn(void* parameter) {
    const auto* off = static_cast<const OffPhase*>(parameter);
    Sleep(off->milliseconds);
    SendDisplayState(off->window, 1);
    PostMessageA(off->window, WM_QUIT, 0, 0);
    return 0;
}

// Adds the second phase's figures to the first: halves run alternately add up.
void Add(Phase& total, const Phase& part) {
    total.seconds += part.seconds;
    total.cpu += part.cpu;
    total.others += part.others;
    total.waited += part.waited;
    total.frames += part.frames;
    total.steps += part.steps;
}

int RunPowerBench(double seconds, bool fast, bool continuous) {
    runMode = ModeSaver;
    hostState = new HostState();
    TakeCurrentDisplayMode();
    settings.FastMode = fast ? 1 : 0;
    settings.Continuous = continuous ? 1 : 0;
    HWND window = StartSaver(SW_SHOW);
    // Stepped until every stream is on screen, rather than timing the first streams' entry.
    for (int step = 0; step < kWarmUpSteps; ++step)
        hostState->rain.monitors.update(platform.GetTickCount());
    const bool swapControl = driverState.wgl.swapIntervalEXT != nullptr;
    GlContext context = WglContextOf(hostState->wgl);
    std::printf(
        "%s mode, %s, %dx%d, %d columns, Speed %d, refresh %u Hz, swap control "
        "%s, display-state registration %s\n",
        fast ? "fast" : "normal", continuous ? "continuous" : "message cycle", settings.ScrWidth,
        settings.ScrHeight, settings.Size, settings.Speed, CurrentRefreshRate(),
        swapControl ? "present" : "absent", hostState->displayNotification ? "made" : "not made");
    timeBeginPeriod(1);
    hostState->rain.lastStepTime = platform.timeGetTime();
    // Unpaced and paced alternate in slices, so that the scene (full, draining, empty) and a
    // change in the machine's load fall on both alike.
    Phase unpaced, paced;
    const int slices = seconds < 2 ? 1 : static_cast<int>(seconds + 0.5);
    for (int slice = 0; slice < slices; ++slice) {
        SetContextSwapInterval(context, 0);
        Add(unpaced, RunPhase(window, seconds / slices, false));
        SetContextSwapInterval(context, 1);
        Add(paced, RunPhase(window, seconds / slices, true));
    }

    SendDisplayState(window, 0);
    OffPhase off = {window, static_cast<DWORD>(seconds * 1000)};
    HANDLE system = CreateThread(nullptr, 0, DisplayBackOn, &off, 0, nullptr);
    const Phase dark = RunPhase(window, 1e9, true);  // until the quit
    WaitForSingleObject(system, INFINITE);
    CloseHandle(system);
    timeEndPeriod(1);
    StopSaver(window);

    PrintPhase("unpaced", unpaced);
    PrintPhase("paced", paced);
    PrintPhase("off", dark);
    std::printf("paced/unpaced CPU per second: %.2f\n",
                (paced.cpu / paced.seconds) / (unpaced.cpu / unpaced.seconds));
    delete hostState;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "power") == 0) {
        const double seconds = argc > 2 ? std::strtod(argv[2], nullptr) : 5.0;
        if (!(seconds > 0 && seconds <= 600)) {
            std::fprintf(stderr,
                         "usage: bench_frame_loop power [seconds 0..600] [fast] [continuous]\n");
            return 2;
        }
        bool fast = false, continuous = false;
        for (int arg = 3; arg < argc; ++arg) {
            if (std::strcmp(argv[arg], "fast") == 0) fast = true;
            if (std::strcmp(argv[arg], "continuous") == 0) continuous = true;
        }
        return RunPowerBench(seconds, fast, continuous);
    }
    const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 300;
    const bool fast = argc > 2 && std::strcmp(argv[2], "fast") == 0;
    const bool every = argc > 3 && std::strcmp(argv[3], "every") == 0;
    if (frames < 1 || frames > 1000000) {
        std::fprintf(stderr, "usage: bench_frame_loop [frames 1..1000000] [fast|normal] [every]\n");
        return 2;
    }

    runMode = ModeSaver;
    hostState = new HostState();
    TakeCurrentDisplayMode();
    settings.FastMode = fast ? 1 : 0;
    if (every) settings.Monitors = kEveryMonitor;

    HWND window = StartSaver(SW_SHOW);
    hostState->rain.lastStepTime = platform.timeGetTime();
    if (!FramePass(window)) return 1;
    double firstSwap, cpuAtFirst;
    ProcessTimes(&firstSwap, &cpuAtFirst);

    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    // The primary's field: all step together.
    const RainField& field = hostState->rain.monitors.fields[0];
    const int32_t firstCycle = field.cycleCounter;
    long done = 0;
    while (done < frames && FramePass(window)) ++done;
    QueryPerformanceCounter(&end);
    double sinceStart, cpu;
    ProcessTimes(&sinceStart, &cpu);
    const int32_t lastCycle = field.cycleCounter;
    StopSaver(window);

    const double seconds = static_cast<double>(end.QuadPart - begin.QuadPart) /
                           static_cast<double>(frequency.QuadPart);
    if (hostState->rain.monitors.count > 0)
        std::printf("%d monitors over %dx%d: ", hostState->rain.monitors.count,
                    hostState->rain.monitors.bounds.width, hostState->rain.monitors.bounds.height);
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
