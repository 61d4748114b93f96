// The batch programming dialog driven through its fields and buttons.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QtTest>

#include "fake_app_services.h"
#include "platform/channels/frm_ch_batch.h"
#include "platform/channels/frm_comm_ch_info.h"
#include "platform/shell/texts.h"

using namespace zr;
using namespace zrtest;

class TestChannelBatch : public QObject {
    Q_OBJECT
    std::unique_ptr<TempDir> dir;
    std::unique_ptr<ScriptedPrompter> prompter;
    std::unique_ptr<Session> s;
    std::unique_ptr<FakeAppServices> app;

    std::unique_ptr<FrmCHBatch> open() {
        auto w = std::make_unique<FrmCHBatch>(*app);
        w->show();
        return w;
    }
    void only(FrmCHBatch* w, std::initializer_list<int> items) {
        QTest::mouseClick(w->CommandSwitch, Qt::LeftButton);
        QTest::mouseClick(w->CommandNone, Qt::LeftButton);
        for (int i : items) w->CheckItem[i]->click();
        QTest::mouseClick(w->CommandSwitch, Qt::LeftButton);
    }
    void type(QLineEdit* e, const QString& text) {
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Return);
    }
    void range(FrmCHBatch* w, int a, int b) {
        w->OptionRange->setChecked(true);
        type(w->TextFrom, QString::number(a));
        type(w->TextTo, QString::number(b));
    }

private slots:
    void init() {
        dir = std::make_unique<TempDir>();
        prompter = std::make_unique<ScriptedPrompter>();
        s = std::make_unique<Session>();
        PrepareSession(*s, *dir, prompter.get());
        s->doc.currentBand = "400 - 470 MHz";
        s->doc.bandLower = 400;
        s->doc.bandUpper = 470;
        s->settings.batchFlags.fill(1);
        app = std::make_unique<FakeAppServices>(*s);
        RegisterChannelWindows();
    }
    void cleanup() {
        app.reset();
        s.reset();
    }

    void panelsAndSelectionFile() {
        s->settings.batchFlags.fill(0);
        s->settings.batchFlags[4] = 1;
        auto w = open();
        QVERIFY(w->editPanelShown());
        QCOMPARE(w->CommandSwitch->text(), Tx(*s, 26005));
        QVERIFY(w->ItemGroup[4]->isVisible());
        QVERIFY(!w->ItemGroup[0]->isVisible());
        QCOMPARE(w->TextRxStart->text(), QString("400.00000"));
        QVERIFY(!w->TextFrom->isEnabled());
        QTest::mouseClick(w->CommandSwitch, Qt::LeftButton);
        QVERIFY(!w->editPanelShown());
        QCOMPARE(w->CommandSwitch->text(), Tx(*s, 26006));
        w->CheckItem[0]->click();
        QCOMPARE(s->settings.batchFlags[0], 1);
        const auto bytes = readBytes(dir->path() / "BatchFun.ini");
        QCOMPARE(bytes.size(), size_t(21));
        QCOMPARE(int(bytes[0]), 1);
        QCOMPARE(int(bytes[4]), 1);
        QCOMPARE(int(bytes[5]), 0);
        QTest::mouseClick(w->CommandAll, Qt::LeftButton);
        QCOMPARE(int(readBytes(dir->path() / "BatchFun.ini")[20]), 1);
        QTest::mouseClick(w->CommandSwitch, Qt::LeftButton);
        QVERIFY(w->ItemGroup[20]->isVisible());
    }

    void rangeFieldsAndStartFrequency() {
        auto w = open();
        w->OptionRange->setChecked(true);
        QVERIFY(w->TextFrom->isEnabled());
        QVERIFY(w->CheckClear->isEnabled());
        w->TextFrom->setFocus();
        w->TextFrom->selectAll();
        QTest::keyClicks(w->TextFrom, "300");
        QCOMPARE(w->TextFrom->text(), QString("128"));
        QTest::keyClick(w->TextFrom, Qt::Key_Backspace);
        QTest::keyClick(w->TextFrom, Qt::Key_Backspace);
        QTest::keyClick(w->TextFrom, Qt::Key_Backspace);
        QCOMPARE(w->TextFrom->text(), QString("1"));
        type(w->TextRxStart, ".");
        QCOMPARE(w->TextRxStart->text(), QString("400.00000"));
        type(w->TextRxStart, "446.0070");
        QCOMPARE(w->TextRxStart->text(), QString("446.00500"));
        type(w->TextRxStep, "7");
        QCOMPARE(w->TextRxStep->text(), QString("5"));
        type(w->TextIdStart, "12");
        QCOMPARE(w->TextIdStart->text(), QString("000"));
        type(w->TextRxStart, "4a6");
        QCOMPARE(w->TextRxStart->text(), QString("400.00000"));  // "46" is below the band
    }

    void numberedNamesAndNewChannels() {
        auto w = open();
        only(w.get(), {0, 4});
        range(w.get(), 1, 3);
        type(w->TextRxStart, "462.55");
        type(w->TextRxStep, "12.5");
        w->ComboNameMode->setCurrentIndex(1);
        type(w->TextName, "CH");
        type(w->TextNameStart, "01");
        type(w->TextNameStep, "1");
        auto* table = qobject_cast<frmCommChInfo*>(app->ShowChild("frmCommChInfo"));
        QTest::mouseClick(w->CommandApply, Qt::LeftButton);
        QCOMPARE(s->doc.stored.Channels.count, 3);
        QCOMPARE(QString::fromStdString(Channel(*s, 1)->ChannelName.text()), QString("CH01"));
        QCOMPARE(QString::fromStdString(Channel(*s, 3)->ChannelName.text()), QString("CH03"));
        QCOMPARE(QString::fromStdString(Channel(*s, 3)->RxFreq.text()), QString("46257500"));
        // The open table shows the new channels at once.
        QCOMPARE(table->cellText(2, 1), QString("462.56250"));
        QCOMPARE(table->cellText(2, 3), QString("CH02"));
    }

    void toneCountDownWraps() {
        for (int n = 1; n <= 9; ++n) AddChannel(*s, MakeChannel(n));
        auto w = open();
        only(w.get(), {2});
        range(w.get(), 1, 9);
        w->ComboToneStart[0]->setCurrentIndex(70);
        type(w->TextToneInterval[0], "10");
        w->ComboToneDir[0]->setCurrentIndex(1);
        QTest::mouseClick(w->CommandApply, Qt::LeftButton);
        QCOMPARE(Channel(*s, 1)->RxTone, 70);
        QCOMPARE(Channel(*s, 9)->RxTone, 1065);
        QCOMPARE(Channel(*s, 9)->TxTone, 0);  // item 3 not selected
        // The random box disables the sequence fields.
        w->CheckToneRandom[0]->setChecked(true);
        QVERIFY(!w->ComboToneStart[0]->isEnabled());
        QVERIFY(!w->CheckToneRandom[1]->isEnabled());  // TX tone "default" is checked
    }

    void clearOutsideTheRange() {
        for (int n = 1; n <= 128; ++n) AddChannel(*s, MakeChannel(n));
        AddChannel(*s, MakeChannel(129));
        auto w = open();
        only(w.get(), {});
        range(w.get(), 10, 20);
        w->CheckClear->setChecked(true);
        QTest::mouseClick(w->CommandApply, Qt::LeftButton);
        QCOMPARE(s->doc.stored.Channels.count, 12);
        QVERIFY(!Channel(*s, 9));
        QVERIFY(Channel(*s, 15));
        QVERIFY(!Channel(*s, 21));
        QVERIFY(Channel(*s, 129));
    }
};

QTEST_MAIN(TestChannelBatch)
#include "test_channel_batch.moc"
