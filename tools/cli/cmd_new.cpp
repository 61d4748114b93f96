// zrcps-cli new: prints the channels and settings of a new document.

#include <cstdio>

#include "cli/command.h"
#include "data/bands.h"
#include "data/new_document_defaults.h"
#include "shell/describe.h"
#include "shell/session.h"

namespace {

int RunNew(const std::vector<std::string>& args) {
    if (!args.empty()) {
        std::fprintf(stderr, "zrcps-cli new: no arguments expected\n");
        return 2;
    }
    zr::Session s;
    s.doc.currentModel = zr::kModelId;
    s.doc.currentBand = zr::kDefaultBand;
    zr::RefreshBandLimits(s.doc);
    zr::NewDocumentDefaults(s);
    std::fputs(zr::DescribeDocument(s).c_str(), stdout);
    return 0;
}

zrcli::CliCommand newCommand{"new", "        print the channels and settings of a new document", RunNew};

}  // namespace
