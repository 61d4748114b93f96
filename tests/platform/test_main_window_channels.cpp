// The main window's channel-edit commands with the real channel table.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStandardPaths>
#include <QTest>

#include "channels/channel_ops.h"
#include "platform/channels/frm_comm_ch_info.h"
#include "control/document_controller.h"
#include "platform/shell/frm_main.h"
#include "shell/session.h"
#include "support/support.h"

namespace zr {
void RegisterChannelWindows();
}

using namespace zr;

class TestMainWindowChannels : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        RegisterChannelWindows();
    }

    void pasteOnTheVfoRowDoesNothing() {
        zrtest::TempDir root;
        Session s;
        zrtest::ScriptedPrompter p;
        s.paths.programFolder = (zrtest::sourceDir() / "install").string();
        s.paths.installRoot = root.path().string();
        s.prompter = &p;
        s.settings.habits.PasteNoAsk = true;    // paste overwrites without asking
        s.settings.habits.PasteInsert = false;
        DocumentController ctl(s);
        frmMain w(s, ctl);
        w.Load();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* table = qobject_cast<frmCommChInfo*>(w.FindChildWindow("frmCommChInfo"));
        QVERIFY(table);
        w.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(table->parentWidget()));
        QTRY_VERIFY(w.toolButton("CHCopy")->isVisible());

        QVERIFY(FindChannelRecord(s, 1));
        table->setCurrentCell(1, 1);
        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);   // copy channel 1
        QTest::qWait(60);

        const auto before = s.doc.stored;
        table->setCurrentCell(129, 1);
        QCOMPARE(table->currentRow(), 129);
        QTest::keyClick(&w, Qt::Key_V, Qt::ControlModifier);
        QTest::qWait(60);
        QVERIFY(s.doc.stored == before);
        QVERIFY(p.asked.empty());

        // On a memory row the same key pastes.
        QVERIFY(!FindChannelRecord(s, 5));
        table->setCurrentCell(5, 1);
        QTest::keyClick(&w, Qt::Key_V, Qt::ControlModifier);
        QTRY_VERIFY(FindChannelRecord(s, 5) != nullptr);
        QVERIFY(FindChannelRecord(s, 1));
        QCOMPARE(FindChannelRecord(s, 5)->RxFreq, FindChannelRecord(s, 1)->RxFreq);
        p.answers = {Answer::No};   // the pasted channel is not kept
        QVERIFY(w.close());
    }
};

QTEST_MAIN(TestMainWindowChannels)
#include "test_main_window_channels.moc"
