// A whole read from the demo radio (the simulator on a pseudo-terminal),
// started from the menu, with the real windows.
//
// With ZR_SHOTS=<folder> in the environment the test also saves pictures of
// the main window and the progress window there.

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

#include "channels/channel_ops.h"
#include "files/change_tracking.h"
#include "files/new_document.h"
#include "shell/startup.h"
#include "platform/serial/qt_link.h"
#include "platform/shell/demo_radio.h"
#include "platform/shell/frm_main.h"
#include "platform/shell/program.h"
#include "platform/shell/texts.h"
#include "shell/session.h"
#include "journey_support.h"
#include "support/support.h"

namespace zr {
void RegisterChannelWindows();
}

using namespace zr;

namespace {

bool modelHolds(const QAbstractItemModel* m, const QString& text) {
    for (int r = 0; r < m->rowCount(); ++r)
        for (int c = 0; c < m->columnCount(); ++c)
            if (m->index(r, c).data().toString().contains(text)) return true;
    return false;
}

}  // namespace

class TestMainWindowRead : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        RegisterChannelWindows();
        DemoRadio::setSimulatorPath(
            QString::fromStdString((zrtest::binaryDir() / "tools" / "zrcps-sim").string()));
    }

    void readFromTheDemoRadio() {
        if (!QFileInfo(DemoRadio::simulatorPath()).isExecutable())
            QSKIP("zrcps-sim is not built");
        // An installation of its own: <root>/Version.ini, <root>/language and
        // <root>/V100 with the texts and help pages.
        journey::Run r(true);
        Session& s = r.s;
        zrtest::ScriptedPrompter& p = r.p;
        Program& prog = *r.prog;
        QCOMPARE(s.paths.programFolder, (r.root.path() / "V100").string());
        frmMain& w = prog.window();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(r.radioReady);
        QVERIFY(p.asked.empty());
        const int channelsBefore = s.doc.stored.Channels.count;

        int maxPercent = 0;
        bool progressSeen = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (auto* pw = w.progressWindow(); pw && pw->isVisible()) {
                if (!progressSeen) journey::Shot(pw, "progress");
                progressSeen = true;
                maxPercent = std::max(maxPercent, pw->percent());
            }
        });
        watch.start(5);
        p.answers = {Answer::Ok, Answer::Ok};   // 9004 confirm, 9009 finished
        w.action("mnuReadFromRadio")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(p.asked.size() >= 2 && !prog.link().engine().busy(), 30000);
        watch.stop();
        QCOMPARE(p.texts(), (std::vector<std::string>{ToText(Tx(s, 9004)), ToText(Tx(s, 9009))}));
        QVERIFY(progressSeen);
        QVERIFY(maxPercent > 0);
        QVERIFY(!w.progressWindow() || !w.progressWindow()->isVisible());

        // 28 memory channels and the VFO of the sample radio.
        QCOMPARE(int(s.doc.stored.Channels.count), 29);
        QVERIFY(channelsBefore != 29);
        // What was read is not in a file yet: the title marks it unsaved.
        QVERIFY(zrtest::shownTitle(w).endsWith(":new.dat*]"));
        QTRY_VERIFY(w.FindChildWindow("frmCommChInfo") != nullptr);
        QWidget* table = w.FindChildWindow("frmCommChInfo");
        bool shown = false;
        for (auto* view : table->findChildren<QAbstractItemView*>())
            if (view->model() && modelHolds(view->model(), "462.5625")) shown = true;
        QVERIFY2(shown, "the channel table shows the radio's first channel");
        w.resize(1000, 700);
        QTest::qWait(50);
        journey::Shot(&w, "main_after_read");

        // An edit written into the radio comes back with the next read.
        SetChannelItem(s, 2, item::kName, "EDITED");
        p.asked.clear();
        p.answers = {Answer::Ok, Answer::Ok};   // 9005 confirm, 9010 finished
        progressSeen = false;
        watch.start(5);
        w.action("mnuWriteToRadio")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(p.asked.size() >= 2 && !prog.link().engine().busy(), 30000);
        watch.stop();
        QCOMPARE(p.texts(), (std::vector<std::string>{ToText(Tx(s, 9005)), ToText(Tx(s, 9010))}));
        QVERIFY(progressSeen);
        SetChannelItem(s, 2, item::kName, "OTHER");
        p.asked.clear();
        // 9004 confirm, 9006 unsaved changes: No, 9009 finished.
        p.answers = {Answer::Ok, Answer::No, Answer::Ok};
        w.action("mnuReadFromRadio")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(p.asked.size() >= 3 && !prog.link().engine().busy(), 30000);
        QCOMPARE(p.texts(), (std::vector<std::string>{ToText(Tx(s, 9004)), ToText(Tx(s, 9006)),
                                                      ToText(Tx(s, 9009))}));
        QVERIFY(FindChannelRecord(s, 2));
        QCOMPARE(FindChannelRecord(s, 2)->ChannelName.text(), std::string("EDITED"));
        QTRY_VERIFY(w.FindChildWindow("frmCommChInfo") != nullptr);

        // The read document counts as unsaved.
        QVERIFY(IsModified(s));
        p.asked.clear();
        p.answers = {Answer::No, Answer::Cancel};
        w.action("mnuFileNew")->trigger();
        QCOMPARE(p.texts(), (std::vector<std::string>{ToText(Tx(s, 9006)), ToText(Tx(s, 9026))}));
        QCOMPARE(int(s.doc.stored.Channels.count), 29);
        p.answers = {Answer::No};
        QVERIFY(w.close());
    }
};

QTEST_MAIN(TestMainWindowRead)
#include "test_main_window_read.moc"
