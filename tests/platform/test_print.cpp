// The channel sheet: table rows as the channel table shows them, and a PDF
// whose text carries the channel names, over several pages.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "channels/channel_ops.h"
#include "data/bands.h"
#include "platform/print/channel_sheet.h"
#include "shell/session.h"
#include "support/support.h"

using namespace zr;

class TestPrint : public QObject {
    Q_OBJECT

    void fill(Session& s, int channels) {
        s.doc.currentBand = "400 - 470 MHz";
        RefreshBandLimits(s.doc);
        s.doc.stored.Channels.count = 0;
        for (int n = 1; n <= channels; ++n) {
            SetChannelItem(s, n, item::kRxFreq, "462.5625");
            SetChannelItem(s, n, item::kName, "N" + std::to_string(1000 + n).substr(1));
        }
        s.doc.fileName = "/tmp/sheet.dat";
    }

private slots:
    void rowsShowTheChannelTableTexts() {
        Session s;
        zrtest::ScriptedPrompter p;
        s.prompter = &p;
        fill(s, 2);
        ChannelRecord* c = FindChannelRecord(s, 2);
        c->OffsetDir = 2;
        c->Offset.set("0500000");
        c->RxTone = 70;    // D023N
        c->TxTone = 9;     // 88.5
        c->TxPower = 7;    // outside the list: its first entry
        c->ScanSkip = 1;
        c->Bandwidth = 2;
        SetChannelItem(s, 129, item::kRxFreq, "460");
        const auto rows = ChannelSheetRows(s);
        QCOMPARE(int(rows.size()), 3);
        QCOMPARE(rows[1], (QStringList{"2", "462.56250", "467.56250", "N002", "D023N", "88.5", "Low", "Skip",
                                       "None", "25 kHz"}));
        QCOMPARE(rows[2].at(0), QString("VFO"));
        QCOMPARE(rows[2].at(3), QString());
        QCOMPARE(ChannelSheetHeader(s).size(), 10);
    }

    void pdfHoldsTheNamesOnEveryPage() {
        Session s;
        zrtest::ScriptedPrompter p;
        s.prompter = &p;
        fill(s, 128);
        s.doc.stored.EmbMsg.Lines[0].set("HELLO WORLD");
        QTemporaryDir dir;
        const QString path = dir.filePath("sheet.pdf");
        QString error;
        QVERIFY2(SaveChannelSheetPdf(s, path, error), qPrintable(error));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.size() > 1000);
        QCOMPARE(f.read(5), QByteArray("%PDF-"));

        QProcess info;
        info.start("pdfinfo", {path});
        QVERIFY(info.waitForFinished(30000));
        const QString meta = QString::fromLatin1(info.readAllStandardOutput());
        const int pages = QRegularExpression("Pages:\\s+(\\d+)").match(meta).captured(1).toInt();
        QVERIFY2(pages >= 3, qPrintable(meta));   // 129 rows need more than one page, then the summary

        QProcess text;
        text.start("pdftotext", {"-layout", path, "-"});
        QVERIFY(text.waitForFinished(30000));
        const QString t = QString::fromUtf8(text.readAllStandardOutput());
        for (const char* name : {"N001", "N064", "N128"}) QVERIFY2(t.contains(name), name);
        QVERIFY(t.contains("462.56250"));
        QVERIFY(t.contains("HELLO WORLD"));
        QVERIFY(t.contains("ZR-E271"));
    }

    void unwritablePathIsReported() {
        Session s;
        QString error;
        QVERIFY(!SaveChannelSheetPdf(s, "/nonexistent-folder/x/sheet.pdf", error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
