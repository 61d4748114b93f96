// What a user does from start to end, through the main window as Program
// builds it, with the simulator on a pseudo-terminal as the radio: keys,
// clicks and the wheel go to the real widgets, and the checks look at what
// the table shows and what the radio or the file holds.
//
// ZR_JOURNEY_LANGUAGE names the language file a run uses (see
// journey_support.h); every expected text comes from that file.

#include <fstream>

#include <QLineEdit>
#include <QTest>

#include "channels/channel_ops.h"
#include "data/freq_text.h"
#include "shell/number_text.h"
#include "files/change_tracking.h"
#include "files/document_file.h"
#include "link/verify.h"
#include "platform/channels/frm_ch_info_edit.h"
#include "journey_support.h"

using namespace zr;
using namespace journey;

namespace {

// Reads the radio with Program > Read (Ctrl+R); `answers` for the messages
// after the confirmation.
bool ReadRadio(Run& r, std::deque<Answer> answers) {
    r.p.asked.clear();
    r.p.answers = std::move(answers);
    r.p.answers.push_front(Answer::Ok);   // 9004
    if (!Activate(&r.window())) return false;
    QTest::keyClick(&r.window(), Qt::Key_R, Qt::ControlModifier);
    const bool done = QTest::qWaitFor([&] { return r.p.answers.empty() && !r.busy() && r.table(); }, 30000);
    if (!done)
        for (const auto& q : r.p.asked) qWarning("asked: %s", q.text.c_str());
    return done;
}

// Saves with the tool bar (Save As for a never-saved document) and opens the
// file again with the tool bar: the table shows what it showed before.
void SaveReopenAndCompare(Run& r, const std::string& path) {
    const QStringList shown = TableTexts(r.table());
    if (r.s.doc.neverSaved) r.p.files = {path};
    else r.p.answers = {Answer::Ok};                     // overwrite the file
    ClickTool(r.window(), "SaveFile");
    QTRY_VERIFY(!IsModified(r.s));
    r.p.files = {path};
    ClickTool(r.window(), "OpenFile");
    QVERIFY(r.table());
    QCOMPARE(TableTexts(r.table()), shown);
}

}  // namespace

class TestUserJourneys : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        DemoRadio::setSimulatorPath(QString::fromStdString((zrtest::binaryDir() / "tools" / "zrcps-sim").string()));
    }

    // Read, edit in the table and the edit window, write, read back: the
    // radio holds exactly the edits.
    void readEditWriteReadBack() {
        if (!QFileInfo(DemoRadio::simulatorPath()).isExecutable()) QSKIP("zrcps-sim is not built");
        Run r(true);
        QVERIFY(r.radioReady);
        QVERIFY(ReadRadio(r, {Answer::Ok}));   // 9009 read finished
        QCOMPARE(r.p.texts(), (std::vector<std::string>{r.tx(9004), r.tx(9009)}));
        const RadioDocument read = r.s.doc;
        frmCommChInfo* t = r.table();
        QVERIFY(t);
        QVERIFY(Ch(r.s, 1) && Ch(r.s, 2) && Ch(r.s, 3) && Ch(r.s, 4));

        // Arrow keys move through the table and change nothing.
        ClickCell(t, 1, 1);
        QCOMPARE(t->currentRow(), 1);
        Key(Qt::Key_Down);
        Key(Qt::Key_Down);
        QCOMPARE(t->currentRow(), 3);
        QCOMPARE(t->currentCol(), 1);
        QVERIFY(r.s.doc.stored == read.stored);

        // A typed frequency, Enter: written, and the RX column fills downwards.
        Type("462.6375");
        Shot(t, "typed_frequency");
        Key(Qt::Key_Return);
        QCOMPARE(Rx(r.s, 3), std::string("46263750"));
        QCOMPARE(t->cellText(3, 1), QString("462.63750"));
        QCOMPARE(t->currentRow(), 4);

        // The wheel over a tone cell scrolls; the tone stays.
        ClickCell(t, 4, 4);
        QComboBox* tone = t->Combo1;
        QVERIFY(tone->isVisible() && tone->hasFocus());
        const int16_t toneBefore = Ch(r.s, 4)->RxTone;
        Wheel(tone, -3);
        QCOMPARE(Ch(r.s, 4)->RxTone, toneBefore);

        // A tone picked from the open list.
        ClickCell(t, 2, 4);
        QVERIFY(tone->isVisible());
        Key(Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(tone->view()->isVisible());
        Shot(tone->view(), "tone_list_open");
        const int picked = tone->currentIndex() + 3;
        for (int i = 0; i < 3; ++i) QTest::keyClick(tone->view(), Qt::Key_Down);
        QTest::keyClick(tone->view(), Qt::Key_Return);
        QTRY_VERIFY(!tone->view()->isVisible());
        QCOMPARE(int(Ch(r.s, 2)->RxTone), picked);
        QCOMPARE(t->cellText(2, 4), tone->itemText(picked));

        // The edit window: a name and a typed TX frequency; the table shows
        // both at once.
        OpenEditWindow(t, 2);
        auto* edit = qobject_cast<FrmCHInfoEdit*>(r.window().FindChildWindow("FrmCHInfoEdit"));
        QVERIFY(edit);
        QCOMPARE(edit->shownChannel(), 2);
        // The first three of the six name boxes get new letters.
        const std::string oldName = Ch(r.s, 2)->ChannelName.text();
        const std::string newName = "JRN" + (oldName.size() > 3 ? oldName.substr(3) : std::string());
        QTest::mouseClick(edit->TextName[0], Qt::LeftButton);
        Type("JRN");
        Key(Qt::Key_Return);
        QCOMPARE(Ch(r.s, 2)->ChannelName.text(), newName);
        QCOMPARE(t->cellText(2, 3), QString::fromStdString(newName));
        QTest::mouseClick(edit->ComboTx->lineEdit(), Qt::LeftButton);
        Key(Qt::Key_A, Qt::ControlModifier);
        Type("467.6125");
        Key(Qt::Key_Return);
        QCOMPARE(t->cellText(2, 2), QString("467.61250"));
        Shot(edit, "edit_window");
        const RadioDocument edited = r.s.doc;

        // Write (Ctrl+W), then read back.
        r.p.asked.clear();
        r.p.answers = {Answer::Ok, Answer::Ok};   // 9005, 9010
        QVERIFY(Activate(&r.window()));
        QTest::keyClick(&r.window(), Qt::Key_W, Qt::ControlModifier);
        const bool wrote = QTest::qWaitFor([&] { return r.p.answers.empty() && !r.busy(); }, 30000);
        QVERIFY(wrote);
        QCOMPARE(r.p.texts(), (std::vector<std::string>{r.tx(9005), r.tx(9010)}));
        const RadioImage written = r.s.doc.image;
        QVERIFY(ReadRadio(r, {Answer::No, Answer::Ok}));   // 9006 unsaved: No; 9009
        QVERIFY(link::CompareWrittenImage(written, r.s.doc.image).empty());
        QVERIFY(r.s.doc.stored.Channels == edited.stored.Channels);
        // Against the first read, only the edited channels differ.
        for (const auto& d : link::CompareWrittenImage(read.image, r.s.doc.image)) {
            const std::string what = link::DescribeImageAddress(d.address);
            QVERIFY2(what == "channel 2" || what == "channel 3", what.c_str());
        }
        QCOMPARE(r.table()->cellText(2, 3), QString::fromStdString(newName));
        QCOMPARE(r.table()->cellText(3, 1), QString("462.63750"));
    }

    // Open a document, paste, insert, delete, move, save: reopening shows
    // the same table.
    void openEditSaveReopen() {
        Run r;
        // A document with a few channels, kept as a file beforehand.
        for (int n = 1; n <= 6; ++n)
            r.prog->controller().setChannelItem(n, item::kRxFreq, FormatScaled(46255000 + 1250 * n, 5));
        r.prog->controller().setChannelItem(128, item::kRxFreq, "467.7125");
        r.s.doc.fileName = r.file("channels.dat");
        QVERIFY(WriteDocument(r.s));
        r.s.settings.habits.PasteNoAsk = r.s.settings.habits.DeleteNoAsk = true;
        r.s.settings.habits.PasteInsert = false;
        r.s.settings.habits.DeleteRemove = true;

        r.p.files = {r.file("channels.dat")};
        ClickTool(r.window(), "OpenFile");
        QTRY_VERIFY(r.table());
        frmCommChInfo* t = r.table();
        QTRY_VERIFY(r.window().toolButton("CHCopy")->isVisible());

        ClickCell(t, 2, 1);
        Key(Qt::Key_C, Qt::ControlModifier);                 // copy channel 2
        QTRY_VERIFY(r.s.clipboard.hasChannel);
        ClickCell(t, 10, 1);
        QTRY_VERIFY(r.window().toolButton("CHPaste")->isEnabled());
        Key(Qt::Key_V, Qt::ControlModifier);                 // paste onto 10
        QTRY_COMPARE(Rx(r.s, 10), Rx(r.s, 2));
        QCOMPARE(t->cellText(10, 1), t->cellText(2, 1));

        ClickCell(t, 3, 1);
        r.p.answers = {Answer::Ok};                          // channel 128 will be lost
        ClickTool(r.window(), "CHInsert");
        QTRY_VERIFY(!Ch(r.s, 3));
        QCOMPARE(r.p.texts().back(), r.tx(9082));
        QVERIFY(!Ch(r.s, 128));
        QCOMPARE(t->cellText(3, 1), QString());
        QCOMPARE(t->cellText(4, 1), QString("462.58750"));   // the old channel 3

        ClickCell(t, 5, 1);
        Key(Qt::Key_Delete);                                 // delete channel 5
        QTRY_VERIFY(!Ch(r.s, 5));
        QCOMPARE(t->cellText(5, 1), QString());

        ClickCell(t, 1, 1);
        Key(Qt::Key_D, Qt::ControlModifier);                 // move channel 1 down
        QTRY_COMPARE(Rx(r.s, 2), std::string("46256250"));
        QCOMPARE(Rx(r.s, 1), std::string("46257500"));
        SaveReopenAndCompare(r, r.file("channels.dat"));
    }

    // A CSV import: the table shows what reopening the saved document shows.
    void csvImportShowsWhatTheFileHolds() {
        Run r;
        QVERIFY(!r.s.settings.habits.UseOffset);
        const std::string csv = r.file("list.csv");
        {
            std::ofstream out(csv);
            out << "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                   "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power\n"
                   "1,RPT1,462.550000,+,5.000000,TSQL,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High\n"
                   "2,RPT2,467.562500,-,4.962500,,88.5,88.5,023,NN,023,Tone->Tone,NFM,6.25,S,Low\n"
                   "7,SIMPLX,462.712500,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,Mid\n";
        }
        r.p.files = {csv};
        r.p.answers = {Answer::Ok};                          // the import report
        QAction* import = r.window().findChild<QAction*>("mnuFileImportCsv");
        QVERIFY(import);
        import->trigger();
        QTRY_VERIFY(Ch(r.s, 7));
        frmCommChInfo* t = r.table();
        QVERIFY(t);
        QCOMPARE(t->cellText(1, 2), QString("467.55000"));   // TX frequencies, not offsets
        QCOMPARE(t->cellText(2, 2), QString("462.60000"));
        QCOMPARE(t->cellText(7, 3), QString("SIMPLX"));
        SaveReopenAndCompare(r, r.file("imported.dat"));
    }

    // Yes to "save changes?" before a read saves the document, then reads;
    // a cancelled save cancels the read.
    void yesToSaveBeforeAReadSavesThenReads() {
        if (!QFileInfo(DemoRadio::simulatorPath()).isExecutable()) QSKIP("zrcps-sim is not built");
        Run r(true);
        QVERIFY(r.radioReady);
        frmCommChInfo* t = r.table();
        QVERIFY(t);
        ClickCell(t, 1, 3);
        Type("KEEP");
        Key(Qt::Key_Return);
        QCOMPARE(Ch(r.s, 1)->ChannelName.text(), std::string("KEEP"));

        // Yes, then the file dialog is cancelled: nothing is saved or read.
        r.p.files = {std::nullopt};
        r.p.answers = {Answer::Ok, Answer::Yes};             // 9004, 9006
        QTest::keyClick(&r.window(), Qt::Key_R, Qt::ControlModifier);
        QTRY_VERIFY(r.p.answers.empty() && !r.busy());
        QTest::qWait(700);
        QCOMPARE(Ch(r.s, 1)->ChannelName.text(), std::string("KEEP"));
        QVERIFY(r.s.doc.neverSaved);

        // Yes with a file name: saved, then read.
        r.p.files = {r.file("before-read.dat")};
        QVERIFY(ReadRadio(r, {Answer::Yes, Answer::Ok}));    // 9006, 9009
        QCOMPARE(r.p.texts(), (std::vector<std::string>{r.tx(9004), r.tx(9006), r.tx(9009)}));
        QCOMPARE(int(r.s.doc.stored.Channels.count), 29);    // the radio's channels
        Session saved;
        saved.paths = r.s.paths;
        saved.settings = r.s.settings;
        QCOMPARE(OpenChecked(saved, r.file("before-read.dat")).result, OpenResult::Opened);
        QCOMPARE(FindChannelRecord(saved, 1)->ChannelName.text(), std::string("KEEP"));
    }
};

QTEST_MAIN(TestUserJourneys)
#include "test_user_journeys.moc"
