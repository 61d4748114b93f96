#include "platform/shell/demo_radio.h"

#include <csignal>
#include <cstdio>

#include <sys/prctl.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "channels/channel_ops.h"
#include "data/image_codec.h"
#include "data/settings_codec.h"
#include "files/new_document.h"
#include "shell/atomic_file.h"
#include "shell/session.h"

namespace zr {

std::string SampleRadioMemory(const Session& base) {
    Session s;
    s.paths = base.paths;
    s.settings = base.settings;
    s.prompter = nullptr;
    s.doc.currentModel = "ZR614";
    s.doc.currentBand = "460 - 470 MHz";
    s.doc.bandLower = 460.0;
    s.doc.bandUpper = 470.0;
    NewDocument(s);
    // The 22 GMRS channels, then repeater inputs and named working channels.
    static const char* const gmrs[] = {
        "462.5625", "462.5875", "462.6125", "462.6375", "462.6625", "462.6875", "462.7125",
        "467.5625", "467.5875", "467.6125", "467.6375", "467.6625", "467.6875", "467.7125",
        "462.5500", "462.5750", "462.6000", "462.6250", "462.6500", "462.6750", "462.7000",
        "462.7250"};
    int n = 1;
    for (const char* f : gmrs) {
        if (!FindChannelRecord(s, n)) NewChannel(s, n, f);
        SetChannelItem(s, n, item::kRxFreq, f);
        SetChannelItem(s, n, item::kTxFreq, f);
        char name[8];
        std::snprintf(name, sizeof name, "GMRS%02d", n);
        SetChannelItem(s, n, item::kName, name);
        ++n;
    }
    static const struct { const char* rx; const char* name; int tone; } work[] = {
        {"462.6750", "RPT675", 12}, {"462.7250", "RPT725", 18}, {"464.5000", "SITE A", 0},
        {"464.5500", "SITE B", 0},  {"461.0375", "YARD", 5},    {"469.5000", "TEST", 0},
    };
    for (const auto& w : work) {
        if (n > kMemoryChannels) break;
        NewChannel(s, n, w.rx);
        SetChannelItem(s, n, item::kName, w.name);
        if (w.tone) {
            SetChannelItem(s, n, item::kRxTone, w.tone);
            SetChannelItem(s, n, item::kTxTone, w.tone);
        }
        ++n;
    }
    EncodeImage(s.doc);
    // The identification block as the demo radio reports it (firmware V100,
    // flags 0), as a radio keeps it: a write gives it back unchanged.
    const char* firmware = "V100";
    for (int i = 0; i < 4; ++i) s.doc.image[kFirmwareOffset + i] = static_cast<uint8_t>(firmware[i]);
    s.doc.image[kRadioFlagsOffset] = 0x00;
    return std::string(s.doc.image.begin(), s.doc.image.end());
}

DemoRadio::DemoRadio(QObject* parent) : QObject(parent) {
    proc_.setProcessChannelMode(QProcess::SeparateChannels);
    // The simulator ends with the program, however the program ends.
    proc_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

DemoRadio::~DemoRadio() { stop(); }

namespace {
QString& simulatorOverride() {
    static QString path;
    return path;
}
}  // namespace

void DemoRadio::setSimulatorPath(const QString& path) { simulatorOverride() = path; }

QString DemoRadio::simulatorPath() {
    if (!simulatorOverride().isEmpty()) return simulatorOverride();
    return QDir(QCoreApplication::applicationDirPath()).filePath("zrcps-sim");
}

QString DemoRadio::start(const Session& s, QString* error) {
    if (running() && !device_.isEmpty()) return device_;
    const QString sim = simulatorPath();
    if (!QFileInfo(sim).isExecutable()) {
        if (error) *error = QCoreApplication::translate("DemoRadio", "The simulator %1 is not installed.").arg(sim);
        return {};
    }
    // The demo radio keeps what was written to it while the program runs.
    QDir dir(QStandardPaths::writableLocation(QStandardPaths::TempLocation));
    memoryFile_ = dir.filePath(QString("zrcps-demo-%1.bin").arg(QCoreApplication::applicationPid()));
    if (const Result r = WriteFileAtomically(QFile::encodeName(memoryFile_).toStdString(), SampleRadioMemory(s)); !r) {
        if (error) *error = QString::fromLocal8Bit(r.message().c_str());
        return {};
    }
    proc_.start(sim, {"--memory", memoryFile_});
    if (!proc_.waitForStarted(5000)) {
        if (error) *error = proc_.errorString();
        return {};
    }
    QByteArray line;
    for (int i = 0; i < 50 && !line.contains('\n'); ++i) {
        if (!proc_.waitForReadyRead(100) && proc_.state() == QProcess::NotRunning) break;
        line += proc_.readAllStandardOutput();
    }
    device_ = QString::fromLocal8Bit(line.left(line.indexOf('\n'))).trimmed();
    if (device_.isEmpty()) {
        if (error) *error = QCoreApplication::translate("DemoRadio", "The simulator did not start: %1")
                                .arg(QString::fromLocal8Bit(proc_.readAllStandardError()).trimmed());
        stop();
        return {};
    }
    return device_;
}

void DemoRadio::stop() {
    if (proc_.state() != QProcess::NotRunning) {
        proc_.terminate();
        if (!proc_.waitForFinished(2000)) {
            proc_.kill();
            proc_.waitForFinished(1000);
        }
    }
    device_.clear();
    if (!memoryFile_.isEmpty()) QFile::remove(memoryFile_);
    memoryFile_.clear();
}

}  // namespace zr
