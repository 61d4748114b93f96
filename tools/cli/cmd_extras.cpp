// zrcps-cli export-csv / import-csv / print: channel lists as CSV files and
// the printable channel sheet as PDF, without windows.

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/command.h"
#include "data/bands.h"
#include "files/channel_csv.h"
#include "files/document_record.h"
#include "platform/print/channel_sheet.h"
#include "shell/session.h"
#include "shell/settings_files.h"

namespace {

// The folders of the running program, so that its language file is found
// when the tool runs from an installation.
// ZRCPS_PROGRAM_FOLDER names another program folder (e.g. a source tree's
// "install" folder).
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

bool LoadDocument(zr::Session& s, const std::string& path) {
    zr::RecordError err = zr::RecordError::None;
    auto doc = zr::ReadDocumentRecordFile(path, &err);
    if (!doc) {
        std::fprintf(stderr, "zrcps-cli: %s: %s\n", path.c_str(), zr::DescribeRecordError(err).c_str());
        return false;
    }
    SetPaths(s);
    s.doc.stored = *doc;
    s.doc.saved = *doc;
    s.doc.fileName = path;
    s.doc.neverSaved = false;
    zr::ApplyModelBand(s.doc);
    return true;
}

int ExportCsv(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: zrcps-cli export-csv FILE.dat OUT.csv\n");
        return 2;
    }
    zr::Session s;
    if (!LoadDocument(s, args[0])) return 1;
    std::string error;
    if (!zr::ExportChannelCsvFile(s, args[1], error)) {
        std::fprintf(stderr, "zrcps-cli: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

int ImportCsv(const std::vector<std::string>& args) {
    if (args.size() != 2 && args.size() != 3) {
        std::fprintf(stderr, "usage: zrcps-cli import-csv FILE.dat IN.csv [OUT.dat]\n");
        return 2;
    }
    zr::Session s;
    if (!LoadDocument(s, args[0])) return 1;
    const zr::CsvImportReport rep = zr::ImportChannelCsvFile(s, args[1]);
    std::fputs(zr::FormatImportReport(rep).c_str(), rep.readable ? stdout : stderr);
    if (!rep.readable) return 1;
    const std::string out = args.size() == 3 ? args[2] : args[0];
    std::string error;
    if (!zr::WriteDocumentRecordFile(out, s.doc.stored, &error)) {
        std::fprintf(stderr, "zrcps-cli: cannot write %s: %s\n", out.c_str(), error.c_str());
        return 1;
    }
    return 0;
}

int Print(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: zrcps-cli print FILE.dat OUT.pdf\n");
        return 2;
    }
    zr::Session s;
    if (!LoadDocument(s, args[0])) return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "zrcps-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    QString error;
    if (!zr::SaveChannelSheetPdf(s, QString::fromStdString(args[1]), error)) {
        std::fprintf(stderr, "zrcps-cli: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

const zrcli::CliCommand exportCsv{"export-csv", "FILE.dat OUT.csv  channels as a CHIRP-style CSV list", ExportCsv};
const zrcli::CliCommand importCsv{"import-csv", "FILE.dat IN.csv [OUT.dat]  channels from a CSV list",
                                  ImportCsv};
const zrcli::CliCommand print{"print", "FILE.dat OUT.pdf  the channel sheet as PDF", Print};

}  // namespace
