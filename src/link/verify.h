#pragma once
// Write verification: after a successful write the radio is read again and
// every byte the write sent and the radio keeps is compared with what was
// sent. Differences are reported by what they belong to ("channel 12",
// "optional features", ...).
//
// The read-back runs a ScratchEngine (link/scratch_engine.h), so the open
// document, its file name and its change state are never touched, and no
// question is asked beyond the ones a failing radio needs (no answer,
// password). The caller routes the port's bytes and the timer expiries to
// engine() while it runs:
//
//     WriteVerifier v(session, port, timers);
//     v.start(session.doc.image, [](const VerifyOutcome& o) { ... });
//     // port bytes -> v.engine().onBytes(), timers -> v.engine().onTimer()

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/document.h"
#include "link/transfer.h"

namespace zr {
struct Session;
}

namespace zr::link {

// What an address 0..5119 of the radio's memory holds, in words for the
// user: "channel 12", "VFO", "scan skip list (channels 9-16)", "FM broadcast
// channel 3", "optional features", "DTMF group code 4", "embedded message
// line 2", "identification", "unused area".
std::string DescribeImageAddress(int address);

// The bytes a write sends that the radio keeps as sent: the whole memory,
// the identification block 5104..5119 included (the write sends the radio's
// own model, version and flags there, confirmed by two equal
// identifications, and a damaged byte must show).
inline constexpr int kVerifiedBytes = 5120;
inline bool RadioKeepsAddress(int address) { return address >= 0 && address < kVerifiedBytes; }

struct VerifyDifference {
    int address = 0;
    uint8_t written = 0;
    uint8_t read = 0;
};

// Every kept byte that differs, in address order.
std::vector<VerifyDifference> CompareWrittenImage(const RadioImage& written, const RadioImage& readBack);

// The differences grouped by what they belong to, one line per group:
// "channel 12: 3 bytes differ (addresses 352-354)". Empty for none.
std::string FormatVerifyReport(const std::vector<VerifyDifference>& differences);

struct VerifyOutcome {
    bool readSucceeded = false;     // false: the read-back itself failed
    std::vector<VerifyDifference> differences;
    bool ok() const { return readSucceeded && differences.empty(); }
};

class ScratchEngine;

class WriteVerifier {
public:
    WriteVerifier(Session& session, LinkPort& port, LinkTimers& timers);
    ~WriteVerifier();

    // Starts the read-back of the image `written`. false when it could not
    // start (the port could not be opened; the message has been shown).
    // `done` is called once, when the read-back ended.
    bool start(const RadioImage& written, std::function<void(const VerifyOutcome&)> done);
    bool running() const;

    // The engine the port and the timers must drive while running; the same
    // for every start.
    TransferEngine& engine();
    // Where the progress of the read-back is shown; may be null.
    void setProgress(TransferObserver* o);

private:
    Session& session_;
    std::unique_ptr<ScratchEngine> scratch_;
    RadioImage written_{};
};

// The VerifyWrite setting: key "VerifyWrite" of section "language" of
// mysetup.ini in the installation root, "1" on; off when missing.
bool LoadVerifyWrite(const Session& s);
Result SaveVerifyWrite(const Session& s, bool on);

// The text that reports an outcome to the user.
std::string VerifyOutcomeText(const VerifyOutcome& o);

}  // namespace zr::link
