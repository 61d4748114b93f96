// The settings page windows, driven through their controls.

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>

#include "files/change_tracking.h"
#include "files/new_document.h"
#include "platform/pages/frm_key.h"
#include "platform/pages/frm_opt_features.h"
#include "platform/pages/frm_radio.h"
#include "platform/pages/register_pages.h"
#include "shell/language.h"
#include "platform/shell/texts.h"
#include "test_pages_fake_app.h"

using namespace zr;

namespace {

void addChannels(StoredDocument& d, std::initializer_list<int> numbers) {
    d.Channels.count = 0;
    for (int n : numbers) {
        ChannelRecord r;
        r.ChannelNumber = int16_t(n);
        r.RxFreq.set("46256250");
        r.IdCode.set("1234567");
        r.IdCodeLength = 10;
        d.Channels.entries[d.Channels.count++] = r;
    }
}

// Moves a closed drop-down list one entry down as the keyboard does, which
// counts as the user's choice.
void chooseNext(QComboBox* c) { QTest::keyClick(c, Qt::Key_Down); }
void chooseAt(QComboBox* c, int pos) {
    QTest::keyClick(c, Qt::Key_Home);
    for (int i = 0; i < pos; ++i) QTest::keyClick(c, Qt::Key_Down);
}

}  // namespace

class TestPages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { RegisterPageWindows(); }

    void optionalFeaturesOpenAndChannelDisplayRule() {
        FakeApp app;
        auto& d = app.s.doc.stored;
        addChannels(d, {4, 2});
        d.OptFeat.FreqStep = 12;
        d.OptFeat.TotTime = 20;
        d.OptFeat.ChDisplayMode = 0;
        d.OptFeat.WorkMode = 0;
        auto* page = qobject_cast<FrmOptFeatures*>(app.ShowChild("FrmOptFeatures"));
        QVERIFY(page);
        QCOMPARE(page->windowTitle(), Tx(app.s, 16000));
        QVERIFY(!page->windowTitle().isEmpty());
        QCOMPARE(page->combo(0)->currentText(), QString("5K"));
        QCOMPARE(d.OptFeat.FreqStep, 0);
        QCOMPARE(page->combo(19)->currentText(), QString("15"));
        QCOMPARE(d.OptFeat.TotTime, 15);
        QCOMPARE(page->combo(17)->count(), 2);

        chooseNext(page->combo(3));
        QCOMPARE(d.OptFeat.ChDisplayMode, 1);
        QCOMPARE(d.OptFeat.WorkMode, 1);
        QCOMPARE(page->combo(13)->currentIndex(), 1);
        QVERIFY(!page->combo(13)->isEnabled());
        chooseNext(page->combo(3));
        QCOMPARE(d.OptFeat.ChDisplayMode, 2);
        QVERIFY(page->combo(13)->isEnabled());
        QCOMPARE(d.OptFeat.WorkMode, 1);

        page->CommandHelp->click();
        QCOMPARE(app.helpContexts, QList<int>{3200});
        page->CommandClose->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!app.FindChildWindow("FrmOptFeatures"));
    }

    void powerOnTextBoxes() {
        FakeApp app;
        auto& d = app.s.doc.stored;
        addChannels(d, {1});
        d.OptFeat.PowerOnText.set("AB CD");
        auto* page = qobject_cast<FrmOptFeatures*>(app.ShowChild("FrmOptFeatures"));
        app.area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&app.area));
        QCOMPARE(page->powerOnBox(0)->text(), QString("A"));
        QCOMPARE(page->powerOnBox(2)->text(), QString());
        QCOMPARE(page->powerOnBox(3)->text(), QString("C"));
        QCOMPARE(QByteArray(d.OptFeat.PowerOnText.raw().c_str(), 12), QByteArray("AB CD       "));

        page->powerOnBox(2)->setFocus();
        QTest::keyClick(page->powerOnBox(2), Qt::Key_Minus);
        QTest::keyClick(page->powerOnBox(2), Qt::Key_Space);
        QCOMPARE(page->powerOnBox(2)->text(), QString());
        QTest::keyClicks(page->powerOnBox(2), "x");
        QCOMPARE(page->powerOnBox(2)->text(), QString("x"));
        QVERIFY(page->powerOnBox(3)->hasFocus());
        QCOMPARE(QByteArray(d.OptFeat.PowerOnText.raw().c_str(), 12), QByteArray("ABxCD       "));
        // A box that gets the focus has its character selected: typing replaces it.
        page->powerOnBox(3)->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(page->powerOnBox(3), "z");
        QCOMPARE(page->powerOnBox(3)->text(), QString("z"));
        QVERIFY(page->powerOnBox(4)->hasFocus());
        QCOMPARE(QByteArray(d.OptFeat.PowerOnText.raw().c_str(), 12), QByteArray("ABxzD       "));
        page->powerOnBox(3)->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(page->powerOnBox(3), "C");
        page->powerOnBox(11)->setFocus();
        QTest::keyClicks(page->powerOnBox(11), "9");
        QVERIFY(page->checkBox(106)->hasFocus());
        QCOMPARE(QByteArray(d.OptFeat.PowerOnText.raw().c_str(), 12), QByteArray("ABxCD      9"));
    }

    void dtmfCodeTypingAndIdCodeFollowUp() {
        FakeApp app;
        auto& d = app.s.doc.stored;
        addChannels(d, {1, 2});
        d.Channels.entries[1].IdCode.set("555");
        d.Dtmf.DtmfRate = 11;
        auto* page = qobject_cast<FrmDTMF*>(app.ShowChild("FrmDTMF"));
        QVERIFY(page);
        app.area.show();
        QCOMPARE(page->combo(pages::DtmfPage::Rate)->currentText(), QString("50"));
        QCOMPARE(d.Dtmf.DtmfRate, 1);
        QCOMPARE(page->tabs->count(), 3);

        PageLineEdit* bot = page->codeBox(0);
        bot->setFocus();
        QTest::keyClicks(bot, "12ab*#e -");
        QCOMPARE(bot->text(), QString("12AB*#"));
        QCOMPARE(d.Dtmf.BotCode.Length, 6);
        QApplication::clipboard()->setText("999");
        QTest::keyClick(bot, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(bot->text(), QString("12AB*#"));

        QVERIFY(!page->combo(pages::DtmfPage::Separator)->isEnabled());
        chooseNext(page->combo(pages::DtmfPage::Signalling));
        QCOMPARE(d.Dtmf.DtmfSignalling, 1);
        QVERIFY(page->combo(pages::DtmfPage::Separator)->isEnabled());
        QCOMPARE(QString::fromStdString(d.Channels.entries[0].IdCode.text()), QString("000"));
        QCOMPARE(d.Channels.entries[0].IdCodeLength, 3);
        QCOMPARE(QString::fromStdString(d.Channels.entries[1].IdCode.text()), QString("555"));
        chooseAt(page->combo(pages::DtmfPage::Signalling), 0);
        QCOMPARE(d.Dtmf.DtmfSignalling, 0);
        QCOMPARE(d.Channels.entries[0].IdCodeLength, 10);
        QCOMPARE(QString::fromStdString(d.Channels.entries[0].IdCode.text()), QString("000"));
    }

    void scanRevertListFollowsPriorityMode() {
        FakeApp app;
        auto& d = app.s.doc.stored;
        addChannels(d, {7, 3});
        d.Scan.ScanMode = 1;
        d.Scan.PriorityMode = 2;
        d.Scan.RevertChannel = 6;
        auto* page = qobject_cast<FrmScan*>(app.ShowChild("FrmScan"));
        QVERIFY(page);
        using P = pages::ScanPage;
        QCOMPARE(page->combo(P::Revert)->count(), 6);
        QCOMPARE(page->combo(P::Revert)->currentIndex(), 0);
        QCOMPARE(d.Scan.RevertChannel, 0);
        QVERIFY(!page->combo(P::PriorityCh1)->isEnabled());
        QVERIFY(page->combo(P::PriorityCh2)->isEnabled());
        chooseNext(page->combo(P::Priority));
        QCOMPARE(d.Scan.PriorityMode, 3);
        QCOMPARE(page->combo(P::Revert)->count(), 8);
        chooseAt(page->combo(P::Revert), 7);
        QCOMPARE(d.Scan.RevertChannel, 7);
        chooseAt(page->combo(P::Mode), 0);
        QCOMPARE(d.Scan.ScanMode, 0);
        QVERIFY(!page->combo(P::Revert)->isEnabled());
        QVERIFY(!page->CheckEntry->isEnabled());
        QVERIFY(page->combo(P::Mode)->isEnabled());
    }

    void alertEmergencyIdList() {
        FakeApp app;
        auto& d = app.s.doc.stored;
        addChannels(d, {9});
        d.Dtmf.GroupCodes[1].Length = 2;
        d.Dtmf.GroupCodes[1].Digits.set("12");
        d.Dtmf.GroupCodes[4].Length = 1;
        d.Dtmf.GroupCodes[4].Digits.set("5");
        d.Alert.EmergencyAlarm = 2;
        d.Alert.EmgIdType = 1;
        d.Alert.EmgIdGroup = 3;
        auto* page = qobject_cast<FrmAlert*>(app.ShowChild("FrmAlert"));
        QVERIFY(page);
        using P = pages::AlertPage;
        QComboBox* ids = page->combo(P::IdGroup);
        QCOMPARE(ids->count(), 2);
        QCOMPARE(ids->itemText(1), QString("M5"));
        QCOMPARE(ids->currentText(), QString("M2"));
        QCOMPARE(d.Alert.EmgIdGroup, 2);
        QVERIFY(ids->isEnabled());
        QVERIFY(!page->combo(P::AlarmTime)->isEnabled());
        chooseAt(page->combo(P::IdType), 0);
        QCOMPARE(ids->count(), 0);
        QCOMPARE(d.Alert.EmgIdGroup, 0);
    }

    void keyFunctionsNotOffered() {
        FakeApp app;
        auto& d = app.s.doc.stored;
        d.Keys.Pf1Long = 3;
        d.Keys.LongPressTime = 30;
        auto* page = qobject_cast<FrmKey*>(app.ShowChild("FrmKey"));
        QVERIFY(page);
        QCOMPARE(page->combo(0)->count(), 24);
        QCOMPARE(page->combo(0)->currentText(), Tx(app.s, 29040));
        QCOMPARE(d.Keys.Pf1Long, 0);
        QCOMPARE(page->combo(9)->currentText(), QString("1.0"));
        QCOMPARE(d.Keys.LongPressTime, 10);
        for (int i = 0; i < page->combo(0)->count(); ++i)
            QVERIFY(page->combo(0)->itemText(i) != Tx(app.s, 29043));

        // A scan mode change re-selects the open key page's lists.
        d.Keys.Pf2Short = 11;
        d.Scan.ScanMode = 0;
        auto* scan = qobject_cast<FrmScan*>(app.ShowChild("FrmScan"));
        chooseNext(scan->combo(pages::ScanPage::Mode));
        QCOMPARE(d.Keys.Pf2Short, 0);
    }

    void fmGridEditing() {
        FakeApp app;
        auto& d = app.s.doc.stored;
        addChannels(d, {1});
        auto* opt = qobject_cast<FrmOptFeatures*>(app.ShowChild("FrmOptFeatures"));
        auto* page = qobject_cast<FrmRadio*>(app.ShowChild("FrmRadio"));
        QVERIFY(page);
        app.area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&app.area));
        QCOMPARE(opt->combo(18)->count(), 0);

        page->enterCell(1);
        QVERIFY(page->Text1->isVisible());
        QTest::keyClicks(page->Text1, "9a0.52");
        QCOMPARE(page->Text1->text(), QString("90.52"));
        QTest::keyClick(page->Text1, Qt::Key_Return);
        QCOMPARE(QString::fromStdString(d.FmChannels[0].FmFreq.raw()), QString("09050000"));
        QCOMPARE(d.FmChannels[0].IsEmpty, 0);
        QCOMPARE(page->MSFlexGrid1->item(0, 1)->text(), QString("90.50000"));
        QCOMPARE(page->enteredRow(), 2);
        // The open optional-features page follows the new FM channel.
        QCOMPARE(opt->combo(18)->count(), 1);

        page->enterCell(20);
        QTest::keyClicks(page->Text1, "120");
        QTest::keyClick(page->Text1, Qt::Key_Return);
        QCOMPARE(QString::fromStdString(d.FmChannels[19].FmFreq.raw()), QString("10800000"));
        QCOMPARE(page->enteredRow(), 1);
        QCOMPARE(page->Text1->text(), QString("90.50000"));
        page->Text1->clear();
        QTest::keyClick(page->Text1, Qt::Key_Return);
        QCOMPARE(d.FmChannels[0].IsEmpty, 1);
        QCOMPARE(page->MSFlexGrid1->item(0, 1)->text(), QString());
        page->enterCell(5);
        QTest::keyClicks(page->Text1, "50");
        page->commitEdit();
        QCOMPARE(QString::fromStdString(d.FmChannels[4].FmFreq.raw()), QString("07600000"));
    }

    void embeddedMessageLines() {
        FakeApp app;
        auto& d = app.s.doc.stored;
        d.EmbMsg.Lines[0].set("HELLO");
        auto* page = qobject_cast<FrmEmbMsg*>(app.ShowChild("FrmEmbMsg"));
        QVERIFY(page);
        app.area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&app.area));
        app.area.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&app.area));
        QCOMPARE(page->line(0)->text(), QString("HELLO"));
        QCOMPARE(QByteArray(d.EmbMsg.Lines[0].raw().data(), 16), QByteArray("HELLO\0          ", 16));
        page->line(1)->setFocus();
        QTest::keyClicks(page->line(1), "ABCDEFGHIJKLMNOPQ");
        QCOMPARE(QByteArray(d.EmbMsg.Lines[1].raw().data(), 16), QByteArray("ABCDEFGHIJKLMNOP"));
        page->line(2)->setFocus();
        QTest::keyClicks(page->line(2), "H");
        QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9)));
        QApplication::sendEvent(page->line(2), &accented);
        QTest::keyClicks(page->line(2), "I");
        QCOMPARE(QByteArray(d.EmbMsg.Lines[2].raw().data(), 16), QByteArray("HI\0             ", 16));
        page->line(3)->setFocus();
        QTest::keyClick(page->line(3), Qt::Key_Return);
        QVERIFY(page->CommandClose->hasFocus());
    }

    void testDataBoxesClamp() {
        FakeApp app;
        app.s.doc.testData.bytes[1] = 42;
        app.s.doc.testData.bytes[15] = 0xA5;
        FrmTestData dlg(app);
        QCOMPARE(dlg.boxes[1]->text(), QString("42"));
        dlg.boxes[0]->setFocus();
        QTest::keyClicks(dlg.boxes[0], "3x00");
        QCOMPARE(dlg.boxes[0]->text(), QString("255"));
        dlg.boxes[0]->selectAll();
        QTest::keyClick(dlg.boxes[0], Qt::Key_Backspace);
        QCOMPARE(dlg.boxes[0]->text(), QString("0"));
        QTest::keyClicks(dlg.boxes[0], "07");
        QCOMPARE(dlg.boxes[0]->text(), QString("7"));
        QCOMPARE(app.s.doc.testData.bytes[0], 0);  // only OK changes the document
        dlg.CommandOK->click();
        QCOMPARE(app.s.doc.testData.bytes[0], 7);
        QCOMPARE(app.s.doc.testData.bytes[15], 0xA5);

        FrmTestData other(app);
        QTest::keyClicks(other.boxes[1], "9");
        other.CommandCancel->click();
        QCOMPARE(app.s.doc.testData.bytes[1], 42);
    }

    void testDataLoadAndSave() {
        FakeApp app;
        zrtest::TempDir dir;
        std::vector<unsigned char> bytes(16);
        for (int i = 0; i < 16; ++i) bytes[i] = static_cast<unsigned char>(i + 1);
        zrtest::writeBytes(dir.path() / "in.ted", bytes);
        app.s.doc.fileName = dir.str("radio.dat");
        FrmTestData dlg(app);
        app.prompter.files.push_back(dir.str("in.ted"));
        dlg.CommandLoad->click();
        QCOMPARE(dlg.boxes[10]->text(), QString("11"));
        QCOMPARE(app.s.doc.testData.bytes[10], 0);
        app.prompter.files.push_back(dir.str("out.ted"));
        dlg.CommandSave->click();
        QCOMPARE(QString::fromStdString(app.prompter.fileRequests.back().initialPath),
                 QString::fromStdString(dir.str("radio.ted")));
        QCOMPARE(zrtest::readBytes(dir.path() / "out.ted"), bytes);
        app.prompter.files.push_back(std::nullopt);  // cancelled: nothing happens
        dlg.CommandLoad->click();
        QCOMPARE(dlg.boxes[10]->text(), QString("11"));
    }

    void dealerInformationShowsRecord() {
        FakeApp app;
        auto& info = app.s.doc.radioInfo;
        info.SalesArea = "0595";
        info.SerialNo.set("SN123");
        info.BandCode = 4;
        auto* page = qobject_cast<FrmRadioInfo*>(app.ShowChild("FrmRadioInfo"));
        QVERIFY(page);
        QCOMPARE(qobject_cast<QLineEdit*>(page->fields[0])->text(), QString("0595"));
        QCOMPARE(qobject_cast<QLineEdit*>(page->fields[5])->text(), QString("SN123"));
        QCOMPARE(page->ComboBand->currentIndex(), -1);
        QCOMPARE(page->ComboModel->currentText(), QString("ZR-M83K"));
        auto* serial = qobject_cast<QLineEdit*>(page->fields[5]);
        serial->setFocus();
        QTest::keyClicks(serial, "9");
        QCOMPARE(QString::fromStdString(info.SerialNo.text()), QString("SN123"));
        page->CommandHelp->click();
        QCOMPARE(app.helpContexts, QList<int>{3600});
    }

    void openingPagesLeavesDocumentUnchanged() {
        static const char* const names[] = {"FrmOptFeatures", "FrmDTMF", "FrmScan", "FrmAlert",
                                            "FrmKey", "FrmEmbMsg", "FrmRadio", "FrmRadioInfo"};
        FakeApp app;
        NewDocument(app.s);
        // The first opening may replace values that fit no list; once the
        // document holds page values, opening the pages changes nothing.
        for (const char* name : names) QVERIFY2(app.ShowChild(name), name);
        app.area.closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        app.s.doc.saved = app.s.doc.stored;
        // A message line read from a file: five letters and eleven blanks.
        app.s.doc.stored.EmbMsg.Lines[0].set("HELLO");
        app.s.doc.saved.EmbMsg.Lines[0].set("HELLO");
        QVERIFY(!IsModified(app.s));
        for (const char* name : names) {
            QVERIFY2(app.ShowChild(name), name);
            QVERIFY2(!IsModified(app.s), name);
        }
        QCOMPARE(QByteArray(app.s.doc.stored.EmbMsg.Lines[0].raw().data(), 16),
                 QByteArray("HELLO\0          ", 16));
    }
};

QTEST_MAIN(TestPages)
#include "test_pages_windows.moc"
