// The channel edit window: what it shows for a channel, and what its fields write.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "fake_app_services.h"
#include "platform/channels/frm_ch_info_edit.h"
#include "platform/channels/frm_comm_ch_info.h"
#include "platform/shell/texts.h"

using namespace zr;
using namespace zrtest;

class TestChannelEdit : public QObject {
    Q_OBJECT
    std::unique_ptr<TempDir> dir;
    std::unique_ptr<ScriptedPrompter> prompter;
    std::unique_ptr<Session> s;
    std::unique_ptr<FakeAppServices> app;
    frmCommChInfo* table = nullptr;

    FrmCHInfoEdit* openAt(int row) {
        table = qobject_cast<frmCommChInfo*>(app->ShowChild("frmCommChInfo"));
        QTest::qWait(10);
        table->setCurrentCell(row, 1);
        return qobject_cast<FrmCHInfoEdit*>(app->ShowChild("FrmCHInfoEdit"));
    }
    void choose(QComboBox* box, const QString& text) {
        const int i = box->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
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

    void vfoDisablesNamesAndScanSkip() {
        AddChannel(*s, MakeChannel(129));
        FrmCHInfoEdit* w = openAt(129);
        QCOMPARE(app->ctl.listeners().size(), size_t(2));   // the table and this window
        QCOMPARE(w->ComboCh->currentText(), QString("VFO"));
        for (auto* box : w->TextName) {
            QVERIFY(!box->isEnabled());
            QVERIFY(box->text().isEmpty());
        }
        QVERIFY(!w->CheckScanSkip->isEnabled());
        QVERIFY(w->CheckTxInhibit->isEnabled());
        QVERIFY(!w->ComboPower->isEnabled());
        QVERIFY(!w->ComboSpacing->isEnabled());
        QCOMPARE(w->ComboRx->currentText(), QString("462.56250"));
    }

    void emptyChannelOffersOnlyTheRxChooser() {
        AddChannel(*s, MakeChannel(1));
        FrmCHInfoEdit* w = openAt(9);
        QCOMPARE(w->shownChannel(), 9);
        QVERIFY(w->ComboRx->isEnabled());
        QVERIFY(!w->ComboTx->isEnabled());
        QVERIFY(!w->ComboRxTone->isEnabled());
        QCOMPARE(w->ComboRxTone->currentText(), QString(" "));
        QVERIFY(!w->TextIdCode->isEnabled());
        QVERIFY(!w->CheckWhisper->isEnabled());
        choose(w->ComboRx, "462.55000");
        QVERIFY(Channel(*s, 9));
        QVERIFY(w->ComboTx->isEnabled());
        QVERIFY(w->ComboRxTone->isEnabled());
        QCOMPARE(w->ComboRxTone->currentText(), Tx(*s, 14013));   // "no tone" as the table says it
        QCOMPARE(table->cellText(9, 1), QString("462.55000"));
        // "NONE" on the only... not the only channel: channel 9 goes away.
        choose(w->ComboRx, "NONE");
        QVERIFY(!Channel(*s, 9));
        // On the only channel the channel stays and is shown again.
        w->ComboCh->setCurrentIndex(0);
        emit w->ComboCh->activated(0);
        choose(w->ComboRx, "NONE");
        QVERIFY(Channel(*s, 1));
        QCOMPARE(w->ComboRx->currentText(), QString("462.56250"));
        // Choosing a channel in the window moves the table's edit row.
        QCOMPARE(table->editRow(), 1);
    }

    void tonesAndBusyLock() {
        ChannelRecord c = MakeChannel(2);
        c.BusyLock = 1;
        AddChannel(*s, c);
        FrmCHInfoEdit* w = openAt(2);
        QCOMPARE(w->ComboBusyLock->count(), 2);
        choose(w->ComboRxTone, "D023N");
        QCOMPARE(Channel(*s, 2)->RxTone, 70);
        QCOMPARE(Channel(*s, 2)->TxTone, 70);
        QCOMPARE(w->ComboTxTone->currentText(), QString("D023N"));
        QCOMPARE(w->ComboBusyLock->count(), 3);
        choose(w->ComboBusyLock, w->ComboBusyLock->itemText(2));
        QCOMPARE(Channel(*s, 2)->BusyLock, 2);
        choose(w->ComboRxTone, Tx(*s, 14013));
        QCOMPARE(Channel(*s, 2)->BusyLock, 1);
        QCOMPARE(w->ComboBusyLock->count(), 2);
        // Check boxes write 0 or 1.
        QTest::mouseClick(w->CheckWhisper, Qt::LeftButton);
        QCOMPARE(Channel(*s, 2)->Whisper, 1);
    }

    void idCodeAndNameBoxes() {
        AddChannel(*s, MakeChannel(3));
        s->doc.stored.Channels.entries[0].IdCodeLength = 3;
        FrmCHInfoEdit* w = openAt(3);
        QCOMPARE(w->TextIdCode->maxLength(), 3);
        w->TextIdCode->setFocus();
        w->TextIdCode->clear();
        QTest::keyClicks(w->TextIdCode, "1x2");
        QCOMPARE(w->TextIdCode->text(), QString("12"));
        QTest::keyClick(w->TextIdCode, Qt::Key_Return);
        QCOMPARE(QString::fromStdString(Channel(*s, 3)->IdCode.text()), QString("000"));
        QTest::keyClicks(w->TextIdCode, "98765");
        QCOMPARE(w->TextIdCode->text().size(), 3);

        // Boxes "A", empty, "B": A, blank, B and three blanks.
        w->TextName[0]->setFocus();
        QTest::keyClick(w->TextName[0], Qt::Key_A);
        QVERIFY(w->TextName[1]->hasFocus() || !w->isActiveWindow());
        w->TextName[1]->clear();
        w->TextName[2]->setText("B");
        QTest::keyClick(w->TextName[2], Qt::Key_Return);
        QCOMPARE(QString::fromStdString(Channel(*s, 3)->ChannelName.raw()), QString("A B   "));
        QCOMPARE(table->cellText(3, 3), QString("A B"));
        // Lower case becomes capitals; other characters are refused.
        w->TextName[3]->setFocus();
        QTest::keyClick(w->TextName[3], Qt::Key_Minus);
        QVERIFY(w->TextName[3]->text().isEmpty());
        QTest::keyClicks(w->TextName[3], "q");
        QCOMPARE(w->TextName[3]->text(), QString("Q"));
    }

    void useOffsetLabel() {
        AddChannel(*s, MakeChannel(1));
        FrmCHInfoEdit* w = openAt(1);
        QCOMPARE(w->LabelTx->text(), Tx(*s, 15003));
        s->settings.habits.UseOffset = true;
        app->ctl.habitsChanged();
        QCOMPARE(w->LabelTx->text(), Tx(*s, 15100));
        w->close();
        QCOMPARE(app->ctl.listeners().size(), size_t(1));
    }
};

QTEST_MAIN(TestChannelEdit)
#include "test_channel_edit.moc"
