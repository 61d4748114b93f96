#include "link/trace.h"

#include "link/transfer.h"
#include "shell/atomic_file.h"
#include "shell/settings_files.h"

namespace zr::link {

const char* TransferKindName(TransferKind k) {
    switch (k) {
        case TransferKind::None: return "none";
        case TransferKind::Read: return "read";
        case TransferKind::Write: return "write";
        case TransferKind::DealerRead: return "dealer read";
        case TransferKind::Identify: return "identify";
    }
    return "?";
}

const char* TransferStepName(TransferStep s) {
    switch (s) {
        case TransferStep::None: return "-";
        case TransferStep::Handshake: return "handshake";
        case TransferStep::Identify: return "identify";
        case TransferStep::Password: return "password";
        case TransferStep::TestData: return "test data";
        case TransferStep::Data: return "data";
        case TransferStep::Ending: return "ending";
    }
    return "?";
}

LinkTrace::LinkTrace() : start_(std::chrono::steady_clock::now()) {}

void LinkTrace::clear() {
    lines_.clear();
    start_ = std::chrono::steady_clock::now();
}

std::string LinkTrace::Hex(std::span<const uint8_t> bytes, std::size_t echoLength, bool reply) {
    // A block of address 5152 carries the password in its data bytes 12..15;
    // its checksum would tell their sum, so it goes too.
    std::size_t maskFrom = bytes.size(), maskTo = bytes.size();
    const std::size_t at = reply ? echoLength : 0;
    if (bytes.size() > at + 2 && bytes[at] == 0x57 &&
        ((bytes[at + 1] << 8) | bytes[at + 2]) == kPasswordBlockAddress) {
        maskFrom = at + 4 + 12;
        maskTo = at + 4 + 17;
    }
    static const char* kDigits = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) out += ' ';
        if (i >= maskFrom && i < maskTo) {
            out += "**";
        } else {
            out += kDigits[bytes[i] >> 4];
            out += kDigits[bytes[i] & 0x0F];
        }
    }
    return out;
}

void LinkTrace::add(TransferStep step, const std::string& dir, const std::string& rest) {
    const auto us =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start_).count();
    // Milliseconds with three decimals, formatted without the locale.
    std::string ms = std::to_string(us / 1000) + "." + std::to_string(1000 + us % 1000).substr(1);
    if (ms.size() < 10) ms.insert(0, 10 - ms.size(), ' ');
    std::string stepName = TransferStepName(step);
    if (stepName.size() < 10) stepName.append(10 - stepName.size(), ' ');
    lines_.push_back(ms + " ms  " + stepName + " " + dir + " " + rest);
}

void LinkTrace::sent(TransferStep step, std::span<const uint8_t> frame) { add(step, ">", Hex(frame)); }

void LinkTrace::received(TransferStep step, std::span<const uint8_t> reply, std::size_t echoLength, ReplyKind kind) {
    std::string rest = Hex(reply, echoLength, true) + "   (";
    if (echoLength > 0) rest += std::to_string(echoLength) + (echoLength == 1 ? " echo byte, " : " echo bytes, ");
    rest += ReplyKindName(kind);
    rest += ")";
    add(step, "<", rest);
}

void LinkTrace::stray(TransferStep step, std::span<const uint8_t> bytes, std::size_t echoLength,
                      const std::string& why) {
    add(step, "<", Hex(bytes, echoLength, true) + "   (" + why + ")");
}

void LinkTrace::note(TransferStep step, const std::string& text) { add(step, "#", text); }

std::string LinkTrace::text() const {
    std::string out;
    for (const auto& l : lines_) out += l + "\n";
    return out;
}

Result LinkTrace::save(const std::string& path) const { return WriteFileAtomically(path, text()); }

bool LoadTraceSetting(const Session& s) {
    return ReadSetupKey(s, "Trace", "0") == "1";
}

Result SaveTraceSetting(const Session& s, bool on) {
    return WriteSetupKey(s, "Trace", on ? "1" : "0");
}

}  // namespace zr::link
