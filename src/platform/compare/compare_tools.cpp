#include "platform/compare/compare_tools.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QMenu>
#include <QTimer>

#include "control/document_controller.h"
#include "control/settings_notice.h"
#include "link/write_job.h"
#include "platform/compare/frm_compare.h"
#include "platform/extras/extras.h"
#include "platform/serial/qt_link.h"
#include "platform/shell/frm_main.h"
#include "platform/shell/texts.h"
#include "shell/language.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace zr {

namespace {

class ListenersProgress : public link::TransferObserver {
public:
    explicit ListenersProgress(DocumentListeners& l) : l_(l) {}
    void progressShown(link::TransferKind k, const std::string& caption) override {
        l_.publish([&](DocumentListener& x) { x.transferProgressShown(k, caption); });
    }
    void progress(int percent) override {
        l_.publish([&](DocumentListener& x) { x.transferProgress(percent); });
    }
    void progressReset() override { progress(0); }
    void progressClosed() override {
        l_.publish([](DocumentListener& x) { x.transferProgressClosed(); });
    }

private:
    DocumentListeners& l_;
};

void Tell(Session& s, const std::string& text, Icon icon) {
    if (s.prompter) s.prompter->tell(text, icon);
}

}  // namespace

QString CompareText(const Session& s, int n) { return FromText(LanguageText(s, n)); }
std::string CompareMessage(const Session& s, int n) { return ToText(CompareText(s, n).remove('&')); }

QCheckBox* AddBackupBeforeWriteCheckBox(QDialog& dialog, Session& s) {
    return AddRememberedCheckBox(dialog, CompareText(s, 32021), QStringLiteral("CheckBackupBeforeWrite"),
                                 link::LoadBackupBeforeWrite(s),
                                 [&s](bool on) { TellSettingNotStored(s, link::SaveBackupBeforeWrite(s, on)); });
}

CompareTools::CompareTools(frmMain& main, QtLink& qtLink)
    : QObject(&main), main_(main), link_(qtLink), timers_(std::make_unique<QtLinkTimers>()),
      progress_(std::make_unique<ListenersProgress>(main.controller().listeners())),
      job_(std::make_unique<link::WriteJob>(main.session(), qtLink.port(), *timers_)) {}

CompareTools::~CompareTools() { release(); }

Session& CompareTools::session() { return main_.session(); }

QString CompareTools::backupFolder() const { return backupFolder_.isEmpty() ? BackupFolder() : backupFolder_; }

bool CompareTools::route(link::TransferEngine& engine) {
    if (routed_ || link_.engine().busy()) return false;
    link_.port().setEngine(&engine);
    timers_->setEngine(&engine);
    routed_ = true;
    return true;
}

void CompareTools::release() {
    if (!routed_) return;
    link_.port().setEngine(&link_.engine());
    timers_->setEngine(nullptr);
    routed_ = false;
}

bool CompareTools::writeWithBackup() {
    Session& s = session();
    if (!link::LoadBackupBeforeWrite(s)) return false;
    if (job_->running() || !route(job_->engine())) return true;
    main_.controller().commitEdits();
    link::WriteJobOptions o;
    o.backup = true;
    o.backupFolder = backupFolder().toStdString();
    o.askChanges = true;
    o.verify = link::LoadVerifyWrite(s);
    job_->setProgress(progress_.get(), CompareMessage(s, 32022), CompareMessage(s, 31010));
    const bool started = job_->start(o, [this](const link::WriteJobResult& r) {
        release();
        // The engine is still inside its end step: report once it is done.
        QTimer::singleShot(0, this, [this, r] { report(r); });
    });
    if (!started) release();
    return true;
}

void CompareTools::report(const link::WriteJobResult& r) {
    Session& s = session();
    switch (r.stage) {
        case link::WriteStage::Done: {
            std::string t = ToText(Tx(s, 9010));
            if (r.check.readSucceeded) t += "\n" + link::VerifyOutcomeText(r.check);
            Tell(s, t, Icon::Information);
            break;
        }
        case link::WriteStage::Question:   // the user said No
            break;
        case link::WriteStage::DealerInfo:
        case link::WriteStage::Backup:
            Tell(s, CompareMessage(s, 32024) + "\n" + r.message, Icon::Warning);
            break;
        case link::WriteStage::Write:
        case link::WriteStage::Check:
            Tell(s, r.message, Icon::Warning);
            break;
    }
    emit guardedWriteFinished(r.success);
}

void CompareTools::compareCommand() {
    if (!compare_) compare_ = new FrmCompare(*this, &main_);
    compare_->show();
    compare_->raise();
    compare_->activateWindow();
}

void CompareTools::writeSeveralCommand() {
    if (!writeSeveral_) writeSeveral_ = new FrmWriteSeveral(*this, &main_);
    writeSeveral_->show();
    writeSeveral_->raise();
    writeSeveral_->activateWindow();
}

CompareTools* AttachCompareTools(frmMain& main, QtLink& link) {
    auto* tools = new CompareTools(main, link);
    main.setWriteGuard([tools] { return tools->writeWithBackup(); });
    Session& s = main.session();
    struct Entry {
        const char* menu;
        const char* name;
        int key;
        void (CompareTools::*run)();
    };
    const Entry entries[] = {
        {"mnuFile", "mnuFileCompare", 32000, &CompareTools::compareCommand},
        {"mnuProgram", "mnuWriteSeveral", 32009, &CompareTools::writeSeveralCommand},
    };
    for (const Entry& e : entries) {
        QAction* menuAction = main.action(QString::fromLatin1(e.menu));
        QMenu* menu = menuAction ? menuAction->menu() : nullptr;
        if (!menu) continue;
        auto* a = new QAction(CompareText(s, e.key), menu);
        a->setObjectName(QString::fromLatin1(e.name));
        auto run = e.run;
        QObject::connect(a, &QAction::triggered, tools, [tools, run] { (tools->*run)(); });
        // File: after Save As; Program: after Write to radio.
        const QString after = QString::fromLatin1(e.menu) == "mnuFile" ? "mnuFileSaveAs" : "mnuWriteToRadio";
        QAction* before = nullptr;
        const auto list = menu->actions();
        for (int i = 0; i + 1 < list.size(); ++i)
            if (list[i]->objectName() == after) before = list[i + 1];
        menu->insertAction(before, a);
        const int key = e.key;
        QObject::connect(menu, &QMenu::aboutToShow, a, [a, key, &s] { a->setText(CompareText(s, key)); });
    }
    return tools;
}

}  // namespace zr
