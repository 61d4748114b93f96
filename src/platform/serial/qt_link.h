#pragma once
// The transfer engine on Qt: QSerialPort (9600 baud, 8N1, no flow control,
// opened by device path) and one-shot QTimers, all on the UI thread and
// driven by readyRead. QtLink bundles port, timers and engine:
//
//     zr::QtLink link(session);
//     link.engine().setObserver(&progressWindow);
//     link.engine().startRead();

#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "link/port_names.h"
#include "link/port_problems.h"
#include "link/transfer.h"

namespace zr {

class QtSerialLinkPort : public QObject, public link::LinkPort {
    Q_OBJECT
public:
    explicit QtSerialLinkPort(Session& s, QObject* parent = nullptr);

    void setEngine(link::TransferEngine* e) { engine_ = e; }
    // A device to use instead of the configured port (command line, tests).
    void setDevicePath(const std::string& path) { devicePath_ = path; }
    // The device the next open uses: the explicit path, the user's
    // "PortPath", or the device of "COM" comPort.
    std::string resolveDevice(int comPort) const;

    Result open(const link::PortSettings& s) override;
    bool isOpen() const override { return port_.isOpen(); }
    void close() override;
    void clearBuffers() override;
    bool write(const link::Bytes& frame) override;

    // Why the last open failed (problem None after a successful one).
    const link::PortFailure& lastFailure() const { return lastFailure_; }
    // The explicit device path, if any (empty: the configured port).
    const std::string& devicePath() const { return devicePath_; }

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError e);

    Session& session_;
    QSerialPort port_;
    link::TransferEngine* engine_ = nullptr;
    std::string devicePath_;
    std::string device_;                // the device of the last open
    link::PortFailure lastFailure_;
};

class QtLinkTimers : public QObject, public link::LinkTimers {
    Q_OBJECT
public:
    explicit QtLinkTimers(QObject* parent = nullptr);
    void setEngine(link::TransferEngine* e) { engine_ = e; }
    void start(link::TimerId id, int ms) override;
    void stop(link::TimerId id) override;

private:
    QTimer* timer(link::TimerId id);
    QTimer wait_, saveData_, readOk_;
    link::TransferEngine* engine_ = nullptr;
};

class QtLink {
public:
    explicit QtLink(Session& s);
    link::TransferEngine& engine() { return engine_; }
    QtSerialLinkPort& port() { return port_; }

private:
    QtSerialLinkPort port_;
    QtLinkTimers timers_;
    link::TransferEngine engine_;
};

// Fills list with the names "COM" n of the serial ports present, in
// ascending order of n (numbering of link/port_names.h), and returns the
// first number, or 0 when there is none.
int ListPorts(std::vector<std::string>& list);

}  // namespace zr
