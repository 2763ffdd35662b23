// libFuzzer target: any bytes as a command line must parse without reading past the text, and
// the result must be one of the run modes with a window number only where one is taken.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "host/win32/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);  // zero-terminated copy
    const CommandLine line = ParseCommandLine(text.c_str());
    if (line.mode < ModeNone || line.mode > ModeSaver) std::abort();
    if ((line.mode == ModeSaver || line.mode == ModeNone) && line.parentWindow != 0) std::abort();
    if (line.wantsForegroundWindow && (line.mode != ModeSettings || line.parentWindow != 0))
        std::abort();
    return 0;
}
