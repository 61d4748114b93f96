#pragma once
// A radio of this model as seen from the programming cable: it answers the
// requests of the programming protocol from its memory (5120 bytes), its
// dealer area (512 bytes) and its factory test data (16 bytes). Used by the
// simulator program, the tests and the benchmarks; it knows nothing of
// ports or time: feed() takes the bytes the host sent and returns what the
// cable gives back, split into the cable's echo and the radio's answer.

#include <array>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace zr::link {

struct RadioSimConfig {
    bool echo = true;                   // the cable returns every sent byte
    std::string password;               // up to 4 characters; empty: none
    std::string model = "ZR614";
    uint8_t band = 1;
    std::string version = "V100";
    uint8_t flags = 0;
    std::set<int> repeatBlocks;         // write addresses answered 0A once
    double dropShare = 0.0;             // share of answers not sent
    double corruptShare = 0.0;          // share of answers with a damaged byte
    uint32_t seed = 1;
    bool silent = false;                // never answers (the echo still comes)
    int silentAfterBlocks = -1;         // answers stop after this many blocks
    bool noEndAnswer = false;           // no answer to the end frame
    bool noTestDataAnswer = false;      // no answer to the test data block
    int damagedIdents = 0;              // the first n identifications carry a
                                        // damaged flags byte, each a different one
};

class RadioSim {
public:
    explicit RadioSim(RadioSimConfig cfg = {});

    struct Output {
        std::vector<uint8_t> echo;      // sent back at once by the cable
        std::vector<uint8_t> answer;    // the radio's reply, after its turnaround
    };

    // Takes bytes from the host; returns the cable's echo and any answers
    // completed by them.
    Output feed(const uint8_t* data, std::size_t size);

    std::array<uint8_t, 5120> memory{};
    std::array<uint8_t, 512> dealer{};
    std::array<uint8_t, 16> testData{};

    RadioSimConfig& config() { return cfg_; }
    // Writes the password of the configuration into the dealer area.
    void applyPassword();

    // Counters.
    int handshakes = 0;
    int identRequests = 0;
    int blockReads = 0;
    int blockWrites = 0;
    int ends = 0;
    int testDataReads = 0;
    int testDataWrites = 0;
    int dropped = 0;
    int damagedIdentsSent = 0;
    int corrupted = 0;
    int answers = 0;                 // answers sent
    long long answerBytes = 0;       // their bytes
    bool inSession() const { return session_; }
    bool pulled() const { return pulled_; }
    // Addresses of the blocks in the order the host read or wrote them.
    std::vector<int> readAddresses, writeAddresses;

private:
    void answer(std::vector<uint8_t> reply, Output& out);
    std::vector<uint8_t> blockReply(int address);
    bool process(Output& out);   // one request from in_; false: need more bytes

    RadioSimConfig cfg_;
    std::vector<uint8_t> in_;
    bool session_ = false;
    bool pulled_ = false;
    int blocksAnswered_ = 0;
    std::set<int> repeated_;
    std::mt19937 rng_;
};

}  // namespace zr::link
