// Editing through the main window as a user does it, without a radio: the
// windows keep showing what the document holds after it is replaced,
// navigation never changes data, typed frequencies, the channel commands
// follow the row, pages commit on every way of closing, and the close rule.

#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QTimer>

#include "channels/channel_ops.h"
#include "files/change_tracking.h"
#include "files/document_file.h"
#include "platform/channels/frm_ch_info_edit.h"
#include "platform/pages/frm_radio.h"
#include "journey_support.h"

using namespace zr;
using namespace journey;

namespace {

QStringList RowTexts(frmCommChInfo* t, int row) {
    QStringList out;
    for (int c = 1; c <= 9; ++c) out << t->cellText(row, c);
    return out;
}

// Saves the document under `name` and opens it again with the tool bar,
// then lets the closed windows go, as the event loop does.
void ReopenAs(Run& r, const char* name) {
    r.s.doc.fileName = r.file(name);
    QVERIFY(WriteDocument(r.s));
    r.p.files = {r.file(name)};
    ClickTool(r.window(), "OpenFile");
    QVERIFY(r.table());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class TestMainWindowEditing : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        UseDarkPaletteWhenAsked();   // ZR_SHOTS_DARK=1: the pictures with a dark palette
    }

    void windowsFollowTheDocumentAfterItIsReplaced() {
        Run r;
        r.prog->controller().setChannelItem(2, item::kRxFreq, "462.5625");
        r.prog->controller().setChannelItem(2, item::kName, "TWO");
        r.prog->controller().setChannelItem(2, item::kRxTone, 12);
        ReopenAs(r, "a.dat");
        frmCommChInfo* t = r.table();
        QCOMPARE(t->cellText(2, 3), QString("TWO"));

        // "NONE" picked in the RX chooser deletes the channel: its row empties.
        ClickCell(t, 2, 1);
        Key(Qt::Key_F4);
        QTRY_VERIFY(t->Combo6_1->view()->isVisible());
        QTest::keyClick(t->Combo6_1->view(), Qt::Key_Home);
        QTest::keyClick(t->Combo6_1->view(), Qt::Key_Return);
        QTRY_VERIFY(!Ch(r.s, 2));
        QCOMPARE(RowTexts(t, 2), QStringList(9, QString()));

        // The edit window, closed and opened again before the old one is
        // gone, keeps following the table; the table follows it.
        OpenEditWindow(t, 1);
        auto* edit = qobject_cast<FrmCHInfoEdit*>(r.window().FindChildWindow("FrmCHInfoEdit"));
        QVERIFY(edit);
        edit->CommandClose->click();
        OpenEditWindow(t, 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        edit = qobject_cast<FrmCHInfoEdit*>(r.window().FindChildWindow("FrmCHInfoEdit"));
        QVERIFY(edit);
        QTest::mouseClick(edit->TextName[0], Qt::LeftButton);
        Type("EW");
        Key(Qt::Key_Return);
        QCOMPARE(t->cellText(1, 3), QString("EW"));
        ClickCell(t, 1, 1);
        Type("462.7125");
        Key(Qt::Key_Tab);
        QCOMPARE(edit->ComboRx->currentText(), QString("462.71250"));

        // After a second replacement the new table still redraws rows.
        ReopenAs(r, "b.dat");
        t = r.table();
        ClickCell(t, 1, 3);
        Key(Qt::Key_A, Qt::ControlModifier);   // the name box starts with the name
        Type("AFTER");
        Key(Qt::Key_Return);
        QCOMPARE(QString::fromStdString(Ch(r.s, 1)->ChannelName.text()), QString("AFTER"));
        r.prog->controller().setChannelItem(1, item::kRxTone, 5);   // as the import and the pages do
        QCOMPARE(t->cellText(1, 4), t->Combo1->itemText(5));
    }

    void navigationNeverChangesData() {
        Run r;
        for (int n = 1; n <= 4; ++n) r.prog->controller().setChannelItem(n, item::kRxFreq, "462.6625");
        frmCommChInfo* t = r.table();
        const StoredDocument before = r.s.doc.stored;

        // Arrow keys, page keys and Tab over the choosers only move.
        ClickCell(t, 1, 1);
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_Left, Qt::Key_PageDown,
                          Qt::Key_PageUp})
            Key(k);
        ClickCell(t, 2, 4);
        Key(Qt::Key_Down);
        Key(Qt::Key_Right);
        QCOMPARE(t->currentRow(), 3);
        QVERIFY(r.s.doc.stored == before);

        // The wheel over a chooser scrolls the table.
        ClickCell(t, 1, 5);
        QComboBox* tone = t->Combo1;
        QVERIFY(tone->isVisible());
        const int top = t->topRow();
        Wheel(tone, -3);
        QVERIFY(r.s.doc.stored == before);
        QVERIFY(t->topRow() > top);

        // Typed characters over a tone chooser open its list and find the
        // entry; only Enter picks it.
        ClickCell(t, 1, 4);
        Type("88");
        QTRY_VERIFY(tone->view()->isVisible());
        QVERIFY(r.s.doc.stored == before);
        QTest::keyClick(tone->view(), Qt::Key_Escape);
        QTRY_VERIFY(!tone->view()->isVisible());
        QVERIFY(r.s.doc.stored == before);

        // Esc restores what was typed into a frequency chooser.
        ClickCell(t, 3, 1);
        Type("450");
        Key(Qt::Key_Escape);
        QVERIFY(r.s.doc.stored == before);
        QCOMPARE(t->cellText(3, 1), QString("462.66250"));

        // The edit window: the wheel changes no chooser that lacks the focus.
        OpenEditWindow(t, 1);
        auto* edit = qobject_cast<FrmCHInfoEdit*>(r.window().FindChildWindow("FrmCHInfoEdit"));
        QVERIFY(edit);
        QTest::mouseClick(edit->TextName[0], Qt::LeftButton);
        for (QComboBox* box : {edit->ComboRx, edit->ComboRxTone, edit->ComboPttId, edit->ComboCh}) {
            QVERIFY(!box->hasFocus());
            Wheel(box, -2);
        }
        QCOMPARE(edit->shownChannel(), 1);
        QVERIFY(r.s.doc.stored == before);
    }

    void frequenciesCanBeTypedAndUntouchedEditorsWriteNothing() {
        Run r;
        frmCommChInfo* t = r.table();
        // Channel 1 of a new document lies on no list entry.
        const std::string rx1 = Ch(r.s, 1)->RxFreq.text();
        QCOMPARE(t->cellText(1, 1), QString("465.00000"));
        ClickCell(t, 1, 1);
        QCOMPARE(t->Combo6_1->currentText(), QString("465.00000"));
        t->CommandEdit->click();                       // concludes the open chooser
        QVERIFY(Ch(r.s, 1));
        QCOMPARE(Ch(r.s, 1)->RxFreq.text(), rx1);
        QTRY_VERIFY(r.window().FindChildWindow("FrmCHInfoEdit"));

        // A typed frequency creates a channel; a text that is no frequency is
        // refused with a message and writes nothing.
        ClickCell(t, 9, 1);
        Type("462.5625");
        Key(Qt::Key_Return);
        QVERIFY(Ch(r.s, 9));
        QCOMPARE(t->cellText(9, 1), QString("462.56250"));
        ClickCell(t, 10, 1);
        r.p.asked.clear();
        r.p.answers = {Answer::Ok};
        Type("46x");
        Key(Qt::Key_Return);
        QCOMPARE(r.p.texts(), (std::vector<std::string>{r.tx(9083)}));
        QVERIFY(!Ch(r.s, 10));
        QCOMPARE(t->currentRow(), 10);
        Key(Qt::Key_Escape);

        // An offset typed into the TX column; out of the band, with 9021.
        ClickCell(t, 9, 2);
        Type("+5");
        Key(Qt::Key_Return);
        QCOMPARE(t->cellText(9, 2), QString("467.56250"));
        ClickCell(t, 9, 2);
        r.p.asked.clear();
        r.p.answers = {Answer::Ok};
        Type("480");
        Key(Qt::Key_Tab);
        QCOMPARE(t->cellText(9, 2), QString("470.00000"));
        QCOMPARE(r.p.texts(), (std::vector<std::string>{r.tx(9021)}));
        QCOMPARE(r.p.asked.front().icon, Icon::Warning);
        QCOMPARE(Ch(r.s, 9)->OffsetDir, uint8_t(2));
        QCOMPARE(Ch(r.s, 9)->Offset.text(), std::string("0743750"));   // TX at the band's edge

        // An RX typed above the band: moved to the band's edge, told once;
        // the TX stays where it was.
        Key(Qt::Key_Escape);
        ClickCell(t, 9, 1);
        r.p.asked.clear();
        r.p.answers = {Answer::Ok};
        Type("475.5");
        Key(Qt::Key_Return);
        QCOMPARE(r.p.texts(), (std::vector<std::string>{r.tx(9021)}));
        QCOMPARE(Ch(r.s, 9)->RxFreq.text(), std::string("47000000"));
        QCOMPARE(t->cellText(9, 1), QString("470.00000"));
        QCOMPARE(t->cellText(9, 2), QString("470.00000"));
        QCOMPARE(r.p.unscripted, 0);
        Shot(t, "table-rx-moved-into-band");

        // The edit window takes a typed RX too.
        auto* edit = qobject_cast<FrmCHInfoEdit*>(r.window().FindChildWindow("FrmCHInfoEdit"));
        QVERIFY(edit);
        edit->ComboCh->setFocus();
        QTest::keyClick(edit->ComboCh, Qt::Key_End);             // the VFO
        QTest::keyClick(edit->ComboCh, Qt::Key_Home);            // channel 1
        QCOMPARE(edit->shownChannel(), 1);
        QTest::mouseClick(edit->ComboRx->lineEdit(), Qt::LeftButton);
        Key(Qt::Key_A, Qt::ControlModifier);
        Type("462.6875");
        Key(Qt::Key_Tab);
        QCOMPARE(Ch(r.s, 1)->RxFreq.text(), std::string("46268750"));
        QCOMPARE(t->cellText(1, 1), QString("462.68750"));
        // Below the band there: the lower edge, told once.
        r.p.asked.clear();
        r.p.answers = {Answer::Ok};
        QTest::mouseClick(edit->ComboRx->lineEdit(), Qt::LeftButton);
        Key(Qt::Key_A, Qt::ControlModifier);
        Type("455");
        Key(Qt::Key_Tab);
        QCOMPARE(r.p.texts(), (std::vector<std::string>{r.tx(9021)}));
        QCOMPARE(Ch(r.s, 1)->RxFreq.text(), std::string("46000000"));
        QCOMPARE(t->cellText(1, 1), QString("460.00000"));
        QCOMPARE(edit->ComboRx->currentText(), QString("460.00000"));
    }

    void aDamagedStoredFrequencyIsToldOnceAndLeftAsItIs() {
        Run r;
        frmCommChInfo* t = r.table();
        DocumentController& ctl = r.prog->controller();
        ctl.setChannelItem(5, item::kRxFreq, "462.5625");
        ctl.setChannelItem(6, item::kRxFreq, "462.5875");
        QVERIFY(r.p.asked.empty());

        // Two damaged records, as a damaged file or radio memory gives them:
        // both rows show the band's lower limit, one message says so.
        r.p.answers = {Answer::Ok};
        ctl.edit([&] {
            for (int n : {5, 6}) FindChannelRecord(r.s, n)->RxFreq.set("46A56250");
            r.s.doc.changes.allChannels();
        });
        QCOMPARE(r.p.texts(), std::vector<std::string>{"Not IsNumeric"});
        QCOMPARE(r.p.asked.front().buttons, Buttons::Ok);
        QCOMPARE(t->cellText(5, 1), QString("460"));
        QCOMPARE(t->cellText(6, 1), QString("460"));
        QCOMPARE(t->cellText(7, 1), QString());
        Shot(t, "table-damaged-rx");

        // The edit window showing one tells it once more; nothing is written.
        r.p.answers = {Answer::Ok};
        OpenEditWindow(t, 5);
        auto* edit = qobject_cast<FrmCHInfoEdit*>(r.window().FindChildWindow("FrmCHInfoEdit"));
        QTRY_VERIFY(edit);
        QCOMPARE(r.p.texts(), (std::vector<std::string>{"Not IsNumeric", "Not IsNumeric"}));
        QCOMPARE(edit->ComboRx->currentText(), QString("460"));
        QCOMPARE(Ch(r.s, 5)->RxFreq.text(), std::string("46A56250"));
        QCOMPARE(Ch(r.s, 6)->RxFreq.text(), std::string("46A56250"));
        QCOMPARE(r.p.unscripted, 0);
    }

    void channelCommandsFollowTheRow() {
        Run r;
        frmCommChInfo* t = r.table();
        QTRY_VERIFY(r.window().toolButton("CHCut")->isVisible());
        ClickCell(t, 7, 1);                                  // an empty row
        for (const char* name : {"MnuCHCut", "MnuCHCopy", "MnuCHPaste"})
            QVERIFY2(!r.window().action(name)->isEnabled(), name);
        for (const char* key : {"CHCut", "CHCopy", "CHPaste"}) QVERIFY2(!r.window().toolButton(key)->isEnabled(), key);
        QVERIFY(r.window().toolButton("CHInsert")->isEnabled());
        Key(Qt::Key_X, Qt::ControlModifier);                 // Cut on an empty row does nothing
        QTest::qWait(50);
        QVERIFY(!r.s.clipboard.hasChannel);

        ClickCell(t, 1, 1);
        QVERIFY(r.window().action("MnuCHCopy")->isEnabled());
        QVERIFY(!r.window().action("MnuCHPaste")->isEnabled());
        Key(Qt::Key_C, Qt::ControlModifier);
        QTRY_VERIFY(r.window().action("MnuCHPaste")->isEnabled());
        QVERIFY(r.window().toolButton("CHPaste")->isEnabled());
        ClickCell(t, 129, 1);                                // the VFO: no Cut, Insert
        QVERIFY(!r.window().action("MnuCHCut")->isEnabled());
        QVERIFY(!r.window().toolButton("CHInsert")->isEnabled());

        // The tool bar's Print button shows the channel sheet, as the menu does.
        QString shown;
        QTimer::singleShot(200, [&] {
            if (auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
                shown = d->windowTitle();
                d->reject();
            }
        });
        ClickTool(r.window(), "Print");
        QVERIFY2(!shown.isEmpty(), "the channel sheet preview was shown");
    }

    void aPageCommitsItsEditHoweverItCloses() {
        Run r;
        auto typePreset = [&](int row, const char* text) -> FrmRadio* {
            auto* fm = qobject_cast<FrmRadio*>(r.window().ShowChild("FrmRadio"));
            if (!fm) return nullptr;
            QTest::mouseClick(fm->MSFlexGrid1->viewport(), Qt::LeftButton, {},
                              fm->MSFlexGrid1->visualRect(fm->MSFlexGrid1->model()->index(row - 1, 1)).center());
            if (!QTest::qWaitFor([&] { return fm->Text1->isVisible(); })) return nullptr;
            QTest::keyClick(fm->Text1, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(fm->Text1, text);
            return fm;
        };
        // By the frame's own close.
        FrmRadio* fm = typePreset(3, "90.5");
        QVERIFY(fm);
        qobject_cast<QMdiSubWindow*>(fm->parentWidget())->close();
        QCOMPARE(r.s.doc.stored.FmChannels[2].FmFreq.text(), std::string("09050000"));
        // By Window > Close all.
        QVERIFY(typePreset(4, "101.7"));
        r.window().action("mnuCloseAll")->trigger();
        QCOMPARE(r.s.doc.stored.FmChannels[3].FmFreq.text(), std::string("10170000"));
        // Before File New asks whether to save, the preset is in the document.
        QVERIFY(typePreset(5, "88"));
        r.p.asked.clear();
        r.p.answers = {Answer::No, Answer::Cancel};
        QTest::keyClick(&r.window(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(r.s.doc.stored.FmChannels[4].FmFreq.text(), std::string("08800000"));
        QCOMPARE(r.p.texts().front(), r.tx(9006));
    }

    void closingTheWindowUsesTheCloseRule() {
        Run r;
        frmCommChInfo* t = r.table();
        ClickCell(t, 1, 3);
        Type("X");
        Key(Qt::Key_Return);
        QVERIFY(IsModified(r.s));
        // Yes, then the file dialog cancelled: the program stays.
        r.p.asked.clear();
        r.p.answers = {Answer::Yes};
        r.p.files = {std::nullopt};
        QVERIFY(!r.window().close());
        QCOMPARE(r.p.texts(), (std::vector<std::string>{r.tx(9006)}));
        // Cancel: the program stays.
        r.p.answers = {Answer::Cancel};
        QVERIFY(!r.window().close());
        // Yes with a file: saved, then closed.
        r.p.answers = {Answer::Yes};
        r.p.files = {r.file("closing.dat")};
        QVERIFY(r.window().close());
        QVERIFY(std::filesystem::exists(r.file("closing.dat")));
    }
};

QTEST_MAIN(TestMainWindowEditing)
#include "test_main_window_editing.moc"
