#include "platform/shell/program.h"

#include "control/document_controller.h"
#include "link/port_names.h"
#include "platform/compare/compare_tools.h"
#include "platform/extras/extras.h"
#include "platform/serial/qt_link.h"
#include "platform/shell/demo_radio.h"
#include "platform/shell/frm_main.h"
#include "platform/shell/texts.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace zr {

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
    window_->setPortLister([] {
        std::vector<PortChoice> out;
        for (const auto& p : PresentPorts()) out.push_back(PortChoice{p.name, p.number, {}});
        return out;
    });
    window_->setDemoStarter([this]() -> PortChoice {
        QString error;
        const QString dev = demo_->start(s_, &error);
        if (dev.isEmpty()) {
            if (s_.prompter) s_.prompter->tell(ToText(error), Icon::Warning);
            return {};
        }
        return PortChoice{ToBytes(QObject::tr("Demo radio (%1)").arg(dev)), kDemoPortNumber, dev.toStdString()};
    });
    window_->setPortChosen([this](const PortChoice& p) {
        if (p.number == kDemoPortNumber && !p.device.empty()) {
            link_->port().setDevicePath(p.device);
            return;
        }
        // A numbered port replaces any device named directly.
        link_->port().setDevicePath({});
        if (!link::StoredPortPath(s_).empty()) link::StorePortPath(s_, {});
    });
}

Program::~Program() {
    window_.reset();
    controller_->attachLink(nullptr);
    controller_->setWriteCheck(nullptr);
    check_.reset();
    demo_.reset();
}

bool Program::useDemoRadio() {
    QString error;
    const QString dev = demo_->start(s_, &error);
    if (dev.isEmpty()) {
        if (s_.prompter) s_.prompter->tell(ToText(error), Icon::Warning);
        return false;
    }
    link_->port().setDevicePath(dev.toStdString());
    return true;
}

void Program::start(bool demo, const std::string& document) {
    window_->Load();
    window_->show();
    if (demo) useDemoRadio();
    if (!document.empty()) controller_->openFile(document);
}

}  // namespace zr
