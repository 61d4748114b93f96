#pragma once
// One radio's turn of a write, step by step on a ScratchEngine (so the open
// document stays as it is):
//   1. with `dealerInfo`: the dealer information is read (its serial number);
//   2. with `backup`: the radio's memory is read and kept as a backup file,
//      as every read is; with `askChanges` the differences the write will
//      make are then shown and the user is asked (Yes writes);
//   3. the open document is written;
//   4. with `verify`: the radio is read back and compared with what was sent.
// A step starts only when the one before it succeeded; the first failure
// ends the turn and says why. Nothing is written unless steps 1 and 2 (when
// asked for) succeeded.
//
//     WriteJob job(session, port, timers);     // route port and timers to job.engine()
//     job.start(options, [](const WriteJobResult& r) { ... });

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/differences.h"
#include "link/verify.h"

namespace zr::link {

class ScratchEngine;

struct WriteJobOptions {
    bool dealerInfo = false;
    bool backup = false;
    std::string backupFolder;
    bool askChanges = false;
    bool verify = false;
};

enum class WriteStage { DealerInfo, Backup, Question, Write, Check, Done };

struct WriteJobResult {
    bool success = false;
    WriteStage stage = WriteStage::DealerInfo;   // where the turn ended (Done on success)
    std::string serialNo;                        // from the dealer information
    std::string backupPath;
    std::vector<Difference> changes;             // with a backup: what the write changes
    VerifyOutcome check;                         // with verify
    std::string message;                         // what happened, in words
};

class WriteJob {
public:
    WriteJob(Session& session, LinkPort& port, LinkTimers& timers);
    ~WriteJob();

    TransferEngine& engine();
    // Where the progress of every step is shown (may be null); the reads of
    // the backup and of the check show their own captions when given.
    void setProgress(TransferObserver* o, std::string backupCaption = {}, std::string checkCaption = {});
    // A radio that does not answer ends the turn at once, without asking.
    void setGiveUpWithoutAnswer(bool on);

    // false when a turn is running or its first transfer could not start
    // (the port could not be opened: that message has been shown); `done`
    // is called once otherwise.
    bool start(const WriteJobOptions& options, std::function<void(const WriteJobResult&)> done);
    bool running() const { return static_cast<bool>(done_); }

    // The question asked before the write with `askChanges`.
    static std::string ChangesQuestion(const std::vector<Difference>& changes, const std::string& backupPath);

private:
    void afterDealerInfo();
    void afterBackup();
    void writeNow();
    void afterWrite(bool ok);
    void end(WriteStage stage, bool success, std::string message);
    // Runs one transfer; a failure to start ends the turn at `stage`.
    void run(bool started, WriteStage stage);

    Session& session_;
    std::unique_ptr<ScratchEngine> scratch_;
    TransferObserver* progress_ = nullptr;
    std::string backupCaption_, checkCaption_;
    WriteJobOptions options_;
    WriteJobResult result_;
    RadioImage written_{};
    std::function<void(const WriteJobResult&)> done_;
    bool starting_ = false;
    bool notStarted_ = false;
};

// The BackupBeforeWrite setting: key "BackupBeforeWrite" of section
// "language" of mysetup.ini in the installation root, "1" on; off when
// missing.
bool LoadBackupBeforeWrite(const Session& s);
Result SaveBackupBeforeWrite(const Session& s, bool on);

}  // namespace zr::link
