// The program as the desktop starts it: a document named on the command line
// (the file manager's "open with") is opened in the real main window, and the
// installed document type recognises the program's documents by name and
// by content.

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QFile>
#include <QMimeDatabase>
#include <QMap>
#include <QStandardPaths>
#include <QTest>

#include <filesystem>
#include <memory>

#include "channels/channel_ops.h"
#include "data/bands.h"
#include "data/new_document_defaults.h"
#include "files/document_record.h"
#include "platform/shell/frm_main.h"
#include "platform/shell/program.h"
#include "platform/shell/texts.h"
#include "shell/session.h"
#include "shell/version.h"
#include "support/support.h"

using namespace zr;
namespace fs = std::filesystem;

namespace {

// Writes a new document whose channel 7 is named `name`.
void writeDocument(const std::string& path, const char* name) {
    Session s;
    s.doc.currentModel = kModelId;
    s.doc.currentBand = kDefaultBand;
    RefreshBandLimits(s.doc);
    NewDocumentDefaults(s);
    SetChannelItem(s, 7, item::kRxFreq, "462.6125");
    SetChannelItem(s, 7, item::kName, name);
    const Result written = WriteDocumentRecordFile(path, s.doc.stored);
    QVERIFY2(written.ok(), written.message().c_str());
}

bool tableShows(frmMain& w, const QString& text) {
    QWidget* table = w.FindChildWindow("frmCommChInfo");
    if (!table) return false;
    for (auto* view : table->findChildren<QAbstractItemView*>()) {
        const QAbstractItemModel* m = view->model();
        for (int r = 0; m && r < m->rowCount(); ++r)
            for (int c = 0; c < m->columnCount(); ++c)
                if (m->index(r, c).data().toString() == text) return true;
    }
    return false;
}

}  // namespace

class TestDesktopIntegration : public QObject {
    Q_OBJECT

    zrtest::TempDir data_;  // XDG data folder holding the installed document type

    // The program as `zrcps FILE` starts it, in a folder of its own.
    struct Started {
        zrtest::TempDir root;
        Session s;
        zrtest::ScriptedPrompter p;
        std::unique_ptr<Program> program;
        frmMain& window() { return program->window(); }
    };
    static void start(Started& run, const std::string& document) {
        Session& s = run.s;
        s.paths.programFolder = (zrtest::sourceDir() / "install").string();
        s.paths.installRoot = run.root.str();
        s.paths.programName = "zrcps";
        s.prompter = &run.p;
        s.settings.versions = LoadVersionTable((zrtest::sourceDir() / "install").string());
        s.doc.currentModel = kModelId;
        s.doc.currentBand = kDefaultBand;
        RefreshBandLimits(s.doc);
        NewDocumentDefaults(s);
        s.doc.fileName = "new.dat";
        s.doc.neverSaved = true;
        run.program = std::make_unique<Program>(s);
        run.program->start(false, document);
        QVERIFY(QTest::qWaitForWindowExposed(&run.window()));
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        // Only the program's document type is known: the database reads the
        // package's XML as shared-mime-info installs it.
        fs::create_directories(data_.path() / "mime/packages");
        fs::copy_file(zrtest::sourceDir() / "packaging/zrcps-mime.xml", data_.path() / "mime/packages/zrcps.xml");
        qputenv("XDG_DATA_DIRS", QByteArray::fromStdString(data_.str()));
    }

    void documentNamedAtStartIsOpened() {
        Started run;
        const std::string doc = run.root.str("harbour channels.dat");
        writeDocument(doc, "PORT7");
        start(run, doc);
        QVERIFY(run.p.asked.empty());
        QCOMPARE(run.s.doc.fileName, doc);
        QVERIFY(!run.s.doc.neverSaved);
        QVERIFY2(zrtest::shownTitle(run.window()).endsWith(":harbour channels.dat]"),
                 qPrintable(zrtest::shownTitle(run.window())));
        QTRY_VERIFY(tableShows(run.window(), "PORT7"));
        QVERIFY(tableShows(run.window(), "462.61250"));
    }

    void unreadableDocumentAtStartLeavesTheNewOne() {
        Started run;
        const std::string doc = run.root.str("broken.dat");
        zrtest::writeBytes(doc, {'V', '1', '0', '0', 0, 1, 2});
        run.p.answers = {Answer::Ok};  // the failed open is told
        start(run, doc);
        // The message of a failed File Open, naming the file.
        QCOMPARE(run.p.asked.size(), std::size_t(1));
        QVERIFY(run.p.asked[0].text.starts_with(ToText(Tx(run.s, 9002))));
        QVERIFY(run.p.asked[0].text.ends_with(doc));
        QCOMPARE(run.s.doc.fileName, std::string("new.dat"));
        QVERIFY(run.s.doc.neverSaved);
        QVERIFY(zrtest::shownTitle(run.window()).endsWith(":new.dat]"));
        QTRY_VERIFY(run.window().FindChildWindow("frmCommChInfo") != nullptr);
    }

    void documentTypeByNameAndContent() {
        zrtest::TempDir dir;
        const std::string doc = dir.str("radio.dat");
        writeDocument(doc, "ANY");
        QFile f(QString::fromStdString(doc));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();

        QMimeDatabase db;
        const QString type = "application/x-zrcps-document";
        QVERIFY2(db.mimeTypeForName(type).isValid(), "the package's document type is read");
        QCOMPARE(db.mimeTypeForFile(QString::fromStdString(doc)).name(), type);
        // By content alone (a document saved under another name).
        QCOMPARE(db.mimeTypeForData(bytes).name(), type);
        QCOMPARE(db.mimeTypeForFileNameAndData("radio.bak", bytes).name(), type);
        // Other data does not pass for a document.
        QVERIFY(db.mimeTypeForData(QByteArray("V101") + bytes.mid(4)).name() != type);
        QVERIFY(db.mimeTypeForData(QByteArray(64, '\xff')).name() != type);
    }

    void desktopEntryOpensTheDocumentType() {
        QFile f(QString::fromStdString((zrtest::sourceDir() / "packaging/zrcps.desktop").string()));
        QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
        QMap<QString, QString> entry;
        for (const QString& line : QString::fromUtf8(f.readAll()).split('\n'))
            if (const int eq = line.indexOf('='); eq > 0) entry[line.left(eq)] = line.mid(eq + 1);
        QCOMPARE(entry.value("Exec"), QString("zrcps %f"));
        QVERIFY(entry.value("MimeType").split(';').contains("application/x-zrcps-document"));
        // The icon named by the entry is the drawing installed as zrcps.svg.
        QCOMPARE(entry.value("Icon"), QString("zrcps"));
        QVERIFY(QFile::exists(":/zrcps/icons/zrcps.svg"));
    }
};

QTEST_MAIN(TestDesktopIntegration)
#include "test_desktop_integration.moc"
