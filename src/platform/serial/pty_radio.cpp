#include "platform/serial/pty_radio.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace zr {

PtyRadio::PtyRadio(link::RadioSim& radio, PtyRadioOptions options, QObject* parent)
    : QObject(parent), radio_(radio), options_(options) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &PtyRadio::pump);
    clock_.start();
}

PtyRadio::~PtyRadio() {
    notifier_.reset();
    if (master_ >= 0) ::close(master_);
    if (slaveKeep_ >= 0) ::close(slaveKeep_);
}

bool PtyRadio::open(std::string& error) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = std::string("pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ::ptsname(master_);
    if (!name) {
        error = "pseudo-terminal has no name";
        return false;
    }
    slavePath_ = name;
    slaveKeep_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slaveKeep_ < 0) {
        error = slavePath_ + ": " + std::strerror(errno);
        return false;
    }
    termios t{};
    if (::tcgetattr(slaveKeep_, &t) == 0) {
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, B9600);
        ::cfsetospeed(&t, B9600);
        ::tcsetattr(slaveKeep_, TCSANOW, &t);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &PtyRadio::onReadable);
    return true;
}

void PtyRadio::unplug() {
    notifier_.reset();
    timer_.stop();
    in_.clear();
    out_.clear();
    if (slaveKeep_ >= 0) ::close(slaveKeep_);
    slaveKeep_ = -1;
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

void PtyRadio::onReadable() {
    uint8_t buf[512];
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n <= 0) return;
    const double now = nowMs();
    const double bt = options_.paced ? kByteMs : 0.0;
    for (ssize_t i = 0; i < n; ++i) {
        rxLine_ = std::max(rxLine_, now) + bt;
        in_.push_back({rxLine_, buf[i]});
    }
    pump();
}

double PtyRadio::nextDueMs() const {
    double next = -1;
    if (!in_.empty()) next = in_.front().at;
    if (!out_.empty()) next = next < 0 ? out_.front().at : std::min(next, out_.front().at);
    return next;
}

void PtyRadio::pump() {
    // Timers fire on whole milliseconds, so they are set to fire early and
    // the last part of the wait is slept here: a byte leaves when it is due,
    // as on a real line, not up to a millisecond later.
    const double next = nextDueMs();
    if (next >= 0) {
        const double wait = next - nowMs();
        if (wait > 0 && wait <= kFineWaitMs)
            std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(wait));
    }
    const double now = nowMs();
    const double bt = options_.paced ? kByteMs : 0.0;
    // Bytes that have reached the radio.
    constexpr double kSlack = 0.05;
    while (!in_.empty() && in_.front().at <= now + kSlack) {
        const Timed t = in_.front();
        in_.pop_front();
        const auto result = radio_.feed(&t.byte, 1);
        for (uint8_t b : result.echo) {
            txLine_ = std::max(txLine_, t.at) + bt;
            out_.push_back({txLine_, b});
        }
        if (!result.answer.empty()) {
            double start = std::max(txLine_, t.at + options_.turnaroundMs);
            for (uint8_t b : result.answer) {
                start += bt;
                out_.push_back({start, b});
            }
            txLine_ = start;
        }
        if (radio_.ends != endsSeen_) {
            endsSeen_ = radio_.ends;
            if (onSessionEnd) onSessionEnd();
        }
        if (onRequest) onRequest();
    }
    // Bytes that have been sent in full.
    if (master_ >= 0) {
        std::string chunk;
        while (!out_.empty() && out_.front().at <= now + kSlack) {
            chunk.push_back(static_cast<char>(out_.front().byte));
            out_.pop_front();
        }
        if (!chunk.empty()) {
            const ssize_t w = ::write(master_, chunk.data(), chunk.size());
            (void)w;
        }
    }
    schedule();
}

void PtyRadio::schedule() {
    const double next = nextDueMs();
    if (next < 0) return;
    const double wait = next - nowMs();
    if (wait <= kFineWaitMs) {
        timer_.start(0);
        return;
    }
    timer_.start(static_cast<int>(wait - 1.0));
}

}  // namespace zr
