// The main window as a person uses it with files and settings pages:
// documents and CSV channel lists dropped on the window, settings pages that
// stay usable in a small window (every field can be scrolled into view,
// nothing is cut), and an undo that shows the earlier value in the page that
// stays open where it stands.
//
// With ZR_SHOTS=<folder> the test saves pictures of the pages in a small
// window; ZR_SHOTS_DARK=1 shows them with a dark palette, QT_SCALE_FACTOR=2
// at twice the size.

#include <fstream>

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QUrl>

#include "channels/channel_ops.h"
#include "files/change_tracking.h"
#include "files/document_file.h"
#include "journey_support.h"
#include "platform/channels/channel_dialogs.h"
#include "platform/channels/frm_ch_info_edit.h"
#include "platform/extras/extras.h"
#include "platform/pages/frm_key.h"
#include "platform/pages/page_widgets.h"
#include "platform/shell/main_editing.h"
#include "shell/settings_files.h"
#include "shell/version.h"

using namespace zr;
using namespace journey;

namespace {

std::string Name(const Session& s, int n) {
    const ChannelRecord* c = FindChannelRecord(s, n);
    return c ? c->ChannelName.text() : std::string("(none)");
}

// A document file with one named channel, written as File > Save writes it.
void WriteDocumentWith(const Session& like, const std::string& path, int channel, const char* name) {
    Session other;
    other.paths = like.paths;
    other.settings = like.settings;
    NewDocument(other);
    SetChannelItem(other, channel, item::kRxFreq, "462.6125");
    SetChannelItem(other, channel, item::kName, name);
    other.doc.fileName = path;
    QVERIFY(WriteDocument(other));
}

void WriteCsv(const std::string& path) {
    std::ofstream out(path);
    out << "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
           "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power\n"
           "2,CSV2,462.550000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High\n"
           "9,CSV9,462.712500,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,Low\n";
}

// Drags files over the middle of the window and drops them there, as a file
// manager does. Returns whether the window took the drag and the drop.
bool Drop(frmMain& w, const QList<QUrl>& urls) {
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint at = w.mdiArea()->geometry().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    return drop.isAccepted();
}

// Whether a drag of a file over `over` is taken there or by a window below.
bool DragTaken(QWidget* over, const std::string& path) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    QDragEnterEvent enter(over->rect().center(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(over, &enter);
    return enter.isAccepted();
}

bool DropFile(frmMain& w, const std::string& path) {
    return Drop(w, {QUrl::fromLocalFile(QString::fromStdString(path))});
}

// The questions asked so far, by text.
bool Asked(Run& r, int text) {
    for (const std::string& t : r.p.texts())
        if (t.find(r.tx(text)) != std::string::npos) return true;
    return false;
}

// The controls a person fills in on a page, visible on its current tab.
QList<QWidget*> Fields(QWidget* body) {
    QList<QWidget*> out;
    for (QWidget* w : body->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(body)) continue;
        if (qobject_cast<QComboBox*>(w) || qobject_cast<QCheckBox*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
            qobject_cast<QAbstractItemView*>(w) ||
            (qobject_cast<QLineEdit*>(w) && !qobject_cast<QComboBox*>(w->parentWidget())))
            out << w;
    }
    return out;
}

// Every label and field of the page's current tab has at least its smallest
// size and lies inside the scrolled widget, whose every part the scroll bars
// reach.
void CheckReachable(PageWindow* page, const QString& where) {
    QScrollArea* scroll = page->scrollArea();
    QVERIFY2(scroll && scroll->widget(), qPrintable(where));
    QWidget* body = scroll->widget();
    QVERIFY2(body->width() >= body->minimumSizeHint().width() && body->height() >= body->minimumSizeHint().height(),
             qPrintable(where + ": the fields are squeezed"));
    const QSize view = scroll->viewport()->size();
    QCOMPARE(scroll->horizontalScrollBar()->maximum(), std::max(0, body->width() - view.width()));
    QCOMPARE(scroll->verticalScrollBar()->maximum(), std::max(0, body->height() - view.height()));
    for (QLabel* l : body->findChildren<QLabel*>())
        if (l->isVisibleTo(body))
            QVERIFY2(l->width() >= l->minimumSizeHint().width(), qPrintable(where + ": label cut: " + l->text()));
    const QList<QWidget*> fields = Fields(body);
    QVERIFY2(!fields.isEmpty(), qPrintable(where));
    for (QWidget* f : fields) {
        const QRect at(f->mapTo(body, QPoint(0, 0)), f->size());
        QVERIFY2(body->rect().contains(at) && f->width() > 0 && f->height() > 0,
                 qPrintable(QString("%1: %2 %3 lies outside the scrolled fields")
                                .arg(where, f->metaObject()->className(), f->objectName())));
    }
    // The page's buttons stay in the page, below its scrolled fields.
    const QRect close(page->CommandClose->mapTo(page, QPoint(0, 0)), page->CommandClose->size());
    QVERIFY2(page->rect().contains(close), qPrintable(where + ": Close lies outside the page"));
}

}  // namespace

class TestFilesAndPages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        UseDarkPaletteWhenAsked();
    }

    // A dropped document is opened as File > Open opens it: "save changes?"
    // first for an edited document (Cancel keeps it), then the file; a file
    // of no known version is refused and the document stays.
    void droppedDocumentOpensAsFileOpenDoes() {
        Run r;
        const std::string doc = r.file("dropped.dat");
        WriteDocumentWith(r.s, doc, 4, "DROP4");
        const std::string broken = r.file("broken.dat");
        {
            std::ofstream out(broken, std::ios::binary);
            out << "not a document of any version";
        }

        ClickCell(r.table(), 1, 3);
        Type("MINE");
        Key(Qt::Key_Return);
        QCOMPARE(Name(r.s, 1), std::string("MINE"));
        QVERIFY(IsModified(r.s));

        r.p.answers = {Answer::Cancel};   // save changes?
        QVERIFY(DropFile(r.window(), doc));
        QTRY_VERIFY(r.p.answers.empty());
        QTest::qWait(50);
        QVERIFY(Asked(r, 9006));
        QCOMPARE(Name(r.s, 1), std::string("MINE"));
        QCOMPARE(r.table()->cellText(1, 3), QString("MINE"));

        r.p.asked.clear();
        r.p.answers = {Answer::No};
        QVERIFY(DropFile(r.window(), doc));
        QTRY_COMPARE(Name(r.s, 4), std::string("DROP4"));
        QVERIFY(Asked(r, 9006));
        QCOMPARE(r.s.doc.fileName, doc);
        QVERIFY(!IsModified(r.s));
        QTRY_COMPARE(r.table()->cellText(4, 3), QString("DROP4"));
        QCOMPARE(r.table()->cellText(1, 3), QString());
        QVERIFY(zrtest::shownTitle(r.window()).contains("dropped.dat"));
        QVERIFY(r.window().statusBar()->currentMessage().contains("dropped.dat"));

        // Unchanged now: no question; the file's version is refused, the
        // document stays as it was.
        r.p.asked.clear();
        r.p.answers = {Answer::Ok};
        QVERIFY(DropFile(r.window(), broken));
        QTRY_VERIFY(r.p.answers.empty());
        QTest::qWait(50);
        QCOMPARE(r.p.texts(), std::vector<std::string>{r.tx(9065)});
        QCOMPARE(r.s.doc.fileName, doc);
        QCOMPARE(r.table()->cellText(4, 3), QString("DROP4"));
    }

    // File > Open (Ctrl+O) of a document another program version handles:
    // after "save changes?" comes the question whether to switch versions.
    // No keeps the edited document where it was; Yes starts the other
    // version's program and this one ends.
    void documentOfAnotherVersionAsksToSwitch() {
        Run r;
        r.s.settings.versions.pairs = {{"V100", "V100"}, {"V101", "V101"}};
        const std::string other = r.file("other.dat");
        WriteDocumentWith(r.s, other, 4, "OTHER");
        {
            std::fstream f(other, std::ios::in | std::ios::out | std::ios::binary);
            f.write("V101", 4);
        }
        const auto mark = r.root.path() / "started";
        const auto program = r.root.path() / "V101" / "zrcps";
        std::filesystem::create_directories(program.parent_path());
        std::ofstream(program) << "#!/bin/sh\ntouch '" << mark.string() << "'\n";
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);

        ClickCell(r.table(), 1, 3);
        Type("MINE");
        Key(Qt::Key_Return);
        QCOMPARE(Name(r.s, 1), std::string("MINE"));
        const std::string before = r.s.doc.fileName;

        const std::string question = VersionQuestion(r.s, "V100", "V101", 1);
        r.p.asked.clear();
        r.p.answers = {Answer::No, Answer::No};   // save changes?, switch?
        r.p.files = {other};
        Key(Qt::Key_O, Qt::ControlModifier);
        QTRY_VERIFY(r.p.answers.empty());
        QCOMPARE(r.p.texts(), (std::vector<std::string>{r.tx(9006), question}));
        QCOMPARE(r.p.asked[1].buttons, Buttons::YesNo);
        QCOMPARE(r.p.asked[1].icon, Icon::Question);
        QCOMPARE(r.s.doc.fileName, before);
        QVERIFY(IsModified(r.s));
        QCOMPARE(Name(r.s, 1), std::string("MINE"));
        QTRY_VERIFY(r.table());
        QCOMPARE(r.table()->cellText(1, 3), QString("MINE"));
        QCOMPARE(r.table()->cellText(4, 3), QString());
        QVERIFY(r.window().isVisible());
        QVERIFY(!std::filesystem::exists(mark));

        r.p.asked.clear();
        r.p.answers = {Answer::No, Answer::Yes};
        r.p.files = {other};
        Key(Qt::Key_O, Qt::ControlModifier);
        QTRY_VERIFY(r.p.answers.empty());
        QCOMPARE(r.p.texts(), (std::vector<std::string>{r.tx(9006), question}));   // started: nothing more
        QTRY_VERIFY(std::filesystem::exists(mark));
        QTRY_VERIFY(!r.window().isVisible());
        QCOMPARE(r.s.doc.fileName, before);
    }

    // Settings > Habits (Ctrl+H) where Habit.ini cannot be written: the
    // choice holds for this run, and the user is told which file was not
    // kept, once a run.
    void habitsThatCannotBeKeptAreToldOnce() {
        Run r;
        const std::string habits = HabitFilePath(r.s);
        std::filesystem::remove(habits);
        std::filesystem::create_directories(habits);   // a folder where the file should be
        QVERIFY(!r.s.settings.habits.DeleteNoAsk);

        r.p.asked.clear();
        r.p.answers = {Answer::Ok};
        // The command opens the dialog once the key's event is done.
        bool handled = false;
        auto pressCtrlH = [&] {
            handled = false;
            ClickCell(r.table(), 1, 1);   // back in the channel table after a dialog
            Key(Qt::Key_H, Qt::ControlModifier);
            QTRY_VERIFY(handled);
        };
        QVERIFY(WithModal<FrmHabits>(pressCtrlH, [&](FrmHabits& d) {
            d.Check1[2]->setChecked(true);
            QTest::mouseClick(d.CommandOK, Qt::LeftButton);
            handled = true;
        }));
        QVERIFY(r.s.settings.habits.DeleteNoAsk);
        QCOMPARE(r.p.texts(), std::vector<std::string>{r.tx(9067) + "\n" + habits});
        QCOMPARE(r.p.asked[0].icon, Icon::Warning);

        QVERIFY(WithModal<FrmHabits>(pressCtrlH, [&](FrmHabits& d) {
            handled = true;
            QVERIFY(d.Check1[2]->isChecked());
            d.Check1[2]->setChecked(false);
            QTest::mouseClick(d.CommandOK, Qt::LeftButton);
        }));
        QVERIFY(!r.s.settings.habits.DeleteNoAsk);
        QCOMPARE(r.p.asked.size(), size_t(1));
    }

    // Only one local document or channel list is taken; anything else is
    // refused while it is dragged, and nothing happens.
    void otherDragsAreRefused() {
        Run r;
        const std::string text = r.file("notes.txt");
        std::ofstream(text) << "hello";
        const std::string a = r.file("a.dat"), b = r.file("b.dat");
        WriteDocumentWith(r.s, a, 1, "A");
        WriteDocumentWith(r.s, b, 1, "B");
        QVERIFY(!DropFile(r.window(), text));
        QVERIFY(!Drop(r.window(), {QUrl::fromLocalFile(QString::fromStdString(a)),
                                   QUrl::fromLocalFile(QString::fromStdString(b))}));
        QVERIFY(!Drop(r.window(), {QUrl("https://example.org/c.dat")}));
        QVERIFY(!Drop(r.window(), {}));
        QTest::qWait(50);
        QVERIFY(r.p.asked.empty());
        QVERIFY(r.s.doc.neverSaved);
        // The letter case of the name does not matter.
        const std::string upper = r.file("UPPER.DAT");
        WriteDocumentWith(r.s, upper, 2, "UPPER");
        QVERIFY(DropFile(r.window(), upper));
        QTRY_COMPARE(Name(r.s, 2), std::string("UPPER"));
    }

    // A dropped CSV list is imported with its report; the table shows its
    // channels, and one Undo takes the whole import back.
    void droppedCsvImportsAndUndoTakesItBack() {
        Run r;
        ClickCell(r.table(), 1, 3);
        Type("KEPT");
        Key(Qt::Key_Return);
        const StoredDocument before = r.s.doc.stored;
        const std::string csv = r.file("list.csv");
        WriteCsv(csv);

        // A file dragged over the channel table goes past it to the window.
        QVERIFY(DragTaken(r.table()->MSFlexGrid1->viewport(), csv));
        r.p.answers = {Answer::Ok};   // the import report
        QVERIFY(DropFile(r.window(), csv));
        QTRY_COMPARE(Name(r.s, 9), std::string("CSV9"));
        QCOMPARE(Name(r.s, 2), std::string("CSV2"));
        QCOMPARE(Name(r.s, 1), std::string("KEPT"));
        QCOMPARE(r.table()->cellText(9, 3), QString("CSV9"));
        QCOMPARE(r.table()->cellText(2, 1), QString("462.55000"));
        QCOMPARE(int(r.p.asked.size()), 1);   // the report, no "save changes?"
        QVERIFY(r.window().statusBar()->currentMessage().contains("list.csv"));
        MainEditing& ed = r.window().editing();
        QTRY_VERIFY(ed.history().canUndo());
        QCOMPARE(ed.history().stack().undoText(), ImportCsvCaption(r.s).remove('&').remove("..."));

        QVERIFY(Activate(&r.window()));
        QTest::keyClick(&r.window(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_VERIFY(r.s.doc.stored == before);
        QCOMPARE(r.table()->cellText(9, 3), QString());
        QCOMPARE(r.table()->cellText(2, 1), QString());
        QCOMPARE(r.table()->cellText(1, 3), QString("KEPT"));
        r.window().editing().redo();
        QCOMPARE(Name(r.s, 9), std::string("CSV9"));
        QCOMPARE(r.table()->cellText(9, 3), QString("CSV9"));
    }

    // Every settings page opened in a small main window keeps each field
    // reachable through its scroll area and cuts no label.
    void pagesScrollInASmallWindow() {
        Run r;
        r.window().showNormal();
        r.window().resize(560, 420);
        QTest::qWait(50);
        const struct {
            const char* action;
            const char* page;
        } pages[] = {{"mnuOptFeature", "FrmOptFeatures"}, {"MnuRadioFre", "FrmRadio"}, {"MnuDTMF", "FrmDTMF"},
                     {"MnuKey", "FrmKey"},               {"MnuScan", "FrmScan"},    {"MnuAlert", "FrmAlert"},
                     {"mnuEmbeddedMsg", "FrmEmbMsg"}};
        bool scrolls = false;
        for (const auto& p : pages) {
            QAction* a = r.window().action(p.action);
            QVERIFY2(a, p.action);
            a->trigger();
            auto* page = qobject_cast<PageWindow*>(r.window().FindChildWindow(p.page));
            QVERIFY2(page, p.page);
            QApplication::processEvents();
            // The page's frame lies inside the main window's page area.
            auto* frame = qobject_cast<QWidget*>(page->parentWidget());
            QVERIFY(frame);
            QVERIFY2(r.window().mdiArea()->viewport()->rect().contains(frame->geometry()), p.page);
            Shot(page, QString("small_") + p.page);
            if (auto* tabs = page->findChild<QTabWidget*>()) {
                for (int t = 0; t < tabs->count(); ++t) {
                    tabs->setCurrentIndex(t);
                    QApplication::processEvents();
                    CheckReachable(page, QString("%1 tab %2").arg(p.page).arg(t));
                }
            } else {
                CheckReachable(page, p.page);
            }
            QScrollArea* s = page->scrollArea();
            scrolls = scrolls || s->widget()->height() > s->viewport()->height() ||
                      s->widget()->width() > s->viewport()->width();
            page->closePage();
            QTRY_VERIFY(!r.window().FindChildWindow(p.page));
        }
        // The window is small enough that some page needs its scroll area.
        QVERIFY(scrolls);

        // The dealer information page, as a dealer read shows it.
        auto* info = qobject_cast<PageWindow*>(r.window().ShowChild("FrmRadioInfo"));
        QVERIFY(info);
        QApplication::processEvents();
        Shot(info, "small_FrmRadioInfo");
        CheckReachable(info, "FrmRadioInfo");
    }

    // A page opened where there is room shows all its fields without
    // scrolling.
    void pagesWithRoomNeedNoScrolling() {
        Run r;
        r.window().showNormal();
        r.window().resize(1600, 1100);
        const auto frames = r.window().mdiArea()->subWindowList().size();
        for (const char* action : {"mnuOptFeature", "MnuScan", "MnuKey", "MnuDTMF", "MnuAlert"}) {
            r.window().action(action)->trigger();
            auto* page = qobject_cast<PageWindow*>(r.window().mdiArea()->activeSubWindow()->widget());
            QVERIFY2(page, action);
            QApplication::processEvents();
            QScrollArea* s = page->scrollArea();
            QVERIFY2(s->verticalScrollBar()->maximum() == 0 && s->horizontalScrollBar()->maximum() == 0,
                     qPrintable(QString("%1 scrolls: %2x%3 in %4x%5")
                                    .arg(action)
                                    .arg(s->widget()->width())
                                    .arg(s->widget()->height())
                                    .arg(s->viewport()->width())
                                    .arg(s->viewport()->height())));
            page->closePage();
            QTRY_COMPARE(r.window().mdiArea()->subWindowList().size(), frames);
        }
    }

    // Tab moves through a page's fields and scrolls each one into view.
    void tabScrollsTheFocusedFieldIntoView() {
        Run r;
        r.window().showNormal();
        r.window().resize(520, 360);
        r.window().action("mnuOptFeature")->trigger();
        auto* page = qobject_cast<PageWindow*>(r.window().FindChildWindow("FrmOptFeatures"));
        QVERIFY(page);
        QApplication::processEvents();
        QScrollArea* scroll = page->scrollArea();
        QVERIFY(scroll->widget()->height() > scroll->viewport()->height());
        const QList<QWidget*> fields = Fields(scroll->widget());
        fields.front()->setFocus(Qt::TabFocusReason);
        const QRect view = scroll->viewport()->rect();
        int moved = 0;
        for (int i = 0; i < 40; ++i) {
            Key(Qt::Key_Tab);
            QWidget* f = Focus();
            if (!f || !scroll->widget()->isAncestorOf(f)) break;
            const QRect shown(f->mapTo(scroll->viewport(), QPoint(0, 0)), f->size());
            // A field larger than the view shows as much of it as fits.
            const bool fits = shown.width() <= view.width() && shown.height() <= view.height();
            QVERIFY2(fits ? view.contains(shown) : view.intersected(shown).width() >= std::min(shown.width(), view.width()) - 40,
                     qPrintable(QString("%1 %2").arg(f->metaObject()->className(), f->objectName())));
            ++moved;
        }
        QVERIFY(moved > 5);
        QVERIFY(scroll->verticalScrollBar()->value() > 0);
    }

    // The labels of the channel edit window are whole, also at a large
    // scale (the suite runs this program again with QT_SCALE_FACTOR=2).
    void channelEditLabelsAreWhole() {
        Run r;
        OpenEditWindow(r.table(), 1);
        auto* edit = qobject_cast<FrmCHInfoEdit*>(r.window().FindChildWindow("FrmCHInfoEdit"));
        QVERIFY(edit);
        QApplication::processEvents();
        Shot(edit, "channel_edit");
        int labels = 0;
        for (QLabel* l : edit->findChildren<QLabel*>()) {
            if (!l->isVisibleTo(edit) || l->text().isEmpty()) continue;
            ++labels;
            QVERIFY2(l->width() >= l->minimumSizeHint().width(), qPrintable("label cut: " + l->text()));
            const QRect at(l->mapTo(edit, QPoint(0, 0)), l->size());
            QVERIFY2(edit->rect().contains(at), qPrintable("label outside the window: " + l->text()));
        }
        QVERIFY(labels >= 10);
    }

    // Ctrl+Z after a change on a settings page: the same page, where it
    // stands, shows the value from before and the document is as it was.
    void undoShowsTheOldValueInTheOpenPage() {
        Run r;
        r.window().action("MnuScan")->trigger();
        // The document as the open page shows it.
        const StoredDocument original = r.s.doc.stored;
        QPointer<FrmScan> page = qobject_cast<FrmScan*>(r.window().FindChildWindow("FrmScan"));
        QVERIFY(page);
        auto* frame = qobject_cast<QWidget*>(page->parentWidget());
        QApplication::processEvents();
        const QRect place = frame->geometry();
        QComboBox* box = page->combo(0);
        const int was = box->currentIndex();
        const QString wasText = box->currentText();
        QTest::mouseClick(box, Qt::LeftButton);   // opens the list; Escape closes it
        QTRY_VERIFY(QApplication::activePopupWidget());
        Key(Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QCOMPARE(Focus(), static_cast<QWidget*>(box));
        Key(Qt::Key_Down);
        QVERIFY(box->currentIndex() != was);
        QTRY_VERIFY(r.window().editing().history().canUndo());
        QVERIFY(!(r.s.doc.stored == original));

        QVERIFY(Activate(&r.window()));
        QTest::keyClick(&r.window(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_VERIFY(r.s.doc.stored == original);
        QVERIFY(page);   // not closed and opened anew
        QCOMPARE(r.window().FindChildWindow("FrmScan"), static_cast<QWidget*>(page.data()));
        QCOMPARE(frame->geometry(), place);
        QCOMPARE(box->currentIndex(), was);
        QCOMPARE(box->currentText(), wasText);

        // Redo shows the changed value in the same page again.
        QTest::keyClick(&r.window(), Qt::Key_Y, Qt::ControlModifier);
        QTRY_VERIFY(box->currentIndex() != was);
        QCOMPARE(r.window().FindChildWindow("FrmScan"), static_cast<QWidget*>(page.data()));
    }
};

QTEST_MAIN(TestFilesAndPages)
#include "test_files_and_pages.moc"
