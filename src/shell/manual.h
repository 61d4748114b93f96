#pragma once
// The manual of the three programs (zrcps, zrcps-cli, zrcps-sim): their
// options, commands, exit codes and files, written once. Each program's
// --help and --version texts, the man pages zrcps(1), zrcps-cli(1),
// zrcps-sim(1) and the bash completion of zrcps-cli are made from it, so
// they cannot disagree.

#include <string>
#include <string_view>
#include <vector>

namespace zr::manual {

struct Option {
    std::vector<std::string> names;   // "f", "force": -f, --force
    std::string value;                // value name ("DEVICE"); empty: a switch
    std::string help;
    // What the value is, for completion: "file", "device", or nothing.
    std::string completes;
};

struct Command {
    std::string name;
    std::string args;                 // synopsis of the arguments after the options
    int minArgs = 0;
    int maxArgs = 0;
    std::string summary;              // one line
    std::string description;          // paragraphs separated by blank lines
    std::vector<Option> options;
    bool filesAsArgs = true;          // its arguments are file names (completion)
};

struct Section {
    std::string title;                // "FILES", "EXAMPLES", ...
    std::string text;
};

struct Program {
    std::string name;
    std::string summary;              // the man page's NAME line
    std::vector<std::string> synopsis;
    std::string description;
    std::vector<Option> options;      // besides --help and --version
    std::vector<Command> commands;
    std::vector<Section> sections;    // after the options and commands
    std::vector<std::string> seeAlso;
};

const Program& Gui();   // zrcps
const Program& Cli();   // zrcps-cli
const Program& Sim();   // zrcps-sim

// The release ("1.0.0") and the line --version prints.
std::string Release();
std::string VersionText(const Program& p);

// Exit codes shared by the command-line programs.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

const Command* FindCommand(const Program& p, std::string_view name);

// --help of the program, and of one of its commands.
std::string HelpText(const Program& p);
std::string CommandHelpText(const Program& p, const Command& c);
// The man page in roff (man(7) macros).
std::string ManPage(const Program& p);
// A bash completion script for the program's commands and options.
std::string BashCompletion(const Program& p);

}  // namespace zr::manual
