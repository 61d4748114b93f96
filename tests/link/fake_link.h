#pragma once
// A port and timers without hardware: the port hands every frame to a
// simulated radio and keeps its answers until the engine takes them; the
// timers run on a virtual clock that only moves when nothing else happens.

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "link/radio_sim.h"
#include "link/transfer.h"

namespace zrtest {

class FakePort : public zr::link::LinkPort {
public:
    zr::link::RadioSim* radio = nullptr;
    bool failOpen = false;
    bool openNow = false;
    int opens = 0, closes = 0;
    std::vector<zr::link::Bytes> frames;    // every frame written, in order
    std::deque<uint8_t> pending;            // bytes waiting to be received
    // Frames the radio leaves unanswered (the cable still echoes them).
    std::function<bool(const zr::link::Bytes&)> unanswered;

    zr::Result open(const zr::link::PortSettings&) override {
        ++opens;
        if (failOpen) return zr::Result::Failed("no such port");
        openNow = true;
        return zr::Result::Done();
    }
    bool isOpen() const override { return openNow; }
    void close() override {
        ++closes;
        openNow = false;
        pending.clear();
    }
    void clearBuffers() override { pending.clear(); }
    bool write(const zr::link::Bytes& f) override {
        frames.push_back(f);
        if (radio) {
            auto out = radio->feed(f.data(), f.size());
            pending.insert(pending.end(), out.echo.begin(), out.echo.end());
            if (!unanswered || !unanswered(f)) pending.insert(pending.end(), out.answer.begin(), out.answer.end());
        }
        return true;
    }
    int count(uint8_t first, std::size_t size) const {
        int n = 0;
        for (const auto& f : frames)
            if (!f.empty() && f[0] == first && f.size() == size) ++n;
        return n;
    }
};

// Acknowledges every written block, but forgets the one at `lose`.
class LosingPort : public FakePort {
public:
    int lose = -1;
    bool write(const zr::link::Bytes& f) override {
        const bool losing = f.size() == 22 && f[0] == 'W' && ((f[1] << 8) | f[2]) == lose;
        std::array<uint8_t, 16> before{};
        if (losing) std::copy_n(radio->memory.begin() + lose, 16, before.begin());
        const bool ok = FakePort::write(f);
        if (losing) std::copy(before.begin(), before.end(), radio->memory.begin() + lose);
        return ok;
    }
};

class FakeTimers : public zr::link::LinkTimers {
public:
    long long now = 0;                                  // virtual milliseconds
    std::map<zr::link::TimerId, long long> due;
    std::vector<std::pair<zr::link::TimerId, long long>> started;

    void start(zr::link::TimerId id, int ms) override {
        due[id] = now + ms;
        started.emplace_back(id, now);
    }
    void stop(zr::link::TimerId id) override { due.erase(id); }
};

class RecordingObserver : public zr::link::TransferObserver {
public:
    std::vector<int> percents;
    std::vector<std::string> captions;
    int resets = 0, closed = 0;
    std::vector<std::pair<zr::link::TransferKind, bool>> ended;
    std::vector<zr::link::TransferKind> starting;
    int received = 0, decoded = 0, endings = 0;

    void transferStarting(zr::link::TransferKind k) override { starting.push_back(k); }
    void readReceived() override { ++received; }
    void readDecoded() override { ++decoded; }
    void endProgram() override { ++endings; }

    void progressShown(zr::link::TransferKind, const std::string& c) override { captions.push_back(c); }
    void progress(int p) override { percents.push_back(p); }
    void progressReset() override { ++resets; }
    void progressClosed() override { ++closed; }
    void transferEnded(zr::link::TransferKind k, bool ok) override { ended.emplace_back(k, ok); }
};

// Runs the engine until it is idle: delivers the port's bytes (in chunks of
// `chunk` bytes) and otherwise fires the earliest timer. Returns false when
// the engine is still busy after `maxSteps` events.
[[nodiscard]] inline bool RunEngine(zr::link::TransferEngine& e, FakePort& port, FakeTimers& timers,
                      std::size_t chunk = 1000, int maxSteps = 200000) {
    for (int i = 0; i < maxSteps; ++i) {
        if (!port.pending.empty()) {
            std::vector<uint8_t> bytes;
            while (!port.pending.empty() && bytes.size() < chunk) {
                bytes.push_back(port.pending.front());
                port.pending.pop_front();
            }
            e.onBytes(bytes.data(), bytes.size());
            continue;
        }
        if (timers.due.empty()) return !e.busy();
        auto next = timers.due.begin();
        for (auto it = timers.due.begin(); it != timers.due.end(); ++it)
            if (it->second < next->second) next = it;
        const auto id = next->first;
        timers.now = next->second;
        timers.due.erase(next);
        e.onTimer(id);
    }
    return !e.busy();
}

}  // namespace zrtest
