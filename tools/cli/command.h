#pragma once
// Sub-commands of zrcps-cli. Their words, options and help come from the
// manual (shell/manual.h); each source file of this folder registers the
// functions that run them:
//
//     static zrcli::CliCommand show{"show", RunShow};
//
// Every command gets a CliCall: its parsed words, the one session setup of
// the command line, and the helpers for messages, exit codes and files.

#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "cli/terminal.h"
#include "common/command_line.h"
#include "shell/manual.h"
#include "shell/result.h"

namespace zr {
struct Session;
}

namespace zrcli {

class CliCall;
using CommandFn = int (*)(CliCall&);

struct CliCommand {
    // `gui`: the command draws with Qt Gui (a QGuiApplication, offscreen).
    CliCommand(const char* name, CommandFn fn, bool gui = false);
    const char* name;
    CommandFn fn;
    bool gui;
};

const std::vector<const CliCommand*>& commands();

class CliCall {
public:
    CliCall(const zr::manual::Command& command, zr::cmdline::Parsed args, int& argc, char** argv);
    ~CliCall();

    const zr::manual::Command& command;
    const zr::cmdline::Parsed args;
    const std::string& arg(std::size_t i) const { return args.positional.at(i); }
    std::size_t argCount() const { return args.positional.size(); }
    bool force() const { return args.has("force"); }

    // The application object: QCoreApplication, or QGuiApplication on the
    // offscreen platform for `gui`, named as the windows program is. Made
    // once, before the session.
    void startApp(bool gui);

    // The one session of the command line: the program folder (of
    // zrcps-cli, or ZRCPS_PROGRAM_FOLDER), its version table and language
    // texts, a new document of the program's model and band, and the
    // terminal as its prompter. Made on first use.
    zr::Session& session();
    TerminalPrompter& prompter() { return prompter_; }

    // "zrcps-cli COMMAND: message" on stderr; the exit code of a failure.
    int fail(const std::string& message);
    // The same for wrong use, with the command's usage line.
    int usage(const std::string& message);
    // true when `path` may be written: it does not exist, or -f was given.
    // Otherwise the refusal is printed.
    bool mayReplace(const std::string& path);
    // Opens a document as File > Open does, into session().doc: the same
    // version check (text 9065) and record checks. false with the reason
    // printed when it refuses.
    bool openDocument(const std::string& path);
    // Reports a failed write; the exit code.
    int written(const zr::Result& r);

private:
    int& argc_;
    char** argv_;
    std::unique_ptr<QCoreApplication> app_;
    std::unique_ptr<zr::Session> session_;
    TerminalPrompter prompter_;
};

}  // namespace zrcli
