// zrcps-cli new FILE / show FILE: document files from the command line.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/command.h"
#include "data/bands.h"
#include "data/new_document_defaults.h"
#include "files/document_record.h"
#include "shell/describe.h"
#include "shell/session.h"
#include "shell/version.h"

namespace {

zr::Session newDocumentSession() {
    zr::Session s;
    s.doc.currentModel = zr::kModelId;
    s.doc.currentBand = zr::kDefaultBand;
    zr::RefreshBandLimits(s.doc);
    zr::NewDocumentDefaults(s);
    return s;
}

// new            prints a new document
// new [-f] FILE  writes a new document to FILE (-f: replace an existing file)
int RunNewFile(const std::vector<std::string>& args) {
    bool force = false;
    std::string file;
    for (const auto& a : args) {
        if (a == "-f") {
            force = true;
        } else if (file.empty() && !a.empty() && a[0] != '-') {
            file = a;
        } else {
            std::fprintf(stderr, "zrcps-cli new: unexpected argument \"%s\"\nusage: zrcps-cli new [-f] [FILE]\n",
                         a.c_str());
            return 2;
        }
    }
    zr::Session s = newDocumentSession();
    if (file.empty()) {
        if (force) {
            std::fprintf(stderr, "zrcps-cli new: -f needs a FILE\n");
            return 2;
        }
        std::fputs(zr::DescribeDocument(s).c_str(), stdout);
        return 0;
    }
    std::error_code ec;
    if (!force && std::filesystem::exists(file, ec)) {
        std::fprintf(stderr, "zrcps-cli new: %s already exists (use -f to replace it)\n", file.c_str());
        return 1;
    }
    std::string error;
    if (!zr::WriteDocumentRecordFile(file, s.doc.stored, &error)) {
        std::fprintf(stderr, "zrcps-cli new: cannot write %s\n", error.c_str());
        return 1;
    }
    std::printf("%s: new document, model %s, band %s, %d channels\n", file.c_str(),
                zr::ModelDisplayName(s.doc.currentModel).c_str(), s.doc.currentBand.c_str(),
                s.doc.stored.Channels.count);
    return 0;
}

int RunShow(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: zrcps-cli show FILE\n");
        return 2;
    }
    const std::string& file = args[0];
    zr::RecordError err = zr::RecordError::None;
    auto doc = zr::ReadDocumentRecordFile(file, &err);
    if (!doc) {
        std::fprintf(stderr, "zrcps-cli show: %s: %s\n", file.c_str(), zr::DescribeRecordError(err).c_str());
        return 1;
    }
    zr::Session s;
    s.doc.stored = *doc;
    s.doc.saved = *doc;
    s.doc.fileName = file;
    s.doc.neverSaved = false;
    zr::ApplyModelBand(s.doc);
    if (!zr::IsVersionText(doc->FormatVersion.raw()))
        std::fprintf(stderr, "zrcps-cli show: warning: %s has no valid version text; the program refuses it\n",
                     file.c_str());
    std::fputs(zr::DescribeDocument(s).c_str(), stdout);
    return 0;
}

zrcli::CliCommand newFileCommand{"new", "[-f] [FILE]  write a new document to FILE (print it without FILE)",
                                 RunNewFile};
zrcli::CliCommand showCommand{"show", "FILE  print the channels and settings of a document file", RunShow};

}  // namespace
