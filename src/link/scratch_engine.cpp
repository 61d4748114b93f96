#include "link/scratch_engine.h"

#include "shell/language.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace zr::link {

namespace {

// Texts the copy's engine asks about, marked so that Quiet answers them
// without showing them: OK for the routine ones, Cancel for "no answer"
// when the caller gives up at once.
constexpr char kAnswerOk = '\x01';
constexpr char kAnswerCancel = '\x02';
bool RoutineText(int n) { return n == 9004 || n == 9005 || n == 9009 || n == 9010; }
constexpr int kNoAnswerText = 9008;

}  // namespace

class ScratchEngine::Quiet : public Prompter {
public:
    explicit Quiet(Session& real) : real_(real) {}
    Answer ask(const Question& q) override {
        if (!q.text.empty() && q.text[0] == kAnswerOk) return Answer::Ok;
        if (!q.text.empty() && q.text[0] == kAnswerCancel) return Answer::Cancel;
        if (real_.prompter) return real_.prompter->ask(q);
        return q.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> askPassword() override {
        return real_.prompter ? real_.prompter->askPassword() : std::nullopt;
    }

private:
    Session& real_;
};

ScratchEngine::ScratchEngine(Session& real, LinkPort& port, LinkTimers& timers)
    : real_(real), copy_(std::make_unique<Session>()), quiet_(std::make_unique<Quiet>(real)),
      engine_(std::make_unique<TransferEngine>(*copy_, port, timers)) {
    engine_->setObserver(this);
    Session& r = real_;
    engine_->services().text = [this, &r](int n) {
        if (RoutineText(n)) return std::string(1, kAnswerOk) + std::to_string(n);
        if (n == kNoAnswerText && giveUp_) return std::string(1, kAnswerCancel) + std::to_string(n);
        return LanguageText(r, n);
    };
    engine_->services().isModified = [] { return false; };
    engine_->services().save = [] { return true; };
}

ScratchEngine::~ScratchEngine() = default;

void ScratchEngine::setProgress(TransferObserver* o, std::string caption) {
    progress_ = o;
    caption_ = std::move(caption);
}

void ScratchEngine::takeCopy() {
    *copy_ = real_;
    copy_->prompter = quiet_.get();
}

bool ScratchEngine::read(Done done) {
    if (busy()) return false;
    takeCopy();
    running_ = TransferKind::Read;
    done_ = std::move(done);
    if (engine_->startRead()) return true;
    running_ = TransferKind::None;
    done_ = nullptr;
    return false;
}

bool ScratchEngine::readDealerInfo(Done done) {
    if (busy()) return false;
    takeCopy();
    running_ = TransferKind::DealerRead;
    done_ = std::move(done);
    if (engine_->startDealerRead()) return true;
    running_ = TransferKind::None;
    done_ = nullptr;
    return false;
}

bool ScratchEngine::write(Done done) {
    if (busy()) return false;
    takeCopy();
    running_ = TransferKind::Write;
    done_ = std::move(done);
    if (engine_->startWrite()) return true;
    running_ = TransferKind::None;
    done_ = nullptr;
    return false;
}

void ScratchEngine::finish(bool success) {
    running_ = TransferKind::None;
    real_.settings.CableEcho = copy_->settings.CableEcho;
    real_.settings.ProgramPassword = copy_->settings.ProgramPassword;
    auto done = std::move(done_);
    done_ = nullptr;
    if (done) done(success);   // may start the next transfer
}

void ScratchEngine::progressShown(TransferKind k, const std::string& caption) {
    if (progress_) progress_->progressShown(k, caption_.empty() ? caption : caption_);
}
void ScratchEngine::progress(int percent) {
    if (progress_) progress_->progress(percent);
}
void ScratchEngine::progressReset() {
    if (progress_) progress_->progressReset();
}
void ScratchEngine::progressClosed() {
    if (progress_) progress_->progressClosed();
}

void ScratchEngine::readDecoded() {
    if (running_ == TransferKind::Read) finish(true);
}

void ScratchEngine::transferEnded(TransferKind k, bool success) {
    if (k != running_) return;
    // A successful read ends after its decoding (readDecoded).
    if (k == TransferKind::Read && success) return;
    finish(success);
}

}  // namespace zr::link
