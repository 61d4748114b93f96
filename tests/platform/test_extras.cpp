// The additions in the running program: a read from the demo radio leaves a
// backup in the user's data folder, a write with the check switched on is
// read back and reported, and the File menu carries the new entries.

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>
#include <QTest>
#include <filesystem>

#include "channels/channel_ops.h"
#include "files/backups.h"
#include "files/new_document.h"
#include "link/verify.h"
#include "platform/extras/extras.h"
#include "platform/serial/qt_link.h"
#include "platform/shell/demo_radio.h"
#include "platform/shell/frm_main.h"
#include "platform/shell/program.h"
#include "shell/session.h"
#include "shell/startup.h"
#include "support/support.h"

namespace zr {
void RegisterChannelWindows();
}

using namespace zr;

class TestExtras : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        RegisterChannelWindows();
        DemoRadio::setSimulatorPath(QString::fromStdString((zrtest::binaryDir() / "tools" / "zrcps-sim").string()));
    }

    void readIsBackedUpAndWriteIsChecked() {
        if (!QFileInfo(DemoRadio::simulatorPath()).isExecutable()) QSKIP("zrcps-sim is not built");
        QDir(BackupFolder()).removeRecursively();
        zrtest::TempDir root;
        namespace fs = std::filesystem;
        zrtest::MakeInstallation(root.path());
        Session s;
        zrtest::ScriptedPrompter p;
        s.prompter = &p;
        Startup(s, (root.path() / "V100" / "zrcps").string(), [](Session& x) { NewDocument(x); });
        Program prog(s);
        prog.start(false);
        frmMain& w = prog.window();
        QVERIFY(prog.useDemoRadio());

        // The File menu holds the four entries.
        for (const char* name : {"mnuFileImportCsv", "mnuFileExportCsv", "mnuFilePrintSheet", "mnuFileBackups"})
            QVERIFY2(w.findChild<QAction*>(name) != nullptr, name);

        p.answers = {Answer::Ok, Answer::Ok};   // 9004, 9009
        w.action("mnuReadFromRadio")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!ListBackups(BackupFolder().toStdString()).empty(), 30000);
        const auto backups = ListBackups(BackupFolder().toStdString());
        QCOMPARE(int(backups.size()), 1);
        QCOMPARE(QString::fromStdString(backups[0].model), QString("ZR-E271"));

        // Write with the check on: the demo radio keeps everything.
        QVERIFY(link::SaveVerifyWrite(s, true));
        SetChannelItem(s, 2, item::kName, "EDITED");
        p.asked.clear();
        p.answers = {Answer::Ok, Answer::Ok, Answer::Ok};   // 9005, 9010, the check's report
        w.action("mnuWriteToRadio")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(p.asked.size() >= 3 && !prog.link().engine().busy(), 60000);
        QCOMPARE(p.asked.back().text, link::VerifyOutcomeText(link::VerifyOutcome{true, {}}));
        // The check did not make another backup or touch the document.
        QCOMPARE(int(ListBackups(BackupFolder().toStdString()).size()), 1);
        QVERIFY(FindChannelRecord(s, 2));
        QCOMPARE(FindChannelRecord(s, 2)->ChannelName.text(), std::string("EDITED"));
        QVERIFY(link::SaveVerifyWrite(s, false));
        QDir(BackupFolder()).removeRecursively();
    }
};

QTEST_MAIN(TestExtras)
#include "test_extras.moc"
