#include "link/radio_sim.h"

#include <algorithm>
#include <cstring>

#include "link/protocol.h"

namespace zr::link {

RadioSim::RadioSim(RadioSimConfig cfg) : cfg_(std::move(cfg)), rng_(cfg_.seed) {
    memory.fill(0xFF);
    dealer.fill(0xFF);
    testData.fill(0x00);
    applyPassword();
}

void RadioSim::applyPassword() {
    for (int i = 0; i < 4; ++i)
        dealer[44 + i] = i < static_cast<int>(cfg_.password.size()) ? static_cast<uint8_t>(cfg_.password[i])
                         : cfg_.password.empty()                     ? 0xFF
                                                                     : 0x00;
}

RadioSim::Output RadioSim::feed(const uint8_t* data, std::size_t size) {
    Output out;
    if (pulled_) return out;
    if (cfg_.echo) out.echo.assign(data, data + size);
    in_.insert(in_.end(), data, data + size);
    while (!in_.empty() && process(out)) {
    }
    return out;
}

void RadioSim::answer(std::vector<uint8_t> reply, Output& out) {
    if (cfg_.silent || pulled_) return;
    std::uniform_real_distribution<double> u(0.0, 1.0);
    if (cfg_.dropShare > 0 && u(rng_) < cfg_.dropShare) {
        ++dropped;
        return;
    }
    if (cfg_.corruptShare > 0 && u(rng_) < cfg_.corruptShare && !reply.empty()) {
        ++corrupted;
        // Damage the checksum of a block, or the one byte of a short answer.
        const std::size_t at = reply.size() >= 22 ? reply.size() - 2 : reply.size() - 1;
        reply[at] ^= 0x5A;
    }
    ++answers;
    answerBytes += static_cast<long long>(reply.size());
    out.answer.insert(out.answer.end(), reply.begin(), reply.end());
}

std::vector<uint8_t> RadioSim::blockReply(int address) {
    std::vector<uint8_t> r{0x57, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF), 0x10};
    for (int i = 0; i < 16; ++i) {
        const int a = address + i;
        uint8_t b = 0xFF;
        if (a >= 0 && a < 5120) b = memory[a];
        else if (a >= 5120 && a < 5632) b = dealer[a - 5120];
        else if (a >= kTestDataBlockAddress && a < kTestDataBlockAddress + 16) b = testData[a - kTestDataBlockAddress];
        r.push_back(b);
    }
    r.push_back(Checksum(std::span<const uint8_t>(r).subspan(1)));
    r.push_back(kAck);
    return r;
}

bool RadioSim::process(Output& out) {
    static const uint8_t kProgram[] = {'P', 'R', 'O', 'G', 'R', 'A', 'M'};
    const uint8_t c = in_[0];
    auto consume = [this](std::size_t n) { in_.erase(in_.begin(), in_.begin() + static_cast<long>(n)); };
    auto blockDone = [this] {
        ++blocksAnswered_;
        if (cfg_.silentAfterBlocks >= 0 && blocksAnswered_ >= cfg_.silentAfterBlocks) return true;
        return false;
    };

    if (c == 'P') {
        const std::size_t n = std::min<std::size_t>(in_.size(), 7);
        if (std::memcmp(in_.data(), kProgram, n) != 0) {
            consume(1);
            return true;
        }
        if (in_.size() < 7) return false;
        consume(7);
        ++handshakes;
        session_ = true;
        answer({0x4C, 0x57, kAck}, out);
        return true;
    }
    if (!session_) {
        consume(1);
        return true;
    }
    switch (c) {
        case 0x02: {
            consume(1);
            ++identRequests;
            std::vector<uint8_t> r{0x50};
            for (int i = 0; i < 7; ++i)
                r.push_back(i < static_cast<int>(cfg_.model.size()) ? static_cast<uint8_t>(cfg_.model[i]) : 0);
            r.push_back(cfg_.band);
            for (int i = 0; i < 4; ++i)
                r.push_back(i < static_cast<int>(cfg_.version.size()) ? static_cast<uint8_t>(cfg_.version[i]) : 0);
            uint8_t flags = cfg_.flags;
            if (damagedIdentsSent < cfg_.damagedIdents)
                flags ^= static_cast<uint8_t>(0x40 | ((damagedIdentsSent++ & 0x03) << 4));
            r.push_back(flags);
            r.push_back(0x00);
            r.push_back(kAck);
            answer(std::move(r), out);
            return true;
        }
        case 'R': {
            if (in_.size() < 4) return false;
            const int address = (in_[1] << 8) | in_[2];
            consume(4);
            if (address == kTestDataBlockAddress) ++testDataReads;
            else ++blockReads;
            readAddresses.push_back(address);
            if (address == kTestDataBlockAddress && cfg_.noTestDataAnswer) return true;
            answer(blockReply(address), out);
            if (address != kTestDataBlockAddress && address != kPasswordBlockAddress && blockDone()) pulled_ = true;
            return true;
        }
        case 'W': {
            if (in_.size() < 22) return false;
            std::vector<uint8_t> f(in_.begin(), in_.begin() + 22);
            consume(22);
            const int address = (f[1] << 8) | f[2];
            const bool ok = f[3] == 0x10 && f[21] == kAck &&
                            Checksum(std::span<const uint8_t>(f).subspan(1, 19)) == f[20];
            if (!ok) {
                answer({kRepeat}, out);
                return true;
            }
            if (address == kTestDataBlockAddress && cfg_.noTestDataAnswer) return true;
            if (cfg_.repeatBlocks.count(address) && !repeated_.count(address)) {
                repeated_.insert(address);
                answer({kRepeat}, out);
                return true;
            }
            if (address >= 0 && address + 16 <= 5120) std::copy(f.begin() + 4, f.begin() + 20, memory.begin() + address);
            if (address == kTestDataBlockAddress) {
                std::copy(f.begin() + 4, f.begin() + 20, testData.begin());
                ++testDataWrites;
            } else {
                ++blockWrites;
            }
            writeAddresses.push_back(address);
            answer({kAck}, out);
            if (address != kTestDataBlockAddress && blockDone()) pulled_ = true;
            return true;
        }
        case 'E': {
            const std::size_t n = std::min<std::size_t>(in_.size(), 3);
            static const uint8_t kEnd[] = {'E', 'N', 'D'};
            if (std::memcmp(in_.data(), kEnd, n) != 0) {
                consume(1);
                return true;
            }
            if (in_.size() < 3) return false;
            consume(3);
            ++ends;
            session_ = false;
            repeated_.clear();
            if (!cfg_.noEndAnswer) answer({kAck}, out);
            return true;
        }
        default:
            consume(1);   // not a request: skipped
            return true;
    }
}

}  // namespace zr::link
