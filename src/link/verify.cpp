#include "link/verify.h"

#include <cstdio>

#include "link/scratch_engine.h"
#include "shell/language.h"
#include "shell/session.h"
#include "shell/settings_files.h"

namespace zr::link {

namespace {

std::string Range(const char* what, int first, int last) {
    return std::string(what) + " (channels " + std::to_string(first) + "-" + std::to_string(last) + ")";
}

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

Result SaveVerifyWrite(const Session& s, bool on) { return WriteSetupKey(s, "VerifyWrite", on ? "1" : "0"); }

std::string VerifyOutcomeText(const VerifyOutcome& o) {
    if (!o.readSucceeded) return "The written data could not be read back from the radio for checking.";
    if (o.differences.empty()) return "The radio holds exactly the data that was written.";
    return "The radio does not hold what was written:\n" + FormatVerifyReport(o.differences);
}

// ---------------------------------------------------------------- the read-back

WriteVerifier::WriteVerifier(Session& session, LinkPort& port, LinkTimers& timers)
    : session_(session), scratch_(std::make_unique<ScratchEngine>(session, port, timers)) {}

WriteVerifier::~WriteVerifier() = default;

bool WriteVerifier::running() const { return scratch_->busy(); }
TransferEngine& WriteVerifier::engine() { return scratch_->engine(); }

void WriteVerifier::setProgress(TransferObserver* o) {
    scratch_->setProgress(o, LanguageTextOr(session_, 31010, "Checking the written data"));
}

bool WriteVerifier::start(const RadioImage& written, std::function<void(const VerifyOutcome&)> done) {
    if (running()) return false;
    written_ = written;
    return scratch_->read([this, done = std::move(done)](bool success) {
        VerifyOutcome o;
        o.readSucceeded = success;
        if (success) o.differences = CompareWrittenImage(written_, scratch_->copy().doc.image);
        if (done) done(o);
    });
}

}  // namespace zr::link
