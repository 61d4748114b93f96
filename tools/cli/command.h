#pragma once
// Sub-commands of zrcps-cli. Each source file of this folder registers its
// commands with a static CliCommand object:
//
//     static zrcli::CliCommand show{"show", "FILE  print a document", runShow};

#include <string>
#include <vector>

namespace zrcli {

using CommandFn = int (*)(const std::vector<std::string>& args);

struct CliCommand {
    CliCommand(const char* name, const char* usage, CommandFn fn);
    const char* name;
    const char* usage;
    CommandFn fn;
};

const std::vector<const CliCommand*>& commands();

}  // namespace zrcli
