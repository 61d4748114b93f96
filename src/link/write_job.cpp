#include "link/write_job.h"

#include "files/backups.h"
#include "link/scratch_engine.h"
#include "shell/prompter.h"
#include "shell/session.h"
#include "shell/settings_files.h"

namespace zr::link {

namespace {

constexpr std::size_t kQuestionLines = 40;   // longer lists are cut in the question

// The check's report on one line ("channel 12: 16 bytes differ ...; VFO: ...").
std::string OneLine(const VerifyOutcome& o) {
    std::string t;
    for (const char c : FormatVerifyReport(o.differences)) t += c == '\n' ? std::string("; ") : std::string(1, c);
    if (t.size() >= 2) t.resize(t.size() - 2);
    return t;
}

}  // namespace

WriteJob::WriteJob(Session& session, LinkPort& port, LinkTimers& timers)
    : session_(session), scratch_(std::make_unique<ScratchEngine>(session, port, timers)) {}

WriteJob::~WriteJob() = default;

TransferEngine& WriteJob::engine() { return scratch_->engine(); }
void WriteJob::setProgress(TransferObserver* o, std::string backupCaption, std::string checkCaption) {
    progress_ = o;
    backupCaption_ = std::move(backupCaption);
    checkCaption_ = std::move(checkCaption);
    scratch_->setProgress(o);
}

bool LoadBackupBeforeWrite(const Session& s) { return ReadSetupKey(s, "BackupBeforeWrite", "0") == "1"; }
Result SaveBackupBeforeWrite(const Session& s, bool on) { return WriteSetupKey(s, "BackupBeforeWrite", on ? "1" : "0"); }
void WriteJob::setGiveUpWithoutAnswer(bool on) { scratch_->setGiveUpWithoutAnswer(on); }

std::string WriteJob::ChangesQuestion(const std::vector<Difference>& changes, const std::string& backupPath) {
    std::string t = "The radio was read and kept as a backup:\n" + backupPath + "\n\n";
    if (changes.empty()) {
        t += "The radio already holds everything this write sends.\n";
    } else {
        t += "This write changes in the radio:\n";
        for (std::size_t i = 0; i < changes.size() && i < kQuestionLines; ++i) t += changes[i].text + "\n";
        if (changes.size() > kQuestionLines)
            t += "... and " + std::to_string(changes.size() - kQuestionLines) + " more\n";
    }
    return t + "\nWrite the document into the radio now?";
}

bool WriteJob::start(const WriteJobOptions& options, std::function<void(const WriteJobResult&)> done) {
    if (running() || scratch_->busy()) return false;
    options_ = options;
    result_ = WriteJobResult{};
    done_ = std::move(done);
    starting_ = true;
    notStarted_ = false;
    if (options_.dealerInfo) {
        run(scratch_->readDealerInfo([this](bool ok) {
            if (!ok) return end(WriteStage::DealerInfo, false, "the dealer information could not be read");
            result_.serialNo = scratch_->copy().doc.radioInfo.SerialNo.text();
            afterDealerInfo();
        }),
            WriteStage::DealerInfo);
    } else {
        afterDealerInfo();
    }
    starting_ = false;
    return !notStarted_;
}

void WriteJob::run(bool started, WriteStage stage) {
    if (started) return;
    if (starting_) {   // the first transfer: start() says so
        notStarted_ = true;
        done_ = nullptr;
        return;
    }
    end(stage, false, "the transfer could not start");
}

void WriteJob::afterDealerInfo() {
    if (!options_.backup) return writeNow();
    scratch_->setProgress(progress_, backupCaption_);
    run(scratch_->read([this](bool ok) {
        if (!ok) return end(WriteStage::Backup, false, "the radio could not be read for the backup");
        afterBackup();
    }),
        WriteStage::Backup);
}

void WriteJob::afterBackup() {
    std::string path;
    if (const Result saved = SaveReadBackup(scratch_->copy(), options_.backupFolder, path); !saved)
        return end(WriteStage::Backup, false, "the backup could not be saved: " + saved.message());
    result_.backupPath = path;
    result_.changes = CompareImages(scratch_->copy().doc.image, DocumentImage(session_.doc.stored));
    if (options_.askChanges) {
        const Question q{ChangesQuestion(result_.changes, path), {}, Buttons::YesNo, Icon::Question};
        const Answer a = session_.prompter ? session_.prompter->ask(q) : Answer::No;
        if (a != Answer::Yes) return end(WriteStage::Question, false, "the write was cancelled");
    }
    writeNow();
}

void WriteJob::writeNow() {
    scratch_->setProgress(progress_);
    run(scratch_->write([this](bool ok) { afterWrite(ok); }), WriteStage::Write);
}

void WriteJob::afterWrite(bool ok) {
    if (!ok) return end(WriteStage::Write, false, "the write failed");
    if (!options_.verify) return end(WriteStage::Done, true, "written");
    written_ = scratch_->copy().doc.image;   // as sent, the radio's identification included
    scratch_->setProgress(progress_, checkCaption_);
    run(scratch_->read([this](bool ok) {
        result_.check.readSucceeded = ok;
        if (ok) result_.check.differences = CompareWrittenImage(written_, scratch_->copy().doc.image);
        if (!ok) return end(WriteStage::Check, false, "written, but the radio could not be read back for the check");
        if (!result_.check.ok())
            return end(WriteStage::Check, false, "written, but the check found differences: " + OneLine(result_.check));
        end(WriteStage::Done, true, "written and checked");
    }),
        WriteStage::Check);
}

void WriteJob::end(WriteStage stage, bool success, std::string message) {
    result_.stage = stage;
    result_.success = success;
    result_.message = std::move(message);
    auto done = std::move(done_);
    done_ = nullptr;
    if (done) done(result_);
}

}  // namespace zr::link
