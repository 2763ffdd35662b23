// torvex-tool shot: builds the scene exactly as sim does (same options, seeding and clock), sets
// up the renderer as the saver does, draws one frame the way the frame loop draws it and saves
// it. Relies on the OSMesa loader (gl/osmesa.h) and on libpng (tools/png_file.h).
#include "tools/shot.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "gl/dest_alpha.h"
#include "gl/gl.h"
#include "gl/osmesa.h"
#include "rain/monitors.h"
#include "render/glyph_pictures.h"
#include "render/run.h"
#include "tools/options.h"
#include "tools/png_file.h"
#include "tools/scene.h"

namespace {

// Mesa's software renderer draws at most 16384 pixels a side; keep well inside that and the
// picture buffer within a few hundred megabytes.
constexpr int32_t kMaxShotSide = 8192;

int Fail(int status, const std::string& message) {
    std::fprintf(stderr, "torvex-tool shot: %s\n", message.c_str());
    return status;
}

}  // namespace

int RunShot(int count, const char* const* arguments, int first) {
    std::vector<ToolOption> accepted = {
        {"--out", "FILE.png",
         [](ToolOptions& o, const char* v) -> const char* {
             if (*v == '\0') return "a file name";
             o.out = v;
             return nullptr;
         }},
        // A host's window resized to the picture's size before the first step.
        {"--resized-from", "WxH",
         [](ToolOptions& o, const char* v) -> const char* {
             MonitorRect size;
             if (!ParseMonitor((std::string(v) + "+0+0").c_str(), size)) return "WxH";
             o.startWidth = size.width;
             o.startHeight = size.height;
             return nullptr;
         }},
        // The artwork the saver would not choose, to compare: --art 16 draws the 16-px glyphs.
        {"--art", "16|32|64|128", [](ToolOptions& o, const char* v) -> const char* {
             for (int side : kGlyphArtSides)
                 if (std::to_string(side) == v) {
                     o.art = side;
                     return nullptr;
                 }
             return "16, 32, 64 or 128";
         }}};
    for (const ToolOption& option : SceneOptions()) accepted.push_back(option);
    for (const ToolOption& option : LookOptions()) accepted.push_back(option);
    const std::string usage = UsageLine("shot", accepted);

    ToolOptions options;
    std::string error;
    if (!ParseToolOptions(count, arguments, first, accepted, options, error))
        return Fail(2, error + "\n" + usage);
    if (options.out.empty()) return Fail(2, "--out FILE.png is required\n" + usage);
    // With monitors the picture is the whole virtual rectangle they span.
    const bool onMonitors = !options.monitors.empty();
    const MonitorRect bounds =
        BoundingRect(options.monitors.data(), static_cast<int32_t>(options.monitors.size()));
    const int32_t width = onMonitors ? bounds.width : options.width;
    const int32_t height = onMonitors ? bounds.height : options.height;
    if (width > kMaxShotSide || height > kMaxShotSide)
        return Fail(
            2, "pictures are at most " + std::to_string(kMaxShotSide) + " pixels a side\n" + usage);

    std::vector<unsigned char> frame(static_cast<size_t>(width) * height * 4);
    OsMesa mesa;
    error = OpenOsMesa(mesa, frame.data(), width, height);
    if (!error.empty()) return Fail(1, error);

    // The run's set-up draws no random numbers after the build: the field is sim's, and the
    // frame's random numbers follow the last update step's. The run is large: not on the stack.
    std::unique_ptr<RainRun> run(new RainRun());
    StartScene(options, *run);
    // The additive blend needs destination alpha to read as 1, as on a buffer without alpha.
    HoldDestinationAlphaAtOne();
    DrawRain(*run);
    glFinish();
    const std::vector<unsigned char> rgb = ReadPixelsRgbTopFirst(width, height);
    FinishRain(*run);
    CloseOsMesa(mesa);

    error = WritePngRgb(options.out, width, height, rgb);
    if (!error.empty()) return Fail(1, error);
    return 0;
}
