#pragma once
// A trace of the link for bug reports: every frame sent and every reply
// received, with a millisecond time stamp, the transfer step and what the
// reply was taken for, plus the events between them (port opened, reply
// timer expired with what had arrived so far, port failures). The bytes of
// the programming password (radio addresses 5164..5167) and the checksum of
// their block are masked as "**".
//
// The transfer engine writes into a trace given to it; the trace keeps its
// lines in memory and save() writes them with the one atomic file write.

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/protocol.h"
#include "shell/result.h"

namespace zr {
struct Session;
}

namespace zr::link {

enum class TransferKind;
enum class TransferStep;

const char* TransferKindName(TransferKind k);
const char* TransferStepName(TransferStep s);

class LinkTrace {
public:
    LinkTrace();

    // Sent frame and received reply; echoLength bytes of the reply are the
    // cable's echo of the frame just sent.
    void sent(TransferStep step, std::span<const uint8_t> frame);
    void received(TransferStep step, std::span<const uint8_t> reply, std::size_t echoLength, ReplyKind kind);
    // Bytes that arrived while no reply was awaited, or before a timeout.
    void stray(TransferStep step, std::span<const uint8_t> bytes, std::size_t echoLength, const std::string& why);
    // Any other event ("port /dev/ttyUSB0 opened", "reply timer expired").
    void note(TransferStep step, const std::string& text);

    const std::vector<std::string>& lines() const { return lines_; }
    std::string text() const;
    bool empty() const { return lines_.empty(); }
    // Forgets the lines; time stamps count from now.
    void clear();
    // Writes the lines to `path` (replaced atomically).
    Result save(const std::string& path) const;

    // Hexadecimal bytes "50 52 4F", with the password bytes and the checksum
    // of a block of address 5152 (in a reply after `echoLength` bytes) shown
    // as "**".
    static std::string Hex(std::span<const uint8_t> bytes, std::size_t echoLength = 0, bool reply = false);

private:
    void add(TransferStep step, const std::string& dir, const std::string& rest);
    std::chrono::steady_clock::time_point start_;
    std::vector<std::string> lines_;
};

// The setting of the windows: key "Trace" of mysetup.ini (section
// "language"), "1" on; off when missing.
bool LoadTraceSetting(const Session& s);
Result SaveTraceSetting(const Session& s, bool on);

}  // namespace zr::link
