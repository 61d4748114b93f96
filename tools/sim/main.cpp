// zrcps-sim: a radio of this model behind a pseudo-terminal. Prints the
// device path on the first line of its output; programs open that device as
// their serial port.

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
#include "platform/serial/pty_radio.h"

namespace {

const char* kUsage =
    "usage: zrcps-sim [OPTIONS]\n"
    "  --memory FILE      5120-byte memory, loaded at start, saved after each session\n"
    "  --dealer FILE      512-byte dealer area (password at offsets 44..47)\n"
    "  --testdata FILE    16-byte factory test data\n"
    "  --no-echo          the cable does not echo (default: it echoes)\n"
    "  --password TEXT    programming password (up to 4 characters)\n"
    "  --model TEXT       model text (default ZR614)\n"
    "  --band N           band code (default 1)\n"
    "  --version TEXT     firmware version (default V100)\n"
    "  --flags N          flags byte (default 0)\n"
    "  --repeat A[,A...]  answer the write of these block addresses with 0A once\n"
    "  --drop SHARE       share of answers not sent (0..1)\n"
    "  --corrupt SHARE    share of answers with a damaged byte (0..1)\n"
    "  --seed N           seed of drop and corrupt choices (default 1)\n"
    "  --silent           never answer\n"
    "  --silent-after N   stop answering after N memory blocks (cable pulled)\n"
    "  --no-end-answer    do not answer the end frame\n"
    "  --no-testdata-answer  do not answer the factory test data block\n"
    "  --paced            9600-baud timing of every byte (10 bits)\n"
    "  --turnaround MS    delay before each answer (default 0)\n";

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
    const std::string tmp = path + ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(src), static_cast<std::streamsize>(size));
        if (!f) {
            std::fprintf(stderr, "zrcps-sim: cannot write %s\n", path.c_str());
            return;
        }
    }
    std::rename(tmp.c_str(), path.c_str());
}

bool Number(const std::string& s, double& out) {
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return end && *end == '\0' && !s.empty();
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
    QCoreApplication app(argc, argv);
    zr::link::RadioSimConfig cfg;
    zr::PtyRadioOptions opt;
    std::string memoryFile, dealerFile, testFile;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "zrcps-sim: %s needs a value\n%s", a.c_str(), kUsage);
                std::exit(2);
            }
            out = args[++i];
        };
        auto number = [&](double lo, double hi) {
            std::string v;
            value(v);
            double d = 0;
            if (!Number(v, d) || d < lo || d > hi) {
                std::fprintf(stderr, "zrcps-sim: bad value \"%s\" for %s\n", v.c_str(), a.c_str());
                std::exit(2);
            }
            return d;
        };
        if (a == "--memory") value(memoryFile);
        else if (a == "--dealer") value(dealerFile);
        else if (a == "--testdata") value(testFile);
        else if (a == "--no-echo") cfg.echo = false;
        else if (a == "--echo") cfg.echo = true;
        else if (a == "--password") value(cfg.password);
        else if (a == "--model") value(cfg.model);
        else if (a == "--band") cfg.band = static_cast<uint8_t>(number(0, 255));
        else if (a == "--version") value(cfg.version);
        else if (a == "--flags") cfg.flags = static_cast<uint8_t>(number(0, 255));
        else if (a == "--repeat") {
            std::string v;
            value(v);
            std::size_t pos = 0;
            while (pos <= v.size()) {
                const auto comma = v.find(',', pos);
                const std::string part = v.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
                double d = 0;
                if (!Number(part, d) || d < 0 || d > 65535) {
                    std::fprintf(stderr, "zrcps-sim: bad block address \"%s\"\n", part.c_str());
                    return 2;
                }
                cfg.repeatBlocks.insert(static_cast<int>(d));
                if (comma == std::string::npos) break;
                pos = comma + 1;
            }
        } else if (a == "--drop") cfg.dropShare = number(0, 1);
        else if (a == "--corrupt") cfg.corruptShare = number(0, 1);
        else if (a == "--seed") cfg.seed = static_cast<uint32_t>(number(0, 4294967295.0));
        else if (a == "--silent") cfg.silent = true;
        else if (a == "--silent-after") cfg.silentAfterBlocks = static_cast<int>(number(0, 1000));
        else if (a == "--no-end-answer") cfg.noEndAnswer = true;
        else if (a == "--no-testdata-answer") cfg.noTestDataAnswer = true;
        else if (a == "--paced") opt.paced = true;
        else if (a == "--turnaround") opt.turnaroundMs = number(0, 10000);
        else if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "zrcps-sim: unknown option \"%s\"\n%s", a.c_str(), kUsage);
            return 2;
        }
    }
    if (cfg.password.size() > 4) {
        std::fprintf(stderr, "zrcps-sim: a password has at most 4 characters\n");
        return 2;
    }

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
