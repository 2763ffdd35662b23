// torvex-tool: native developer tool over the portable core (sim: the model as JSON; shot: one
// frame as a PNG). Each subcommand takes the scene options of tools/options.h; bad input: status 2.
#include <cstdio>
#include <cstring>

#include "tools/shot.h"
#include "tools/sim.h"

namespace {

struct Subcommand {
    const char* name;
    int (*run)(int count, const char* const* arguments, int first);
};

const Subcommand kSubcommands[] = {
    {"sim", RunSim},
    {"shot", RunShot},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2)
        for (const Subcommand& subcommand : kSubcommands)
            if (std::strcmp(argv[1], subcommand.name) == 0) return subcommand.run(argc, argv, 2);
    if (argc < 2)
        std::fprintf(stderr, "torvex-tool: no subcommand given\n");
    else
        std::fprintf(stderr, "torvex-tool: unknown subcommand '%s'\n", argv[1]);
    std::fprintf(stderr, "usage: torvex-tool");
    for (const Subcommand& subcommand : kSubcommands)
        std::fprintf(stderr, "%s%s", &subcommand == kSubcommands ? " " : " | ", subcommand.name);
    std::fprintf(stderr, " [options]\n");
    return 2;
}
