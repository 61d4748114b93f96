#pragma once
// A transfer engine on a copy of the session: it reads the radio, reads its
// dealer information or writes the open document, and leaves the open
// document, its file name and its change state alone. The copy is taken
// afresh when each transfer starts; what a transfer learns about the link
// (whether the cable echoes, a password typed in) is handed back to the
// real session when it ends.
//
// The routine questions of a transfer (confirm the read or write, read or
// write finished, unsaved changes) are answered without being shown; the
// rest (no answer, password, messages) go to the real session's prompter,
// and with giveUpWithoutAnswer() a radio that does not answer ends the
// transfer as failed without a question.
//
// The caller routes the port's bytes and the timer expiries to engine(),
// which stays the same object for the life of the ScratchEngine:
//
//     ScratchEngine scratch(session, port, timers);
//     scratch.read([&](bool ok) { ... scratch.copy().doc.image ... });

#include <functional>
#include <memory>
#include <string>

#include "link/transfer.h"

namespace zr {
struct Session;
}

namespace zr::link {

class ScratchEngine : private TransferObserver {
public:
    using Done = std::function<void(bool success)>;

    ScratchEngine(Session& real, LinkPort& port, LinkTimers& timers);
    ~ScratchEngine() override;

    TransferEngine& engine() { return *engine_; }
    // The copy the last transfer worked on: after read() its document holds
    // the radio's memory (doc.image) and its decoding, after
    // readDealerInfo() its doc.radioInfo the dealer information.
    const Session& copy() const { return *copy_; }

    // Where the progress of reads and writes is shown (may be null), with
    // `caption` instead of the engine's own when not empty.
    void setProgress(TransferObserver* o, std::string caption = {});
    void setGiveUpWithoutAnswer(bool on) { giveUp_ = on; }

    // Each starts a transfer and returns true, then calls `done` once when
    // it ended (a read after its decoding); false when it did not start
    // (another one runs, the port cannot be opened: that message is shown).
    bool read(Done done);
    bool readDealerInfo(Done done);
    bool write(Done done);           // the real session's document as it is now
    bool busy() const { return static_cast<bool>(done_) || engine_->busy(); }

private:
    class Quiet;
    void takeCopy();
    void finish(bool success);
    void progressShown(TransferKind k, const std::string& caption) override;
    void progress(int percent) override;
    void progressReset() override;
    void progressClosed() override;
    void readDecoded() override;
    void transferEnded(TransferKind k, bool success) override;

    Session& real_;
    std::unique_ptr<Session> copy_;
    std::unique_ptr<Quiet> quiet_;
    std::unique_ptr<TransferEngine> engine_;
    TransferObserver* progress_ = nullptr;
    std::string caption_;
    bool giveUp_ = false;
    TransferKind running_ = TransferKind::None;
    Done done_;
};

}  // namespace zr::link
