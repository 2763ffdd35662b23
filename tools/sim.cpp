// torvex-tool sim: builds the scene from the command line and prints the field's state, so the
// model can be inspected and compared between builds without any drawing.
#include "tools/sim.h"

#include <cstdarg>
#include <cstdio>
#include <memory>

#include "gl/gl_null.h"
#include "tools/options.h"
#include "tools/scene.h"

namespace {

void Append(std::string& out, const char* format, ...) {
    char buffer[128];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    if (length > 0)
        out.append(buffer,
                   static_cast<size_t>(length) < sizeof buffer ? length : sizeof buffer - 1);
}

void AppendGlyphs(std::string& out, const int32_t* glyphs, int32_t count) {
    out += "\"glyphs\":[";
    for (int32_t i = 0; i < count; ++i) Append(out, i == 0 ? "%d" : ",%d", glyphs[i]);
    out += "]";
}

const char* Bool(bool value) { return value ? "true" : "false"; }

}  // namespace

std::string FieldJson(const RainField& field) {
    std::string out;
    Append(out, "{\"columnCount\":%d,\"cycleCounter\":%d,\"messageLength\":%d,\"continuous\":%s,",
           field.columnCount, field.cycleCounter, field.messageLength, Bool(field.continuous));
    out += "\"streams\":[";
    for (const Stream* s = field.firstStream; s != nullptr; s = s->next) {
        if (s != field.firstStream) out += ",";
        Append(out, "{\"x\":%.9g,\"y\":%.9g,\"cellSize\":%.9g,\"cellCount\":%d,", s->x, s->y,
               s->cellSize, s->cellCount);
        Append(out, "\"lengthPixels\":%d,\"brightHead\":%s,\"fastMode\":%s,", s->lengthPixels,
               Bool(s->brightHead), Bool(s->fastMode));
        AppendGlyphs(out, s->glyphs, s->cellCount);
        out += "}";
    }
    out += "],\"letters\":[";
    for (int32_t j = 0; j < field.messageLength; ++j) {
        const MessageLetter* l = field.letters[j];
        if (j > 0) out += ",";
        Append(out, "{\"x\":%.9g,\"y\":%.9g,\"cellSize\":%.9g,\"cellCount\":%d,", l->x, l->y,
               l->cellSize, l->cellCount);
        Append(out, "\"isSpace\":%s,\"erased\":%s,\"fastMode\":%s,", Bool(l->isSpace),
               Bool(l->erased), Bool(l->fastMode));
        AppendGlyphs(out, l->glyphs, l->cellCount);
        out += "}";
    }
    out += "]}\n";
    return out;
}

std::string MonitorsJson(const RainMonitors& monitors) {
    std::string out = "{\"monitors\":[";
    for (int32_t k = 0; k < monitors.count; ++k) {
        const MonitorRect& m = monitors.rects[k];
        if (k > 0) out += ",";
        Append(out, "{\"x\":%d,\"y\":%d,\"width\":%d,\"height\":%d,\"field\":", m.x, m.y, m.width,
               m.height);
        std::string field = FieldJson(monitors.fields[k]);
        field.pop_back();  // the newline that ends a document of its own
        out += field + "}";
    }
    out += "]}\n";
    return out;
}

int RunSim(int count, const char* const* arguments, int first) {
    const std::vector<ToolOption> accepted = SceneOptions();
    ToolOptions options;
    std::string error;
    if (!ParseToolOptions(count, arguments, first, accepted, options, error)) {
        std::fprintf(stderr, "torvex-tool sim: %s\n%s\n", error.c_str(),
                     UsageLine("sim", accepted).c_str());
        return 2;
    }
    // The same run shot draws, with nothing to draw on: every GL call answers nothing.
    FillGlTableWithNoOps();
    std::unique_ptr<RainRun> run(new RainRun());
    StartScene(options, *run);
    // Without --monitor the one field is printed alone, as it always was.
    const std::string json =
        options.monitors.empty() ? FieldJson(run->monitors.fields[0]) : MonitorsJson(run->monitors);
    FinishRain(*run);
    std::fwrite(json.data(), 1, json.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
