// The main window driven through its commands with a scripted prompter.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QComboBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>

#include "channels/channel_ops.h"
#include "files/change_tracking.h"
#include "control/document_controller.h"
#include "platform/shell/frm_main.h"
#include "platform/shell/help_window.h"
#include "platform/shell/texts.h"
#include "shell/session.h"
#include "support/support.h"

using namespace zr;

namespace {

// With ZR_SHOTS=<folder> in the environment, pictures are saved there.
void shot(QWidget* w, const char* name) {
    const QString dir = qEnvironmentVariable("ZR_SHOTS");
    if (!dir.isEmpty() && w) w->grab().save(dir + "/" + name + ".png");
}

// A page that counts how often it was created. In the channel table's
// place it publishes its row as the table does and records the rows the
// channel commands ask it to select.
struct FakePage : QWidget {
    static inline int created = 0;
    static inline QList<int> requested;
    AppServices& app;
    FakePage(AppServices& a, bool asTable) : app(a) {
        ++created;
        if (asTable)
            connect(&a.channelFocus(), &ChannelFocus::rowsRequested, this, [](int, int to, RowRequest) { requested << to; });
    }
    void selectRow(int row) { app.channelFocus().publishSelection({row, {row}}, this); }
};

QTreeWidgetItem* treeEntry(QTreeWidget* t, const QString& key) {
    QTreeWidgetItemIterator it(t);
    for (; *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == key) return *it;
    return nullptr;
}

QStringList treeKeys(QTreeWidget* t) {
    QStringList keys;
    for (QTreeWidgetItemIterator it(t); *it; ++it) keys << (*it)->data(0, Qt::UserRole).toString();
    return keys;
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<zrtest::TempDir> root_;
    std::unique_ptr<Session> s_;
    std::unique_ptr<zrtest::ScriptedPrompter> p_;
    std::unique_ptr<DocumentController> c_;
    std::unique_ptr<frmMain> w_;

    void makeWindow(bool dtmf = false) {
        w_.reset();
        c_.reset();
        root_ = std::make_unique<zrtest::TempDir>();
        s_ = std::make_unique<Session>();
        p_ = std::make_unique<zrtest::ScriptedPrompter>();
        s_->paths.programFolder = (zrtest::sourceDir() / "install").string();
        s_->paths.installRoot = root_->path().string();
        s_->paths.programName = "zrcps";
        s_->prompter = p_.get();
        s_->settings.capabilityFlags[3] = dtmf ? 1 : 0;
        s_->settings.programTitle = "zrcps test";
        c_ = std::make_unique<DocumentController>(*s_);
        w_ = std::make_unique<frmMain>(*s_, *c_);
        w_->Load();
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }

    void changeChannel() {
        auto& ch = s_->doc.stored.Channels;
        QVERIFY(ch.count > 0);
        ch.entries[0].TxPower = ch.entries[0].TxPower == 2 ? 1 : 2;
        QVERIFY(IsModified(*s_));
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        RegisterChildWindow("FrmOptFeatures", [](AppServices& a) { return new FakePage(a, false); });
        RegisterChildWindow("frmCommChInfo", [](AppServices& a) { return new FakePage(a, true); });
    }
    void init() {
        FakePage::created = 0;
        FakePage::requested.clear();
        makeWindow();
    }
    void cleanup() {
        w_.reset();
        c_.reset();
    }

    void titleOfNewDocument() {
        const QString expected = Tx(*s_, 12000) + "[ZR-M83KGMRS:460 - 470 MHz][" + Tx(*s_, 12009) + ":new.dat]";
        QVERIFY(!Tx(*s_, 12000).isEmpty());
        QCOMPARE(zrtest::shownTitle(*w_), expected);
        QCOMPARE(w_->statusPanel(2)->text(), QString("ZR-M83KGMRS[460 - 470 MHz]"));
        QCOMPARE(w_->statusPanel(3)->text(), Tx(*s_, 12008) + "1");
        QVERIFY(w_->statusPanel(1)->text().isEmpty());
        // A file name is shown without its folder.
        s_->doc.fileName = root_->str("radio 7.dat");
        w_->ShowMainTxt();
        QVERIFY(zrtest::shownTitle(*w_).endsWith(":radio 7.dat]"));
    }

    void pageOpenedTwiceIsOneWindow() {
        const int before = FakePage::created;
        QWidget* a = w_->ShowChild("FrmOptFeatures");
        QVERIFY(a);
        w_->ShowChild("frmCommChInfo");   // another page in front
        QTreeWidgetItem* n2 = treeEntry(w_->tree(), "N2");
        QVERIFY(n2);
        w_->treeEntry_Click("N2");
        QCOMPARE(FakePage::created, before + 1);
        QCOMPARE(w_->mdiArea()->activeSubWindow()->widget(), a);
        int named = 0;
        for (QWidget* c : w_->childWindows()) named += c->objectName() == "FrmOptFeatures";
        QCOMPARE(named, 1);
        // Closed by name, it opens afresh.
        w_->UnloadByName("FrmOptFeatures");
        QVERIFY(!w_->FindChildWindow("FrmOptFeatures"));
        QVERIFY(w_->ShowChild("FrmOptFeatures") != nullptr);
        QCOMPARE(FakePage::created, before + 2);
        // A page closing itself takes its frame along.
        QWidget* again = w_->FindChildWindow("FrmOptFeatures");
        again->close();
        QTRY_VERIFY(!w_->FindChildWindow("FrmOptFeatures"));
        QCOMPARE(w_->childWindows().size(), 1);
        // An unknown window name opens nothing.
        QVERIFY(!w_->ShowChild("NoSuchWindow"));
    }

    void closeAllAndCloseOthers() {
        QWidget* opt = w_->ShowChild("FrmOptFeatures");
        QVERIFY(w_->FindChildWindow("frmCommChInfo"));
        w_->CloseCurAllOtherWindows(opt);
        QCOMPARE(w_->childWindows(), QList<QWidget*>{opt});
        w_->CloseCurAllWindows();
        QVERIFY(w_->childWindows().isEmpty());
    }

    void toolbarNewAsksNothingFileNewAsks() {
        changeChannel();
        w_->toolButton("NewFile")->trigger();
        QVERIFY(p_->asked.empty());
        QVERIFY(w_->childWindows().isEmpty());   // closed at once, reopened by the timer
        QTRY_VERIFY_WITH_TIMEOUT(w_->FindChildWindow("frmCommChInfo") != nullptr, 2000);
        QVERIFY(!IsModified(*s_));

        changeChannel();
        p_->answers = {Answer::No, Answer::Cancel};
        w_->action("mnuFileNew")->trigger();
        QCOMPARE(p_->texts(), (std::vector<std::string>{ToText(Tx(*s_, 9006)), ToText(Tx(*s_, 9026))}));
        QCOMPARE(p_->asked[0].buttons, Buttons::YesNoCancel);
        QVERIFY(IsModified(*s_));   // Cancel in the second question keeps the document
    }

    void splitterKeepsMinimumWidth() {
        const int start = w_->sidePanelTwips();
        QCOMPARE(start, 3450);
        w_->dragSplitter(-(start - kMinSidePanelTwips));   // exactly 300 twips
        QCOMPARE(w_->sidePanelTwips(), kMinSidePanelTwips);
        w_->dragSplitter(-15);                            // 285: refused
        QCOMPARE(w_->sidePanelTwips(), kMinSidePanelTwips);
        QCOMPARE(w_->sidePanel()->width(), kMinSidePanelTwips / kTwipsPerPixel);
        w_->dragSplitter(1500);
        QCOMPARE(w_->sidePanelTwips(), 1800);
        QCOMPARE(w_->sidePanel()->width(), 120);
        // Wider than the window's inner width: refused.
        w_->dragSplitter(w_->centralWidget()->width() * kTwipsPerPixel);
        QCOMPARE(w_->sidePanelTwips(), 1800);

        // Through the mouse: a move to 12 pixels right of the bar's left edge
        // widens the panel by 180 twips.
        SplitterBar* bar = w_->splitterBar();
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(2, 50));
        QMouseEvent move(QEvent::MouseMove, QPointF(12, 50), bar->mapToGlobal(QPointF(12, 50)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &move);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(12, 50));
        QCOMPARE(w_->sidePanelTwips(), 1980);
        QVERIFY(!bar->dragging());
        // Moves after the release change nothing.
        QCoreApplication::sendEvent(bar, &move);
        QCOMPARE(w_->sidePanelTwips(), 1980);
    }

    void dtmfEntriesFollowTheCapabilityFlag() {
        QVERIFY(!treeKeys(w_->tree()).contains("N4"));
        QVERIFY(!w_->action("MnuDTMF")->isVisible());
        QCOMPARE(treeKeys(w_->tree()),
                 (QStringList{"N0", "N1", "N2", "N3", "N8", "N9", "N10", "N6", "N7"}));
        s_->settings.capabilityFlags[3] = 1;   // a radio with DTMF was read
        w_->LoadTree();
        QCOMPARE(treeKeys(w_->tree()),
                 (QStringList{"N0", "N1", "N2", "N3", "N4", "N8", "N9", "N10", "N6", "N7"}));
        QVERIFY(w_->action("MnuDTMF")->isVisible());
        QCOMPARE(treeEntry(w_->tree(), "N4")->text(0), Tx(*s_, 12004));
        // The factory test entries stay hidden outside factory test mode;
        // the language can be chosen in every run.
        QVERIFY(!w_->action("mnuTestData")->isVisible());
        QVERIFY(w_->action("mnuLanguage")->isVisible());
        QVERIFY(!w_->action("mnuFilePrint")->isVisible());
        QVERIFY(!w_->action("MnuTestFre")->isVisible());
    }

    void channelCommandsAreDeferredAndFollowTheActiveTable() {
        auto* table = dynamic_cast<FakePage*>(w_->FindChildWindow("frmCommChInfo"));
        QVERIFY(table);
        w_->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(table->parentWidget()));
        QTRY_VERIFY(w_->channelMenu()->menuAction()->isVisible());
        QVERIFY(w_->toolButton("CHPaste")->isVisible());
        // The clipboard holds a channel; paste overwrites without asking.
        s_->settings.habits.PasteNoAsk = true;
        s_->settings.habits.PasteInsert = false;
        ChannelRecord clip = s_->doc.stored.Channels.entries[0];
        clip.ChannelName.set("CLIP");
        s_->clipboard.record = clip;
        s_->clipboard.hasChannel = true;
        const auto nameAt = [&](int n) -> std::string {
            const auto pos = FindChannel(*s_, n);
            return pos ? s_->doc.stored.Channels.entries[*pos].ChannelName.text() : std::string();
        };

        table->selectRow(129);   // the VFO row: Ctrl+V does nothing
        QVERIFY(w_->action("MnuCHPaste")->isEnabled());
        const auto before = s_->doc.stored;
        w_->action("MnuCHPaste")->trigger();
        QCOMPARE(w_->pendingChannelCommand(), 3);
        QTest::qWait(60);
        QCOMPARE(w_->pendingChannelCommand(), 0);
        QVERIFY(s_->doc.stored == before);

        table->selectRow(5);
        QVERIFY(nameAt(5) != "CLIP");
        QApplication::setActiveWindow(w_.get());
        QTest::keyClick(w_.get(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(nameAt(5) != "CLIP");   // not run from the handler itself
        QTRY_COMPARE(nameAt(5), std::string("CLIP"));
        // The pasted channel can move: the command follows the document.
        QTRY_VERIFY(w_->toolButton("CHMoveDown")->isEnabled());
        w_->toolButton("CHMoveDown")->trigger();
        QTRY_COMPARE(nameAt(6), std::string("CLIP"));
        QCOMPARE(FakePage::requested, QList<int>{6});   // the table is asked to follow it

        // Another page in front hides the channel commands.
        w_->ShowChild("FrmOptFeatures");
        QTRY_VERIFY(!w_->channelMenu()->menuAction()->isVisible());
        QVERIFY(!w_->toolButton("CHPaste")->isVisible());
        QVERIFY(!w_->action("MnuCHCut")->isEnabled());
    }

    void exitWithChangesCancelKeepsRunning() {
        changeChannel();
        const auto before = s_->doc.stored;
        p_->answers = {Answer::Cancel};
        QVERIFY(!w_->close());
        QVERIFY(w_->isVisible());
        QCOMPARE(p_->texts(), std::vector<std::string>{ToText(Tx(*s_, 9006))});
        QCOMPARE(p_->asked[0].icon, Icon::Warning);
        QVERIFY(s_->doc.stored == before);
        QVERIFY(w_->FindChildWindow("frmCommChInfo"));

        // Yes with a cancelled file dialog: nothing was saved, so it stays.
        p_->answers = {Answer::Yes};
        QVERIFY(!w_->close());
        QVERIFY(w_->isVisible());

        // No closes.
        p_->answers = {Answer::No};
        QVERIFY(w_->close());
    }

    void exitWithoutChangesAsksNothing() {
        QVERIFY(w_->close());
        QVERIFY(p_->asked.empty());
    }

    void placementIsStoredInTwips() {
        w_->move(100, 80);
        w_->resize(700, 500);
        QVERIFY(w_->close());
        makeWindow();
        QCOMPARE(w_->size(), QSize(700, 500));
    }

    void modelAndBandChangeStartsANewDocument() {
        changeChannel();
        // The dialog is modal: it is answered once it is up.
        QTimer::singleShot(50, [] {
            auto* d = qobject_cast<FrmModelInfo*>(QApplication::activeModalWidget());
            QVERIFY(d);
            d->ComboBand->setCurrentIndex(0);   // "400 - 470 MHz"
            d->CommandOK->click();
        });
        p_->answers = {Answer::Ok};
        w_->mnuModelInfo_Click();
        QCOMPARE(p_->texts(), std::vector<std::string>{ToText(Tx(*s_, 9016))});
        QTRY_VERIFY_WITH_TIMEOUT(w_->FindChildWindow("frmCommChInfo") != nullptr, 2000);
        QVERIFY(zrtest::shownTitle(*w_).contains("[ZR-M83KGMRS:400 - 470 MHz]"));
        QCOMPARE(w_->statusPanel(2)->text(), QString("ZR-M83KGMRS[400 - 470 MHz]"));
        QCOMPARE(int(s_->doc.stored.ModelBand.BandCode), 0);
        QCOMPARE(s_->doc.bandLower, 400.0);
        QCOMPARE(s_->doc.bandUpper, 470.0);
        QVERIFY(!IsModified(*s_));   // the new document replaced the edit
    }

    void helpOpensAtContext() {
        w_->ShowHelp(3200);
        QVERIFY(w_->helpWindow());
        QCOMPARE(w_->helpWindow()->currentContext(), 3200);
        QVERIFY(w_->helpWindow()->browser()->toPlainText().contains("Optional features"));
        // F1 on a highlighted menu item opens its context.
        QMenu* file = w_->action("mnuFile")->menu();
        file->popup(w_->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        file->setActiveAction(w_->action("mnuFileOpen"));
        shot(file, "menu_file");
        for (const char* m : {"mnuEdit", "mnuProgram", "mnuSet", "mnuView", "mnuWindow"}) {
            QMenu* menu = w_->action(m)->menu();
            menu->adjustSize();
            shot(menu, m);
        }
        QTest::keyClick(file, Qt::Key_F1);
        QCOMPARE(w_->helpWindow()->currentContext(), 102);
        QVERIFY(!file->isVisible());
    }

    void menuCaptionsAndToolTipsComeFromTheLanguageFile() {
        QCOMPARE(w_->action("mnuFile")->text(), Tx(*s_, 10000));
        QCOMPARE(w_->action("mnuReadFromRadio")->text(), Tx(*s_, 10301));
        QCOMPARE(w_->action("mnuReadFromRadio")->shortcut(), QKeySequence("Ctrl+R"));
        QCOMPARE(w_->toolButton("ReadRadio")->toolTip(), Tx(*s_, 11004));
        QVERIFY(!w_->action("mnuFile")->text().isEmpty());
        // Tool bar order with its separators at positions 4, 6, 10, 14 and 19.
        const auto acts = w_->toolBar()->actions();
        QCOMPARE(acts.size(), 20);
        for (int pos : {4, 6, 10, 14, 19}) QVERIFY(acts[pos - 1]->isSeparator());
        QCOMPARE(acts[6], w_->toolButton("ReadRadio"));
        QCOMPARE(acts[19], w_->toolButton("About"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
