#include "platform/serial/qt_link.h"

#include <QSerialPortInfo>

#include "link/port_names.h"
#include "platform/serial/port_facts.h"
#include "shell/session.h"

namespace zr {

QtSerialLinkPort::QtSerialLinkPort(Session& s, QObject* parent) : QObject(parent), session_(s) {
    connect(&port_, &QSerialPort::readyRead, this, &QtSerialLinkPort::onReadyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialLinkPort::onError);
}

int ListPorts(std::vector<std::string>& list) {
    list.clear();
    const auto ports = ListPortFacts();
    for (const auto& p : ports) list.push_back(link::PortName(p.number));
    return ports.empty() ? 0 : ports.front().number;
}

std::string QtSerialLinkPort::resolveDevice(int comPort) const {
    if (!devicePath_.empty()) return devicePath_;
    const std::string stored = link::StoredPortPath(session_);
    if (!stored.empty()) return stored;
    std::vector<std::string> devices;
    for (const auto& info : QSerialPortInfo::availablePorts())
        devices.push_back(info.systemLocation().toStdString());
    return link::DeviceForNumber(comPort, devices);
}

Result QtSerialLinkPort::open(const link::PortSettings& s) {
    if (port_.isOpen()) port_.close();
    const std::string device = resolveDevice(s.comPort);
    lastFailure_ = link::PortFailure{};
    if (device.empty()) {
        lastFailure_.problem = link::PortProblem::NoPortChosen;
        return Result::Failed(link::PortFailureText(session_, lastFailure_));
    }
    device_ = device;
    port_.setPortName(QString::fromStdString(device));
    if (!port_.open(QIODevice::ReadWrite)) {
        // Qt's words ("Permission error while locking the device") do not
        // say what to do; the device itself tells more.
        lastFailure_ = DiagnoseOpen(device);
        if (lastFailure_.problem == link::PortProblem::None) {
            lastFailure_.problem = link::PortProblem::Other;
            lastFailure_.systemError = port_.errorString().toStdString();
        }
        return Result::Failed(link::PortFailureText(session_, lastFailure_));
    }
    const bool ok = port_.setBaudRate(QSerialPort::Baud9600) && port_.setDataBits(QSerialPort::Data8) &&
                    port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
                    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        const std::string why = device + ": " + port_.errorString().toStdString();
        port_.close();
        return Result::Failed(why);
    }
    port_.clear();
    return Result::Done();
}

void QtSerialLinkPort::close() {
    if (!port_.isOpen()) return;
    port_.flush();   // the end frame may still be in Qt's buffer
    port_.close();
}

void QtSerialLinkPort::clearBuffers() {
    if (!port_.isOpen()) return;
    port_.clear(QSerialPort::AllDirections);
    port_.readAll();   // what Qt had already taken from the driver
}

bool QtSerialLinkPort::write(const link::Bytes& frame) {
    if (!port_.isOpen()) return false;
    const auto n = port_.write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size()));
    if (n != static_cast<qint64>(frame.size())) return false;
    port_.flush();   // out at once, not on the next turn of the event loop
    return true;
}

void QtSerialLinkPort::onReadyRead() {
    const QByteArray bytes = port_.readAll();
    if (engine_ && !bytes.isEmpty())
        engine_->onBytes(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size()));
}

void QtSerialLinkPort::onError(QSerialPort::SerialPortError e) {
    switch (e) {
        case QSerialPort::NoError:
        case QSerialPort::TimeoutError:
        case QSerialPort::OpenError:            // reported by open() itself
        case QSerialPort::DeviceNotFoundError:
        case QSerialPort::PermissionError:
            return;
        default:
            break;
    }
    std::string text = port_.errorString().toStdString();
    if (e == QSerialPort::ResourceError || DeviceGone(device_)) {
        // The device went away under the open port: unplugged, or taken.
        link::PortFailure gone;
        gone.problem = link::PortProblem::Gone;
        gone.device = device_;
        gone.systemError = text;
        gone.takers = SerialTakers();
        text = link::PortFailureText(session_, gone);
    }
    if (port_.isOpen()) port_.close();
    if (engine_) engine_->onPortError(text);
}

QtLinkTimers::QtLinkTimers(QObject* parent) : QObject(parent) {
    const std::pair<QTimer*, link::TimerId> all[] = {
        {&wait_, link::TimerId::Wait}, {&saveData_, link::TimerId::WaitSaveData}, {&readOk_, link::TimerId::ReadOK}};
    for (auto [t, id] : all) {
        t->setSingleShot(true);
        t->setTimerType(Qt::PreciseTimer);
        connect(t, &QTimer::timeout, this, [this, id] {
            if (engine_) engine_->onTimer(id);
        });
    }
}

QTimer* QtLinkTimers::timer(link::TimerId id) {
    switch (id) {
        case link::TimerId::Wait: return &wait_;
        case link::TimerId::WaitSaveData: return &saveData_;
        case link::TimerId::ReadOK: return &readOk_;
    }
    return &wait_;
}

void QtLinkTimers::start(link::TimerId id, int ms) { timer(id)->start(ms); }

void QtLinkTimers::stop(link::TimerId id) { timer(id)->stop(); }

QtLink::QtLink(Session& s) : port_(s), engine_(s, port_, timers_) {
    port_.setEngine(&engine_);
    timers_.setEngine(&engine_);
}

}  // namespace zr
