// The document is replaced under open windows in every way the program
// knows: a read from the demo radio, File New, File Open, and a backup of a
// read opened again. After each, every window on the screen shows the new
// document (none shows the old one), and the two channel windows, opened
// anew, still follow each other through the controller's events.
//
// With ZR_SHOTS=<folder> in the environment, pictures are saved there.

#include <QListWidget>
#include <QTimer>

#include "channels/channel_ops.h"
#include "control/document_controller.h"
#include "data/freq_text.h"
#include "files/backups.h"
#include "journey_support.h"
#include "platform/channels/frm_ch_info_edit.h"
#include "platform/extras/extras.h"
#include "platform/pages/frm_opt_features.h"

using namespace zr;
using journey::Run;

namespace {

// The RX column of the table against the document, row by row.
QString tableMismatch(Run& r) {
    frmCommChInfo* t = r.table();
    if (!t) return "no channel table is open";
    for (int n = 1; n <= kVfoChannel; ++n) {
        const ChannelRecord* c = FindChannelRecord(r.s, n);
        const QString want = c ? FromBytes(ShowFreText(LimitsOf(r.s.doc), c->RxFreq.text())) : QString();
        const QString shown = t->MSFlexGrid1->item(n - 1, 1)->text();
        if (shown != want) return QString("row %1 shows \"%2\", the document holds \"%3\"").arg(n).arg(shown, want);
    }
    return {};
}

}  // namespace

class TestDocumentFollows : public QObject {
    Q_OBJECT

    // The windows a person has open while working: the channel table with
    // the edit window at channel 1, and the optional features page.
    void openWindows(Run& r) {
        QTRY_VERIFY(r.table());
        journey::OpenEditWindow(r.table(), 1);
        QTRY_VERIFY(r.window().FindChildWindow("FrmCHInfoEdit"));
        r.window().action("mnuOptFeature")->trigger();
        QVERIFY(qobject_cast<FrmOptFeatures*>(r.window().FindChildWindow("FrmOptFeatures")));
        QCOMPARE(r.window().childWindows().size(), 3);
    }

    // What shows after a replacement shows the new document; then the edit
    // window, opened again, and the table still talk to each other.
    // A document just read is in no file yet, so its title carries the
    // unsaved mark.
    void checkFollows(Run& r, const char* how, bool unsaved = false) {
        const std::string name = std::filesystem::path(r.s.doc.fileName).filename().string();
        const QString end = QString::fromStdString(":" + name + (unsaved ? "*]" : "]"));
        QVERIFY2(zrtest::shownTitle(r.window()).endsWith(end), qPrintable(QString(how) + ": " + zrtest::shownTitle(r.window())));
        QTRY_VERIFY2(r.table(), how);
        // Nothing of the old document stays on the screen: the other
        // windows closed with it.
        QCOMPARE(r.window().childWindows().size(), 1);
        const QString mismatch = tableMismatch(r);
        QVERIFY2(mismatch.isEmpty(), qPrintable(QString(how) + ": " + mismatch));

        journey::OpenEditWindow(r.table(), 1);
        QTRY_VERIFY(r.window().FindChildWindow("FrmCHInfoEdit"));
        auto* edit = qobject_cast<FrmCHInfoEdit*>(r.window().FindChildWindow("FrmCHInfoEdit"));
        QVERIFY(edit);
        QCOMPARE(edit->shownChannel(), 1);
        const ChannelRecord* one = FindChannelRecord(r.s, 1);
        QVERIFY2(one, how);
        QCOMPARE(edit->ComboRx->currentText(), FromBytes(ShowFreText(LimitsOf(r.s.doc), one->RxFreq.text())));
        // A name typed in the edit window reaches the document and the table.
        QVERIFY(journey::Activate(edit->window()));
        edit->TextName[0]->setFocus();
        journey::Type("Z");
        QTest::keyClick(edit->TextName[0], Qt::Key_Tab);
        QTRY_COMPARE(QString::fromStdString(FindChannelRecord(r.s, 1)->ChannelName.text()).left(1), QString("Z"));
        QTRY_VERIFY2(r.table()->MSFlexGrid1->item(0, 3)->text().startsWith("Z"), how);
        journey::Shot(&r.window(), how);
        r.window().CloseCurAllOtherWindows(r.table());
        QTRY_COMPARE(r.window().childWindows().size(), 1);
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        DemoRadio::setSimulatorPath(QString::fromStdString((zrtest::binaryDir() / "tools" / "zrcps-sim").string()));
    }

    void everyReplacementIsFollowedByEveryWindow() {
        if (!QFileInfo(DemoRadio::simulatorPath()).isExecutable()) QSKIP("zrcps-sim is not built");
        QDir(BackupFolder()).removeRecursively();
        Run r(true);
        QVERIFY(r.radioReady);
        DocumentController& ctl = r.prog->controller();
        const std::size_t listenersAtRest = ctl.listeners().size();   // the main window and the table

        // A read from the radio.
        openWindows(r);
        QVERIFY(ctl.listeners().size() > listenersAtRest);
        r.p.answers = {Answer::Ok, Answer::Ok};   // read?, finished
        r.window().action("mnuReadFromRadio")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(r.p.asked.size() >= 2 && !r.busy() && r.table(), 30000);
        QCOMPARE(int(r.s.doc.stored.Channels.count), 29);
        checkFollows(r, "after_read", true);
        // The read was kept as a backup once decoded.
        QTRY_VERIFY(!ListBackups(BackupFolder().toStdString()).empty());
        const std::string backup = ListBackups(BackupFolder().toStdString()).front().path;
        QCOMPARE(ctl.lastBackup(), backup);

        // Saved under a name, then File New.
        const std::string saved = r.file("radio.dat");
        r.p.files = {saved};
        r.window().action("mnuFileSaveAs")->trigger();
        QCOMPARE(r.s.doc.fileName, saved);
        openWindows(r);
        r.p.asked.clear();
        r.p.answers = {Answer::Ok};   // start a new document?
        r.window().action("mnuFileNew")->trigger();
        QTRY_COMPARE(r.s.doc.fileName, std::string("new.dat"));
        QTRY_VERIFY(r.table());
        QCOMPARE(int(r.s.doc.stored.Channels.count), 2);   // channel 1 and the VFO
        checkFollows(r, "after_new");

        // File Open of the saved read.
        openWindows(r);
        r.p.asked.clear();
        r.p.answers = {Answer::No};   // the typed name is not kept
        r.p.files = {saved};
        r.window().action("mnuFileOpen")->trigger();
        QCOMPARE(r.s.doc.fileName, saved);
        QCOMPARE(int(r.s.doc.stored.Channels.count), 29);
        checkFollows(r, "after_open");

        // The backup of the read, opened from the backups list.
        openWindows(r);
        r.p.asked.clear();
        r.p.answers = {Answer::No};
        bool chosen = false;
        QTimer::singleShot(0, this, [&] {
            auto* dlg = qobject_cast<FrmBackups*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            QVERIFY(dlg->List1->count() >= 1);
            dlg->List1->setCurrentRow(0);
            QTest::mouseClick(dlg->CommandOpen, Qt::LeftButton);
            chosen = true;
        });
        QAction* backups = r.window().findChild<QAction*>("mnuFileBackups");
        QVERIFY(backups);
        backups->trigger();
        QVERIFY(chosen);
        QCOMPARE(r.s.doc.fileName, backup);
        QVERIFY(r.s.doc.neverSaved);   // Save asks for a name: the backup stays
        checkFollows(r, "after_backup");

        // Every window that closed with a document stopped listening.
        QCOMPARE(ctl.listeners().size(), listenersAtRest);
    }
};

QTEST_MAIN(TestDocumentFollows)
#include "test_document_follows.moc"
