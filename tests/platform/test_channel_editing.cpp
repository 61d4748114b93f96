// Channel editing beyond one row, through the main window as Program builds
// it: undo and redo of every kind of change, blocks of rows with the
// keyboard and the mouse, the system clipboard, sorting, drag and drop,
// channel plans, recent documents, the unsaved-changes mark, the status
// line and the navigation tree's keys.

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QTimer>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMap>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include "channels/channel_batch.h"
#include "channels/channel_commands.h"
#include "channels/channel_ops.h"
#include "data/bands.h"
#include "files/change_tracking.h"
#include "journey_support.h"
#include "platform/channels/channel_dialogs.h"
#include "platform/channels/frm_ch_batch.h"
#include "platform/channels/frm_edit_selected.h"
#include "platform/pages/frm_key.h"
#include "platform/shell/main_editing.h"

using namespace zr;
using namespace journey;

namespace {


std::string Name(const Session& s, int n) {
    const ChannelRecord* c = Ch(s, n);
    return c ? c->ChannelName.text() : std::string("(none)");
}

// A typed RX frequency in the table, confirmed with Enter.
void TypeRx(Run& r, int row, const char* mhz) {
    ClickCell(r.table(), row, 1);
    Type(mhz);
    Key(Qt::Key_Return);
}

// A typed name in the table, confirmed with Enter.
void TypeName(Run& r, int row, const char* name) {
    ClickCell(r.table(), row, 3);
    Type(name);
    Key(Qt::Key_Return);
}

// A click on a row label, with Shift or Ctrl when given.
void ClickLabel(Run& r, int row, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QVERIFY(Activate(&r.window()));
    QTest::mouseClick(r.table()->MSFlexGrid1->viewport(), Qt::LeftButton, m, CellRect(r.table(), row, 0).center());
}

// The channel commands run 20 ms after their key or click, from a timer.
void CommandRan(Run& r) {
    QTest::qWait(30);
    QVERIFY(QTest::qWaitFor([&] { return r.window().pendingChannelCommand() == 0; }, 5000));
}

// A key to the main window's shortcuts, as the user presses it over the table.
void Shortcut(Run& r, Qt::Key k, Qt::KeyboardModifiers m) {
    QVERIFY(Activate(&r.window()));
    Key(k, m);
    CommandRan(r);
}

// Chooses an entry of a menu that fills itself when it opens.
QAction* MenuEntry(QMenu* menu, const QString& objectName) {
    emit menu->aboutToShow();
    return menu->findChild<QAction*>(objectName);
}

// A menu item as the user clicks it.
void Choose(Run& r, const char* name) {
    QAction* a = r.window().action(name);
    QVERIFY2(a && a->isEnabled(), name);
    a->trigger();
    CommandRan(r);
}

QString Status(Run& r) { return r.window().statusBar()->currentMessage(); }

// With ZR_SHOTS set, a picture of a menu as it opens.
void MenuShot(QMenu* m, const char* name) {
    if (qEnvironmentVariableIsEmpty("ZR_SHOTS") || !m) return;
    m->popup(QPoint(40, 40));
    if (QTest::qWaitForWindowExposed(m)) Shot(m, name);
    m->close();
}

}  // namespace

class TestChannelEditing : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        UseDarkPaletteWhenAsked();
    }

    // Every kind of change is one undo step; undoing all of them gives the
    // saved document back, unmodified, and redoing them the edited one.
    void undoEveryKindOfChangeAndRedoIt() {
        Run r;
        const std::string path = r.file("undo.dat");
        r.p.files = {path};
        Shortcut(r, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);   // Save As
        QTRY_VERIFY(!IsModified(r.s));
        QVERIFY(!r.window().isWindowModified());
        const StoredDocument saved = r.s.doc.stored;
        MainEditing& ed = r.window().editing();
        QVERIFY(!ed.history().canUndo());

        TypeRx(r, 5, "462.6375");                       // a cell creates a channel
        QTRY_VERIFY(ed.history().canUndo());
        QVERIFY(r.window().isWindowModified());
        QVERIFY(zrtest::shownTitle(r.window()).endsWith(".dat*]"));
        TypeName(r, 5, "HOME");                          // a name
        ClickLabel(r, 5);
        Shortcut(r, Qt::Key_C, Qt::ControlModifier);     // copy and paste
        ClickLabel(r, 9);
        r.s.settings.habits.PasteNoAsk = true;
        Shortcut(r, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Name(r.s, 9), std::string("HOME"));
        Choose(r, "MnuCHSortName");                     // sort: HOME 1, 2, then channel 1
        QCOMPARE(Name(r.s, 1), std::string("HOME"));
        QMenu* plans = r.window().findChild<QMenu*>("MnuCHPlans");
        QVERIFY(plans);
        QAction* frs = MenuEntry(plans, "MnuCHPlan_FRS");
        QVERIFY(frs);
        frs->trigger();                                  // a plan into the free rows
        CommandRan(r);
        QCOMPARE(Name(r.s, 4), std::string("FRS01"));
        // A settings page: typing one line of the embedded message is one step.
        r.window().treeEntry_Click("N6");
        auto* msg = qobject_cast<FrmEmbMsg*>(r.window().FindChildWindow("FrmEmbMsg"));
        QVERIFY(msg);
        QTest::mouseClick(msg->line(0), Qt::LeftButton);
        Key(Qt::Key_End);
        Type("XY");
        QTRY_VERIFY(r.s.doc.stored.EmbMsg.Lines[0].text().find("XY") != std::string::npos);
        const StoredDocument edited = r.s.doc.stored;
        QTRY_COMPARE(ed.history().stack().count(), 6);
        QCOMPARE(ed.history().stack().undoText(), msg->windowTitle());

        // Undo by key over the table (a text box keeps Ctrl+Z for its own
        // typing): the page is shown again with the line as it was.
        ClickCell(r.table(), 1, 1);
        Shortcut(r, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(r.s.doc.stored.EmbMsg, saved.EmbMsg);
        msg = qobject_cast<FrmEmbMsg*>(r.window().FindChildWindow("FrmEmbMsg"));
        QVERIFY(msg);
        QVERIFY(!msg->line(0)->text().contains("XY"));
        QAction* undo = r.window().findChild<QAction*>("mnuEditUndo");
        QVERIFY(undo);
        MenuShot(r.window().findChild<QMenu*>("mnuEdit"), "edit_menu_undo");
        QVERIFY(undo->text().contains(QStringLiteral("FRS")));   // "Undo Fill from plan FRS (22 channels)"
        for (int i = 0; i < 5; ++i) Shortcut(r, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(r.s.doc.stored == saved);
        QVERIFY(!IsModified(r.s));
        QVERIFY(!r.window().isWindowModified());
        QCOMPARE(r.table()->cellText(5, 1), QString());
        QVERIFY(!undo->isEnabled());

        // Redo with Ctrl+Y and Ctrl+Shift+Z gives the edited document back.
        for (int i = 0; i < 3; ++i) Shortcut(r, Qt::Key_Y, Qt::ControlModifier);
        for (int i = 0; i < 3; ++i) Shortcut(r, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(r.s.doc.stored == edited);
        QCOMPARE(r.table()->cellText(1, 3), QString("HOME"));
        QVERIFY(r.window().isWindowModified());

        // A new document starts a new history.
        ClickTool(r.window(), "NewFile");
        QTRY_VERIFY(r.table());
        QTRY_VERIFY(!ed.history().canUndo());
    }

    // Shift+click and Shift+arrows select blocks; Cut and Paste move them;
    // Move up takes the block along; the table shows every step.
    void blocksOfRows() {
        Run r;
        r.s.settings.habits.DeleteNoAsk = true;
        r.s.settings.habits.DeleteRemove = true;
        for (int n = 3; n <= 5; ++n) {
            TypeRx(r, n, "462.6");
            TypeName(r, n, QString("B%1").arg(n).toLatin1().constData());
        }
        frmCommChInfo* t = r.table();
        ClickLabel(r, 3);
        ClickLabel(r, 5, Qt::ShiftModifier);
        QCOMPARE(t->selectedRows(), (std::vector<int>{3, 4, 5}));
        QCOMPARE(t->MSFlexGrid1->selectionModel()->selectedRows().size(), 3);
        Shot(t, "block_selected");
        Shortcut(r, Qt::Key_X, Qt::ControlModifier);
        for (int n = 3; n <= 5; ++n) QVERIFY(!Ch(r.s, n));
        QCOMPARE(t->cellText(4, 3), QString());

        ClickCell(t, 10, 1);
        Shortcut(r, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Name(r.s, 10), std::string("B3"));
        QCOMPARE(Name(r.s, 12), std::string("B5"));
        QCOMPARE(t->cellText(11, 3), QString("B4"));
        QVERIFY(Status(r).contains("3"));

        // Shift+Down from row 10 to 12, then Move up twice: 8..10.
        ClickCell(t, 10, 1);
        Key(Qt::Key_Down, Qt::ShiftModifier);
        Key(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(t->selectedRows(), (std::vector<int>{10, 11, 12}));
        Shortcut(r, Qt::Key_U, Qt::ControlModifier);
        Shortcut(r, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(t->selectedRows(), (std::vector<int>{8, 9, 10}));
        QCOMPARE(t->cellText(8, 3), QString("B3"));
        QCOMPARE(t->cellText(10, 3), QString("B5"));
        QVERIFY(!Ch(r.s, 12));

        // Ctrl+click adds one row; a plain click ends the block.
        ClickLabel(r, 10);
        ClickLabel(r, 1, Qt::ControlModifier);
        QCOMPARE(t->selectedRows(), (std::vector<int>{1, 10}));
        ClickCell(t, 20, 1);
        QCOMPARE(t->selectedRows(), std::vector<int>{20});
        Shortcut(r, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(t->selectedRows().size(), std::size_t(128));
    }

    // Ctrl+V answered "insert, do not ask again": the copy is inserted and
    // the answer holds for the run. Habit.ini keeps it; where the file
    // cannot be written, the user is told once which file was not kept.
    void aPasteAnswerIsKeptOrToldOnce() {
        for (const bool writable : {true, false}) {
            Run r;
            const std::string habits = HabitFilePath(r.s);
            std::filesystem::remove_all(habits);
            if (!writable) std::filesystem::create_directories(habits);   // a folder where the file should be
            r.s.settings.habits.PasteNoAsk = false;
            TypeRx(r, 5, "462.6375");
            TypeName(r, 5, "HOME");
            ClickLabel(r, 5);
            Shortcut(r, Qt::Key_C, Qt::ControlModifier);
            r.p.asked.clear();
            r.p.answers = {Answer::Ok};
            QVERIFY(WithModal<FrmMsgConfirm>([&] { Shortcut(r, Qt::Key_V, Qt::ControlModifier); },
                                             [&](FrmMsgConfirm& d) {
                                                 d.Check1->setChecked(true);
                                                 QTest::mouseClick(d.CommandYes, Qt::LeftButton);
                                             }));
            QCOMPARE(Name(r.s, 5), std::string("HOME"));   // inserted: the old channel 5 moved down
            QCOMPARE(Name(r.s, 6), std::string("HOME"));
            QVERIFY(r.s.settings.habits.PasteInsert);
            QVERIFY(r.s.settings.habits.PasteNoAsk);
            if (writable) {
                QVERIFY(r.p.asked.empty());
                QCOMPARE(zrtest::readBytes(habits),
                         (std::vector<unsigned char>{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}));
            } else {
                QCOMPARE(r.p.texts(), std::vector<std::string>{r.tx(9067) + "\n" + habits});
                QCOMPARE(r.p.asked[0].icon, Icon::Warning);
            }

            // Not asked again: the next paste inserts at once and tells nothing.
            r.p.asked.clear();
            ClickLabel(r, 9);
            Shortcut(r, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(Name(r.s, 9), std::string("HOME"));
            QVERIFY(r.p.asked.empty());
        }
    }

    // Copy puts tab-separated text with the CSV header on the system
    // clipboard; that text, pasted into a new document as a spreadsheet
    // gives it, makes the same channels there.
    void clipboardTextIntoANewDocument() {
        Run r;
        TypeRx(r, 2, "462.5625");
        TypeName(r, 2, "GATE");
        TypeRx(r, 4, "462.6");
        ClickLabel(r, 2);
        ClickLabel(r, 4, Qt::ShiftModifier);
        Shortcut(r, Qt::Key_C, Qt::ControlModifier);
        const QString text = QApplication::clipboard()->text();
        const QStringList lines = text.split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith("Location\tName\tFrequency\t"));
        QVERIFY(lines[1].startsWith("2\tGATE\t462.562500\t"));
        const ChannelRecord two = *Ch(r.s, 2), four = *Ch(r.s, 4);

        ClickTool(r.window(), "NewFile");
        QTRY_VERIFY(r.table() && !Ch(r.s, 4));
        // As another program leaves it: the text alone.
        QApplication::clipboard()->setText(text);
        ClickCell(r.table(), 20, 1);
        Shortcut(r, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(Ch(r.s, 20) && Ch(r.s, 22));
        ChannelRecord want = two;
        want.ChannelNumber = 20;
        QCOMPARE(*Ch(r.s, 20), want);
        want = four;
        want.ChannelNumber = 22;
        QCOMPARE(*Ch(r.s, 22), want);
        QCOMPARE(r.table()->cellText(20, 3), QString("GATE"));
        QVERIFY(r.p.asked.empty());   // nothing to report
    }

    // Sorting moves whole channels and every setting that names one
    // follows; undo puts both back.
    void sortKeepsEveryReferenceOnItsChannel() {
        Run r;
        TypeRx(r, 2, "462.7");
        TypeRx(r, 6, "460.2");
        TypeName(r, 6, "LOW");
        r.s.doc.stored.OptFeat.UhfCurrentCh = 6;
        r.s.doc.stored.OptFeat.DirectCh1 = 2;
        r.s.doc.stored.Alert.EmgChannel = 6;
        r.s.doc.stored.Scan.PriorityCh1 = 2;
        const StoredDocument before = r.s.doc.stored;
        Choose(r, "MnuCHSortRx");
        QCOMPARE(r.table()->cellText(1, 3), QString("LOW"));
        QCOMPARE(r.s.doc.stored.OptFeat.UhfCurrentCh, int16_t(1));
        QCOMPARE(r.s.doc.stored.Alert.EmgChannel, uint8_t(1));
        QCOMPARE(Rx(r.s, r.s.doc.stored.OptFeat.DirectCh1), std::string("46270000"));
        QCOMPARE(Rx(r.s, r.s.doc.stored.Scan.PriorityCh1), std::string("46270000"));
        QVERIFY(Status(r).contains("3"));   // channel 1 of the new document, 2 and 6
        Shortcut(r, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(r.s.doc.stored == before);
        QCOMPARE(r.table()->cellText(6, 3), QString("LOW"));
        // Sorting what is sorted says so and changes nothing.
        Choose(r, "MnuCHCompact");
        Choose(r, "MnuCHCompact");
        QCOMPARE(Status(r), Tx(r.s, 33020));
    }

    // Rows dragged with the mouse and dropped on another row move there
    // as a block (the drop as the view receives it).
    void dragAndDropReordersRows() {
        Run r;
        for (int n = 1; n <= 4; ++n) {
            if (n > 1) TypeRx(r, n, "462.6");
            TypeName(r, n, QString("D%1").arg(n).toLatin1().constData());
        }
        frmCommChInfo* t = r.table();
        ClickLabel(r, 1);
        ClickLabel(r, 2, Qt::ShiftModifier);
        QMimeData md;
        md.setData("application/x-zrcps-rows", "1,2");
        const QPoint at = CellRect(t, 4, 3).center();
        QDragEnterEvent enter(at, Qt::MoveAction, &md, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(t->MSFlexGrid1->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::MoveAction, &md, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(t->MSFlexGrid1->viewport(), &drop);
        QVERIFY(drop.isAccepted());
        // 3 1 2 4
        QCOMPARE(t->cellText(1, 3), QString("D3"));
        QCOMPARE(t->cellText(2, 3), QString("D1"));
        QCOMPARE(t->cellText(3, 3), QString("D2"));
        QCOMPARE(t->cellText(4, 3), QString("D4"));
        QCOMPARE(t->selectedRows(), (std::vector<int>{2, 3}));
        QCOMPARE(r.window().editing().history().stack().undoText(), Tx(r.s, 33025).arg(2).arg(3));
    }

    // The plans on offer follow the band; a plan fills the selected rows or
    // the free ones and says so in the status line.
    void plansUnderEachBand() {
        Run r;
        QMenu* plans = r.window().findChild<QMenu*>("MnuCHPlans");
        QVERIFY(plans);
        const auto offered = [&] {
            emit plans->aboutToShow();
            QStringList names;
            for (QAction* a : plans->actions()) names << a->objectName();
            return names;
        };
        r.s.doc.currentBand = "446 - 447 MHz";
        RefreshBandLimits(r.s.doc);
        QCOMPARE(offered(), QStringList{"MnuCHPlan_PMR446"});
        r.s.doc.currentBand = "136 - 174 MHz";
        RefreshBandLimits(r.s.doc);
        QCOMPARE(offered(), QStringList{});
        r.s.doc.currentBand = "460 - 470 MHz";
        RefreshBandLimits(r.s.doc);
        QCOMPARE(offered(), (QStringList{"MnuCHPlan_FRS", "MnuCHPlan_GMRS"}));

        MenuShot(r.window().channelMenu(), "channel_menu");
        MenuShot(plans, "plans_menu");
        // Into three selected rows: three channels.
        ClickLabel(r, 40);
        ClickLabel(r, 42, Qt::ShiftModifier);
        MenuEntry(plans, "MnuCHPlan_GMRS")->trigger();
        CommandRan(r);
        QCOMPARE(r.table()->cellText(40, 3), QString("GMRS01"));
        QCOMPARE(r.table()->cellText(42, 3), QString("GMRS03"));
        QVERIFY(!Ch(r.s, 43));
        QCOMPARE(Status(r), Tx(r.s, 33014).arg(3).arg("GMRS"));
        // Into the free rows: all 30, the repeaters with their input.
        ClickCell(r.table(), 50, 1);
        MenuEntry(plans, "MnuCHPlan_GMRS")->trigger();
        CommandRan(r);
        QCOMPARE(Name(r.s, 2), std::string("GMRS01"));   // channel 1 holds the new document's channel
        QCOMPARE(Name(r.s, 31), std::string("RPT22"));
        QCOMPARE(r.table()->cellText(31, 2), QString("467.72500"));
        Shot(r.table(), "plan_filled");
        // Six wide letters fit in the name column: no name is cut.
        const QTableWidget* g = r.table()->MSFlexGrid1;
        QVERIFY(g->columnWidth(3) > g->fontMetrics().horizontalAdvance("WWWWWW"));
    }

    // Saved documents go to File > Recent documents; one that is gone is
    // told and taken off the list.
    void recentDocuments() {
        Run r;
        const std::string a = r.file("first.dat"), b = r.file("second.dat");
        QMenu* recent = r.window().findChild<QMenu*>("mnuFileRecent");
        QVERIFY(recent);
        emit recent->aboutToShow();
        if (QAction* clear = recent->findChild<QAction*>("mnuFileRecentClear")) clear->trigger();   // earlier tests
        r.p.files = {a};
        Shortcut(r, Qt::Key_S, Qt::ControlModifier);   // never saved: Save As
        QTRY_VERIFY(!r.s.doc.neverSaved);
        TypeName(r, 1, "SECOND");
        r.p.files = {b};
        Shortcut(r, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(QString::fromStdString(r.window().editing().recent().paths().front()), QString::fromStdString(b));
        QCOMPARE(r.window().editing().recent().paths().size(), std::size_t(2));

        emit recent->aboutToShow();
        QList<QAction*> entries;
        for (QAction* act : recent->actions())
            if (act->data().isValid()) entries << act;
        QCOMPARE(entries.size(), 2);
        MenuShot(recent, "recent_menu");
        QCOMPARE(entries[1]->data().toString(), QString::fromStdString(a));
        entries[1]->trigger();   // the first document again
        QTRY_COMPARE(QString::fromStdString(r.s.doc.fileName), QString::fromStdString(a));
        QCOMPARE(r.table()->cellText(1, 3), QString());
        QVERIFY(!r.window().isWindowModified());

        // The next run finds the list in the user's settings.
        QTRY_COMPARE(QSettings("zrcps", r.window().settingsStoreName()).value("Recent/Documents").toStringList(),
                     (QStringList{QString::fromStdString(a), QString::fromStdString(b)}));

        std::filesystem::remove(b);
        r.p.asked.clear();
        r.p.answers = {Answer::Ok};
        emit recent->aboutToShow();
        for (QAction* act : recent->actions())
            if (act->data().toString() == QString::fromStdString(b)) act->trigger();
        QCOMPARE(r.p.asked.size(), std::size_t(1));
        QVERIFY(r.p.asked.back().text.find("second.dat") != std::string::npos);
        QCOMPARE(r.window().editing().recent().paths().size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(r.s.doc.fileName), QString::fromStdString(a));
    }

    // "Edit selected..." sets the checked items on every selected channel,
    // as one undo step.
    void editSelectedSetsItemsOnTheBlock() {
        Run r;
        TypeRx(r, 2, "462.6");
        TypeRx(r, 3, "462.7");
        ClickLabel(r, 1);
        ClickLabel(r, 3, Qt::ShiftModifier);
        const StoredDocument before = r.s.doc.stored;
        const bool seen = WithModal<FrmEditSelected>([&] { Choose(r, "MnuCHEditSelected"); }, [&](FrmEditSelected& d) {
            FrmEditSelected* dlg = &d;
            QVERIFY(QTest::qWaitForWindowExposed(dlg));
            Shot(dlg, "edit_selected");
            // A click on the box itself, at the left of its row.
            const auto tick = [&](const char* name) {
                QCheckBox* box = dlg->findChild<QCheckBox*>(name);
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
                QVERIFY(box->isChecked());
            };
            tick("use6");
            auto* power = dlg->findChild<QComboBox*>("value6");
            power->setFocus();
            QTest::keyClick(power, Qt::Key_Home);   // Low
            auto* bandwidth = dlg->findChild<QComboBox*>("value9");
            QVERIFY(!bandwidth->isEnabled());
            tick("use9");
            bandwidth->setFocus();
            QTest::keyClick(bandwidth, Qt::Key_End);   // 25 kHz
            QTest::mouseClick(dlg->buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        QVERIFY(seen);
        for (int n = 1; n <= 3; ++n) {
            QCOMPARE(Ch(r.s, n)->TxPower, int16_t(0));
            QCOMPARE(Ch(r.s, n)->Bandwidth, int16_t(2));
            QCOMPARE(r.table()->cellText(n, 6), Tx(r.s, 14014));
            QCOMPARE(r.table()->cellText(n, 9), Tx(r.s, 14022));
        }
        QCOMPARE(Status(r), Tx(r.s, 33032).arg(3));
        Shortcut(r, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(r.s.doc.stored == before);
        QCOMPARE(r.table()->cellText(2, 6), Tx(r.s, 14016));
    }

    // The batch window hints at the items until one is chosen; its Apply is
    // one undo step named after its range and says in the status line how
    // many channels it changed.
    void batchHintStatusAndUndoName() {
        Run r;
        TypeRx(r, 2, "462.6");
        const StoredDocument before = r.s.doc.stored;
        const bool seen = WithModal<FrmCHBatch>([&] { Choose(r, "MnuCHBatch"); }, [&](FrmCHBatch& d) {
            FrmCHBatch* dlg = &d;
            QVERIFY(QTest::qWaitForWindowExposed(dlg));
            QVERIFY(dlg->LabelHint->isVisible());
            QCOMPARE(dlg->LabelHint->text(), Tx(r.s, 33029));
            Shot(dlg, "batch_hint");
            QTest::mouseClick(dlg->CommandSwitch, Qt::LeftButton);   // to the items
            QCheckBox* power = dlg->CheckItem[kBatchTxPower];
            QTest::mouseClick(power, Qt::LeftButton, {}, QPoint(8, power->height() / 2));
            QVERIFY(power->isChecked());
            QVERIFY(!dlg->LabelHint->isVisible());
            QTest::mouseClick(dlg->CommandSwitch, Qt::LeftButton);   // back to the values: Low is first
            QTest::mouseClick(dlg->CommandApply, Qt::LeftButton);
            QTest::mouseClick(dlg->CommandClose, Qt::LeftButton);
        });
        QVERIFY(seen);
        QCOMPARE(Ch(r.s, 1)->TxPower, int16_t(0));
        QCOMPARE(Ch(r.s, 2)->TxPower, int16_t(0));
        QCOMPARE(Status(r), Tx(r.s, 33018).arg(2));
        QTRY_COMPARE(r.window().editing().history().stack().undoText(), Tx(r.s, 33026).arg(1).arg(128));
        Shortcut(r, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(r.s.doc.stored == before);
        QCOMPARE(r.table()->cellText(2, 6), Tx(r.s, 14016));
    }

    // Within each menu, every visible entry has its own access key, so that
    // Alt+letter reaches each of them.
    void accessKeysOfEachMenuAreUnique() {
        Run r;
        r.window().ShowCHInfo(true);   // the channel menu as the table shows it
        const QList<QMenu*> menus = r.window().findChildren<QMenu*>();
        QVERIFY(menus.size() > 8);
        for (QMenu* m : menus) {
            emit m->aboutToShow();
            QMap<QChar, QString> seen;
            for (QAction* a : m->actions()) {
                if (!a->isVisible() || a->isSeparator()) continue;
                const QString t = a->text();
                const int at = t.indexOf('&');
                if (at < 0 || at + 1 >= t.size()) continue;
                const QChar key = t[at + 1].toLower();
                QVERIFY2(!seen.contains(key), qPrintable(m->objectName() + ": " + seen.value(key) + " / " + t));
                seen[key] = t;
            }
        }
    }

    // Enter on a tree entry opens its page, as a click does.
    void treeEntriesOpenWithEnter() {
        Run r;
        QTreeWidget* tree = r.window().tree();
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QTreeWidgetItem* opt = nullptr;
        for (int i = 0; i < root->childCount(); ++i)
            if (root->child(i)->data(0, Qt::UserRole).toString() == "N2") opt = root->child(i);
        QVERIFY(opt);
        tree->setFocus();
        tree->setCurrentItem(opt);
        QVERIFY(!r.window().FindChildWindow("FrmOptFeatures"));
        QTest::keyClick(tree, Qt::Key_Return);
        QTRY_VERIFY(r.window().FindChildWindow("FrmOptFeatures"));
    }
};

QTEST_MAIN(TestChannelEditing)
#include "test_channel_editing.moc"
