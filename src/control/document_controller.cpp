#include "control/document_controller.h"

#include "channels/channel_ops.h"
#include "control/settings_notice.h"
#include "data/bands.h"
#include "files/backups.h"
#include "files/change_tracking.h"
#include "files/document_file.h"
#include "files/new_document.h"
#include "shell/language.h"
#include "shell/prompter.h"
#include "shell/settings_files.h"
#include "shell/version.h"

namespace zr {

namespace {

constexpr int kTextFilterLabel = 9001;
constexpr int kTextSaveChanges = 9006;
constexpr int kTextOverwrite = 9007;
constexpr int kTextStartNew = 9026;
constexpr int kTextBackupFailed = 31015;
constexpr int kTextNotAFrequency = 9083;
constexpr int kNewDocumentDelayMs = 100;

// The file name without its folder; either separator counts.
std::string baseName(const std::string& path) {
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// A name typed without an extension gets ".dat", so that its companion
// test data file does not replace the last letters of the name.
std::string withDocumentExtension(const std::string& path) {
    const std::string name = baseName(path);
    if (name.empty() || name.find('.') != std::string::npos) return path;
    return path + ".dat";
}

}  // namespace

std::string DocumentFileFilter(const Session& s) {
    return LanguageText(s, kTextFilterLabel) + " (*.dat)|*.dat";
}

bool TellOpenOutcome(Session& s, const OpenOutcome& outcome) {
    if (!s.prompter) return false;
    switch (outcome.result) {
    case OpenResult::Opened: return false;
    case OpenResult::Refused:
    case OpenResult::Failed: s.prompter->tell(outcome.message, Icon::Critical); return false;
    case OpenResult::OtherVersion: break;
    }
    const Question q{VersionQuestion(s, kProgramVersion, outcome.version, 1), {}, Buttons::YesNo, Icon::Question};
    if (s.prompter->ask(q) != Answer::Yes) return false;
    // The program ends whether or not the other version could be started.
    if (const ProgramStart started = StartProgramVersion(s, outcome.version); !started.result)
        s.prompter->tell(started.result.message(), started.icon);
    return true;
}

// --- the engine's one observer ------------------------------------------------

class DocumentController::EngineObserver : public link::TransferObserver {
public:
    explicit EngineObserver(DocumentController& c) : c_(c) {}

    void transferStarting(link::TransferKind k) override {
        if (k != link::TransferKind::DealerRead) c_.commitEdits();
        c_.listeners_.publish([k](DocumentListener& l) { l.transferStarted(k); });
    }
    void progressShown(link::TransferKind k, const std::string& caption) override {
        c_.listeners_.publish([&](DocumentListener& l) { l.transferProgressShown(k, caption); });
    }
    void progress(int percent) override {
        c_.listeners_.publish([&](DocumentListener& l) { l.transferProgress(percent); });
    }
    void progressReset() override { progress(0); }
    void progressClosed() override {
        c_.listeners_.publish([](DocumentListener& l) { l.transferProgressClosed(); });
    }
    void readReceived() override {
        c_.listeners_.publish([](DocumentListener& l) { l.documentClosing(); });
    }
    void readDecoded() override { c_.afterRead(); }
    void transferEnded(link::TransferKind k, bool success) override {
        if (k == link::TransferKind::DealerRead && success) c_.s_.doc.changes.settings(SettingsRecord::RadioInfo);
        c_.publishChanges();
        c_.listeners_.publish([&](DocumentListener& l) { l.transferEnded(k, success); });
        if (k == link::TransferKind::Write) c_.afterWrite(success);
    }
    void endProgram() override { c_.endProgram(); }

private:
    DocumentController& c_;
};

// The progress of the check of a write, shown as a transfer of its own.
class DocumentController::CheckProgress : public link::TransferObserver {
public:
    explicit CheckProgress(EngineObserver& o) : o_(o) {}
    void progressShown(link::TransferKind k, const std::string& caption) override { o_.progressShown(k, caption); }
    void progress(int percent) override { o_.progress(percent); }
    void progressReset() override { o_.progressReset(); }
    void progressClosed() override { o_.progressClosed(); }

private:
    EngineObserver& o_;
};

// --- construction, events -------------------------------------------------------

DocumentController::DocumentController(Session& session)
    : s_(session), observer_(std::make_unique<EngineObserver>(*this)),
      checkProgress_(std::make_unique<CheckProgress>(*observer_)) {
    title_ = TitleState{s_.doc.fileName, s_.doc.neverSaved, IsModified(s_)};
}

DocumentController::~DocumentController() { attachLink(nullptr); }

void DocumentController::publishChanges() {
    const DocumentChanges c = s_.doc.changes.take();
    if (c.isReplaced()) {
        listeners_.publish([](DocumentListener& l) { l.documentReplaced(); });
    } else {
        if (c.hasAllChannels()) {
            listeners_.publish([](DocumentListener& l) { l.channelsChanged(); });
        } else {
            for (int n = 1; n <= kVfoChannel; ++n)
                if (c.hasChannel(n)) listeners_.publish([n](DocumentListener& l) { l.channelChanged(n); });
        }
        for (std::size_t r = 0; r < kSettingsRecords; ++r) {
            const auto record = static_cast<SettingsRecord>(r);
            if (c.hasSettings(record)) listeners_.publish([record](DocumentListener& l) { l.settingsChanged(record); });
        }
    }
    publishTitleIfChanged();
}

void DocumentController::publishTitleIfChanged() {
    const TitleState now{s_.doc.fileName, s_.doc.neverSaved, IsModified(s_)};
    if (now == title_) return;
    title_ = now;
    listeners_.publish([](DocumentListener& l) { l.titleChanged(); });
}

void DocumentController::commitEdits() {
    listeners_.publish([](DocumentListener& l) { l.commitEdits(); });
}

void DocumentController::habitsChanged() {
    listeners_.publish([](DocumentListener& l) { l.habitsChanged(); });
}

void DocumentController::keepHabitsChangedSince(const EditingHabits& before) {
    if (!(s_.settings.habits == before)) TellSettingNotStored(s_, SaveHabits(s_));
}

void DocumentController::documentShown() {
    s_.doc.changes.replaced();
    publishChanges();
}

void DocumentController::endProgram() {
    listeners_.publish([](DocumentListener& l) { l.programEnding(); });
}

Answer DocumentController::ask(int text, Buttons buttons, Icon icon) {
    if (!s_.prompter) return Answer::Cancel;
    return s_.prompter->ask(Question{LanguageText(s_, text), {}, buttons, icon});
}

// --- channels ---------------------------------------------------------------------

void DocumentController::tell(const ChannelNotes& notes) {
    if (!s_.prompter) return;
    // Text 9021: the frequency lay outside the band.
    for (bool told : {notes.movedIntoBand, notes.txHeldInBand})
        if (told) s_.prompter->tell(LanguageText(s_, 9021), Icon::Warning);
}

void DocumentController::setChannelItem(int channelNumber, int item, std::string_view value) {
    tell(SetChannelItem(s_, channelNumber, item, value));
    publishChanges();
}

void DocumentController::setChannelItem(int channelNumber, int item, int value) {
    tell(SetChannelItem(s_, channelNumber, item, value));
    publishChanges();
}

ChooserWrite DocumentController::writeChooser(int channelNumber, int item, std::string_view text) {
    const ChooserOutcome out = item == item::kRxFreq ? WriteChooserRx(s_, channelNumber, text)
                                                     : WriteChooserTx(s_, channelNumber, text);
    if (out.write == ChooserWrite::Refused && s_.prompter)
        s_.prompter->tell(LanguageText(s_, kTextNotAFrequency), Icon::Warning);
    tell(out.notes);
    publishChanges();
    return out.write;
}

int DocumentController::runChannelCommand(int command, int n, ChannelCommandHost& host) {
    if (n < 1 || n > kVfoChannel || !UpdateChannelCommands(s_, n).enabled(command)) return n;
    const EditingHabits habits = s_.settings.habits;
    int to = n;
    switch (command) {
    case kCmdCut: CutChannel(s_, host, n); break;
    case kCmdCopy: CopyChannel(s_, n); return n;   // the document stays as it is
    case kCmdPaste:
        if (n > kMemoryChannels) return n;
        PasteChannel(s_, host, n);
        break;
    case kCmdInsert: InsertChannel(s_, host, n); break;
    case kCmdDelete: DeleteChannel(s_, host, n); break;
    case kCmdMoveUp: to = MoveChannelUp(s_, n); break;
    case kCmdMoveDown: to = MoveChannelDown(s_, n); break;
    default: return n;
    }
    keepHabitsChangedSince(habits);
    RevalidateChannelRefs(s_);
    publishChanges();
    return to;
}

void DocumentController::applyBatch(const BatchFlags& items, BatchFields& fields) {
    tell(ApplyBatch(s_, items, fields));
    publishChanges();
}

void DocumentController::revalidateChannelRefs() {
    RevalidateChannelRefs(s_);
    publishChanges();
}

// --- files --------------------------------------------------------------------------

bool DocumentController::writeDocument() {
    if (const Result written = WriteDocument(s_); !written) {
        if (s_.prompter) s_.prompter->tell(written.message(), Icon::Critical);
        return false;   // the caller puts the old name back
    }
    // Written: the saved state changed, whatever the title showed before.
    title_ = TitleState{s_.doc.fileName, s_.doc.neverSaved, IsModified(s_)};
    listeners_.publish([](DocumentListener& l) { l.titleChanged(); });
    return true;
}

DocumentController::SaveAsResult DocumentController::saveAs() {
    if (!s_.prompter) return SaveAsResult::DialogCancelled;
    FileDialogRequest req;
    req.filter = DocumentFileFilter(s_);
    req.initialPath = s_.doc.fileName;
    req.save = true;
    const auto chosen = s_.prompter->chooseFile(req);
    if (!chosen || chosen->empty()) return SaveAsResult::DialogCancelled;

    const std::string oldName = s_.doc.fileName;
    s_.doc.fileName = withDocumentExtension(*chosen);
    if (writeDocument()) return SaveAsResult::Written;
    s_.doc.fileName = oldName;   // not written: the document keeps its old name
    return SaveAsResult::WriteFailed;
}

// Yes to "save changes?" in File New and File Open. A document that has a
// file is written to it; a never-saved one asks for a name first instead
// of landing as "new.dat" in whatever the current folder is. Cancelled only
// when the user cancelled that dialog; a failed write has told its error
// and the command goes on.
CommandResult DocumentController::saveBeforeReplacing() {
    if (s_.doc.neverSaved)
        return saveAs() == SaveAsResult::DialogCancelled ? CommandResult::Cancelled : CommandResult::Done;
    writeDocument();
    return CommandResult::Done;
}

CommandResult DocumentController::fileNew() {
    commitEdits();
    if (IsModified(s_) && ask(kTextSaveChanges, Buttons::YesNoCancel, Icon::Warning) == Answer::Yes &&
        saveBeforeReplacing() == CommandResult::Cancelled)
        return CommandResult::Cancelled;
    // No and Cancel of the first question both lead here.
    if (ask(kTextStartNew, Buttons::OkCancel, Icon::Warning) != Answer::Ok) return CommandResult::Cancelled;
    startNewDocument();
    return CommandResult::Done;
}

void DocumentController::startNewDocument() {
    listeners_.publish([](DocumentListener& l) { l.documentClosing(); });
    const int start = ++newDocumentStarts_;
    auto build = [this, start] {
        if (start == newDocumentStarts_) newDocumentNow();   // a later start replaced this one
    };
    if (defer_) defer_(kNewDocumentDelayMs, build);
    else build();
}

void DocumentController::newDocumentNow() {
    ++newDocumentStarts_;   // nothing pending builds another one
    if (TellOpenOutcome(s_, NewDocument(s_))) {
        endProgram();
        return;
    }
    publishChanges();
}

void DocumentController::changeModelBand(const std::string& model, const std::string& band) {
    listeners_.publish([](DocumentListener& l) { l.documentClosing(); });
    s_.doc.currentModel = model;
    s_.doc.currentBand = band;
    RefreshModelBand(s_.doc);
    s_.doc.radioInfo.BandCode = s_.doc.stored.ModelBand.BandCode;
    RefreshBandLimits(s_.doc);
    startNewDocument();
}

CommandResult DocumentController::fileOpen() {
    commitEdits();
    if (IsModified(s_)) {
        const Answer a = ask(kTextSaveChanges, Buttons::YesNoCancel, Icon::Warning);
        if (a == Answer::Cancel) return CommandResult::Cancelled;
        if (a == Answer::Yes && saveBeforeReplacing() == CommandResult::Cancelled) return CommandResult::Cancelled;
    }
    if (!s_.prompter) return CommandResult::Cancelled;
    FileDialogRequest req;
    req.filter = DocumentFileFilter(s_);
    req.initialPath = s_.doc.neverSaved ? std::string() : s_.doc.fileName;
    req.save = false;
    const auto chosen = s_.prompter->chooseFile(req);
    if (!chosen || chosen->empty()) return CommandResult::Cancelled;
    return openFile(*chosen);
}

CommandResult DocumentController::openFile(const std::string& path) { return openAndShow(path, false); }

CommandResult DocumentController::openAndShow(const std::string& path, bool asBackup) {
    listeners_.publish([](DocumentListener& l) { l.documentClosing(); });
    const OpenOutcome opened = OpenChecked(s_, path);
    if (opened.result == OpenResult::Opened) {
        if (asBackup) s_.doc.neverSaved = true;   // Save asks for a name; the backup stays as read
        publishChanges();
        return CommandResult::Done;
    }
    if (TellOpenOutcome(s_, opened)) {
        endProgram();
        return CommandResult::Cancelled;
    }
    // The document is as it was, under its old name: show it again.
    documentShown();
    return CommandResult::Cancelled;
}

CommandResult DocumentController::openBackup(const std::string& path) { return offerSaveThenOpen(path, true); }

CommandResult DocumentController::openChosen(const std::string& path) { return offerSaveThenOpen(path, false); }

CommandResult DocumentController::offerSaveThenOpen(const std::string& path, bool asBackup) {
    commitEdits();
    if (IsModified(s_)) {
        const Answer a = ask(kTextSaveChanges, Buttons::YesNoCancel, Icon::Warning);
        if (a == Answer::Cancel) return CommandResult::Cancelled;
        if (a == Answer::Yes && saveBeforeReplacing() == CommandResult::Cancelled) return CommandResult::Cancelled;
    }
    return openAndShow(path, asBackup);
}

CommandResult DocumentController::fileSave() {
    commitEdits();
    if (s_.doc.neverSaved) return fileSaveAs();
    if (!s_.prompter) return CommandResult::Cancelled;
    const std::string text = "\"" + baseName(s_.doc.fileName) + "\"" + LanguageText(s_, kTextOverwrite);
    if (s_.prompter->ask(Question{text, {}, Buttons::OkCancel, Icon::Question}) != Answer::Ok)
        return CommandResult::Cancelled;
    return writeDocument() ? CommandResult::Done : CommandResult::Cancelled;
}

CommandResult DocumentController::fileSaveAs() {
    commitEdits();
    return saveAs() == SaveAsResult::Written ? CommandResult::Done : CommandResult::Cancelled;
}

CommandResult DocumentController::confirmClose() {
    commitEdits();
    if (!IsModified(s_)) return CommandResult::Done;
    switch (ask(kTextSaveChanges, Buttons::YesNoCancel, Icon::Warning)) {
    case Answer::No: return CommandResult::Done;
    case Answer::Yes: return fileSave();
    default: return CommandResult::Cancelled;
    }
}

// --- CSV ------------------------------------------------------------------------------

CsvImportReport DocumentController::importCsv(const std::string& path) {
    commitEdits();
    CsvImportReport r = ImportChannelCsvFile(s_, path);
    publishChanges();
    return r;
}

Result DocumentController::exportCsv(const std::string& path) {
    commitEdits();
    return ExportChannelCsvFile(s_, path);
}

// --- transfers ------------------------------------------------------------------------

void DocumentController::attachLink(link::TransferEngine* engine) {
    if (engine_) {
        engine_->setObserver(nullptr);
        engine_->services().save = nullptr;
    }
    engine_ = engine;
    if (!engine_) return;
    engine_->setObserver(observer_.get());
    // Yes to "save changes?" before a read or a version switch saves as File
    // Save does (Save As for a never-saved document); the read goes on only
    // when the document was written.
    engine_->services().save = [this] { return fileSave() == CommandResult::Done; };
}

bool DocumentController::transferBusy() const { return checking_ || (engine_ && engine_->busy()); }

bool DocumentController::startRead() { return engine_ && !transferBusy() && engine_->startRead(); }

bool DocumentController::startWrite() { return engine_ && !transferBusy() && engine_->startWrite(); }

bool DocumentController::startDealerRead() { return engine_ && !transferBusy() && engine_->startDealerRead(); }

void DocumentController::afterRead() {
    publishChanges();
    listeners_.publish([](DocumentListener& l) { l.readDecoded(); });
    if (backupFolder_.empty()) return;
    std::string path;
    if (const Result saved = SaveReadBackup(s_, backupFolder_, path); !saved) {
        if (s_.prompter)
            s_.prompter->tell(LanguageTextOr(s_, kTextBackupFailed, "The backup of this read could not be saved:") +
                                  "\n" + saved.message(),
                              Icon::Warning);
        return;
    }
    lastBackup_ = path;
}

void DocumentController::afterWrite(bool success) {
    if (!success || !check_ || !link::LoadVerifyWrite(s_)) return;
    checking_ = true;
    const bool started = check_->start(s_.doc.image, *checkProgress_, [this](const link::VerifyOutcome& o) {
        checking_ = false;
        const std::string text = link::VerifyOutcomeText(o);
        const Icon icon = o.ok() ? Icon::Information : Icon::Warning;
        // Told once the check's own engine has left the call stack.
        auto tell = [this, text, icon] {
            if (s_.prompter) s_.prompter->tell(text, icon);
        };
        if (defer_) defer_(0, tell);
        else tell();
    });
    if (!started) checking_ = false;
}

}  // namespace zr
