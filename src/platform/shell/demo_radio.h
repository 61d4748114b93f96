#pragma once
// The demo radio: the simulator program "zrcps-sim" next to this program,
// started on a pseudo-terminal with a sample memory full of channels, so a
// user without hardware can read, edit and write at once.

#include <string>

#include <QObject>
#include <QProcess>

namespace zr {

struct Session;

// A 5120-byte memory image of a GMRS radio holding the 22 GMRS channels,
// repeater pairs and a few named working channels.
std::string SampleRadioMemory(const Session& s);

class DemoRadio : public QObject {
    Q_OBJECT
public:
    explicit DemoRadio(QObject* parent = nullptr);
    ~DemoRadio() override;

    // Starts the simulator (once; later calls return the running one's
    // device). Returns the pseudo-terminal's path, or empty with `error` set.
    QString start(const Session& s, QString* error = nullptr);
    void stop();
    QString devicePath() const { return device_; }
    bool running() const { return proc_.state() != QProcess::NotRunning; }

    // The simulator program: beside the running program unless set.
    static QString simulatorPath();
    static void setSimulatorPath(const QString& path);

private:
    QProcess proc_;
    QString device_;
    QString memoryFile_;
};

}  // namespace zr
