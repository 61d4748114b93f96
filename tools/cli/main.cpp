// zrcps-cli: the program's rules from the command line. The commands, their
// options and help are those of the manual (shell/manual.cpp); exit codes
// 0 done, 1 failed, 2 wrong use.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "cli/command.h"
#include "data/bands.h"
#include "data/new_document_defaults.h"
#include "files/document_file.h"
#include "shell/atomic_file.h"
#include "shell/session.h"
#include "shell/settings_files.h"
#include "shell/version.h"

namespace zrcli {

namespace manual = zr::manual;

static std::vector<const CliCommand*>& registry() {
    static std::vector<const CliCommand*> all;
    return all;
}

CliCommand::CliCommand(const char* n, CommandFn f, bool g) : name(n), fn(f), gui(g) { registry().push_back(this); }

const std::vector<const CliCommand*>& commands() { return registry(); }

CliCall::CliCall(const manual::Command& c, zr::cmdline::Parsed a, int& argc, char** argv)
    : command(c), args(std::move(a)), argc_(argc), argv_(argv) {}

CliCall::~CliCall() {
    session_.reset();
    app_.reset();
}

void CliCall::startApp(bool gui) {
    if (app_) return;
    if (gui) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    } else {
        app_ = std::make_unique<QCoreApplication>(argc_, argv_);
    }
    // The program's names: its data (the backups of reads) is where the
    // windows keep it.
    QCoreApplication::setOrganizationName(QStringLiteral("zrcps"));
    QCoreApplication::setApplicationName(QStringLiteral("zrcps"));
}

namespace {

// The folders of the running program, where its language file and version
// table are found; ZRCPS_PROGRAM_FOLDER names another program folder (e.g. a
// source tree's "install" folder).
zr::ProgramPaths CliPaths() {
    if (const char* folder = std::getenv("ZRCPS_PROGRAM_FOLDER"); folder && *folder) {
        zr::ProgramPaths p;
        p.programFolder = folder;
        while (p.programFolder.size() > 1 && p.programFolder.back() == '/') p.programFolder.pop_back();
        p.installRoot = zr::InstallRootOf(p.programFolder);
        p.programName = "zrcps-cli";
        return p;
    }
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? zr::ProgramPaths{} : zr::PathsFromExecutable(exe.string());
}

// The program's folders, and the settings files where the windows program
// keeps them (the user's own folder for a shared installation).
zr::ProgramPaths CliFolders() {
    zr::ProgramPaths p = CliPaths();
    zr::ChooseSettingsFolder(p, zr::UserConfigFolderFromEnvironment());
    return p;
}

}  // namespace

zr::Session& CliCall::session() {
    if (session_) return *session_;
    session_ = std::make_unique<zr::Session>();
    zr::Session& s = *session_;
    s.paths = CliFolders();
    zr::LoadVersionTable(s);
    if (s.settings.versions.pairs.empty()) s.settings.versions.pairs = {{zr::kProgramVersion, zr::kProgramVersion}};
    s.doc.currentModel = zr::kModelId;
    s.doc.currentBand = zr::kDefaultBand;
    zr::RefreshBandLimits(s.doc);
    zr::NewDocumentDefaults(s);
    s.prompter = &prompter_;
    return s;
}

int CliCall::fail(const std::string& message) {
    std::fprintf(stderr, "zrcps-cli %s: %s\n", command.name.c_str(), message.c_str());
    return manual::kExitFailed;
}

int CliCall::usage(const std::string& message) {
    std::fprintf(stderr, "zrcps-cli %s: %s\nusage: zrcps-cli %s %s\n", command.name.c_str(), message.c_str(),
                 command.name.c_str(), command.args.c_str());
    return manual::kExitUsage;
}

bool CliCall::mayReplace(const std::string& path) {
    if (force() || !zr::FileExistsForWriting(path)) return true;
    fail(path + " already exists (use -f to replace it)");
    return false;
}

bool CliCall::openDocument(const std::string& path) {
    zr::Session& s = session();
    const zr::OpenOutcome r = zr::OpenChecked(s, path);
    if (r.result == zr::OpenResult::Opened) {
        s.doc.fileName = path;
        return true;
    }
    // What the windows would tell or ask; here a switch of versions is no.
    const std::string said = r.result == zr::OpenResult::OtherVersion
                                 ? zr::VersionQuestion(s, zr::kProgramVersion, r.version, 1)
                                 : r.message;
    std::fprintf(stderr, "%s\n", said.c_str());
    fail(path + (r.result == zr::OpenResult::Failed ? " could not be read" : " is refused"));
    return false;
}

int CliCall::written(const zr::Result& r) { return r ? manual::kExitDone : fail(r.message()); }

namespace {

int RunHelp(CliCall& call) {
    if (call.argCount() == 0) {
        std::fputs(manual::HelpText(manual::Cli()).c_str(), stdout);
        return manual::kExitDone;
    }
    const manual::Command* c = manual::FindCommand(manual::Cli(), call.arg(0));
    if (!c) return call.usage("no command \"" + call.arg(0) + "\"");
    std::fputs(manual::CommandHelpText(manual::Cli(), *c).c_str(), stdout);
    return manual::kExitDone;
}

const CliCommand helpCommand{"help", RunHelp};

}  // namespace

}  // namespace zrcli

int main(int argc, char** argv) {
    namespace manual = zr::manual;
    const manual::Program& program = manual::Cli();
    if (argc < 2) {
        std::fputs(manual::HelpText(program).c_str(), stderr);
        return manual::kExitUsage;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h") {
        std::fputs(manual::HelpText(program).c_str(), stdout);
        return manual::kExitDone;
    }
    if (first == "--version") {
        std::fputs(manual::VersionText(program).c_str(), stdout);
        return manual::kExitDone;
    }
    const manual::Command* command = manual::FindCommand(program, first);
    const zrcli::CliCommand* run = nullptr;
    for (const auto* c : zrcli::commands())
        if (first == c->name) run = c;
    if (!command || !run) {
        std::fprintf(stderr, "zrcps-cli: unknown command \"%s\"\nTry \"zrcps-cli --help\".\n", first.c_str());
        return manual::kExitUsage;
    }
    auto args = zr::cmdline::Parse(command->options, zr::cmdline::Words(argc, argv, 2), false);
    if (!args.ok) {
        std::fprintf(stderr, "zrcps-cli %s: %s\nTry \"zrcps-cli %s --help\".\n", first.c_str(), args.error.c_str(),
                     first.c_str());
        return manual::kExitUsage;
    }
    if (args.help) {
        std::fputs(manual::CommandHelpText(program, *command).c_str(), stdout);
        return manual::kExitDone;
    }
    const int n = static_cast<int>(args.positional.size());
    zrcli::CliCall call(*command, std::move(args), argc, argv);
    if (n < command->minArgs) return call.usage(n == 0 ? "arguments missing" : "an argument is missing");
    if (n > command->maxArgs) return call.usage("unexpected argument \"" + call.args.positional[command->maxArgs] + "\"");
    call.startApp(run->gui);
    return run->fn(call);
}
