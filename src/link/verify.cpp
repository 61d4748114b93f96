#include "link/verify.h"

#include <cstdio>

#include "shell/language.h"
#include "shell/prompter.h"
#include "shell/session.h"
#include "shell/settings_files.h"

namespace zr::link {

namespace {

std::string Range(const char* what, int first, int last) {
    return std::string(what) + " (channels " + std::to_string(first) + "-" + std::to_string(last) + ")";
}

// Texts the scratch engine would ask about; answered without showing them.
constexpr char kSilentMark = '\x01';
bool SilentText(int n) { return n == 9004 || n == 9006 || n == 9009; }

// Language text n, or the English wording when the language file has none.
}  // namespace

std::string DescribeImageAddress(int a) {
    if (a < 0 || a >= kRadioImageSize) return "outside the memory";
    if (a < 4096) return "channel " + std::to_string(a / 32 + 1);
    if (a < 4128) return "VFO";
    if (a < 4144) {
        const int b = a - 4128;
        return Range("channel list", b * 8 + 1, b * 8 + 8);
    }
    if (a < 4160) {
        const int b = a - 4144;
        return Range("scan skip list", b * 8 + 1, b * 8 + 8);
    }
    if (a < 4163) return "FM broadcast channel list";
    if (a >= 4176 && a < 4180) return "FM radio frequency";
    if (a >= 4192 && a < 4272) return "FM broadcast channel " + std::to_string((a - 4192) / 4 + 1);
    if (a >= 4272 && a < 4284) return "optional features";
    if (a >= 4288 && a < 4352) {
        static const char* kNames[] = {"DTMF BOT code", "DTMF EOT code", "DTMF stun code", "DTMF kill code"};
        return kNames[(a - 4288) / 16];
    }
    if (a >= 4352 && a < 4608) return "DTMF group code " + std::to_string((a - 4352) / 16 + 1);
    if (a >= 4608 && a < 4616) return "DTMF settings";
    if (a >= 4616 && a < 4623) return "alert and emergency settings";
    if (a >= 4640 && a < 4648) return "scan settings";
    if (a >= 4648 && a < 4668) return "programmable keys";
    if (a >= 4670 && a < 4686) return "optional features (direct channels, power-on text)";
    if (a >= 4864 && a < 4928) return "embedded message line " + std::to_string((a - 4864) / 16 + 1);
    if (a >= 5104 && a < 5117) return "identification";
    return "unused area";
}

std::vector<VerifyDifference> CompareWrittenImage(const RadioImage& written, const RadioImage& readBack) {
    std::vector<VerifyDifference> out;
    for (int a = 0; a < kRadioImageSize; ++a) {
        if (!RadioKeepsAddress(a)) continue;
        const auto i = static_cast<std::size_t>(a);
        if (written[i] != readBack[i]) out.push_back({a, written[i], readBack[i]});
    }
    return out;
}

std::string FormatVerifyReport(const std::vector<VerifyDifference>& d) {
    std::string out;
    std::size_t i = 0;
    while (i < d.size()) {
        const std::string what = DescribeImageAddress(d[i].address);
        std::size_t j = i;
        while (j + 1 < d.size() && DescribeImageAddress(d[j + 1].address) == what) ++j;
        const std::size_t n = j - i + 1;
        out += what + ": " + std::to_string(n) + (n == 1 ? " byte differs" : " bytes differ");
        char buf[96];
        if (n == 1)
            std::snprintf(buf, sizeof buf, " (address %d: written %02X, read %02X)", d[i].address, d[i].written,
                          d[i].read);
        else
            std::snprintf(buf, sizeof buf, " (addresses %d-%d)", d[i].address, d[j].address);
        out += buf;
        out += "\n";
        i = j + 1;
    }
    return out;
}

bool LoadVerifyWrite(const Session& s) { return ReadSetupKey(s, "VerifyWrite", "0") == "1"; }

bool SaveVerifyWrite(const Session& s, bool on) { return WriteSetupKey(s, "VerifyWrite", on ? "1" : "0"); }

std::string VerifyOutcomeText(const VerifyOutcome& o) {
    if (!o.readSucceeded) return "The written data could not be read back from the radio for checking.";
    if (o.differences.empty()) return "The radio holds exactly the data that was written.";
    return "The radio does not hold what was written:\n" + FormatVerifyReport(o.differences);
}

// ---------------------------------------------------------------- the read-back

class WriteVerifier::QuietPrompter : public Prompter {
public:
    explicit QuietPrompter(Session& real) : real_(real) {}
    Answer ask(const Question& q) override {
        if (!q.text.empty() && q.text[0] == kSilentMark) return Answer::Ok;
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

WriteVerifier::WriteVerifier(Session& session, LinkPort& port, LinkTimers& timers)
    : session_(session), port_(port), timers_(timers), scratch_(std::make_unique<Session>()),
      prompter_(std::make_unique<QuietPrompter>(session)),
      engine_(std::make_unique<TransferEngine>(*scratch_, port, timers)) {}

WriteVerifier::~WriteVerifier() = default;

bool WriteVerifier::start(const RadioImage& written, std::function<void(const VerifyOutcome&)> done) {
    if (running_) return false;
    // A fresh scratch copy of the session: the same port, password and
    // settings, a document nobody looks at.
    *scratch_ = session_;
    scratch_->prompter = prompter_.get();
    // The engine of the last read-back may still be on the call stack (a
    // `done` that starts the next one): it is kept until the next start.
    retired_ = std::move(engine_);
    engine_ = std::make_unique<TransferEngine>(*scratch_, port_, timers_);
    engine_->setObserver(this);
    Session& real = session_;
    engine_->services().text = [&real](int n) {
        if (SilentText(n)) return std::string(1, kSilentMark) + std::to_string(n);
        return LanguageText(real, n);
    };
    engine_->services().decodeImage = [](RadioDocument&) {};
    engine_->services().isModified = [] { return false; };
    engine_->services().save = [] { return true; };
    engine_->services().takeRadioFlags = nullptr;
    written_ = written;
    done_ = std::move(done);
    running_ = true;
    if (!engine_->startRead()) {
        running_ = false;
        done_ = nullptr;
        return false;
    }
    return true;
}

void WriteVerifier::progressShown(TransferKind k, const std::string&) {
    if (progress_) progress_->progressShown(k, LanguageTextOr(session_, 31010, "Checking the written data"));
}
void WriteVerifier::progress(int percent) {
    if (progress_) progress_->progress(percent);
}
void WriteVerifier::progressReset() {
    if (progress_) progress_->progressReset();
}
void WriteVerifier::progressClosed() {
    if (progress_) progress_->progressClosed();
}

void WriteVerifier::transferEnded(TransferKind k, bool success) {
    if (!running_ || k != TransferKind::Read) return;
    running_ = false;
    session_.settings.CableEcho = scratch_->settings.CableEcho;   // what the cable turned out to do
    VerifyOutcome o;
    o.readSucceeded = success;
    if (success) o.differences = CompareWrittenImage(written_, scratch_->doc.image);
    auto done = std::move(done_);
    done_ = nullptr;
    if (done) done(o);
}

}  // namespace zr::link
