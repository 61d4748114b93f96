// zrcps-cli commands on files: new, show, encode, decode, export-csv,
// import-csv, print, diff. Documents are read as File > Open reads them; every
// output file is written with the one atomic file write and replaces an
// existing file only with -f.

#include <QFile>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/command.h"
#include "data/bands.h"
#include "data/image_codec.h"
#include "files/channel_csv.h"
#include "files/document_record.h"
#include "files/file_io.h"
#include "link/differences.h"
#include "platform/print/channel_sheet.h"
#include "shell/atomic_file.h"
#include "shell/describe.h"
#include "shell/session.h"

namespace zrcli {

namespace {

zr::Result WriteDocumentFile(const std::string& path, const zr::StoredDocument& doc) {
    return zr::WriteDocumentRecordFile(path, doc);
}

// new [-f] [FILE]: prints a new document, or writes it to FILE.
int RunNew(CliCall& call) {
    zr::Session& s = call.session();
    if (call.argCount() == 0) {
        if (call.force()) return call.usage("-f needs a FILE");
        std::fputs(zr::DescribeDocument(s).c_str(), stdout);
        return 0;
    }
    const std::string& file = call.arg(0);
    if (!call.mayReplace(file)) return 1;
    if (const int rc = call.written(WriteDocumentFile(file, s.doc.stored))) return rc;
    std::printf("%s: new document, model %s, band %s, %d channels\n", file.c_str(),
                zr::ModelDisplayName(s.doc.currentModel).c_str(), s.doc.currentBand.c_str(),
                s.doc.stored.Channels.count);
    return 0;
}

int RunShow(CliCall& call) {
    if (!call.openDocument(call.arg(0))) return 1;
    std::fputs(zr::DescribeDocument(call.session()).c_str(), stdout);
    return 0;
}

int RunEncode(CliCall& call) {
    const std::string &in = call.arg(0), &out = call.arg(1);
    if (!call.mayReplace(out) || !call.openDocument(in)) return 1;
    zr::Session& s = call.session();
    zr::EncodeImage(s.doc);
    if (const int rc = call.written(zr::WriteFileAtomically(out, s.doc.image))) return rc;
    std::printf("%s: %d channels, model \"%s\", band \"%s\" -> %s (%d bytes)\n", in.c_str(),
                static_cast<int>(s.doc.stored.Channels.count), s.doc.currentModel.c_str(),
                s.doc.currentBand.c_str(), out.c_str(), zr::kRadioImageSize);
    return 0;
}

int RunDecode(CliCall& call) {
    const std::string &in = call.arg(0), &out = call.arg(1);
    if (!call.mayReplace(out)) return 1;
    std::error_code ec;
    const auto size = std::filesystem::file_size(in, ec);
    if (ec) return call.fail("cannot read " + in + ": " + ec.message());
    if (size != static_cast<std::uintmax_t>(zr::kRadioImageSize))
        return call.fail(in + " holds " + std::to_string(size) + " bytes; a memory image has exactly " +
                         std::to_string(zr::kRadioImageSize));
    std::vector<uint8_t> bytes;
    if (!zr::ReadFileHead(in, zr::kRadioImageSize, bytes) || bytes.size() != std::size_t(zr::kRadioImageSize))
        return call.fail("cannot read " + in);

    // A new document takes what the radio image holds, as after a read.
    zr::Session& s = call.session();
    std::copy(bytes.begin(), bytes.end(), s.doc.image.begin());
    zr::RadioFlags capability{};
    zr::DecodeImage(s.doc, capability);
    zr::AlignIdCodeLengths(s);
    if (const int rc = call.written(WriteDocumentFile(out, s.doc.stored))) return rc;
    std::printf("%s -> %s: %d channels, model \"%s\", band \"%s\"\n", in.c_str(), out.c_str(),
                static_cast<int>(s.doc.stored.Channels.count), s.doc.currentModel.c_str(),
                s.doc.currentBand.empty() ? "(unknown band code)" : s.doc.currentBand.c_str());
    return 0;
}

int RunExportCsv(CliCall& call) {
    if (!call.mayReplace(call.arg(1)) || !call.openDocument(call.arg(0))) return 1;
    return call.written(zr::WriteFileAtomically(call.arg(1), zr::ExportChannelCsv(call.session())));
}

int RunImportCsv(CliCall& call) {
    const std::string out = call.argCount() == 3 ? call.arg(2) : call.arg(0);
    if (call.argCount() == 3 && !call.mayReplace(out)) return 1;
    if (!call.openDocument(call.arg(0))) return 1;
    zr::Session& s = call.session();
    const zr::CsvImportReport rep = zr::ImportChannelCsvFile(s, call.arg(1));
    std::fputs(zr::FormatImportReport(rep).c_str(), rep.readable ? stdout : stderr);
    if (!rep.readable) return 1;
    return call.written(WriteDocumentFile(out, s.doc.stored));
}

int RunPrint(CliCall& call) {
    if (!call.mayReplace(call.arg(1)) || !call.openDocument(call.arg(0))) return 1;
    QString error;
    if (!zr::SaveChannelSheetPdf(call.session(), QFile::decodeName(call.arg(1).c_str()), error))
        return call.fail(error.toLocal8Bit().toStdString());
    return 0;
}

// diff A B: every difference, one line each; exit 0 equal, 1 different,
// 2 when a side cannot be read or is not a document of this program.
int RunDiff(CliCall& call) {
    zr::link::CompareSide sides[2];
    for (std::size_t i = 0; i < 2; ++i) {
        if (const zr::Result loaded = zr::link::LoadCompareSide(call.arg(i), sides[i]); !loaded) {
            call.fail(loaded.message());
            return zr::manual::kExitUsage;
        }
    }
    const auto differences = zr::link::CompareSides(sides[0], sides[1]);
    std::fputs(zr::link::DifferencesText(differences).c_str(), stdout);
    return differences.empty() ? zr::manual::kExitDone : zr::manual::kExitFailed;
}

const CliCommand newCommand{"new", RunNew};
const CliCommand showCommand{"show", RunShow};
const CliCommand encodeCommand{"encode", RunEncode};
const CliCommand decodeCommand{"decode", RunDecode};
const CliCommand exportCsv{"export-csv", RunExportCsv};
const CliCommand importCsv{"import-csv", RunImportCsv};
const CliCommand print{"print", RunPrint, true};
const CliCommand diff{"diff", RunDiff};

}  // namespace

}  // namespace zrcli
