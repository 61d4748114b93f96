// The small dialogs of the main window, the message boxes and the help pages.

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include "platform/shell/dialogs.h"
#include "platform/shell/help_window.h"
#include "platform/shell/qt_prompter.h"
#include "platform/shell/texts.h"
#include "shell/ini_file.h"
#include "shell/language.h"
#include "shell/session.h"
#include "support/support.h"

using namespace zr;

namespace {
// With ZR_SHOTS=<folder> in the environment, pictures of the dialogs are
// saved there.
void shot(QWidget* w, const char* name) {
    const QString dir = qEnvironmentVariable("ZR_SHOTS");
    if (dir.isEmpty()) return;
    w->show();
    w->adjustSize();
    QTest::qWait(20);
    w->grab().save(QDir(dir).filePath(QString(name) + ".png"));
}
}  // namespace

class TestDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<zrtest::TempDir> root_;
    Session s_;
    zrtest::ScriptedPrompter p_;

    std::string setupIni() const { return root_->str("language/mysetup.ini"); }
    std::string setupKey(const char* key) const { return ReadProfileString(setupIni(), "language", key); }

private slots:
    void init() {
        root_ = std::make_unique<zrtest::TempDir>();
        std::filesystem::create_directories(root_->path() / "language");
        std::filesystem::copy_file(zrtest::sourceDir() / "install/language/mysetup.ini", setupIni());
        s_ = Session{};
        p_ = zrtest::ScriptedPrompter{};
        s_.paths.programFolder = (zrtest::sourceDir() / "install").string();
        s_.paths.installRoot = root_->path().string();
        s_.prompter = &p_;
    }

    void portDialogShowsTheConfiguredPortOrTheFirst() {
        std::vector<PortChoice> ports{{"COM1", 1, {}}, {"COM4", 4, {}}};
        auto lister = [&] { return ports; };
        s_.settings.comPort = 4;
        {
            FrmComSet dlg(s_, lister);
            QCOMPARE(dlg.Combo1->currentText(), QString("COM4"));
            QCOMPARE(dlg.PortID, 4);
            shot(&dlg, "port");
            QVERIFY(dlg.ReShowComPortTimer.isActive());
            QCOMPARE(dlg.ReShowComPortTimer.interval(), 1000);
            dlg.accept();
            QVERIFY(!dlg.ReShowComPortTimer.isActive());
        }
        QCOMPARE(s_.settings.comPort, int16_t(4));
        QCOMPARE(setupKey("comPort"), std::string("4"));

        s_.settings.comPort = 7;   // no longer present
        {
            FrmComSet dlg(s_, lister);
            QCOMPARE(dlg.Combo1->currentText(), QString("COM1"));
            dlg.accept();
        }
        QCOMPARE(s_.settings.comPort, int16_t(1));
        QCOMPARE(setupKey("comPort"), std::string("1"));
        // The other keys of the file are kept.
        QCOMPARE(setupKey("Handshaking"), std::string("0"));
    }

    void portListRefreshKeepsTheSelection() {
        std::vector<PortChoice> ports{{"COM1", 1, {}}, {"COM4", 4, {}}};
        s_.settings.comPort = 1;
        FrmComSet dlg(s_, [&] { return ports; });
        dlg.Combo1->setCurrentIndex(1);
        QCOMPARE(dlg.PortID, 4);
        ports.insert(ports.begin() + 1, PortChoice{"COM3", 3, {}});   // a cable plugged in
        QTRY_COMPARE_WITH_TIMEOUT(dlg.Combo1->count(), 3, 1500);
        QCOMPARE(dlg.Combo1->currentText(), QString("COM4"));
        QCOMPARE(dlg.PortID, 4);
        ports.clear();   // all gone
        dlg.refreshPorts();
        QCOMPARE(dlg.Combo1->count(), 0);
        QCOMPARE(dlg.PortID, 0);
        dlg.accept();
        QCOMPARE(s_.settings.comPort, int16_t(0));
        QCOMPARE(setupKey("comPort"), std::string("1"));   // nothing written
    }

    void portDialogCancelAndDemoChoice() {
        s_.settings.comPort = 1;
        std::vector<PortChoice> ports{{"COM1", 1, {}}};
        int demoStarts = 0;
        FrmComSet dlg(s_, [&] { return ports; }, [&] {
            ++demoStarts;
            return PortChoice{"Demo radio (/dev/pts/9)", 0, "/dev/pts/9"};
        });
        QVERIFY(dlg.CommandDemo);
        dlg.CommandDemo->click();
        QCOMPARE(demoStarts, 1);
        QCOMPARE(dlg.Combo1->currentText(), QString("Demo radio (/dev/pts/9)"));
        shot(&dlg, "port_demo");
        dlg.refreshPorts();   // the demo entry survives the refresh
        QCOMPARE(dlg.Combo1->currentText(), QString("Demo radio (/dev/pts/9)"));
        dlg.accept();
        QCOMPARE(dlg.selected().device, std::string("/dev/pts/9"));
        QCOMPARE(s_.settings.comPort, int16_t(1));   // the number stays
        FrmComSet other(s_, [&] { return ports; });
        QVERIFY(!other.CommandDemo);
        other.Combo1->setCurrentIndex(-1);
        other.reject();
        QCOMPARE(s_.settings.comPort, int16_t(1));
    }

    void passwordDialog() {
        s_.settings.ProgramPassword = "ab";
        FrmPassWord dlg(s_);
        QCOMPARE(dlg.windowTitle(), Tx(s_, 23100));
        QCOMPARE(dlg.Text1->text(), QString("ab"));
        QCOMPARE(dlg.Text1->maxLength(), 4);
        shot(&dlg, "password");
        dlg.Text1->setText("xy  ");
        dlg.reject();
        QCOMPARE(s_.settings.ProgramPassword, std::string("ab"));   // Cancel keeps it
        dlg.Text1->setText("Qz1 ");
        dlg.accept();
        QCOMPARE(s_.settings.ProgramPassword, std::string("Qz1"));
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QTest::keyClicks(dlg.Text1, "12345678");
        QCOMPARE(dlg.Text1->text().size(), 4);
    }

    void languageDialogListsTheInstalledLanguagesAndStoresTheChoice() {
        {
            FrmSetLanguage dlg(s_);
            QStringList names;
            for (int i = 0; i < dlg.Combo1->count(); ++i) names << dlg.Combo1->itemText(i);
            QCOMPARE(names, (QStringList{"English", "简体中文", "Français", "Deutsch"}));
            QCOMPARE(dlg.Combo1->currentIndex(), 0);
            QCOMPARE(dlg.windowTitle(), QString("Language"));
            shot(&dlg, "language");
            // Cancel changes nothing and stores nothing.
            dlg.Combo1->setCurrentIndex(3);
            dlg.reject();
        }
        QCOMPARE(s_.settings.languageFile, std::string("english.ini"));
        QCOMPARE(setupKey("LanguageFile"), std::string());
        {
            FrmSetLanguage dlg(s_);
            dlg.show();
            // Keyboard: End picks the last entry, Enter moves on to OK.
            dlg.Combo1->setFocus();
            QTest::keyClick(dlg.Combo1, Qt::Key_End);
            QCOMPARE(dlg.Combo1->currentText(), QString("Deutsch"));
            dlg.CommandOK->click();
        }
        QCOMPARE(s_.settings.languageFile, std::string("german.ini"));
        QCOMPARE(s_.settings.CurrentLanguage, int16_t(4));
        QCOMPARE(s_.settings.shownLanguage, int16_t(1));   // the windows re-caption next
        QCOMPARE(s_.settings.helpFolder, std::string("help/de"));
        QCOMPARE(setupKey("LanguageFile"), std::string("german.ini"));
        QCOMPARE(setupKey("CurrentLanguage"), std::string("4"));
        QCOMPARE(setupKey("comPort"), std::string("1"));   // the other keys stay
        {
            // Now in German, with German selected; OK without a change keeps
            // the shown language as it is.
            s_.settings.shownLanguage = 4;
            FrmSetLanguage dlg(s_);
            QCOMPARE(dlg.windowTitle(), QString("Sprache"));
            QCOMPARE(dlg.CommandCancel->text(), QString("Abbrechen"));
            QCOMPARE(dlg.Combo1->currentText(), QString("Deutsch"));
            shot(&dlg, "language_de");
            dlg.accept();
        }
        QCOMPARE(s_.settings.shownLanguage, int16_t(4));
        QCOMPARE(s_.settings.languageFile, std::string("german.ini"));
    }

    void languageThatCannotBeStoredIsToldAndUsedForThisRun() {
        std::filesystem::remove(setupIni());
        std::filesystem::create_directories(setupIni());   // no file can be written there
        FrmSetLanguage dlg(s_);
        dlg.Combo1->setCurrentIndex(2);
        p_.answers = {Answer::Ok};
        dlg.accept();
        QCOMPARE(s_.settings.languageFile, std::string("french.ini"));   // used for this run
        QCOMPARE(p_.asked.size(), size_t(1));
        QVERIFY(p_.asked[0].text.rfind(LanguageText(s_, 9067), 0) == 0);
        QVERIFY(p_.asked[0].text.find("réglage") != std::string::npos);
    }

    void modelDialogAsksOnlyOnAChange() {
        int applied = 0;
        std::string model, band;
        auto apply = [&](const std::string& m, const std::string& b) { ++applied; model = m; band = b; };
        s_.doc.currentModel = "ZR614";
        s_.doc.currentBand = "460 - 470 MHz";
        {
            FrmModelInfo dlg(s_, apply);
            QCOMPARE(dlg.ComboBand->currentText(), QString("GMRS"));
            shot(&dlg, "model");
            dlg.accept();   // nothing changed: no question
        }
        QVERIFY(p_.asked.empty());
        QCOMPARE(applied, 0);
        {
            FrmModelInfo dlg(s_, apply);
            dlg.ComboBand->setCurrentIndex(0);
            p_.answers = {Answer::Cancel};
            dlg.accept();
        }
        QCOMPARE(p_.texts(), std::vector<std::string>{ToText(Tx(s_, 9016))});
        QCOMPARE(p_.asked[0].caption, ToText(Tx(s_, 9019)));
        QCOMPARE(p_.asked[0].icon, Icon::Warning);
        QCOMPARE(applied, 0);
        {
            FrmModelInfo dlg(s_, apply);
            dlg.ComboBand->setCurrentIndex(0);
            p_.answers = {Answer::Ok};
            dlg.accept();
        }
        QCOMPARE(applied, 1);
        // The list's entry means the program's model, which radios report.
        QCOMPARE(model, std::string("ZR614"));
        QCOMPARE(band, std::string("400 - 470 MHz"));
        // The program's own model shows the list's entry, and OK without a
        // change asks nothing.
        s_.doc.currentModel = "ZR614";
        s_.doc.currentBand = "460 - 470 MHz";
        p_.asked.clear();
        FrmModelInfo dlg(s_, apply);
        QCOMPARE(dlg.ComboModel->currentText(), QString("ZR-M83K"));
        QCOMPARE(dlg.ComboBand->currentText(), QString("GMRS"));
        dlg.accept();
        QVERIFY(p_.asked.empty());
        QCOMPARE(applied, 1);
    }

    void aboutWindow() {
        frmAbout dlg(s_);
        QCOMPARE(dlg.windowTitle(), Tx(s_, 24000));
        QCOMPARE(dlg.lblVersion->text(), Tx(s_, 24002));
        QVERIFY(!dlg.lblTitle->text().isEmpty());
        shot(&dlg, "about");
    }

    void aboutWindowWithoutItsSection() {
        // A language file without section "About": every text is empty.
        std::filesystem::create_directories(root_->path() / "prog/language");
        zrtest::writeBytes(root_->path() / "prog/language/english.ini",
                           {'[', 'M', 's', 'g', ']', '\n', '9', '0', '1', '7', '=', 'O', 'K', '\n'});
        s_.paths.programFolder = root_->str("prog");
        frmAbout dlg(s_);
        QVERIFY(dlg.windowTitle().isEmpty());
        QVERIFY(dlg.lblTitle->text().isEmpty());
        QVERIFY(dlg.lblDisclaimer->text().isEmpty());
        QVERIFY(dlg.cmdOK->text().isEmpty());
        dlg.show();
        dlg.cmdOK->click();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }

    void progressWindow() {
        FrmProgress dlg(s_, 9027);
        QCOMPARE(dlg.windowTitle(), Tx(s_, 9027));
        QCOMPARE(dlg.LabelPercent->text(), QString("0%"));
        dlg.setPercent(57);
        shot(&dlg, "progress_dialog");
        QCOMPARE(dlg.ProgressBar1->value(), 57);
        QCOMPARE(dlg.LabelPercent->text(), QString("57%"));
        dlg.setPercent(140);
        QCOMPARE(dlg.percent(), 100);
        dlg.reset();
        QCOMPARE(dlg.LabelPercent->text(), QString("0%"));
        // Escape does not close it; only its transfer does.
        dlg.open();
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(dlg.isVisible());
        dlg.done(QDialog::Accepted);
        QVERIFY(!dlg.isVisible());
    }

    void fileFilterAndCaptions() {
        QCOMPARE(QtFileFilter("Data files (*.dat)|*.dat"), QString("Data files (*.dat)"));
        QCOMPARE(QtFileFilter("Data|*.dat|All|*.*"), QString("Data (*.dat);;All (*.*)"));
        QCOMPARE(QtFileFilter(""), QString());
        QPushButton ok, cancel, close, help;
        SetOkCancelCaptions(s_, &ok, &cancel);
        SetCloseHelpCaptions(s_, &close, &help);
        QCOMPARE(ok.text(), Tx(s_, 9017));
        QCOMPARE(cancel.text(), Tx(s_, 9018));
        QCOMPARE(close.text(), Tx(s_, 9023));
        QCOMPARE(help.text(), Tx(s_, 9025));
        QVERIFY(!ok.text().isEmpty() && !help.text().isEmpty());
    }

    void everyHelpContextHasAPage() {
        const QString folder = QString::fromStdString((zrtest::sourceDir() / "install/help").string());
        QList<int> contexts{0, 3100, 3200, 3300, 3400, 3500, 3600, 3700};
        for (const char* item : {"File", "New", "Open", "Save", "SaveAs", "Exit", "Model", "ModelInfo", "Edit",
                                 "Program", "Read", "Write", "Password", "Settings", "Port", "Language",
                                 "Init", "Habits", "View", "TreeView", "ToolBar", "StatusBar", "Window",
                                 "Cascade", "CloseAll", "Help", "HelpTopics", "About", "ChannelEdit", "Cut",
                                 "Copy", "Paste", "Insert", "Delete", "MoveUp", "MoveDown"}) {
            const int ctx = MenuHelpContext(item);
            QVERIFY2(ctx > 0, item);
            contexts << ctx;
        }
        HelpWindow w(folder, "Help");
        w.showContext(3100);
        shot(&w, "help");
        for (int ctx : contexts) {
            QVERIFY2(w.showContext(ctx), qPrintable(QString::number(ctx)));
            QVERIFY(!w.browser()->toPlainText().trimmed().isEmpty());
        }
        QVERIFY(!w.showContext(4242));
        QVERIFY(w.browser()->toPlainText().contains("not found"));
    }

    void helpInAnotherLanguageSaysWhenAPageIsEnglish() {
        const QString install = QString::fromStdString((zrtest::sourceDir() / "install").string());
        s_.settings.languageFile = "german.ini";
        HelpWindow w(HelpWindow::Folders{install + "/help/de", install + "/help"}, HelpWindow::textsOf(s_), "Hilfe");
        w.show();
        auto* notice = w.findChild<QLabel*>("LabelInEnglish");
        QVERIFY(notice);
        QCOMPARE(w.findChild<QPushButton*>("CommandContents")->text(), QString("&Inhalt"));

        // The contents page is translated: no notice.
        QVERIFY(w.showContext(0));
        QVERIFY(w.browser()->toPlainText().contains("Menü Datei"));
        QVERIFY(!w.showsEnglishInstead());
        QVERIFY(!notice->isVisible());

        // A page without a translation: the English page and a German notice.
        QVERIFY(w.showContext(3100));
        QVERIFY(w.browser()->toPlainText().contains("Channel information"));
        QVERIFY(w.showsEnglishInstead());
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->text(), Tx(s_, 31102));
        QVERIFY(notice->text().contains("Englisch"));
        shot(&w, "help_de");

        // Back to the contents: the notice goes with the page.
        w.browser()->backward();
        QTRY_COMPARE(w.currentContext(), 0);
        QVERIFY(!w.showsEnglishInstead());

        // A link of the German contents page leads to the English page of
        // the File menu, with the notice.
        QVERIFY(w.showContext(0));
        emit w.browser()->anchorClicked(QUrl::fromLocalFile(install + "/help/de/100.html"));
        QCOMPARE(w.currentContext(), 100);
        QVERIFY(w.browser()->toPlainText().contains("File"));
        QVERIFY(w.showsEnglishInstead());

        // A missing page is reported in German.
        QVERIFY(!w.showContext(4242));
        QVERIFY(w.browser()->toPlainText().contains("nicht gefunden"));
        QVERIFY(!w.showsEnglishInstead());
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
