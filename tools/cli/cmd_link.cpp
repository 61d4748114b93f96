// zrcps-cli commands with the radio and the serial ports: ports, doctor,
// ident, read, write, dealer. The transfers run through the same engine,
// checks and texts as the windows. write --verify reads the radio back after
// a successful write and compares what it keeps with what was sent; only the
// option turns it on (the windows' VerifyWrite setting is left to the
// windows, so a script behaves the same on every machine). write --backup
// reads and keeps the radio first and asks with the changes the write makes,
// as the windows do with their backup-before-write setting. write --repeat
// writes the document into one radio after another (link/dealer_run.h).

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <QFile>

#include "cli/command.h"
#include "data/bands.h"
#include "files/document_file.h"
#include "link/dealer_run.h"
#include "link/port_names.h"
#include "link/port_report.h"
#include "link/trace.h"
#include "link/transfer.h"
#include "link/verify.h"
#include "link/write_job.h"
#include "platform/serial/backup_folder.h"
#include "platform/serial/connection_check.h"
#include "platform/serial/port_facts.h"
#include "platform/serial/qt_link.h"
#include "shell/atomic_file.h"
#include "shell/language.h"
#include "shell/session.h"

namespace zrcli {

namespace {

using zr::link::TransferKind;

std::vector<std::string> PresentDevices() {
    std::vector<std::string> out;
    for (const auto& p : zr::ListPortFacts()) out.push_back(p.device);
    return out;
}

// What every command with the radio sets up: the port (--port, or the
// windows' choice), the password, the progress on the terminal, the trace.
class LinkSetup {
public:
    explicit LinkSetup(CliCall& call) : call_(call), s_(call.session()), link_(s_) {
        std::string device = call.args.value("port");
        if (call.args.has("port")) {
            how_ = "--port";
            if (const int n = zr::link::PortNumberFromName(device); n > 0 && device.rfind("COM", 0) == 0)
                device = zr::link::DeviceForNumber(n, PresentDevices());
        } else {
            // The windows' choice: "PortPath", else "COM" n (1 when none).
            const int n = zr::link::StoredComPort(s_);
            s_.settings.comPort = static_cast<int16_t>(n > 0 && n <= 32767 ? n : 1);
            const std::string path = zr::link::StoredPortPath(s_);
            how_ = "the port chosen in the windows: " + (path.empty() ? zr::link::PortName(s_.settings.comPort) : path);
        }
        link_.port().setDevicePath(device);
        auto& e = link_.engine();
        e.setObserver(&progress_);
        e.services().isModified = [] { return false; };
        call.prompter().confirmations = {e.text(9004), e.text(9005)};
        if (call.args.has("password")) {
            s_.settings.ProgramPassword = call.args.value("password");
            call.prompter().password = s_.settings.ProgramPassword;
        }
        traceFile_ = call.args.value("trace");
        if (!traceFile_.empty()) e.setTrace(&trace_);
    }

    zr::link::TransferEngine& engine() { return link_.engine(); }
    zr::QtLink& link() { return link_; }
    const std::string& how() const { return how_; }
    const std::string& traceFile() const { return traceFile_; }

    // The exit code, after the trace was written (a trace that cannot be
    // written fails the command).
    int finish(int rc) {
        if (traceFile_.empty()) return rc;
        if (const zr::Result r = trace_.save(traceFile_); !r) return call_.fail("trace: " + r.message());
        return rc;
    }

private:
    CliCall& call_;
    zr::Session& s_;
    zr::QtLink link_;
    TerminalProgress progress_;
    zr::link::LinkTrace trace_;
    std::string traceFile_;
    std::string how_;
};

bool MayWriteOutputs(CliCall& call, const std::string& file) {
    if (!file.empty() && !call.mayReplace(file)) return false;
    const std::string trace = call.args.value("trace");
    return trace.empty() || call.mayReplace(trace);
}

int RunPorts(CliCall&) {
    const auto ports = zr::ListPortFacts();
    if (ports.empty()) std::printf("no serial ports found\n");
    for (const auto& p : ports) {
        std::printf("%s\n", zr::link::PortLine(p).c_str());
        for (const auto& d : zr::link::PortDetails(p)) std::printf("    %s\n", d.c_str());
        std::printf("    %s\n", zr::link::AccessLine(zr::CheckDeviceAccess(p.device)).c_str());
    }
    return 0;
}

int RunDoctor(CliCall& call) {
    if (!MayWriteOutputs(call, {})) return 1;
    LinkSetup link(call);
    const auto report = zr::CheckConnection(call.session(), link.link(), link.how(),
                                            zr::manual::Cli().name + " " + zr::manual::Release());
    std::fputs(zr::link::FormatConnectionReport(call.session(), report).c_str(), stdout);
    return link.finish(report.ok() ? 0 : 1);
}

int RunIdent(CliCall& call) {
    if (!MayWriteOutputs(call, {})) return 1;
    LinkSetup link(call);
    auto& e = link.engine();
    if (!e.startIdentify()) return link.finish(1);
    zr::RunUntilIdle(e);
    if (!e.lastSucceeded()) {
        call.fail("no identification from the radio");
        return link.finish(1);
    }
    const auto& id = e.identification();
    std::printf("model %s\nband %d %s\nversion %s\nflags 0x%02X\n", id.model.c_str(), id.band,
                zr::BandText(id.band).c_str(), id.version.c_str(), id.flags);
    return link.finish(0);
}

int RunRead(CliCall& call) {
    const std::string& file = call.arg(0);
    if (!MayWriteOutputs(call, file)) return 1;
    LinkSetup link(call);
    auto& e = link.engine();
    // The document takes the band the radio reports in this exchange.
    e.services().identified = [](zr::RadioDocument& d, const zr::link::Identification& id) {
        const std::string band = zr::BandText(id.band);
        if (band.empty()) return;   // the model check tells
        d.currentBand = band;
        zr::RefreshBandLimits(d);
        zr::RefreshModelBand(d);
    };
    if (!e.startRead()) return link.finish(1);
    zr::RunUntilIdle(e);
    if (!e.lastSucceeded()) return link.finish(1);
    zr::Session& s = call.session();
    s.doc.fileName = file;
    if (const zr::Result written = zr::WriteDocument(s); !written) {
        call.prompter().tell(written.message(), zr::Icon::Critical);
        return link.finish(1);
    }
    std::fprintf(stderr, "%s: %d channels\n", file.c_str(), static_cast<int>(s.doc.stored.Channels.count));
    return link.finish(0);
}

// Runs the transfers of a job of several until `running` turns false (each
// next transfer starts as the one before it ends).
void RunWhile(zr::link::TransferEngine& e, const std::function<bool()>& running) {
    while (running()) zr::RunUntilIdle(e);
}

// The port and timers of the command routed to another engine (a job of
// several transfers) while this object lives; the trace goes on.
class Routed {
public:
    Routed(LinkSetup& link, zr::QtLinkTimers& timers, zr::link::TransferEngine& to)
        : link_(link), timers_(timers) {
        to.setTrace(link.engine().trace());
        link.link().port().setEngine(&to);
        timers.setEngine(&to);
    }
    ~Routed() {
        link_.link().port().setEngine(&link_.engine());
        timers_.setEngine(nullptr);
    }
    Routed(const Routed&) = delete;
    Routed& operator=(const Routed&) = delete;

private:
    LinkSetup& link_;
    zr::QtLinkTimers& timers_;
};

// write --backup: the radio is read and kept in the backups folder of the
// windows; the write starts only when that read succeeded, after the changes
// it makes were shown and the user said yes (or --yes).
int WriteWithBackup(CliCall& call, LinkSetup& link) {
    zr::Session& s = call.session();
    zr::QtLinkTimers timers;
    zr::link::WriteJob job(s, link.link().port(), timers);
    Routed routed(link, timers, job.engine());
    TerminalProgress progress;
    job.setProgress(&progress, zr::LanguageText(s, 32022), zr::LanguageText(s, 31010));
    zr::link::WriteJobOptions o;
    o.backup = true;
    o.backupFolder = QFile::encodeName(zr::BackupFolder()).toStdString();
    o.askChanges = true;
    o.verify = call.args.has("verify");
    call.prompter().yesNo = call.args.has("yes") ? TerminalPrompter::YesNo::Yes : TerminalPrompter::YesNo::Ask;
    zr::link::WriteJobResult r;
    if (!job.start(o, [&r](const zr::link::WriteJobResult& result) { r = result; })) return 1;
    RunWhile(job.engine(), [&job] { return job.running(); });
    if (!r.backupPath.empty()) std::fprintf(stderr, "backup of the radio: %s\n", r.backupPath.c_str());
    if (r.check.readSucceeded)
        std::fprintf(r.check.ok() ? stdout : stderr, "%s\n", zr::link::VerifyOutcomeText(r.check).c_str());
    if (r.success) return 0;
    using Stage = zr::link::WriteStage;
    if (r.stage == Stage::DealerInfo || r.stage == Stage::Backup || r.stage == Stage::Question)
        return call.fail("Nothing was written: " + r.message);
    return call.fail(r.message);
}

// What the user typed after a radio's turn in write --repeat.
struct RepeatAnswer {
    enum Kind { Next, Retry, Stop, Unknown } kind = Unknown;
    int radio = 0;   // with Retry: the radio's number, 0 for the last failed one
};

RepeatAnswer ParseRepeatAnswer(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    while (!line.empty() && line.front() == ' ') line.erase(0, 1);
    if (line.empty()) return {RepeatAnswer::Next};
    if (line == "q" || line == "Q") return {RepeatAnswer::Stop};
    if (line[0] != 'r' && line[0] != 'R') return {};
    std::size_t at = 1;
    while (at < line.size() && line[at] == ' ') ++at;
    if (at == line.size()) return {RepeatAnswer::Retry};
    int radio = 0;
    const auto [end, ec] = std::from_chars(line.data() + at, line.data() + line.size(), radio);
    if (ec != std::errc() || end != line.data() + line.size() || radio < 1) return {};
    return {RepeatAnswer::Retry, radio};
}

// write --repeat: one radio after another. After each radio's turn its line
// of the list is printed and the next radio is asked for: Enter writes it,
// "r" tries the last failed radio again ("r N" radio N), "q" or the end of
// the input stops. The log is written after every turn, so it is whole
// however the run ends. Exit 0 when every radio of the list was written.
int WriteRepeatedly(CliCall& call, LinkSetup& link) {
    zr::Session& s = call.session();
    const std::string log = call.args.value("log");
    zr::QtLinkTimers timers;
    zr::link::DealerRun run(s, link.link().port(), timers);
    Routed routed(link, timers, run.engine());
    TerminalProgress progress;
    run.setProgress(&progress);
    run.setVerify(call.args.has("verify"));
    const auto& rows = run.rows();
    const auto failed = [&rows](std::size_t i) { return i < rows.size() && !rows[i].ok; };

    // One turn: a new radio, or another attempt at row `retry`.
    const auto turn = [&](std::optional<std::size_t> retry) {
        std::optional<std::size_t> ended;
        const auto done = [&ended](std::size_t row) { ended = row; };
        if (retry) {
            if (!run.retry(*retry, done)) return true;
        } else {
            run.next(done);
        }
        RunWhile(run.engine(), [&ended] { return !ended; });
        const zr::link::DealerRow& r = rows[*ended];
        std::printf("radio %d  %s  serial %s  %s\n", r.radio, r.time.c_str(),
                    r.serialNo.empty() ? "?" : r.serialNo.c_str(), zr::link::DealerRowResultText(r).c_str());
        std::fflush(stdout);
        if (!r.ok) std::fprintf(stderr, "Radio %d failed: connect it again and type r to try again.\n", r.radio);
        if (log.empty()) return true;
        if (const zr::Result w = zr::link::SaveDealerLog(log, rows); !w) {
            call.fail("the log could not be written: " + w.message());
            return false;
        }
        return true;
    };

    bool logWritten = turn(std::nullopt);
    while (logWritten) {
        std::fprintf(stderr, "Connect the next radio and press Enter (q to stop): ");
        std::fflush(stderr);
        std::string line;
        if (!std::getline(std::cin, line)) {
            std::fputc('\n', stderr);
            break;
        }
        const RepeatAnswer a = ParseRepeatAnswer(line);
        if (a.kind == RepeatAnswer::Stop) break;
        if (a.kind == RepeatAnswer::Next) {
            logWritten = turn(std::nullopt);
        } else if (a.kind == RepeatAnswer::Retry) {
            std::size_t row = rows.size();
            if (a.radio > 0) row = static_cast<std::size_t>(a.radio - 1);
            else
                for (std::size_t i = 0; i < rows.size(); ++i)
                    if (failed(i)) row = i;   // the last failed one
            if (failed(row)) logWritten = turn(row);
            else if (a.radio > 0 && row < rows.size())
                std::fprintf(stderr, "Radio %d was written already.\n", a.radio);
            else
                std::fprintf(stderr, a.radio > 0 ? "There is no radio %d in the list.\n" : "No radio failed.\n",
                             a.radio);
        } else {
            std::fprintf(stderr, "Enter writes the next radio, r tries the failed one again, q stops.\n");
        }
    }
    int written = 0;
    for (const auto& r : rows) written += r.ok ? 1 : 0;
    std::printf("%d of %d radios written\n", written, static_cast<int>(rows.size()));
    return logWritten && written == static_cast<int>(rows.size()) ? 0 : 1;
}

int RunWrite(CliCall& call) {
    if (call.args.has("yes") && !call.args.has("backup")) return call.usage("--yes answers the question of --backup");
    if (call.args.has("log") && !call.args.has("repeat")) return call.usage("--log is the list of --repeat");
    if (call.args.has("repeat") && call.args.has("backup"))
        return call.usage("--repeat writes one radio after another without a backup; leave out --backup");
    if (call.args.has("backup") && !call.args.has("yes") && !::isatty(STDIN_FILENO))
        return call.fail("--backup shows the changes and asks before writing: run it on a terminal, or give --yes");
    if (!MayWriteOutputs(call, call.args.value("log")) || !call.openDocument(call.arg(0))) return 1;
    LinkSetup link(call);
    if (call.args.has("backup")) return link.finish(WriteWithBackup(call, link));
    if (call.args.has("repeat")) return link.finish(WriteRepeatedly(call, link));
    auto& e = link.engine();
    if (!e.startWrite()) return link.finish(1);
    zr::RunUntilIdle(e);
    if (!e.lastSucceeded()) return link.finish(1);
    if (!call.args.has("verify")) return link.finish(0);

    zr::Session& s = call.session();
    zr::QtLinkTimers verifyTimers;
    zr::link::WriteVerifier v(s, link.link().port(), verifyTimers);
    TerminalProgress progress;
    v.setProgress(&progress);
    zr::link::VerifyOutcome out;   // stays "read failed" unless the read-back ends
    if (!v.start(s.doc.image, [&](const zr::link::VerifyOutcome& o) { out = o; })) {
        std::fprintf(stderr, "%s\n", zr::link::VerifyOutcomeText(out).c_str());
        return link.finish(1);
    }
    v.engine().setTrace(e.trace());
    link.link().port().setEngine(&v.engine());
    verifyTimers.setEngine(&v.engine());
    zr::RunUntilIdle(v.engine());
    link.link().port().setEngine(&e);
    verifyTimers.setEngine(nullptr);
    std::fprintf(out.ok() ? stdout : stderr, "%s\n", zr::link::VerifyOutcomeText(out).c_str());
    return link.finish(out.ok() ? 0 : 1);
}

int RunDealer(CliCall& call) {
    const std::string file = call.argCount() ? call.arg(0) : std::string();
    if (!MayWriteOutputs(call, file)) return 1;
    LinkSetup link(call);
    auto& e = link.engine();
    if (!e.startDealerRead()) return link.finish(1);
    zr::RunUntilIdle(e);
    if (!e.lastSucceeded()) return link.finish(1);
    const auto& i = call.session().doc.radioInfo;
    std::printf("serial %s\nfactory date %s\nrepair date %s\nrepair reason %s\nbatch %s\ncustomer %s\n"
                "dealer %s\nstock in %s\nsale %s\nhandler %s\n",
                i.SerialNo.text().c_str(), i.FactoryDate.text().c_str(), i.RepairDate.text().c_str(),
                i.RepairReason.text().c_str(), i.BatchNo.text().c_str(), i.CustomerCode.text().c_str(),
                i.DealerCode.text().c_str(), i.StockInTime.text().c_str(), i.SaleTime.text().c_str(),
                i.Handler.text().c_str());
    if (!file.empty()) {
        if (const zr::Result r = zr::WriteFileAtomically(file, call.session().doc.rmgImage); !r) {
            call.fail(r.message());
            return link.finish(1);
        }
    }
    return link.finish(0);
}

const CliCommand portsCommand{"ports", RunPorts};
const CliCommand doctorCommand{"doctor", RunDoctor};
const CliCommand identCommand{"ident", RunIdent};
const CliCommand readCommand{"read", RunRead};
const CliCommand writeCommand{"write", RunWrite};
const CliCommand dealerCommand{"dealer", RunDealer};

}  // namespace

}  // namespace zrcli
