// zr-manpages OUTDIR: writes the man pages zrcps.1, zrcps-cli.1, zrcps-sim.1
// and the bash completion zrcps-cli.bash, all made from the programs' one
// manual (shell/manual.cpp). Run by the build.

#include <cstdio>
#include <string>

#include "shell/atomic_file.h"
#include "shell/manual.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zr-manpages OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    namespace m = zr::manual;
    const struct {
        std::string file;
        std::string text;
    } outputs[] = {
        {"zrcps.1", m::ManPage(m::Gui())},
        {"zrcps-cli.1", m::ManPage(m::Cli())},
        {"zrcps-sim.1", m::ManPage(m::Sim())},
        {"zrcps-cli.bash", m::BashCompletion(m::Cli())},
    };
    for (const auto& o : outputs) {
        if (const zr::Result r = zr::WriteFileAtomically(dir + "/" + o.file, o.text); !r) {
            std::fprintf(stderr, "zr-manpages: %s\n", r.message().c_str());
            return 1;
        }
    }
    return 0;
}
