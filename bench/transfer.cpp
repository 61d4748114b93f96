// bench_transfer: a read and a write against the simulated radio on a
// pseudo-terminal with 9600-baud pacing and a 2 ms turnaround; prints the
// wall time, the time the bytes need on the wire, and their ratio.
//   bench_transfer           timing of one read and one write in this
//                            process, then of the whole "zrcps-cli read" and
//                            "zrcps-cli write" commands (process start to
//                            end) against zrcps-sim, when they are built
//   bench_transfer --soak    50 unpaced reads with 5 % of the answers
//                            dropped or damaged

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "link/radio_sim.h"
#include "platform/serial/pty_radio.h"
#include "platform/serial/qt_link.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace {

// Confirms every transfer; a radio that does not answer is given up.
class BenchPrompter : public zr::Prompter {
public:
    int failures = 0;
    zr::Answer ask(const zr::Question& q) override {
        if (q.buttons == zr::Buttons::Ok) return zr::Answer::Ok;
        if (q.text == noAnswerText) {
            ++failures;
            return zr::Answer::Cancel;
        }
        return zr::Answer::Ok;
    }
    std::optional<std::string> chooseFile(const zr::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> askPassword() override { return std::nullopt; }
    std::string noAnswerText;
};

// Times the exchange itself: from the progress window's opening to the end.
class Stopwatch : public zr::link::TransferObserver {
public:
    QElapsedTimer clock;
    double ms = 0;
    void progressShown(zr::link::TransferKind, const std::string&) override { clock.start(); }
    void transferEnded(zr::link::TransferKind, bool) override { ms = clock.nsecsElapsed() / 1e6; }
};

struct Setup {
    zr::Session s;
    BenchPrompter prompter;
    Stopwatch watch;
    zr::link::RadioSim radio;
    std::unique_ptr<zr::PtyRadio> pty;
    std::unique_ptr<zr::QtLink> link;

    Setup(zr::link::RadioSimConfig cfg, zr::PtyRadioOptions opt) : radio(cfg) {
        s.prompter = &prompter;
        s.doc.stored.ModelBand.BandCode = cfg.band;
        s.doc.currentModel = cfg.model;
        s.settings.versions.pairs = {{"V100", "V100"}};
        pty = std::make_unique<zr::PtyRadio>(radio, opt);
        std::string error;
        if (!pty->open(error)) {
            std::fprintf(stderr, "bench_transfer: %s\n", error.c_str());
            std::exit(1);
        }
        link = std::make_unique<zr::QtLink>(s);
        link->port().setDevicePath(pty->devicePath());
        link->engine().setObserver(&watch);
        // The document's own encoding is not what is measured here.
        link->engine().services().encodeImage = [](zr::RadioDocument&) {};
        link->engine().services().decodeImage = [](zr::RadioDocument&) {};
        link->engine().services().isModified = [] { return false; };
        prompter.noAnswerText = link->engine().text(9008);
    }
    bool run(bool write) {
        auto& e = link->engine();
        if (!(write ? e.startWrite() : e.startRead())) return false;
        while (e.busy()) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        return e.lastSucceeded();
    }
};

void Timing() {
    zr::link::RadioSimConfig cfg;
    zr::PtyRadioOptions opt;
    opt.paced = true;
    opt.turnaroundMs = 2.0;
    Setup x(cfg, opt);
    std::mt19937 rng(5);
    for (auto& b : x.radio.memory) b = static_cast<uint8_t>(rng());
    const std::array<uint8_t, 5120> original = x.radio.memory;

    for (bool write : {false, true}) {
        const auto sent0 = x.link->engine().bytesSent();
        const auto answers0 = x.radio.answers;
        const auto answerBytes0 = x.radio.answerBytes;
        const bool ok = x.run(write);
        const double bytes = static_cast<double>(x.link->engine().bytesSent() - sent0) +
                             static_cast<double>(x.radio.answerBytes - answerBytes0);
        const int turnarounds = x.radio.answers - answers0;
        const double wire = bytes * zr::PtyRadio::kByteMs + turnarounds * opt.turnaroundMs;
        std::printf("%-5s %s  wall %8.1f ms  wire %8.1f ms (%6.0f bytes, %d turnarounds of %.0f ms)  ratio %.3f\n",
                    write ? "write" : "read", ok ? "ok    " : "FAILED", x.watch.ms, wire, bytes, turnarounds,
                    opt.turnaroundMs, x.watch.ms / wire);
        if (!write) {
            const bool same = std::equal(original.begin(), original.end(), x.s.doc.image.begin());
            std::printf("      image %s the radio's memory\n", same ? "equals" : "DIFFERS FROM");
        }
    }
}

void Soak(int reads) {
    zr::link::RadioSimConfig cfg;
    cfg.dropShare = 0.025;
    cfg.corruptShare = 0.025;
    cfg.seed = 11;
    Setup x(cfg, {});
    std::mt19937 rng(9);
    int completed = 0, failed = 0, differ = 0;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < reads; ++i) {
        for (auto& b : x.radio.memory) b = static_cast<uint8_t>(rng());
        if (x.run(false)) {
            ++completed;
            if (!std::equal(x.radio.memory.begin(), x.radio.memory.end(), x.s.doc.image.begin())) ++differ;
        } else {
            ++failed;
        }
    }
    std::printf("soak: %d reads, 5%% of answers dropped or damaged (%d dropped, %d damaged)\n", reads,
                x.radio.dropped, x.radio.corrupted);
    std::printf("      completed %d, failed %d, images differing from the radio %d, %.1f s\n", completed, failed,
                differ, t.elapsed() / 1000.0);
}

// What a transfer's trace tells about its timing.
struct TraceTiming {
    double bytes = 0;       // every byte sent and every answer byte (echoes
                            // travel while the frame is sent)
    int answers = 0;        // one turnaround each
    double wireMs = 0;      // those bytes at 9600 baud plus the turnarounds
    double exchangeMs = 0;  // first frame sent to last answer received
    double programMs = 0;   // from each answer to the next frame: the
                            // program's own share of the exchange
};

TraceTiming TimingFromTrace(const QString& path, double turnaroundMs) {
    TraceTiming t;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return t;
    double first = -1, last = 0, answered = -1;
    for (const QByteArray& raw : f.readAll().split('\n')) {
        const QString line = QString::fromLatin1(raw);
        // "   152.345 ms  handshake  > 50 52 ...": time, "ms", step, direction.
        static const QRegularExpression frame(QStringLiteral("^\\s*([0-9.]+) ms\\s+\\S+\\s+([<>]) (.*)$"));
        const QRegularExpressionMatch m = frame.match(line);
        if (!m.hasMatch()) continue;
        const double at = QLocale::c().toDouble(m.captured(1));
        const QChar dir = m.captured(2).at(0);
        QString hex = m.captured(3);
        const int note = hex.indexOf(QStringLiteral("   ("));
        int echo = 0;
        if (note >= 0) {
            const QString n = hex.mid(note);
            hex = hex.left(note);
            if (n.contains(QStringLiteral("not awaited"))) continue;
            const int e = n.indexOf(QStringLiteral(" echo byte"));
            if (e > 0) echo = n.mid(4, e - 4).toInt();
        }
        if (first < 0) first = at;
        last = at;
        const int count = static_cast<int>(hex.split(' ', Qt::SkipEmptyParts).size());
        if (dir == '>') {
            t.bytes += count;
            if (answered >= 0) t.programMs += at - answered;
            answered = -1;
        } else if (count > echo) {
            t.bytes += count - echo;
            ++t.answers;
            answered = at;
        }
    }
    if (first >= 0) t.exchangeMs = last - first;
    t.wireMs = t.bytes * zr::PtyRadio::kByteMs + t.answers * turnaroundMs;
    return t;
}

// "zrcps-cli read" and "zrcps-cli write" as a user runs them, timed from
// the start of the process to its end.
void CommandTiming(const QString& cli, const QString& sim) {
    const double turnaround = 2.0;
    QTemporaryDir dir;
    const QString doc = dir.filePath("doc.dat"), mem = dir.filePath("mem.bin");
    auto run = [&](const QStringList& args, int ms) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(cli, args);
        p.waitForFinished(ms);
        return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    };
    if (!run({"new", doc}, 30000) || !run({"encode", doc, mem}, 30000)) {
        std::printf("command: cannot prepare a document with %s\n", qPrintable(cli));
        return;
    }
    QProcess radio;
    radio.start(sim, {"--memory", mem, "--paced", "--turnaround", QString::number(turnaround)});
    radio.waitForReadyRead(10000);
    const QString device = QString::fromLocal8Bit(radio.readLine()).trimmed();
    if (device.isEmpty()) {
        std::printf("command: %s did not start\n", qPrintable(sim));
        return;
    }
    for (const bool write : {false, true}) {
        const QString trace = dir.filePath(write ? "write.txt" : "read.txt");
        const QStringList args = write ? QStringList{"write", "--port", device, "--trace", trace, doc}
                                       : QStringList{"read", "--port", device, "--trace", trace, dir.filePath("r.dat")};
        QElapsedTimer t;
        t.start();
        const bool ok = run(args, 120000);
        const double ms = t.nsecsElapsed() / 1e6;
        const TraceTiming tt = TimingFromTrace(trace, turnaround);
        const double wire = tt.wireMs;
        if (wire <= 0) {
            std::printf("zrcps-cli %-5s %s  wall %8.1f ms  (no frames in the trace %s)\n", write ? "write" : "read",
                        ok ? "ok    " : "FAILED", ms, qPrintable(trace));
            continue;
        }
        // Start-up, port opening and saving are the wall time outside the
        // exchange; with the gaps between answer and next frame they are
        // what the program adds to the wire. The rest is the simulated
        // radio's own lateness on a loaded machine.
        const double program = (ms - tt.exchangeMs) + tt.programMs;
        std::printf("zrcps-cli %-5s %s  wall %8.1f ms  wire %8.1f ms (%6.0f bytes, %d turnarounds)  ratio %.3f\n"
                    "                       exchange %8.1f ms (first frame to last answer)  ratio %.3f\n"
                    "                       program  %8.1f ms (outside the exchange %.1f, between answer and "
                    "next frame %.1f)  wire + program ratio %.3f\n",
                    write ? "write" : "read", ok ? "ok    " : "FAILED", ms, wire, tt.bytes, tt.answers, ms / wire,
                    tt.exchangeMs, tt.exchangeMs / wire, program, ms - tt.exchangeMs, tt.programMs,
                    (wire + program) / wire);
    }
    radio.terminate();
    radio.waitForFinished(5000);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--soak") == 0) {
        Soak(argc > 2 ? std::atoi(argv[2]) : 50);
        return 0;
    }
    Timing();
    const QDir tools(QCoreApplication::applicationDirPath() + "/../tools");
    const QString cli = tools.filePath("zrcps-cli"), sim = tools.filePath("zrcps-sim");
    if (QFileInfo(cli).isExecutable() && QFileInfo(sim).isExecutable()) CommandTiming(cli, sim);
    return 0;
}
