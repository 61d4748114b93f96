// The channel table as a user drives it: clicks, keys and the channel commands.

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

#include "channels/channel_commands.h"
#include "fake_app_services.h"
#include "platform/channels/frm_ch_info_edit.h"
#include "platform/channels/frm_comm_ch_info.h"
#include "platform/shell/texts.h"

using namespace zr;
using namespace zrtest;

class TestChannelTable : public QObject {
    Q_OBJECT
    std::unique_ptr<TempDir> dir;
    std::unique_ptr<ScriptedPrompter> prompter;
    std::unique_ptr<Session> s;
    std::unique_ptr<FakeAppServices> app;

    frmCommChInfo* open() {
        auto* t = qobject_cast<frmCommChInfo*>(app->ShowChild("frmCommChInfo"));
        QTest::qWait(10);  // the first activation enters row 1, column 1
        return t;
    }
    void click(frmCommChInfo* t, int row, int col) {
        QTableWidget* g = t->MSFlexGrid1;
        g->scrollToItem(g->item(row - 1, col));
        const QRect r = g->visualItemRect(g->item(row - 1, col));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    }
    void choose(QComboBox* box, const QString& text) {
        // The user picks an entry: the chooser shows it and reports the choice.
        const int i = box->findText(text);
        QVERIFY(i >= 0);
        box->setCurrentIndex(i);
        emit box->activated(i);
    }

private slots:
    void init() {
        dir = std::make_unique<TempDir>();
        prompter = std::make_unique<ScriptedPrompter>();
        s = std::make_unique<Session>();
        PrepareSession(*s, *dir, prompter.get());
        app = std::make_unique<FakeAppServices>(*s);
        RegisterChannelWindows();
    }
    void cleanup() {
        app.reset();
        s.reset();
    }

    void emptyDocumentShowsLabelsOnly() {
        frmCommChInfo* t = open();
        QTableWidget* g = t->MSFlexGrid1;
        QCOMPARE(g->rowCount(), 129);
        QCOMPARE(g->columnCount(), 11);
        QCOMPARE(t->cellText(1, 0), QString("1"));
        QCOMPARE(t->cellText(129, 0), QString("VFO"));
        for (int r = 1; r <= 129; ++r) {
            QCOMPARE(t->cellText(r, 10), QString(">>"));
            for (int c = 1; c <= 9; ++c) QVERIFY(t->cellText(r, c).isEmpty());
        }
        QCOMPARE(app->ctl.listeners().size(), size_t(1));
        QCOMPARE(g->horizontalHeaderItem(2)->text(), Tx(*s, 14003));
        QCOMPARE(g->item(0, 10)->foreground().color(), QColor(255, 0, 0));
        QVERIFY(app->treeLoads >= 1);
        // The first activation opened the RX chooser of row 1.
        QVERIFY(t->Combo6_1->isVisible());
        QCOMPARE(t->Combo6_1->currentText(), QString("NONE"));
    }

    void rowTextsAndOutOfListValues() {
        ChannelRecord c = MakeChannel(3);
        c.TxPower = 3;       // outside the power list
        c.OffsetDir = 2;
        c.Offset.set("0500000");
        c.ChannelName.set("AB");
        c.RxTone = 70;
        AddChannel(*s, c);
        AddChannel(*s, MakeChannel(129, "46255000"));
        frmCommChInfo* t = open();
        QCOMPARE(t->cellText(3, 1), QString("462.56250"));
        QCOMPARE(t->cellText(3, 2), QString("467.56250"));
        QCOMPARE(t->cellText(3, 3), QString("AB"));
        QCOMPARE(t->cellText(3, 4), QString("D023N"));
        QCOMPARE(t->cellText(3, 5), Tx(*s, 14013));
        QCOMPARE(t->cellText(3, 6), Tx(*s, 14014));
        QCOMPARE(t->cellText(129, 1), QString("462.55000"));
        // UseOffset shows the signed offset under its own header.
        t->ReShowAllTxFre(true);
        QCOMPARE(t->MSFlexGrid1->horizontalHeaderItem(2)->text(), Tx(*s, 14100));
        QCOMPARE(t->cellText(3, 2), QString("+5.00000"));
        // The VFO row's caption.
        t->setCurrentCell(129, 1);
        QVERIFY(t->windowTitle().endsWith("VFO]"));
        QVERIFY(t->windowTitle().startsWith(Tx(*s, 14012) + " "));
    }

    void clickOnAnEmptyRowOpensTheRxChooserAndAChoiceCreatesTheChannel() {
        AddChannel(*s, MakeChannel(1));
        frmCommChInfo* t = open();
        click(t, 12, 5);
        QCOMPARE(t->currentCol(), 1);
        QCOMPARE(t->currentRow(), 12);
        QVERIFY(t->Combo6_1->isVisible());
        QVERIFY(!t->Combo1->isVisible());
        QCOMPARE(t->editState().editCell, (GridCell{12, 1}));

        choose(t->Combo6_1, "462.56250");
        const ChannelRecord* c = Channel(*s, 12);
        QVERIFY(c);
        QCOMPARE(QString::fromStdString(c->RxFreq.text()), QString("46256250"));
        QCOMPARE(t->cellText(12, 2), QString("462.56250"));
        QCOMPARE(t->cellText(12, 4), Tx(*s, 14013));

        // Column 5 of a row without TX goes to the TX column; with a TX the
        // tone chooser opens and its choice writes at once.
        click(t, 12, 5);
        QVERIFY(t->Combo1->isVisible());
        choose(t->Combo1, "D023N");
        QCOMPARE(Channel(*s, 12)->TxTone, 70);
        QCOMPARE(Channel(*s, 12)->RxTone, 70);  // the decode tone follows the first encode tone

        // "NONE" deletes the channel, unless it is the only one.
        click(t, 12, 1);
        choose(t->Combo6_1, "NONE");
        QVERIFY(!Channel(*s, 12));
        QVERIFY(t->cellText(12, 1).isEmpty());
        click(t, 1, 1);
        choose(t->Combo6_1, "NONE");
        QVERIFY(Channel(*s, 1));
        QCOMPARE(t->cellText(1, 1), QString("462.56250"));
    }

    void aFrequencyOutsideTheListShowsItselfAndClosingWritesNothing() {
        AddChannel(*s, MakeChannel(2, "46300000"));
        AddChannel(*s, MakeChannel(3));
        frmCommChInfo* t = open();
        click(t, 2, 1);
        QCOMPARE(t->Combo6_1->currentText(), QString("463.00000"));
        t->SetEditDisable();
        QCOMPARE(QString::fromStdString(Channel(*s, 2)->RxFreq.text()), QString("46300000"));
        click(t, 2, 1);
        t->CommandEdit->click();   // concludes the untouched chooser
        QCOMPARE(QString::fromStdString(Channel(*s, 2)->RxFreq.text()), QString("46300000"));
    }

    void enterWalksThroughTheTable() {
        AddChannel(*s, MakeChannel(129));
        AddChannel(*s, MakeChannel(1));
        frmCommChInfo* t = open();
        click(t, 129, 1);
        QVERIFY(t->Combo6_1->hasFocus() || t->Combo6_1->isVisible());
        QTest::keyClick(t->Combo6_1, Qt::Key_Return);
        QCOMPARE(t->currentRow(), 1);
        QCOMPARE(t->currentCol(), 1);
        // Column 8 -> 9, which has no editor; Enter in the table opens nothing.
        click(t, 1, 8);
        QVERIFY(t->Combo4->isVisible());
        QTest::keyClick(t->Combo4, Qt::Key_Return);
        QCOMPARE(t->currentCol(), 9);
        QTest::keyClick(t->MSFlexGrid1, Qt::Key_Return);
        for (QWidget* w : std::initializer_list<QWidget*>{t->Combo6_1, t->Combo6_2, t->Text2, t->Combo1, t->Combo3, t->Combo4})
            QVERIFY(!w->isVisible());
        // GridNextCol from column 9 wraps to column 1 of the next row, entering once.
        t->GridNextCol();
        QCOMPARE(t->currentRow(), 2);
        QCOMPARE(t->currentCol(), 1);
        QVERIFY(t->Combo6_1->isVisible());
    }

    void nameBoxFiltersItsKeys() {
        AddChannel(*s, MakeChannel(4));
        frmCommChInfo* t = open();
        click(t, 4, 3);
        QVERIFY(t->Text2->isVisible());
        QTest::keyClicks(t->Text2, "ab-1");
        QCOMPARE(t->Text2->text(), QString("AB1"));
        QTest::keyClick(t->Text2, Qt::Key_Return);
        QCOMPARE(QString::fromStdString(Channel(*s, 4)->ChannelName.text()), QString("AB1"));
        QCOMPARE(t->currentCol(), 4);  // Enter moved on
        // Typed text is stored when the editors are hidden by a command.
        click(t, 4, 3);
        QTest::keyClicks(t->Text2, "Z");
        t->SetEditDisable();
        QCOMPARE(QString::fromStdString(Channel(*s, 4)->ChannelName.text()), QString("AB1Z"));
        // The right mouse button does nothing in the name box.
        click(t, 4, 3);
        QTest::mouseClick(t->Text2, Qt::RightButton);
        QVERIFY(t->Text2->isVisible());
    }

    void doubleClickGuardAndEditColumn() {
        AddChannel(*s, MakeChannel(6));
        frmCommChInfo* t = open();
        QTableWidget* g = t->MSFlexGrid1;
        g->scrollToItem(g->item(5, 10));
        const QRect r = g->visualItemRect(g->item(5, 10));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, r.center());
        QVERIFY(app->FindChildWindow("FrmCHInfoEdit"));
        auto* edit = qobject_cast<FrmCHInfoEdit*>(app->FindChildWindow("FrmCHInfoEdit"));
        QCOMPARE(edit->shownChannel(), 6);
        // Within a second after a double click, a click does not re-enter.
        // The window is open now, so a second double click is quick and the
        // check below stays inside that second even on a loaded machine.
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, r.center());
        t->setCurrentCell(6, 1);
        QVERIFY(t->Combo6_1->isVisible());
        t->SetEditDisable();
        emit g->cellClicked(5, 1);
        QVERIFY(!t->Combo6_1->isVisible());
    }

    void scrollingHidesTheEditors() {
        AddChannel(*s, MakeChannel(1));
        frmCommChInfo* t = open();
        t->resize(800, 400);
        QTest::qWait(10);
        click(t, 2, 1);
        click(t, 1, 1);
        QVERIFY(t->Combo6_1->isVisible());
        t->MSFlexGrid1->verticalScrollBar()->setValue(20);
        QVERIFY(!t->Combo6_1->isVisible());
        QCOMPARE(t->editState().editCell, (GridCell{1, 1}));
    }

    void pasteOnTheVfoRowDoesNothing() {
        AddChannel(*s, MakeChannel(5));
        s->settings.habits.PasteNoAsk = true;
        frmCommChInfo* t = open();
        t->setCurrentCell(5, 1);
        app->commands.run(kCmdCopy);
        QVERIFY(s->clipboard.hasChannel);
        t->setCurrentCell(129, 1);
        app->commands.run(kCmdPaste);
        QVERIFY(!Channel(*s, 129));
        QVERIFY(t->cellText(129, 1).isEmpty());
        t->setCurrentCell(7, 1);
        app->commands.run(kCmdPaste);
        QVERIFY(Channel(*s, 7));
        QCOMPARE(t->cellText(7, 1), QString("462.56250"));
        QVERIFY(prompter->asked.empty());
    }

    void insertAtTenWithAFullList() {
        for (int n = 1; n <= 128; ++n) {
            ChannelRecord c = MakeChannel(n);
            c.ChannelName.set(("N" + std::to_string(n)).c_str());
            AddChannel(*s, c);
        }
        frmCommChInfo* t = open();
        t->setCurrentCell(10, 3);
        prompter->answers = {Answer::Ok};   // channel 128 will be lost
        app->commands.run(kCmdInsert);
        QVERIFY(!Channel(*s, 10));
        QVERIFY(t->cellText(10, 1).isEmpty());
        QCOMPARE(t->cellText(11, 3), QString("N10"));
        QCOMPARE(t->cellText(128, 3), QString("N127"));
        QCOMPARE(s->doc.stored.Channels.count, 127);
    }

    void moveUpOnRowOneWrapsAndScrolls() {
        ChannelRecord c = MakeChannel(1);
        c.ChannelName.set("FIRST");
        AddChannel(*s, c);
        frmCommChInfo* t = open();
        t->resize(800, 400);
        QTest::qWait(10);
        t->setCurrentCell(1, 3);
        app->commands.run(kCmdMoveUp);
        QVERIFY(!Channel(*s, 1));
        QVERIFY(Channel(*s, 128));
        QCOMPARE(t->cellText(128, 3), QString("FIRST"));
        QCOMPARE(t->currentRow(), 128);
        QTableWidget* g = t->MSFlexGrid1;
        QVERIFY(g->viewport()->rect().intersects(g->visualItemRect(g->item(127, 3))));
        // A disabled command does nothing: Cut on an empty row.
        t->setCurrentCell(1, 1);
        app->commands.run(kCmdCut);
        QVERIFY(Channel(*s, 128));
    }

    void rightClickPopsUpTheChannelMenu() {
        frmCommChInfo* t = open();
        QTableWidget* g = t->MSFlexGrid1;
        const QRect r = g->visualItemRect(g->item(2, 4));
        emit g->customContextMenuRequested(r.center());
        QCOMPARE(app->popups.size(), 1);
        QCOMPARE(t->currentRow(), 3);
    }

    void closingClearsTheFlagAndHidesTheMenu() {
        frmCommChInfo* t = open();
        t->close();
        QCOMPARE(app->ctl.listeners().size(), size_t(0));
        QVERIFY(!app->chInfoShown.isEmpty());
        QCOMPARE(app->chInfoShown.last(), false);
    }
};

QTEST_MAIN(TestChannelTable)
#include "test_channel_table.moc"
