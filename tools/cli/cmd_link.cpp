// zrcps-cli ident|read|write|dealer --port DEVICE [--password P] [FILE]:
// the radio transfers of the program from the command line, through the
// same engine, checks and texts as the windows. write --verify reads the
// radio back after a successful write and compares what it keeps with what
// was sent; only the option turns it on (the windows' VerifyWrite setting
// is left to the windows, so a script behaves the same on every machine).

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/command.h"
#include "data/bands.h"
#include "data/document.h"
#include "data/new_document_defaults.h"
#include "files/document_file.h"
#include "link/transfer.h"
#include "link/verify.h"
#include "platform/serial/qt_link.h"
#include "shell/prompter.h"
#include "shell/session.h"
#include "shell/settings_files.h"
#include "shell/version.h"

namespace {

using zr::Answer;
using zr::Buttons;

// Messages on stderr. The confirmation of the transfer the user asked for
// is answered OK; other questions are asked on the terminal when there is
// one, and otherwise get the answer that stops (Cancel or No).
class TerminalPrompter : public zr::Prompter {
public:
    std::vector<std::string> confirmations;
    std::optional<std::string> password;   // from --password, offered once

    Answer ask(const zr::Question& q) override {
        std::fprintf(stderr, "\n%s\n", q.text.c_str());
        if (q.buttons == Buttons::Ok) return Answer::Ok;
        for (const auto& c : confirmations)
            if (q.text == c) return Answer::Ok;
        const bool tty = ::isatty(STDIN_FILENO);
        const char* choices = q.buttons == Buttons::OkCancel      ? "[o]k/[c]ancel"
                              : q.buttons == Buttons::YesNo       ? "[y]es/[n]o"
                              : q.buttons == Buttons::YesNoCancel ? "[y]es/[n]o/[c]ancel"
                                                                  : "[r]etry/[c]ancel";
        if (!tty) return negative(q.buttons);
        std::fprintf(stderr, "%s? ", choices);
        std::string line;
        if (!std::getline(std::cin, line) || line.empty()) return negative(q.buttons);
        switch (line[0]) {
            case 'o': case 'O': return q.buttons == Buttons::OkCancel ? Answer::Ok : negative(q.buttons);
            case 'y': case 'Y': return q.buttons == Buttons::YesNo || q.buttons == Buttons::YesNoCancel
                                           ? Answer::Yes : negative(q.buttons);
            case 'n': case 'N': return q.buttons == Buttons::YesNo || q.buttons == Buttons::YesNoCancel
                                           ? Answer::No : negative(q.buttons);
            case 'r': case 'R': return q.buttons == Buttons::RetryCancel ? Answer::Retry : negative(q.buttons);
            default: return negative(q.buttons);
        }
    }
    std::optional<std::string> chooseFile(const zr::FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> askPassword() override {
        if (!::isatty(STDIN_FILENO)) {
            std::fprintf(stderr, "\nThe radio asks for its programming password: give it with --password.\n");
            return std::nullopt;
        }
        std::fprintf(stderr, "\nPassword: ");
        std::string line;
        if (!std::getline(std::cin, line)) return std::nullopt;
        return line;
    }

private:
    static Answer negative(Buttons b) { return b == Buttons::YesNo ? Answer::No : Answer::Cancel; }
};

// A progress bar on stderr; when stderr is not a terminal (a log file, a
// pipe), a steps line "caption: 0% 10% ... 100%" instead of a redraw for
// every percent.
class TerminalProgress : public zr::link::TransferObserver {
public:
    void progressShown(zr::link::TransferKind, const std::string& caption) override {
        caption_ = caption;
        last_ = -1;
        if (!tty_) std::fprintf(stderr, "%s:", caption_.c_str());
        draw(0);
    }
    void progress(int p) override { draw(p); }
    void progressReset() override {
        last_ = -1;
        draw(0);
    }
    void progressClosed() override { std::fputc('\n', stderr); }

private:
    void draw(int p) {
        p = std::clamp(p, 0, 100);
        if (!tty_) {
            if (last_ < 0 || p / 10 > last_ / 10) std::fprintf(stderr, " %d%%", p / 10 * 10);
            last_ = std::max(last_, p);
            std::fflush(stderr);
            return;
        }
        const int width = 40;
        const int filled = p * width / 100;
        std::fprintf(stderr, "\r%s [%s%s] %d%%", caption_.c_str(), std::string(filled, '#').c_str(),
                     std::string(width - filled, ' ').c_str(), p);
        std::fflush(stderr);
    }
    std::string caption_;
    int last_ = -1;
    const bool tty_ = ::isatty(STDERR_FILENO) != 0;
};

// The folders of the running program, where its language file and version
// table are found; ZRCPS_PROGRAM_FOLDER names another program folder (e.g. a
// source tree's "install" folder), as for the other commands.
void SetPaths(zr::Session& s) {
    if (const char* folder = std::getenv("ZRCPS_PROGRAM_FOLDER"); folder && *folder) {
        s.paths.programFolder = folder;
        s.paths.installRoot = std::filesystem::path(folder).parent_path().string();
    } else {
        std::error_code ec;
        const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
        if (ec) return;
        s.paths.programFolder = exe.parent_path().string();
        s.paths.installRoot = exe.parent_path().parent_path().string();
        s.paths.programName = exe.filename().string();
    }
    // The settings files are where the windows program keeps them.
    zr::ChooseSettingsFolder(s.paths, zr::UserConfigFolderFromEnvironment());
}

void RunUntilIdle(zr::link::TransferEngine& e) {
    while (e.busy()) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

const char* kUsage = "ident|read|write|dealer --port DEVICE [--password P] [--verify] [FILE]";

int RunLink(const std::string& what, const std::vector<std::string>& args) {
    std::string device, file;
    std::optional<std::string> password;
    bool verify = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--port" && i + 1 < args.size()) device = args[++i];
        else if (args[i] == "--password" && i + 1 < args.size()) password = args[++i];
        else if (args[i] == "--verify" && what == "write") verify = true;
        else if (file.empty() && !args[i].empty() && args[i][0] != '-') file = args[i];
        else {
            std::fprintf(stderr, "zrcps-cli %s: unexpected argument \"%s\"\nusage: zrcps-cli %s\n", what.c_str(),
                         args[i].c_str(), kUsage);
            return 2;
        }
    }
    if (device.empty()) {
        std::fprintf(stderr, "zrcps-cli %s: --port DEVICE is needed\n", what.c_str());
        return 2;
    }
    if ((what == "read" || what == "write") && file.empty()) {
        std::fprintf(stderr, "zrcps-cli %s: a document FILE is needed\n", what.c_str());
        return 2;
    }

    static int argc = 1;
    static char name[] = "zrcps-cli";
    static char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    zr::Session s;
    SetPaths(s);
    zr::LoadVersionTable(s);
    if (s.settings.versions.pairs.empty()) s.settings.versions.pairs = {{zr::kProgramVersion, zr::kProgramVersion}};
    TerminalPrompter prompter;
    s.prompter = &prompter;
    if (password) s.settings.ProgramPassword = *password;
    s.doc.currentModel = zr::kModelId;
    s.doc.currentBand = zr::kDefaultBand;
    zr::RefreshBandLimits(s.doc);
    zr::NewDocumentDefaults(s);

    zr::QtLink link(s);
    link.port().setDevicePath(device);
    auto& engine = link.engine();
    TerminalProgress progress;
    engine.setObserver(&progress);
    prompter.confirmations = {engine.text(9004), engine.text(9005)};
    engine.services().isModified = [] { return false; };

    if (what == "write") {
        const auto r = zr::OpenChecked(s, file);
        if (r != zr::OpenResult::Opened) {
            std::fprintf(stderr, "zrcps-cli write: %s was not opened\n", file.c_str());
            return 1;
        }
    }

    // Identification first: a read takes the radio's model and band.
    if (what == "ident" || what == "read") {
        if (!engine.startIdentify()) return 1;
        RunUntilIdle(engine);
        if (!engine.lastSucceeded()) {
            std::fprintf(stderr, "zrcps-cli %s: no identification from the radio\n", what.c_str());
            return 1;
        }
        const auto& id = engine.identification();
        if (what == "ident") {
            std::printf("model %s\nband %d %s\nversion %s\nflags 0x%02X\n", id.model.c_str(), id.band,
                        zr::BandText(id.band).c_str(), id.version.c_str(), id.flags);
            return 0;
        }
        s.doc.currentBand = zr::BandText(id.band);
        if (s.doc.currentBand.empty()) {
            std::fprintf(stderr, "zrcps-cli read: the radio reports the unknown band code %d\n", id.band);
            return 1;
        }
        zr::RefreshBandLimits(s.doc);
        zr::RefreshModelBand(s.doc);
    }

    bool started = false;
    if (what == "read") started = engine.startRead();
    else if (what == "write") started = engine.startWrite();
    else started = engine.startDealerRead();
    if (!started && !engine.busy()) return 1;
    RunUntilIdle(engine);
    if (!engine.lastSucceeded()) return 1;

    if (what == "write" && verify) {
        zr::QtLinkTimers verifyTimers;
        zr::link::WriteVerifier v(s, link.port(), verifyTimers);
        v.setProgress(&progress);
        zr::link::VerifyOutcome out;   // stays "read failed" unless the read-back ends
        if (!v.start(s.doc.image, [&](const zr::link::VerifyOutcome& o) { out = o; })) {
            std::fprintf(stderr, "%s\n", zr::link::VerifyOutcomeText(out).c_str());
            return 1;
        }
        link.port().setEngine(&v.engine());
        verifyTimers.setEngine(&v.engine());
        RunUntilIdle(v.engine());
        link.port().setEngine(&engine);
        verifyTimers.setEngine(nullptr);
        std::fprintf(out.ok() ? stdout : stderr, "%s\n", zr::link::VerifyOutcomeText(out).c_str());
        return out.ok() ? 0 : 1;
    }

    if (what == "read") {
        s.doc.fileName = file;
        if (!zr::WriteDocument(s)) return 1;
        std::fprintf(stderr, "%s: %d channels\n", file.c_str(), static_cast<int>(s.doc.stored.Channels.count));
    } else if (what == "dealer") {
        const auto& i = s.doc.radioInfo;
        std::printf("serial %s\nfactory date %s\nrepair date %s\nrepair reason %s\nbatch %s\ncustomer %s\n"
                    "dealer %s\nstock in %s\nsale %s\nhandler %s\n",
                    i.SerialNo.text().c_str(), i.FactoryDate.text().c_str(), i.RepairDate.text().c_str(),
                    i.RepairReason.text().c_str(), i.BatchNo.text().c_str(), i.CustomerCode.text().c_str(),
                    i.DealerCode.text().c_str(), i.StockInTime.text().c_str(), i.SaleTime.text().c_str(),
                    i.Handler.text().c_str());
        if (!file.empty()) {
            std::FILE* f = std::fopen(file.c_str(), "wb");
            if (!f || std::fwrite(s.doc.rmgImage.data(), 1, s.doc.rmgImage.size(), f) != s.doc.rmgImage.size()) {
                std::fprintf(stderr, "zrcps-cli dealer: cannot write %s\n", file.c_str());
                if (f) std::fclose(f);
                return 1;
            }
            std::fclose(f);
        }
    }
    return 0;
}

int RunIdent(const std::vector<std::string>& a) { return RunLink("ident", a); }
int RunRead(const std::vector<std::string>& a) { return RunLink("read", a); }
int RunWrite(const std::vector<std::string>& a) { return RunLink("write", a); }
int RunDealer(const std::vector<std::string>& a) { return RunLink("dealer", a); }

}  // namespace

static zrcli::CliCommand identCmd{"ident", "--port DEVICE  identification of the radio", RunIdent};
static zrcli::CliCommand readCmd{"read", "--port DEVICE [--password P] FILE  read the radio into a document",
                                 RunRead};
static zrcli::CliCommand writeCmd{"write",
                                  "--port DEVICE [--password P] [--verify] FILE  write a document into the radio"
                                  " (--verify: read it back and compare)",
                                  RunWrite};
static zrcli::CliCommand dealerCmd{"dealer", "--port DEVICE [--password P] [FILE]  read the dealer information",
                                   RunDealer};
