#include "platform/shell/program.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "control/document_controller.h"
#include "control/settings_notice.h"
#include "link/port_names.h"
#include "link/trace.h"
#include "platform/compare/compare_tools.h"
#include "platform/extras/extras.h"
#include "platform/serial/connection_check.h"
#include "platform/serial/port_facts.h"
#include "platform/serial/qt_link.h"
#include "platform/serial/trace_keeper.h"
#include "platform/shell/demo_radio.h"
#include "platform/shell/frm_main.h"
#include "platform/shell/texts.h"
#include "shell/manual.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace zr {

namespace {

QString DemoName(const Session& s) {
    const QString t = Tx(s, 22004);
    return t.isEmpty() ? QStringLiteral("Demo radio") : t;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += (out.empty() ? "" : "\n") + l;
    return out;
}

// The check box of the trace setting, above the port dialog's buttons.
QCheckBox* AddTraceCheckBox(QDialog& dialog, Session& s, const QString& folder) {
    QString text = Tx(s, 22006);
    if (text.isEmpty()) text = QStringLiteral("Record a trace of every transfer (for bug reports)");
    QCheckBox* box = AddRememberedCheckBox(dialog, text, QStringLiteral("CheckTrace"), link::LoadTraceSetting(s),
                                           [&s](bool on) { TellSettingNotStored(s, link::SaveTraceSetting(s, on)); });
    box->setToolTip(folder);
    return box;
}

}  // namespace

Program::Program(Session& s) : s_(s) {
    RegisterAllWindows();
    controller_ = std::make_unique<DocumentController>(s);
    link_ = std::make_unique<QtLink>(s);
    check_ = std::make_unique<QtWriteCheck>(s, *link_);
    demo_ = std::make_unique<DemoRadio>();
    window_ = std::make_unique<frmMain>(s, *controller_);
    controller_->attachLink(&link_->engine());
    controller_->setWriteCheck(check_.get());
    controller_->setBackupFolder(BackupFolder().toStdString());
    AttachCompareTools(*window_, *link_);
    traces_ = std::make_unique<TraceKeeper>(s, link_->engine(), controller_->listeners());
    traces_->applySetting();
    window_->setPortCommand([this] { choosePort(); });
    window_->setPortLabel([this] { return portInUseText(); });
    window_->setCheckConnection([this] { checkConnection(); });
}

Program::~Program() {
    traces_.reset();
    window_.reset();
    controller_->attachLink(nullptr);
    controller_->setWriteCheck(nullptr);
    check_.reset();
    demo_.reset();
}

std::vector<link::PortFacts> Program::ports() const { return portSource_ ? portSource_() : ListPortFacts(); }

void Program::setTraceFolder(const QString& folder) { traces_->setFolder(folder); }
QString Program::traceFolder() const { return traces_->folder(); }

bool Program::useDemoRadio() {
    QString error;
    const QString dev = demo_->start(s_, &error);
    if (dev.isEmpty()) {
        if (s_.prompter) s_.prompter->tell(ToText(error), Icon::Warning);
        return false;
    }
    link_->port().setDevicePath(dev.toStdString());
    window_->showPortInUse();
    return true;
}

void Program::start(bool demo, const std::string& document) {
    window_->Load();
    window_->show();
    if (demo) useDemoRadio();
    if (!document.empty()) controller_->openFile(document);
}

void Program::choosePort() {
    auto lister = [this] {
        std::vector<PortChoice> out;
        for (const auto& p : ports())
            out.push_back(PortChoice{link::PortLine(p), p.number, p.device, p.byId, JoinLines(link::PortDetails(p))});
        // The demo radio stays on offer while it runs.
        if (demo_->running() && !demo_->devicePath().isEmpty())
            out.push_back(PortChoice{ToText(DemoName(s_) + QStringLiteral(" (%1)").arg(demo_->devicePath())),
                                     kDemoPortNumber, demo_->devicePath().toStdString(), {}, {}});
        return out;
    };
    auto startDemo = [this]() -> PortChoice {
        QString error;
        const QString dev = demo_->start(s_, &error);
        if (dev.isEmpty()) {
            if (s_.prompter) s_.prompter->tell(ToText(error), Icon::Warning);
            return {};
        }
        return PortChoice{ToText(DemoName(s_) + QStringLiteral(" (%1)").arg(dev)), kDemoPortNumber,
                          dev.toStdString(), {}, {}};
    };
    FrmComSet dlg(s_, lister, startDemo, window_.get());
    // A device named for this run only (the demo radio) is the one in use.
    if (!link_->port().devicePath().empty()) dlg.selectDevice(link_->port().devicePath());
    AddVerifyWriteCheckBox(dlg, s_);
    AddBackupBeforeWriteCheckBox(dlg, s_);
    AddTraceCheckBox(dlg, s_, traces_->folder());
    if (dlg.exec() != QDialog::Accepted) return;
    traces_->applySetting();
    storedShown_.reset();   // the chosen port is looked up anew
    const PortChoice p = dlg.selected();
    // The demo radio is used by its device for this run; every other choice
    // is found again through mysetup.ini.
    link_->port().setDevicePath(p.number == kDemoPortNumber ? p.device : std::string());
}

QString Program::portInUseText() const {
    const std::string explicitPath = link_->port().devicePath();
    if (!explicitPath.empty()) {
        if (demo_->running() && QString::fromStdString(explicitPath) == demo_->devicePath()) return DemoName(s_);
        return QString::fromStdString(explicitPath);
    }
    const std::string stored = link::StoredPortPath(s_);
    if (stored.empty()) return Tx(s_, 12008) + QString::number(s_.settings.comPort);
    // Listing the ports takes a while: the stored name is looked up once,
    // when it is chosen or first shown.
    if (!storedShown_ || storedShown_->path != stored) storedShown_ = StoredPortShown{stored, storedPortText(stored)};
    return storedShown_->text;
}

QString Program::storedPortText(const std::string& stored) const {
    // A USB cable kept by its by-id name shows the number it has now.
    const QString target = QFileInfo(QString::fromStdString(stored)).canonicalFilePath();
    for (const auto& p : ports())
        if (!target.isEmpty() && QFileInfo(QString::fromStdString(p.device)).canonicalFilePath() == target)
            return Tx(s_, 12008) + QString::number(p.number);
    return QString::fromStdString(stored);
}

link::ConnectionReport Program::connectionReport() {
    const std::string how = ToText(QStringLiteral("Settings > Port: ") + portInUseText());
    link::ConnectionReport r =
        CheckConnection(s_, *link_, how, "zrcps " + manual::Release());
    r.traceFolder = traces_->enabled() ? QFile::encodeName(traces_->folder()).toStdString() : std::string();
    return r;
}

void Program::checkConnection() {
    if (link_->engine().busy()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const link::ConnectionReport r = connectionReport();
    QApplication::restoreOverrideCursor();
    FrmConnectionReport dlg(s_, FromText(link::FormatConnectionReport(s_, r)), window_.get());
    dlg.exec();
}

}  // namespace zr
