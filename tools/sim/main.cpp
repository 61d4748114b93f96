// zrcps-sim: a radio of this model behind a pseudo-terminal. Prints the
// device path on the first line of its output; programs open that device as
// their serial port. Its options are those of its manual (shell/manual.cpp).

#include <QCoreApplication>
#include <QSocketNotifier>
#include <memory>
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "link/radio_sim.h"
#include "common/command_line.h"
#include "platform/serial/pty_radio.h"
#include "shell/atomic_file.h"
#include "shell/manual.h"

namespace {

bool LoadFile(const std::string& path, uint8_t* dst, std::size_t size) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    std::vector<char> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (bytes.size() != size) {
        std::fprintf(stderr, "zrcps-sim: %s holds %zu bytes, expected %zu; not loaded\n", path.c_str(),
                     bytes.size(), size);
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), dst);
    return true;
}

void SaveFile(const std::string& path, const uint8_t* src, std::size_t size) {
    if (path.empty()) return;
    if (const zr::Result r = zr::WriteFileAtomically(path, std::span<const uint8_t>(src, size)); !r)
        std::fprintf(stderr, "zrcps-sim: %s\n", r.message().c_str());
}

bool Number(const std::string& s, double& out) {
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return end && *end == '\0' && !s.empty();
}

int Usage(const std::string& why) {
    std::fprintf(stderr, "zrcps-sim: %s\nTry \"zrcps-sim --help\".\n", why.c_str());
    return zr::manual::kExitUsage;
}

// SIGINT and SIGTERM end the event loop through a pipe, so the memory is
// saved on the way out.
int gSignalPipe[2] = {-1, -1};
void OnSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(gSignalPipe[1], &c, 1);
}

}  // namespace

int main(int argc, char** argv) {
    const zr::manual::Program& manual = zr::manual::Sim();
    const auto args = zr::cmdline::Parse(manual.options, zr::cmdline::Words(argc, argv, 1), true);
    if (!args.ok) return Usage(args.error);
    if (args.help) {
        std::fputs(zr::manual::HelpText(manual).c_str(), stdout);
        return zr::manual::kExitDone;
    }
    if (args.version) {
        std::fputs(zr::manual::VersionText(manual).c_str(), stdout);
        return zr::manual::kExitDone;
    }
    if (!args.positional.empty()) return Usage("unexpected argument \"" + args.positional.front() + "\"");

    zr::link::RadioSimConfig cfg;
    zr::PtyRadioOptions opt;
    const std::string memoryFile = args.value("memory"), dealerFile = args.value("dealer"),
                      testFile = args.value("testdata");
    std::string bad;
    auto number = [&](const char* name, double lo, double hi, double fallback) {
        if (!args.has(name)) return fallback;
        double d = 0;
        if (!Number(args.value(name), d) || d < lo || d > hi) bad = std::string("bad value \"") + args.value(name) +
                                                                   "\" for --" + name;
        return d;
    };
    cfg.echo = !args.has("no-echo");
    cfg.password = args.value("password");
    if (args.has("model")) cfg.model = args.value("model");
    if (args.has("firmware")) cfg.version = args.value("firmware");
    cfg.band = static_cast<uint8_t>(number("band", 0, 255, cfg.band));
    cfg.flags = static_cast<uint8_t>(number("flags", 0, 255, cfg.flags));
    cfg.dropShare = number("drop", 0, 1, 0);
    cfg.corruptShare = number("corrupt", 0, 1, 0);
    cfg.seed = static_cast<uint32_t>(number("seed", 0, 4294967295.0, cfg.seed));
    cfg.damagedIdents = static_cast<int>(number("damage-ident", 0, 1000, 0));
    cfg.silent = args.has("silent");
    cfg.silentAfterBlocks = static_cast<int>(number("silent-after", 0, 1000, -1));
    cfg.noEndAnswer = args.has("no-end-answer");
    cfg.noTestDataAnswer = args.has("no-testdata-answer");
    opt.paced = args.has("paced");
    opt.turnaroundMs = number("turnaround", 0, 10000, 0);
    if (args.has("repeat")) {
        const std::string v = args.value("repeat");
        std::size_t pos = 0;
        while (pos <= v.size()) {
            const auto comma = v.find(',', pos);
            const std::string part = v.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
            double d = 0;
            if (!Number(part, d) || d < 0 || d > 65535) return Usage("bad block address \"" + part + "\"");
            cfg.repeatBlocks.insert(static_cast<int>(d));
            if (comma == std::string::npos) break;
            pos = comma + 1;
        }
    }
    if (!bad.empty()) return Usage(bad);
    if (cfg.password.size() > 4) return Usage("a password has at most 4 characters");

    QCoreApplication app(argc, argv);
    zr::link::RadioSim radio(cfg);
    if (!memoryFile.empty()) LoadFile(memoryFile, radio.memory.data(), radio.memory.size());
    if (!dealerFile.empty()) LoadFile(dealerFile, radio.dealer.data(), radio.dealer.size());
    if (!testFile.empty()) LoadFile(testFile, radio.testData.data(), radio.testData.size());
    if (!cfg.password.empty() || dealerFile.empty()) radio.applyPassword();

    zr::PtyRadio pty(radio, opt);
    std::string error;
    if (!pty.open(error)) {
        std::fprintf(stderr, "zrcps-sim: %s\n", error.c_str());
        return 1;
    }
    auto save = [&] {
        SaveFile(memoryFile, radio.memory.data(), radio.memory.size());
        SaveFile(testFile, radio.testData.data(), radio.testData.size());
    };
    pty.onSessionEnd = save;
    std::printf("%s\n", pty.devicePath().c_str());
    std::fflush(stdout);
    std::unique_ptr<QSocketNotifier> quitNotifier;
    if (::pipe(gSignalPipe) == 0) {
        quitNotifier = std::make_unique<QSocketNotifier>(gSignalPipe[0], QSocketNotifier::Read);
        QObject::connect(quitNotifier.get(), &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        std::signal(SIGINT, OnSignal);
        std::signal(SIGTERM, OnSignal);
    }
    const int rc = app.exec();
    save();
    return rc;
}
