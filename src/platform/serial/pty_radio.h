#pragma once
// A simulated radio behind a pseudo-terminal: the programming tool opens the
// slave device as its serial port; the radio (link/radio_sim.h) answers on
// the master side. With pacing on, every byte in either direction takes the
// time of 10 bits at 9600 baud, and the radio waits its turnaround before
// it answers, as a radio on a real cable would.

#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "link/radio_sim.h"

namespace zr {

struct PtyRadioOptions {
    bool paced = false;             // 9600 baud, 10 bits a byte
    double turnaroundMs = 0.0;      // delay between a request and its answer
};

class PtyRadio : public QObject {
    Q_OBJECT
public:
    PtyRadio(link::RadioSim& radio, PtyRadioOptions options, QObject* parent = nullptr);
    ~PtyRadio() override;

    // Creates the pseudo-terminal; false with a reason on failure.
    bool open(std::string& error);
    const std::string& devicePath() const { return slavePath_; }
    // The cable is unplugged: the master side is closed, so the port of the
    // tool reports an error.
    void unplug();

    // Called after every request the radio has answered or ignored.
    std::function<void()> onRequest;
    // Called when a programming session ends with the end frame.
    std::function<void()> onSessionEnd;

    static constexpr double kByteMs = 10.0 * 1000.0 / 9600.0;

private:
    void onReadable();
    void pump();
    void schedule();
    double nextDueMs() const;  // -1 when nothing waits
    // Waits shorter than this are slept, not left to a whole-millisecond timer.
    static constexpr double kFineWaitMs = 1.5;
    double nowMs() const { return clock_.nsecsElapsed() / 1e6; }

    link::RadioSim& radio_;
    PtyRadioOptions options_;
    int master_ = -1;
    int slaveKeep_ = -1;    // keeps the slave side alive between clients
    std::string slavePath_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer timer_;
    QElapsedTimer clock_;
    struct Timed {
        double at;
        uint8_t byte;
    };
    std::deque<Timed> in_;    // bytes on their way to the radio
    std::deque<Timed> out_;   // bytes on their way to the tool
    double rxLine_ = 0.0;     // when the incoming line is free
    double txLine_ = 0.0;     // when the outgoing line is free
    int endsSeen_ = 0;
};

}  // namespace zr
