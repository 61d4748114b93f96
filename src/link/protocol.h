#pragma once
// The bytes exchanged with the radio over the programming cable: request
// frames, the checksum, the reply kinds and the identification reply.
//
// Radio addresses are 16-bit, sent high byte first; data moves in blocks of
// 16 bytes. 0..5119 address the memory image, 5120..5631 the dealer area,
// 8176..8191 the factory test data.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zr::link {

using Bytes = std::vector<uint8_t>;

inline constexpr int kBlockLength = 16;
inline constexpr int kPasswordBlockAddress = 5152;   // 0x1420
inline constexpr int kTestDataBlockAddress = 8176;   // 0x1FF0
inline constexpr int kIdentBlockAddress = 5104;      // model, band, version, flags
inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kRepeat = 0x0A;

// Reply lengths after the echo.
inline constexpr int kHandshakeReplyLength = 3;
inline constexpr int kIdentReplyLength = 16;
inline constexpr int kBlockReplyLength = 22;
inline constexpr int kAckReplyLength = 1;

// Sum of the address, length and data bytes, modulo 256.
uint8_t Checksum(std::span<const uint8_t> bytes);

Bytes HandshakeFrame();                   // P R O G R A M
Bytes IdentRequestFrame();                // 02
Bytes ReadRequestFrame(int address);      // 52 hi lo 10
// 57 hi lo 10, the 16 data bytes, checksum, 06. data must hold 16 bytes.
Bytes WriteBlockFrame(int address, std::span<const uint8_t> data);
Bytes EndFrame();                         // E N D

enum class ReplyKind {
    None,
    Accepted,           // 06
    Repeat,             // 0A: send the last write block again
    HandshakeAccepted,  // 4C 57 06
    Identification,     // 50 ... 06, 16 bytes
    TestData,           // data block of address 8176
    PasswordBlock,      // data block of address 5152 at the password step
    DataBlock,          // data block of the last read request
};

const char* ReplyKindName(ReplyKind k);

struct ClassifyContext {
    std::size_t echoLength = 0;     // bytes of the reply that are the cable's echo
    int lastReadAddress = -1;       // address of the last read request
    bool atPasswordStep = false;
};

// The first kind the reply matches, in the order of the enumeration.
ReplyKind ClassifyReply(std::span<const uint8_t> reply, const ClassifyContext& ctx);

// The 16 data bytes of a data block reply (after the echo); the reply must
// have classified as a data, password or test data block.
std::span<const uint8_t> BlockData(std::span<const uint8_t> reply, std::size_t echoLength);

struct Identification {
    std::string model;          // bytes 1..7 up to the first 00
    uint8_t band = 0;           // byte 8
    std::string version;        // bytes 9..12 up to the first 00
    uint8_t flags = 0;          // byte 13
    uint8_t modelBytes[7]{};    // bytes 1..7 as received
    uint8_t versionBytes[4]{};  // bytes 9..12 as received
};

// Fields of an identification reply (after the echo; 16 bytes).
Identification ParseIdentification(std::span<const uint8_t> reply, std::size_t echoLength);

// The stored password of a password block (its 16 data bytes, addresses
// 5152..5167): data bytes 12..15 up to the first 00 or FF, right-trimmed.
std::string StoredPassword(std::span<const uint8_t> block16);

// Pass when the radio has no password or it equals the given one exactly.
bool CheckPassword(std::span<const uint8_t> block16, const std::string& programPassword);

// Rounded percentage address * 100 / end, halves to even.
int ProgressPercent(int address, int endAddress);

}  // namespace zr::link
