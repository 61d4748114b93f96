#include "link/protocol.h"

namespace zr::link {

uint8_t Checksum(std::span<const uint8_t> bytes) {
    unsigned sum = 0;
    for (uint8_t b : bytes) sum += b;
    return static_cast<uint8_t>(sum & 0xFF);
}

Bytes HandshakeFrame() { return {'P', 'R', 'O', 'G', 'R', 'A', 'M'}; }

Bytes IdentRequestFrame() { return {0x02}; }

Bytes ReadRequestFrame(int address) {
    return {0x52, static_cast<uint8_t>((address >> 8) & 0xFF), static_cast<uint8_t>(address & 0xFF),
            static_cast<uint8_t>(kBlockLength)};
}

Bytes WriteBlockFrame(int address, std::span<const uint8_t> data) {
    Bytes f{0x57, static_cast<uint8_t>((address >> 8) & 0xFF), static_cast<uint8_t>(address & 0xFF),
            static_cast<uint8_t>(kBlockLength)};
    for (int i = 0; i < kBlockLength; ++i) f.push_back(i < static_cast<int>(data.size()) ? data[i] : 0xFF);
    f.push_back(Checksum(std::span<const uint8_t>(f).subspan(1)));
    f.push_back(kAck);
    return f;
}

Bytes EndFrame() { return {'E', 'N', 'D'}; }

const char* ReplyKindName(ReplyKind k) {
    switch (k) {
        case ReplyKind::None: return "none";
        case ReplyKind::Accepted: return "accepted";
        case ReplyKind::Repeat: return "repeat";
        case ReplyKind::HandshakeAccepted: return "handshake accepted";
        case ReplyKind::Identification: return "identification";
        case ReplyKind::TestData: return "test data";
        case ReplyKind::PasswordBlock: return "password block";
        case ReplyKind::DataBlock: return "data block";
    }
    return "?";
}

namespace {

// A well-formed block reply: 57, address, length L, L data bytes, checksum, 06,
// exactly L + 6 bytes and at least 22.
bool WellFormedBlock(std::span<const uint8_t> r) {
    if (r.size() < static_cast<std::size_t>(kBlockReplyLength)) return false;
    if (r[0] != 0x57) return false;
    const std::size_t len = r[3];
    if (r.size() != len + 6) return false;
    if (r.back() != kAck) return false;
    return Checksum(r.subspan(1, len + 3)) == r[len + 4];
}

int BlockAddress(std::span<const uint8_t> r) { return (r[1] << 8) | r[2]; }

}  // namespace

ReplyKind ClassifyReply(std::span<const uint8_t> reply, const ClassifyContext& ctx) {
    if (reply.size() < ctx.echoLength) return ReplyKind::None;
    const auto r = reply.subspan(ctx.echoLength);
    if (r.size() == 1 && r[0] == kAck) return ReplyKind::Accepted;
    if (r.size() == 1 && r[0] == kRepeat) return ReplyKind::Repeat;
    if (r.size() == 3 && r[0] == 0x4C && r[1] == 0x57 && r[2] == kAck) return ReplyKind::HandshakeAccepted;
    if (r.size() == 16 && r[0] == 0x50 && r[15] == kAck) return ReplyKind::Identification;
    if (!WellFormedBlock(r)) return ReplyKind::None;
    const int address = BlockAddress(r);
    if (address == kTestDataBlockAddress) return ReplyKind::TestData;
    if (ctx.atPasswordStep && address == kPasswordBlockAddress) return ReplyKind::PasswordBlock;
    if (address == ctx.lastReadAddress && r[3] == kBlockLength) return ReplyKind::DataBlock;
    return ReplyKind::None;
}

std::span<const uint8_t> BlockData(std::span<const uint8_t> reply, std::size_t echoLength) {
    if (reply.size() < echoLength + kBlockReplyLength) return {};
    return reply.subspan(echoLength + 4, kBlockLength);
}

Identification ParseIdentification(std::span<const uint8_t> reply, std::size_t echoLength) {
    Identification id;
    if (reply.size() < echoLength + kIdentReplyLength) return id;
    const auto r = reply.subspan(echoLength);
    for (int i = 0; i < 7; ++i) id.modelBytes[i] = r[1 + i];
    for (int i = 0; i < 7 && r[1 + i] != 0; ++i) id.model.push_back(static_cast<char>(r[1 + i]));
    id.band = r[8];
    for (int i = 0; i < 4; ++i) id.versionBytes[i] = r[9 + i];
    for (int i = 0; i < 4 && r[9 + i] != 0; ++i) id.version.push_back(static_cast<char>(r[9 + i]));
    id.flags = r[13];
    return id;
}

std::string StoredPassword(std::span<const uint8_t> block16) {
    std::string s;
    for (std::size_t i = 12; i < 16 && i < block16.size(); ++i) {
        if (block16[i] == 0x00 || block16[i] == 0xFF) break;
        s.push_back(static_cast<char>(block16[i]));
    }
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

bool CheckPassword(std::span<const uint8_t> block16, const std::string& programPassword) {
    const std::string s = StoredPassword(block16);
    return s.empty() || s == programPassword;
}

int ProgressPercent(int address, int endAddress) {
    if (endAddress <= 0 || address <= 0) return 0;
    const long long num = static_cast<long long>(address) * 100;
    long long q = num / endAddress;
    const long long twiceRem = 2 * (num % endAddress);
    if (twiceRem > endAddress || (twiceRem == endAddress && (q % 2) == 1)) ++q;
    return static_cast<int>(q);
}

}  // namespace zr::link
