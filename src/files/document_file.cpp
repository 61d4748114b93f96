#include "files/document_file.h"

#include <filesystem>
#include <vector>

#include "data/bands.h"
#include "factory/test_data.h"
#include "files/document_record.h"
#include "files/file_io.h"
#include "shell/language.h"
#include "shell/session.h"
#include "shell/version.h"

namespace zr {

namespace {

constexpr int kTextFileError = 9002;
constexpr int kTextBadVersion = 9065;

// Text 9002, with the file it is about (or the reason, which names it).
std::string fileErrorText(const Session& s, const std::string& what) {
    return LanguageText(s, kTextFileError) + "\r\n\r\n" + what;
}

OpenOutcome failed(const Session& s, const std::string& path) {
    return OpenOutcome{OpenResult::Failed, fileErrorText(s, path), {}};
}

// The four version bytes at the start of the file must be a version text
// that this program version handles.
OpenOutcome checkVersion(const Session& s, const std::string& path) {
    std::vector<uint8_t> head;
    if (!ReadFileHead(path, 4, head)) return failed(s, path);
    const std::string v(head.begin(), head.end());
    if (head.size() < 4 || !IsVersionText(v))
        return OpenOutcome{OpenResult::Refused, LanguageText(s, kTextBadVersion), {}};
    if (!VersionPairListed(s, kProgramVersion, v)) return OpenOutcome{OpenResult::OtherVersion, {}, v};
    return {};
}

// Version check, then the record into the saved copy. The saved copy is
// only replaced by a complete, sane record.
OpenOutcome readChecked(Session& s, const std::string& path) {
    if (OpenOutcome checked = checkVersion(s, path); checked.result != OpenResult::Opened) return checked;
    auto record = ReadDocumentRecordFile(path);
    if (!record) return failed(s, path);
    record->FormatVersion.set(kProgramVersion);
    s.doc.saved = *record;
    return {};
}

}  // namespace

std::string InitTemplatePath(const Session& s, const std::string& model, int bandCode) {
    return (std::filesystem::path(s.paths.programFolder) / "Init" /
            (model + "_" + std::to_string(bandCode) + ".dat"))
        .string();
}

void PostLoad(Session& s) {
    if (s.settings.factoryTestMode) s.doc.testData = s.doc.savedTestData;
    s.doc.stored = s.doc.saved;
    ApplyModelBand(s.doc);
    AlignIdCodeLengths(s);
    s.doc.changes.replaced();
}

bool LoadTemplate(Session& s, const std::string& path) {
    auto record = ReadDocumentRecordFile(path);
    if (!record) {
        // The document keeps its defaults.
        RefreshModelBand(s.doc);
        s.doc.saved = s.doc.stored;
        return false;
    }
    s.doc.saved = *record;
    if (s.settings.factoryTestMode) LoadCompanionTestData(s, path);
    PostLoad(s);
    return true;
}

OpenOutcome OpenChecked(Session& s, const std::string& path) {
    if (OpenOutcome r = readChecked(s, path); r.result != OpenResult::Opened) return r;
    if (s.settings.factoryTestMode) LoadCompanionTestData(s, path);
    PostLoad(s);
    s.doc.fileName = path;
    s.doc.neverSaved = false;
    return {};
}

OpenOutcome OpenFallbackTemplate(Session& s, const std::string& path) {
    if (OpenOutcome r = readChecked(s, path); r.result != OpenResult::Opened) return r;
    s.doc.saved.Channels.count = 0;
    s.doc.saved.ModelBand = s.doc.stored.ModelBand;
    if (s.settings.factoryTestMode) LoadCompanionTestData(s, path);
    PostLoad(s);
    return {};
}

Result WriteDocument(Session& s) {
    RefreshModelBand(s.doc);
    StoredDocument record = s.doc.stored;
    // Every document this program writes carries its own format version,
    // whatever a template brought along.
    record.FormatVersion.set(kProgramVersion);
    // "doc.dat: Permission denied (the file is read-only)"
    if (const Result r = WriteDocumentRecordFile(s.doc.fileName, record); !r)
        return Result::Failed(fileErrorText(s, r.message()));
    // The saved copy follows only a write that reached the disk, so a failed
    // save still counts as unsaved changes.
    s.doc.stored.FormatVersion = record.FormatVersion;
    s.doc.saved = record;
    if (s.settings.factoryTestMode) {
        s.doc.savedTestData = s.doc.testData;
        SaveCompanionTestData(s, s.doc.fileName);
    }
    s.doc.neverSaved = false;
    return Result::Done();
}

}  // namespace zr
