// zrcps-cli: the program's rules from the command line.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/command.h"

namespace zrcli {

static std::vector<const CliCommand*>& registry() {
    static std::vector<const CliCommand*> all;
    return all;
}

CliCommand::CliCommand(const char* n, const char* u, CommandFn f) : name(n), usage(u), fn(f) {
    registry().push_back(this);
}

const std::vector<const CliCommand*>& commands() { return registry(); }

}  // namespace zrcli

static void usage(FILE* out) {
    std::fprintf(out, "usage: zrcps-cli COMMAND [ARGS]\n\ncommands:\n");
    for (const auto* c : zrcli::commands())
        std::fprintf(out, "  %-12s %s\n", c->name, c->usage);
}

int main(int argc, char** argv) {
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "help")) {
        usage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const auto* c : zrcli::commands())
        if (std::string(argv[1]) == c->name) return c->fn(args);
    std::fprintf(stderr, "zrcps-cli: unknown command \"%s\"\n\n", argv[1]);
    usage(stderr);
    return 2;
}
