#include "files/document_file.h"

#include <filesystem>
#include <vector>

#include "data/bands.h"
#include "factory/test_data.h"
#include "files/document_record.h"
#include "files/file_io.h"
#include "shell/language.h"
#include "shell/prompter.h"
#include "shell/session.h"
#include "shell/version.h"

namespace zr {

namespace {

constexpr int kTextFileError = 9002;
constexpr int kTextBadVersion = 9065;

void tell(Session& s, const std::string& text, Icon icon) {
    if (s.prompter) s.prompter->tell(text, icon);
}

// Text 9002, with the file it is about (or the reason, which names it).
void tellFileError(Session& s, const std::string& path) {
    tell(s, LanguageText(s, kTextFileError) + "\r\n\r\n" + path, Icon::Critical);
}

enum class VersionCheck { Accepted, Unreadable, Refused, EndProgram };

// The four version bytes at the start of the file must be a version text
// that this program version handles.
VersionCheck checkVersion(Session& s, const std::string& path) {
    std::vector<uint8_t> head;
    if (!ReadFileHead(path, 4, head)) return VersionCheck::Unreadable;
    const std::string v(head.begin(), head.end());
    if (head.size() < 4 || !IsVersionText(v)) {
        tell(s, LanguageText(s, kTextBadVersion), Icon::Critical);
        return VersionCheck::Refused;
    }
    if (VersionPairListed(s, kProgramVersion, v)) return VersionCheck::Accepted;
    if (!s.prompter) return VersionCheck::Refused;
    const Answer a = s.prompter->ask(
        Question{VersionQuestion(s, kProgramVersion, v, 1), {}, Buttons::YesNo, Icon::Question});
    if (a != Answer::Yes) return VersionCheck::Refused;
    StartProgramVersion(s, v);
    return VersionCheck::EndProgram;
}

// Version check, then the record into the saved copy. The saved copy is
// only replaced by a complete, sane record.
OpenResult readChecked(Session& s, const std::string& path) {
    switch (checkVersion(s, path)) {
    case VersionCheck::Accepted: break;
    case VersionCheck::Unreadable: tellFileError(s, path); return OpenResult::Failed;
    case VersionCheck::Refused: return OpenResult::Refused;
    case VersionCheck::EndProgram: return OpenResult::EndProgram;
    }
    auto record = ReadDocumentRecordFile(path);
    if (!record) {
        tellFileError(s, path);
        return OpenResult::Failed;
    }
    record->FormatVersion.set(kProgramVersion);
    s.doc.saved = *record;
    return OpenResult::Opened;
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

OpenResult OpenChecked(Session& s, const std::string& path) {
    const OpenResult r = readChecked(s, path);
    if (r != OpenResult::Opened) return r;
    if (s.settings.factoryTestMode) LoadCompanionTestData(s, path);
    PostLoad(s);
    s.doc.fileName = path;
    s.doc.neverSaved = false;
    return OpenResult::Opened;
}

OpenResult OpenFallbackTemplate(Session& s, const std::string& path) {
    const OpenResult r = readChecked(s, path);
    if (r != OpenResult::Opened) return r;
    s.doc.saved.Channels.count = 0;
    s.doc.saved.ModelBand = s.doc.stored.ModelBand;
    if (s.settings.factoryTestMode) LoadCompanionTestData(s, path);
    PostLoad(s);
    return OpenResult::Opened;
}

bool WriteDocument(Session& s) {
    RefreshModelBand(s.doc);
    StoredDocument record = s.doc.stored;
    // Every document this program writes carries its own format version,
    // whatever a template brought along.
    record.FormatVersion.set(kProgramVersion);
    // "doc.dat: Permission denied (the file is read-only)"
    if (const Result r = WriteDocumentRecordFile(s.doc.fileName, record); !r) {
        tellFileError(s, r.message());
        return false;
    }
    // The saved copy follows only a write that reached the disk, so a failed
    // save still counts as unsaved changes.
    s.doc.stored.FormatVersion = record.FormatVersion;
    s.doc.saved = record;
    if (s.settings.factoryTestMode) {
        s.doc.savedTestData = s.doc.testData;
        SaveCompanionTestData(s, s.doc.fileName);
    }
    s.doc.neverSaved = false;
    return true;
}

}  // namespace zr
