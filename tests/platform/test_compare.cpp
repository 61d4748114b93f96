// File > Compare with... and the backup before a write, in the running
// program against the demo radio: the differences of another document, a
// backup and the radio are listed by channel and page, a double click on a
// channel's line selects it in the table, the radio's read never replaces
// the open document; with the port dialog's check box on, Ctrl+W reads and
// keeps the radio first, asks with the changes, and writes only on Yes;
// Program > Write to several radios goes on past a failed radio.
//
// With ZR_SHOTS=<folder> in the environment the test saves pictures.

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTreeWidget>

#include "channels/channel_ops.h"
#include "files/backups.h"
#include "files/change_tracking.h"
#include "files/document_record.h"
#include "journey_support.h"
#include "link/differences.h"
#include "link/write_job.h"
#include "platform/compare/compare_tools.h"
#include "platform/compare/frm_compare.h"
#include "platform/compare/frm_write_several.h"
#include "platform/shell/dialogs.h"

using namespace zr;
using journey::Run;

namespace {

// The texts of the list: "group" for a group, "  line" for a line.
QStringList ListTexts(QTreeWidget* t) {
    QStringList out;
    for (int i = 0; i < t->topLevelItemCount(); ++i) {
        QTreeWidgetItem* g = t->topLevelItem(i);
        out << g->text(0);
        for (int j = 0; j < g->childCount(); ++j) out << "  " + g->child(j)->text(0);
    }
    return out;
}

QTreeWidgetItem* LineItem(QTreeWidget* t, const QString& text) {
    const auto found = t->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

std::string AskedTexts(const zrtest::ScriptedPrompter& p) {
    std::string out;
    for (const auto& t : p.texts()) out += t + "\n";
    return out;
}

CompareTools* Tools(frmMain& w) { return w.findChild<CompareTools*>(); }

}  // namespace

class TestCompare : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        journey::UseDarkPaletteWhenAsked();   // ZR_SHOTS_DARK=1: the pictures with a dark palette
        DemoRadio::setSimulatorPath(QString::fromStdString((zrtest::binaryDir() / "tools" / "zrcps-sim").string()));
    }

    void compareWithADocumentABackupAndTheRadio() {
        if (!QFileInfo(DemoRadio::simulatorPath()).isExecutable()) QSKIP("zrcps-sim is not built");
        Run r(true);
        QVERIFY(r.radioReady);
        frmMain& w = r.window();
        CompareTools* tools = Tools(w);
        QVERIFY(tools);
        tools->setBackupFolder(QString::fromStdString(r.file("backups")));

        // Another document: the open one as it was before channel 1 got a
        // name in the table.
        const StoredDocument other = r.s.doc.stored;
        QVERIFY(WriteDocumentRecordFile(r.file("other.dat"), other).ok());
        SetChannelItem(r.s, 1, item::kName, "HOME");
        const StoredDocument open = r.s.doc.stored;

        QAction* compare = w.findChild<QAction*>("mnuFileCompare");
        QVERIFY(compare);
        compare->trigger();
        FrmCompare* f = tools->compareWindow();
        QVERIFY(f && f->isVisible());
        r.p.files = {r.file("other.dat")};
        QTest::mouseClick(f->CommandDocument, Qt::LeftButton);
        QCOMPARE(ListTexts(f->List1), (QStringList{"CH 1", "  CH 1 name \"\" -> \"HOME\""}));
        QVERIFY(f->LabelSides->text().contains(QString::fromStdString(r.file("other.dat"))));

        // The same file compared again with nothing changed: the list says so.
        r.s.doc.stored = other;
        r.p.files = {r.file("other.dat")};
        QTest::mouseClick(f->CommandDocument, Qt::LeftButton);
        QCOMPARE(ListTexts(f->List1), (QStringList{CompareText(r.s, 32007)}));
        r.s.doc.stored = open;

        // A backup: the chooser starts in the backups folder.
        std::string backupPath;
        Session old = r.s;
        old.doc.stored = other;
        QVERIFY(SaveReadBackup(old, r.file("backups"), backupPath).ok());
        r.p.files = {backupPath};
        QTest::mouseClick(f->CommandBackup, Qt::LeftButton);
        QCOMPARE(QString::fromStdString(r.p.fileRequests.back().initialPath), tools->backupFolder() + "/");
        QCOMPARE(ListTexts(f->List1), (QStringList{"CH 1", "  CH 1 name \"\" -> \"HOME\""}));

        // The radio: read into a copy; the open document stays as it is.
        const std::string fileName = r.s.doc.fileName;
        r.p.asked.clear();
        QSignalSpy done(f, &FrmCompare::compared);
        QTest::mouseClick(f->CommandRadio, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(done.count() == 1 && !f->readingRadio(), 30000);
        QVERIFY(r.p.asked.empty());   // no read question, no "finished" message
        QCOMPARE(r.s.doc.stored, open);
        QCOMPARE(r.s.doc.fileName, fileName);
        QVERIFY(!tools->routed());
        // What the radio holds against the open document, as the rules see
        // it; the lines of a channel stand under that channel.
        RadioImage radio{};
        const std::string sample = SampleRadioMemory(r.s);
        std::copy(sample.begin(), sample.end(), radio.begin());
        const auto expected = link::CompareImages(radio, link::DocumentImage(open));
        QVERIFY(expected.size() > 20);
        QCOMPARE(link::DifferencesText(f->differences()), link::DifferencesText(expected));
        QVERIFY2(LineItem(f->List1, "CH 3 RX 462.61250 \"GMRS03\" -> empty") != nullptr,
                 link::DifferencesText(f->differences()).c_str());
        for (int i = 0; i < f->List1->topLevelItemCount(); ++i) {
            QTreeWidgetItem* g = f->List1->topLevelItem(i);
            if (!g->text(0).startsWith("CH ") && g->text(0) != "VFO") continue;
            for (int j = 0; j < g->childCount(); ++j)
                QVERIFY2(g->child(j)->text(0).startsWith(g->text(0) + " ") ||
                             g->child(j)->text(0).contains("that no item shows"),
                         qPrintable(g->child(j)->text(0)));
        }
        f->resize(640, 480);
        journey::Shot(f, "compare_radio");

        // A double click on a channel's line selects the channel in the table.
        QTreeWidgetItem* line = LineItem(f->List1, "CH 3 RX 462.61250 \"GMRS03\" -> empty");
        QVERIFY(line);
        f->List1->scrollToItem(line);
        const QRect rect = f->List1->visualItemRect(line);
        QTest::mouseClick(f->List1->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(f->List1->viewport(), Qt::LeftButton, {}, rect.center());
        QTRY_VERIFY(r.table() != nullptr);
        QCOMPARE(r.table()->currentRow(), 3);
        // A settings line selects nothing.
        if (QTreeWidgetItem* scan = LineItem(f->List1, "Scan")) {
            f->List1->setCurrentItem(scan);
            QTest::keyClick(f->List1, Qt::Key_Return);
            QCOMPARE(r.table()->currentRow(), 3);
        }
        f->close();
    }

    void backupBeforeWriteAsksWithTheChangesAndWritesOnlyOnYes() {
        if (!QFileInfo(DemoRadio::simulatorPath()).isExecutable()) QSKIP("zrcps-sim is not built");
        Run r(true);
        QVERIFY(r.radioReady);
        frmMain& w = r.window();
        CompareTools* tools = Tools(w);
        tools->setBackupFolder(QString::fromStdString(r.file("backups")));
        const std::string sample = SampleRadioMemory(r.s);
        RadioImage before{};
        std::copy(sample.begin(), sample.end(), before.begin());

        // The port dialog's check box turns it on and is remembered.
        QVERIFY(!link::LoadBackupBeforeWrite(r.s));
        QTimer::singleShot(50, [] {
            auto* d = qobject_cast<FrmComSet*>(QApplication::activeModalWidget());
            QVERIFY(d);
            auto* box = d->findChild<QCheckBox*>("CheckBackupBeforeWrite");
            QVERIFY(box);
            QVERIFY(!box->isChecked());
            journey::Shot(d, "port_dialog_backup");
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
            QVERIFY(box->isChecked());
            d->CommandOK->click();
        });
        w.action("mnuComm")->trigger();
        QVERIFY(link::LoadBackupBeforeWrite(r.s));
        QVERIFY(r.prog->useDemoRadio());   // the dialog chose the port anew

        // Ctrl+W: backup, the question with the changes (No): nothing written.
        SetChannelItem(r.s, 1, item::kName, "HOME");
        QSignalSpy finished(tools, &CompareTools::guardedWriteFinished);
        r.p.answers = {Answer::No};
        QVERIFY(journey::Activate(&w));
        QTest::keyClick(&w, Qt::Key_W, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() == 1, 30000);
        QCOMPARE(int(r.p.asked.size()), 1);
        QCOMPARE(r.p.asked[0].buttons, Buttons::YesNo);
        auto backups = ListBackups(r.file("backups"));
        QCOMPARE(int(backups.size()), 1);
        const auto changes = link::CompareImages(before, link::DocumentImage(r.s.doc.stored));
        QVERIFY(!changes.empty());
        QCOMPARE(r.p.asked[0].text, link::WriteJob::ChangesQuestion(changes, backups[0].path));
        // The backup holds the radio as it was.
        const auto kept = ReadDocumentRecordFile(backups[0].path);
        QVERIFY(kept);
        QVERIFY2(link::CompareImages(before, link::DocumentImage(*kept)).empty(),
                 link::DifferencesText(link::CompareImages(before, link::DocumentImage(*kept))).c_str());

        // Again, Yes: written; a compare with the radio then finds nothing.
        r.p.asked.clear();
        r.p.answers = {Answer::Yes, Answer::Ok};   // the question, "write finished"
        QVERIFY(journey::Activate(&w));
        QTest::keyClick(&w, Qt::Key_W, Qt::ControlModifier);
        QTRY_VERIFY2_WITH_TIMEOUT(finished.count() == 2, AskedTexts(r.p).c_str(), 60000);
        QCOMPARE(finished.last().at(0).toBool(), true);
        QCOMPARE(r.p.asked.back().text, ToText(Tx(r.s, 9010)));
        QCOMPARE(int(ListBackups(r.file("backups")).size()), 2);
        tools->compareCommand();
        FrmCompare* f = tools->compareWindow();
        QSignalSpy done(f, &FrmCompare::compared);
        QTest::mouseClick(f->CommandRadio, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(done.count() == 1, 30000);
        QVERIFY2(f->differences().empty(), link::DifferencesText(f->differences()).c_str());
        f->close();

        // The radio is gone: the backup read cannot start, nothing is asked
        // beyond the port's message, nothing is written.
        r.prog->demo().stop();
        r.p.asked.clear();
        r.p.answers = {Answer::Ok};   // 9003
        QVERIFY(journey::Activate(&w));
        QTest::keyClick(&w, Qt::Key_W, Qt::ControlModifier);
        QTRY_VERIFY(!r.p.asked.empty());
        QTest::qWait(200);
        QCOMPARE(int(r.p.asked.size()), 1);
        QVERIFY(r.p.asked[0].text.rfind(ToText(Tx(r.s, 9003)), 0) == 0);
        QVERIFY(!tools->routed());
        QVERIFY(link::SaveBackupBeforeWrite(r.s, false));
    }
    // Program > Write to several radios: Enter writes the next radio; a
    // radio that is not there fails without stopping the list, is marked,
    // and is written on Try again; the list is saved as CSV.
    void writeSeveralRadiosGoesOnPastAFailedRadio() {
        if (!QFileInfo(DemoRadio::simulatorPath()).isExecutable()) QSKIP("zrcps-sim is not built");
        Run r(true);
        QVERIFY(r.radioReady);
        frmMain& w = r.window();
        CompareTools* tools = Tools(w);
        SetChannelItem(r.s, 1, item::kName, "DEALER");
        const StoredDocument sent = r.s.doc.stored;

        QAction* several = w.findChild<QAction*>("mnuWriteSeveral");
        QVERIFY(several);
        QCOMPARE(several->parent(), w.action("mnuProgram")->menu());
        several->trigger();
        FrmWriteSeveral* f = tools->writeSeveralWindow();
        QVERIFY(f && f->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(f));
        QSignalSpy turns(f, &FrmWriteSeveral::turnEnded);
        const auto row = [f](int i) {
            QTreeWidgetItem* it = f->List1->topLevelItem(i);
            return it ? QStringList{it->text(0), it->text(1), it->text(2), it->text(3)} : QStringList{};
        };

        // Radio 1: Enter in the window.
        QVERIFY(!f->CommandSave->isEnabled());
        QVERIFY(journey::Activate(f));
        QTest::keyClick(f, Qt::Key_Return);
        QTRY_VERIFY2_WITH_TIMEOUT(turns.count() == 1, AskedTexts(r.p).c_str(), 60000);
        QCOMPARE(row(0).at(0), QString("1"));
        QCOMPARE(row(0).at(3), QString("OK: written"));
        QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$").match(row(0).at(1)).hasMatch());

        // Radio 2 is not connected: the port's message, the row marked.
        r.prog->demo().stop();
        r.p.answers = {Answer::Ok};   // the port cannot be opened
        QTest::mouseClick(f->CommandNext, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(turns.count() == 2, 30000);
        QVERIFY2(row(1).at(3).startsWith("FAILED: "), qPrintable(row(1).at(3)));
        QVERIFY(f->List1->topLevelItem(1)->font(3).bold());
        QVERIFY(f->CommandRetry->isEnabled());   // the failed row is the current one
        QVERIFY(f->LabelStatus->text().contains("2"));
        journey::Shot(f, "write_several_failed");

        // Radio 3: a radio again; the list goes on.
        QVERIFY(r.prog->useDemoRadio());
        QTest::keyClick(f, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(turns.count() == 3, 60000);
        QCOMPARE(row(2).at(0), QString("3"));
        QCOMPARE(row(2).at(3), QString("OK: written"));
        QVERIFY(!f->CommandRetry->isEnabled());

        // Radio 2 once more: chosen in the list, Try again.
        const QRect second = f->List1->visualItemRect(f->List1->topLevelItem(1));
        QTest::mouseClick(f->List1->viewport(), Qt::LeftButton, {}, second.center());
        QVERIFY(f->CommandRetry->isEnabled());
        QTest::mouseClick(f->CommandRetry, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(turns.count() == 4, 60000);
        QCOMPARE(f->List1->topLevelItemCount(), 3);
        QCOMPARE(row(1).at(3), QString("OK: written"));
        QVERIFY(!f->List1->topLevelItem(1)->font(3).bold());
        journey::Shot(f, "write_several");

        // The radio holds the document now.
        tools->compareCommand();
        FrmCompare* c = tools->compareWindow();
        QSignalSpy compared(c, &FrmCompare::compared);
        QTest::mouseClick(c->CommandRadio, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(compared.count() == 1, 30000);
        QVERIFY2(c->differences().empty(), link::DifferencesText(c->differences()).c_str());
        QCOMPARE(r.s.doc.stored, sent);
        c->close();

        // Closing an unsaved list asks; No keeps it open.
        r.p.asked.clear();
        r.p.answers = {Answer::No};
        QVERIFY(journey::Activate(f));
        QTest::keyClick(f, Qt::Key_Escape);
        QCOMPARE(int(r.p.asked.size()), 1);
        QVERIFY(f->isVisible());

        // The list as CSV; then closing asks nothing.
        r.p.files = {r.file("radios.csv")};
        QTest::mouseClick(f->CommandSave, Qt::LeftButton);
        QFile csv(QString::fromStdString(r.file("radios.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(csv.readAll()).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QString("Radio,Time,Serial number,Result,Details,Attempts"));
        QVERIFY2(lines[1].startsWith("1,") && lines[1].endsWith(",OK,written,1"), qPrintable(lines[1]));
        QVERIFY2(lines[2].startsWith("2,") && lines[2].endsWith(",OK,written,2"), qPrintable(lines[2]));
        QVERIFY2(lines[3].startsWith("3,") && lines[3].endsWith(",OK,written,1"), qPrintable(lines[3]));
        r.p.asked.clear();
        f->close();
        QVERIFY(!f->isVisible());
        QVERIFY(r.p.asked.empty());
    }
};

QTEST_MAIN(TestCompare)
#include "test_compare.moc"
