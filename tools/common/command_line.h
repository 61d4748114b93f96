#pragma once
// The programs' options, as the manual (shell/manual.h) lists them, parsed
// with QCommandLineParser. -h/--help is always known, --version where asked.

#include <map>
#include <set>
#include <string>
#include <vector>

#include <QStringList>

#include "shell/manual.h"

namespace zr::cmdline {

struct Parsed {
    bool ok = false;
    std::string error;               // why the words were not understood
    bool help = false;
    bool version = false;
    std::vector<std::string> positional;

    bool has(const std::string& name) const { return switches.count(name) || values.count(name); }
    std::string value(const std::string& name) const {
        const auto it = values.find(name);
        return it == values.end() ? std::string() : it->second;
    }
    std::map<std::string, std::string> values;   // by the option's last name
    std::set<std::string> switches;
};

// `args` are the words after the program name (and after the command).
Parsed Parse(const std::vector<manual::Option>& options, const QStringList& args, bool withVersion);

// The words of argv from index `first` on.
QStringList Words(int argc, char** argv, int first);

}  // namespace zr::cmdline
