// The port choice through the real main window: Settings > Port with the
// demo radio and with ports of every numbering range, the status bar's port
// in use, USB cables kept by their by-id names, a device typed by the user,
// Program > Check connection and the trace of transfers.
//
// With ZR_SHOTS=<folder> in the environment the test also saves pictures of
// the port dialog, the connection report and the main window there;
// ZR_DARK=1 shows them with a dark palette.

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>

#include "files/new_document.h"
#include "link/port_names.h"
#include "platform/serial/qt_link.h"
#include "platform/shell/demo_radio.h"
#include "platform/shell/dialogs.h"
#include "platform/shell/frm_main.h"
#include "platform/shell/program.h"
#include "platform/shell/texts.h"
#include "shell/ini_file.h"
#include "shell/session.h"
#include "shell/startup.h"
#include "journey_support.h"
#include "support/support.h"

namespace zr {
void RegisterChannelWindows();
}

using namespace zr;
using namespace journey;

namespace {

// Whether a view of the window shows `text` in one of its cells.
bool Shows(QWidget* window, const QString& text) {
    for (auto* view : window->findChildren<QAbstractItemView*>()) {
        const QAbstractItemModel* m = view->model();
        for (int r = 0; m && r < m->rowCount(); ++r)
            for (int c = 0; c < m->columnCount(); ++c)
                if (m->index(r, c).data().toString() == text) return true;
    }
    return false;
}

int IndexOf(QComboBox* c, const QString& start) {
    for (int i = 0; i < c->count(); ++i)
        if (c->itemText(i).startsWith(start)) return i;
    return -1;
}

}  // namespace

class TestPortChoice : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        UseDarkPaletteWhenAsked();
        RegisterChannelWindows();
        DemoRadio::setSimulatorPath(
            QString::fromStdString((zrtest::binaryDir() / "tools" / "zrcps-sim").string()));
    }

    // Started with --demo, OK in the port dialog keeps the demo radio: the
    // status bar says so and a read gets the demo radio's channels.
    void theDemoRadioStaysChosenThroughThePortDialog() {
        if (!QFileInfo(DemoRadio::simulatorPath()).isExecutable()) QSKIP("zrcps-sim is not built");
        Installation inst("english.ini");   // so the texts below hold under every locale
        Session s;
        zrtest::ScriptedPrompter p;
        s.prompter = &p;
        inst.start(s);
        Program prog(s);
        prog.start(true);
        frmMain& w = prog.window();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.statusPanel(3)->text(), QString("Demo radio"));
        const std::string comPortBefore = inst.setupKey("comPort");

        const bool opened = WithModal<FrmComSet>([&] { w.action("mnuComm")->trigger(); }, [&](FrmComSet& d) {
            QVERIFY(d.Combo1->currentText().startsWith("Demo radio ("));
            QCOMPARE(d.PortID, kDemoPortNumber);
            Shot(&d, "port_dialog_demo");
            QTest::mouseClick(d.CommandOK, Qt::LeftButton);
        });
        QVERIFY(opened);
        QCOMPARE(w.statusPanel(3)->text(), QString("Demo radio"));
        QCOMPARE(inst.setupKey("comPort"), comPortBefore);   // the demo radio is not stored

        p.answers = {Answer::Ok, Answer::Ok};   // 9004 confirm, 9009 finished
        w.action("mnuReadFromRadio")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(p.asked.size() >= 2 && !prog.link().engine().busy(), 30000);
        QCOMPARE(p.texts(), (std::vector<std::string>{ToText(Tx(s, 9004)), ToText(Tx(s, 9009))}));
        QCOMPARE(int(s.doc.stored.Channels.count), 29);   // the sample radio's channels and the VFO
        QTRY_VERIFY(w.FindChildWindow("frmCommChInfo") != nullptr);
        QVERIFY2(Shows(w.FindChildWindow("frmCommChInfo"), "GMRS01"), "the channel table shows the demo radio's channels");
        p.answers = {Answer::No};
        QVERIFY(w.close());
    }

    // Every number the dialog offers is kept in mysetup.ini and survives
    // the next start; the status bar shows the port in use.
    void portNumbersOfEveryRangeSurviveTheNextStart() {
        Installation inst("english.ini");   // so the texts below hold under every locale
        const std::vector<link::PortFacts> ports = {
            {1, "/dev/ttyS0", {}, {}, {}, -1, -1, {}},
            {101, "/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A50285BI", 0x0403, 0x6001,
             "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"},
            {256, "/dev/ttyAMA0", {}, {}, {}, -1, -1, {}},
        };
        {
            Session s;
            zrtest::ScriptedPrompter p;
            s.prompter = &p;
            inst.start(s);
            Program prog(s);
            prog.setPortSource([&] { return ports; });
            prog.start(false);
            frmMain& w = prog.window();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QCOMPARE(w.statusPanel(3)->text(), Tx(s, 12008) + "1");

            // The USB cable: shown with its details, kept by its by-id name.
            QVERIFY(WithModal<FrmComSet>([&] { w.action("mnuComm")->trigger(); }, [&](FrmComSet& d) {
                const int usb = IndexOf(d.Combo1, "COM101 - /dev/ttyUSB0 - FT232R USB UART");
                QVERIFY(usb >= 0);
                QVERIFY(d.Combo1->itemData(usb, Qt::ToolTipRole).toString().contains("FTDI, USB 0403:6001, serial A50285BI"));
                d.Combo1->setFocus();
                while (d.Combo1->currentIndex() < usb) QTest::keyClick(d.Combo1, Qt::Key_Down);
                QCOMPARE(d.PortID, 101);
                Shot(&d, "port_dialog");
                QTest::keyClick(d.CommandOK, Qt::Key_Space);
            }));
            QCOMPARE(inst.setupKey("comPort"), std::string("101"));
            QCOMPARE(inst.setupKey("PortPath"), ports[1].byId);
            // Not plugged in here, so its by-id name is shown.
            QCOMPARE(w.statusPanel(3)->text(), QString::fromStdString(ports[1].byId));

            // A port above 255: its number is kept and the by-id name goes.
            QVERIFY(WithModal<FrmComSet>([&] { w.action("mnuComm")->trigger(); }, [&](FrmComSet& d) {
                QCOMPARE(d.PortID, 101);   // the cable in use is shown
                d.Combo1->setCurrentIndex(IndexOf(d.Combo1, "COM256 - /dev/ttyAMA0"));
                QTest::mouseClick(d.CommandOK, Qt::LeftButton);
            }));
            QCOMPARE(inst.setupKey("comPort"), std::string("256"));
            QCOMPARE(inst.setupKey("PortPath"), std::string());
            QCOMPARE(w.statusPanel(3)->text(), Tx(s, 12008) + "256");
            p.answers = {Answer::No};
            QVERIFY(w.close());
        }
        // The next start keeps COM256 and shows it.
        Session again;
        zrtest::ScriptedPrompter p;
        again.prompter = &p;
        inst.start(again);
        QCOMPARE(again.settings.comPort, int16_t(256));
        QCOMPARE(inst.setupKey("comPort"), std::string("256"));
        Program prog(again);
        prog.setPortSource([&] { return ports; });
        prog.start(false);
        QCOMPARE(prog.window().statusPanel(3)->text(), Tx(again, 12008) + "256");
        QVERIFY(WithModal<FrmComSet>([&] { prog.window().action("mnuComm")->trigger(); }, [&](FrmComSet& d) {
            QVERIFY(d.Combo1->currentText().startsWith("COM256 - /dev/ttyAMA0"));
            // Any device can be typed in: "Other device...".
            QTimer::singleShot(0, [] {
                QTRY_VERIFY(qobject_cast<QInputDialog*>(QApplication::activeModalWidget()));
                auto* in = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
                in->setTextValue("/dev/zrcps-test-cable");
                in->accept();
            });
            QTest::mouseClick(d.CommandOther, Qt::LeftButton);
            QCOMPARE(d.Combo1->currentText(), QString("/dev/zrcps-test-cable"));
            QTest::mouseClick(d.CommandOK, Qt::LeftButton);
        }));
        QCOMPARE(inst.setupKey("PortPath"), std::string("/dev/zrcps-test-cable"));
        QCOMPARE(inst.setupKey("comPort"), std::string("256"));
        QCOMPARE(prog.window().statusPanel(3)->text(), QString("/dev/zrcps-test-cable"));
        QCOMPARE(prog.link().port().resolveDevice(again.settings.comPort), std::string("/dev/zrcps-test-cable"));
        // A read on a port that is not there says so and what to do.
        p.answers = {Answer::Ok};
        prog.window().action("mnuReadFromRadio")->trigger();
        QCOMPARE(p.asked.size(), 1u);
        QVERIFY2(p.asked[0].text.rfind(ToText(Tx(again, 9003)), 0) == 0, p.asked[0].text.c_str());
        QVERIFY2(p.asked[0].text.find("There is no serial port /dev/zrcps-test-cable.") != std::string::npos,
                 p.asked[0].text.c_str());
        QVERIFY(!prog.link().engine().busy());
        p.answers = {Answer::No};
        QVERIFY(prog.window().close());
    }

    // A USB cable kept by its by-id name shows the number it has; the ports
    // are listed for that once, when the program starts or the port is
    // chosen, not on every refresh of the status bar.
    void aCableKeptByItsByIdNameIsLookedUpOnce() {
        Installation inst("english.ini");   // so the texts below hold under every locale
        zrtest::TempDir dev;
        const auto tty = dev.path() / "ttyUSB3";
        const auto byId = dev.path() / "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
        { std::ofstream(tty.string()) << ""; }
        std::filesystem::create_symlink(tty, byId);
        WriteProfileString((inst.root.path() / "language/mysetup.ini").string(), "language", "PortPath", byId.string());
        int number = 103;
        int listed = 0;
        Session s;
        zrtest::ScriptedPrompter p;
        s.prompter = &p;
        inst.start(s);
        Program prog(s);
        prog.setPortSource([&] {
            ++listed;
            return std::vector<link::PortFacts>{{1, "/dev/ttyS0", {}, {}, {}, -1, -1, {}},
                                                {number, tty.string(), "FT232R USB UART", "FTDI", "A50285BI",
                                                 0x0403, 0x6001, byId.string()}};
        });
        prog.start(false);
        frmMain& w = prog.window();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.statusPanel(3)->text(), Tx(s, 12008) + "103");
        QCOMPARE(listed, 1);
        for (int i = 0; i < 3; ++i) w.showPortInUse();
        QCOMPARE(listed, 1);
        // Plugged in elsewhere, the cable gets another number: the status
        // bar learns it when the port is chosen again.
        number = 104;
        QVERIFY(WithModal<FrmComSet>([&] { w.action("mnuComm")->trigger(); }, [&](FrmComSet& d) {
            QVERIFY(d.Combo1->currentText().startsWith("COM104 - "));
            QTest::mouseClick(d.CommandOK, Qt::LeftButton);
        }));
        QCOMPARE(w.statusPanel(3)->text(), Tx(s, 12008) + "104");
        const int afterChoice = listed;
        w.showPortInUse();
        QCOMPARE(listed, afterChoice);
        p.answers = {Answer::No};
        QVERIFY(w.close());
    }

    // Program > Check connection tries the port in use and shows a report
    // that can be copied; with the trace on, every transfer leaves a file.
    void checkConnectionAndTraceOfTheDemoRadio() {
        if (!QFileInfo(DemoRadio::simulatorPath()).isExecutable()) QSKIP("zrcps-sim is not built");
        Installation inst("english.ini");   // so the texts below hold under every locale
        zrtest::TempDir traces;
        Session s;
        zrtest::ScriptedPrompter p;
        s.prompter = &p;
        inst.start(s);
        Program prog(s);
        prog.setTraceFolder(QString::fromStdString(traces.str()));
        prog.start(true);
        frmMain& w = prog.window();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        QString report;
        QVERIFY(WithModal<FrmConnectionReport>([&] { w.action("mnuCheckConnection")->trigger(); },
                                               [&](FrmConnectionReport& d) {
                                                   report = d.Text1->toPlainText();
                                                   Shot(&d, "connection_report");
                                                   QTest::mouseClick(d.CommandCopy, Qt::LeftButton);
                                                   QTest::mouseClick(d.CommandClose, Qt::LeftButton);
                                               }));
        QVERIFY2(report.contains("radio: answered; model ZR614, band 1 (460 - 470 MHz), firmware V100"),
                 qPrintable(report));
        QVERIFY2(report.contains("(Settings > Port: Demo radio)"), qPrintable(report));
        QCOMPARE(QApplication::clipboard()->text(), report);
        QVERIFY(p.asked.empty());   // the check asks nothing

        // The trace check box of the port dialog.
        QVERIFY(WithModal<FrmComSet>([&] { w.action("mnuComm")->trigger(); }, [&](FrmComSet& d) {
            auto* box = d.findChild<QCheckBox*>("CheckTrace");
            QVERIFY(box);
            QVERIFY(!box->isChecked());
            QTest::mouseClick(box, Qt::LeftButton);
            QTest::mouseClick(d.CommandOK, Qt::LeftButton);
        }));
        QCOMPARE(inst.setupKey("Trace"), std::string("1"));
        QCOMPARE(w.statusPanel(3)->text(), QString("Demo radio"));
        p.answers = {Answer::Ok, Answer::Ok};   // 9004 confirm, 9009 finished
        w.action("mnuReadFromRadio")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(p.asked.size() >= 2 && !prog.link().engine().busy(), 30000);
        w.resize(1000, 700);
        QTest::qWait(50);
        Shot(&w, "main_window_demo");
        const QStringList files = QDir(QString::fromStdString(traces.str())).entryList({"*-read.txt"}, QDir::Files);
        QCOMPARE(files.size(), 1);
        QFile f(QDir(QString::fromStdString(traces.str())).filePath(files[0]));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString trace = QString::fromLatin1(f.readAll());
        QVERIFY2(trace.contains("handshake  > 50 52 4F 47 52 41 4D"), qPrintable(trace.left(400)));
        QVERIFY(trace.contains("read ended: done"));

        // With the trace off again, a read leaves no file.
        QVERIFY(WithModal<FrmComSet>([&] { w.action("mnuComm")->trigger(); }, [&](FrmComSet& d) {
            auto* box = d.findChild<QCheckBox*>("CheckTrace");
            QVERIFY(box && box->isChecked());
            QTest::mouseClick(box, Qt::LeftButton);
            QTest::mouseClick(d.CommandOK, Qt::LeftButton);
        }));
        QCOMPARE(inst.setupKey("Trace"), std::string("0"));
        p.asked.clear();
        // 9004 confirm, 9006 the read document's changes are not saved, 9009 finished
        p.answers = {Answer::Ok, Answer::No, Answer::Ok};
        w.action("mnuReadFromRadio")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(p.asked.size() >= 3 && !prog.link().engine().busy(), 30000);
        QVERIFY2(p.asked.back().text.rfind(ToText(Tx(s, 9009)), 0) == 0, p.asked.back().text.c_str());
        QCOMPARE(QDir(QString::fromStdString(traces.str())).entryList({"*.txt"}, QDir::Files), files);
        p.answers = {Answer::No};
        QVERIFY(w.close());
    }
};

QTEST_MAIN(TestPortChoice)
#include "test_port_choice.moc"
