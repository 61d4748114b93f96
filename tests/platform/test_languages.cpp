// The program in each shipped language, through the real main window: the
// first start follows the user's locale, the language dialog re-captions
// every open window at once, and every window shows its texts whole.
//
// With ZR_SHOTS=<folder> in the environment, a picture of every window in
// every language is saved there (<language>_<window>.png).

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QLibraryInfo>
#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>

#include <filesystem>

#include "files/change_tracking.h"
#include "files/document_record.h"
#include "files/new_document.h"
#include "platform/channels/frm_ch_batch.h"
#include "journey_support.h"
#include "platform/extras/extras.h"
#include "platform/shell/app_services.h"
#include "platform/shell/dialogs.h"
#include "control/document_controller.h"
#include "platform/shell/frm_main.h"
#include "platform/shell/help_window.h"
#include "platform/shell/qt_prompter.h"
#include "platform/shell/texts.h"
#include "shell/ini_file.h"
#include "shell/language.h"
#include "shell/languages.h"
#include "shell/session.h"
#include "shell/startup.h"
#include "support/support.h"

using namespace zr;
namespace fs = std::filesystem;

namespace {

QTreeWidgetItem* treeEntry(QTreeWidget* t, const QString& key) {
    for (QTreeWidgetItemIterator it(t); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == key) return *it;
    return nullptr;
}

bool hasLabel(QWidget* w, const QString& text) {
    for (QLabel* l : w->findChildren<QLabel*>())
        if (l->text() == text) return true;
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
        if (b->text() == text) return true;
    return false;
}

QString describe(QWidget* w, const QString& text) {
    return QString("%1 %2 \"%3\"").arg(w->metaObject()->className(), w->objectName(), text);
}

// Every control of `root` whose text does not fit into it, as a list of
// descriptions; empty when every text is whole.
QStringList cutTexts(QWidget* root) {
    QStringList cut;
    auto visible = [root](QWidget* w) { return w->isVisibleTo(root) && w->width() > 0; };
    for (QLabel* l : root->findChildren<QLabel*>()) {
        if (!visible(l) || l->text().isEmpty() || l->text().startsWith('<')) continue;
        if (l->wordWrap()) {
            if (l->height() < l->heightForWidth(l->width())) cut << describe(l, l->text());
        } else if (l->width() < l->sizeHint().width() || l->height() < l->sizeHint().height()) {
            cut << describe(l, l->text());
        }
    }
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>()) {
        if (!visible(b) || b->text().isEmpty() || qobject_cast<QTabBar*>(b->parentWidget())) continue;
        if (b->width() < b->sizeHint().width()) cut << describe(b, b->text());
    }
    for (QGroupBox* g : root->findChildren<QGroupBox*>()) {
        if (!visible(g) || g->title().isEmpty()) continue;
        if (g->width() < g->fontMetrics().horizontalAdvance(g->title()) + 16) cut << describe(g, g->title());
    }
    for (QComboBox* c : root->findChildren<QComboBox*>()) {
        if (!visible(c)) continue;
        for (int i = 0; i < c->count(); ++i) {
            QStyleOptionComboBox opt;
            opt.initFrom(c);
            // Measured as the box measures its entries.
            const QSize text(c->fontMetrics().boundingRect(c->itemText(i)).width(), c->fontMetrics().height());
            if (c->style()->sizeFromContents(QStyle::CT_ComboBox, &opt, text, c).width() > c->width() + 1) {
                cut << describe(c, c->itemText(i));
                break;
            }
        }
    }
    for (QTabBar* t : root->findChildren<QTabBar*>()) {
        if (!visible(t)) continue;
        for (int i = 0; i < t->count(); ++i)
            if (t->tabRect(i).width() < t->fontMetrics().horizontalAdvance(t->tabText(i).remove('&')) + 8)
                cut << describe(t, t->tabText(i));
    }
    for (QTableWidget* table : root->findChildren<QTableWidget*>()) {
        if (!visible(table)) continue;
        const QHeaderView* h = table->horizontalHeader();
        const int margin = 2 * table->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
        for (int c = 0; c < table->columnCount(); ++c) {
            if (table->isColumnHidden(c)) continue;
            const int width = h->sectionSize(c);
            if (const QTableWidgetItem* head = table->horizontalHeaderItem(c)) {
                // A header may wrap onto the lines its height holds.
                const QRect need = h->fontMetrics().boundingRect(QRect(0, 0, width - margin, 1000),
                                                                 Qt::TextWordWrap | Qt::AlignCenter, head->text());
                if (need.width() > width - margin || need.height() > h->height())
                    cut << describe(table, "header " + head->text());
            }
            // Cells of the first rows, the ones a person sees first.
            for (int r = 0; r < std::min(table->rowCount(), 12); ++r) {
                const QTableWidgetItem* it = table->item(r, c);
                if (it && table->fontMetrics().horizontalAdvance(it->text()) + 6 > width) {
                    cut << describe(table, "cell " + it->text());
                    break;
                }
            }
        }
    }
    for (QTreeWidget* tree : root->findChildren<QTreeWidget*>()) {
        if (!visible(tree)) continue;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            const QRect r = tree->visualItemRect(*it);
            const int need = r.x() + tree->iconSize().width() + 8 + tree->fontMetrics().horizontalAdvance((*it)->text(0));
            if (need > tree->viewport()->width()) cut << describe(tree, (*it)->text(0));
        }
    }
    return cut;
}

// Accelerator letters used twice among the controls of one window or the
// items of one menu.
QStringList doubleAccelerators(const QStringList& texts) {
    QMap<QChar, QString> seen;
    QStringList twice;
    for (const QString& t : texts) {
        for (int i = 0; i + 1 < t.size(); ++i) {
            if (t[i] != '&') continue;
            if (t[i + 1] == '&') {
                ++i;
                continue;
            }
            const QChar key = t[i + 1].toLower();
            if (seen.contains(key)) twice << seen[key] + " / " + t;
            seen[key] = t;
            break;
        }
    }
    return twice;
}

QStringList controlTexts(QWidget* root) {
    QStringList out;
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>())
        if (b->isVisibleTo(root) && !qobject_cast<QTabBar*>(b->parentWidget())) out << b->text();
    for (QLabel* l : root->findChildren<QLabel*>())
        if (l->isVisibleTo(root) && l->buddy()) out << l->text();
    return out;
}

}  // namespace

class TestLanguages : public QObject {
    Q_OBJECT

    std::unique_ptr<journey::Installation> inst_;
    std::unique_ptr<Session> s_;
    std::unique_ptr<zrtest::ScriptedPrompter> p_;
    std::unique_ptr<DocumentController> c_;
    std::unique_ptr<frmMain> w_;

    fs::path program() const { return inst_->root.path() / "V100"; }
    std::string setupKey(const char* key) const {
        return inst_->setupKey(key);
    }

    // An installation of its own, started with the given user locale.
    void start(const char* locale, bool dtmf = true) {
        w_.reset();
        c_.reset();
        inst_ = std::make_unique<journey::Installation>("");   // no language chosen yet
        s_ = std::make_unique<Session>();
        p_ = std::make_unique<zrtest::ScriptedPrompter>();
        s_->prompter = p_.get();
        StartupSteps steps;
        steps.buildDocument = [](Session& x) { NewDocument(x); };
        steps.userLocale = locale;
        Startup(*s_, (program() / "zrcps").string(), steps);
        s_->settings.capabilityFlags[3] = dtmf ? 1 : 0;
        c_ = std::make_unique<DocumentController>(*s_);
        w_ = std::make_unique<frmMain>(*s_, *c_);
        w_->resize(1400, 900);
        w_->Load();
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }

    // Chooses a language by its own name in the language dialog, opened
    // from the Settings menu, and confirms with OK.
    void chooseLanguage(const QString& name) {
        QVERIFY(w_->action("mnuLanguage")->isVisible());
        const bool done = journey::WithModal<FrmSetLanguage>([&] { w_->action("mnuLanguage")->trigger(); },
                                                             [&](FrmSetLanguage& d) {
            FrmSetLanguage* dlg = &d;
            const int i = dlg->Combo1->findText(name);
            QVERIFY2(i >= 0, qPrintable(name));
            dlg->Combo1->setFocus();
            QTest::keyClick(dlg->Combo1, Qt::Key_Home);
            for (int k = 0; k < i; ++k) QTest::keyClick(dlg->Combo1, Qt::Key_Down);
            QCOMPARE(dlg->Combo1->currentText(), name);
            QTest::mouseClick(dlg->CommandOK, Qt::LeftButton);
        });
        QVERIFY(done);
    }

    QMdiSubWindow* frameOf(const QString& name) const {
        for (QMdiSubWindow* sw : w_->mdiArea()->subWindowList())
            if (sw->widget() && sw->widget()->objectName() == name && !sw->isHidden()) return sw;
        return nullptr;
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        RegisterAllWindows();
        journey::UseDarkPaletteWhenAsked();   // ZR_SHOTS_DARK=1: the pictures with a dark palette
    }
    void cleanup() {
        w_.reset();
        c_.reset();
        s_.reset();
    }

    void firstStartFollowsTheUsersLocale() {
        start("de_DE.UTF-8");
        QCOMPARE(s_->settings.languageFile, std::string("german.ini"));
        QVERIFY(zrtest::shownTitle(*w_).startsWith("ZR-E271 Programmiersoftware[ZR-M83KGMRS:460 - 470 MHz][Datei:new.dat]"));
        QCOMPARE(w_->action("mnuFile")->text(), QString("&Datei"));
        QCOMPARE(treeEntry(w_->tree(), "N9")->text(0), QString("Suchlauf"));
        auto* table = w_->FindChildWindow("frmCommChInfo");
        QVERIFY(table);
        QCOMPARE(table->findChild<QTableWidget*>()->horizontalHeaderItem(0)->text(), QString("Kanal"));
        // No choice is stored: the locale decides again next time.
        QCOMPARE(setupKey("LanguageFile"), std::string());
        // Numbers keep their "." and dates their stored form.
        QCOMPARE(table->findChild<QTableWidget*>()->item(0, 1)->text(), QString("465.00000"));
        s_->doc.radioInfo.FactoryDate.set("2024/03/05");
        QWidget* dealer = w_->ShowChild("FrmRadioInfo");
        QVERIFY(dealer);
        QStringList shown;
        for (QLineEdit* e : dealer->findChildren<QLineEdit*>()) shown << e->text();
        QVERIFY2(shown.contains("2024/03/05"), qPrintable(shown.join("|")));

        start("zh_CN.UTF-8");
        QCOMPARE(w_->action("mnuFile")->text(), QString("文件(&F)"));
        start("C.UTF-8");
        QCOMPARE(w_->action("mnuFile")->text(), QString("&File"));
    }

    void windowPlacementIsKeptAcrossLanguages() {
        start("de_DE.UTF-8");
        w_->resize(710, 520);
        QVERIFY(w_->close());
        start("zh_CN.UTF-8");
        QCOMPARE(w_->size(), QSize(710, 520));
        w_->resize(690, 510);
        QVERIFY(w_->close());
        start("C.UTF-8");
        QCOMPARE(w_->size(), QSize(690, 510));
    }

    void choosingALanguageRecaptionsEveryOpenWindowAtOnce() {
        start("C.UTF-8");
        // A person's session: pages open and moved, an edit window, the help.
        w_->treeEntry_Click("N2");   // optional features
        w_->treeEntry_Click("N9");   // scan
        w_->ShowChild("FrmCHInfoEdit");
        w_->ShowHelp(3200);
        QMdiSubWindow* opt = frameOf("FrmOptFeatures");
        QMdiSubWindow* scan = frameOf("FrmScan");
        QVERIFY(opt && scan);
        opt->move(30, 40);
        const QRect optPlace = opt->geometry();
        const QRect scanPlace = scan->geometry();
        w_->mdiArea()->setActiveSubWindow(opt);
        QWidget* table = w_->FindChildWindow("frmCommChInfo");
        QWidget* edit = w_->FindChildWindow("FrmCHInfoEdit");
        const auto squelchBefore = opt->widget()->findChild<QComboBox*>()->currentIndex();
        const std::vector<uint8_t> documentBefore = SerializeDocumentRecord(s_->doc.stored);
        const bool modifiedBefore = IsModified(*s_);

        chooseLanguage("Deutsch");

        // The choice is stored.
        QCOMPARE(setupKey("LanguageFile"), std::string("german.ini"));
        QCOMPARE(setupKey("CurrentLanguage"), std::string("4"));
        // The main window: menus, tool tips, tree, status bar and title.
        QCOMPARE(w_->action("mnuFile")->text(), QString("&Datei"));
        QCOMPARE(w_->action("mnuLanguage")->text(), QString("S&prache..."));
        QCOMPARE(w_->toolButton("ReadRadio")->toolTip(), QString("Aus dem Funkgerät lesen"));
        QCOMPARE(treeEntry(w_->tree(), "N2")->text(0), QString("Optionale Funktionen"));
        QCOMPARE(treeEntry(w_->tree(), "N4")->text(0), QString("DTMF"));
        QCOMPARE(w_->statusPanel(3)->text(), QString("Schnittstelle COM1"));
        QVERIFY(zrtest::shownTitle(*w_).startsWith("ZR-E271 Programmiersoftware["));
        QCOMPARE(s_->settings.programTitle, std::string("ZR-E271 Programmiersoftware"));

        // Channel table and edit window re-captioned where they stand.
        QCOMPARE(w_->FindChildWindow("frmCommChInfo"), table);
        QCOMPARE(w_->FindChildWindow("FrmCHInfoEdit"), edit);
        QVERIFY(table->windowTitle().startsWith("Kanalinformationen [Kanal"));
        QCOMPARE(table->findChild<QTableWidget*>()->horizontalHeaderItem(6)->text(), QString("Sendeleistung"));
        QCOMPARE(edit->windowTitle(), QString("Kanal bearbeiten"));
        QVERIFY(hasLabel(edit, "Kanalname"));

        // The pages show German texts, at their places, with the same values.
        opt = frameOf("FrmOptFeatures");
        scan = frameOf("FrmScan");
        QVERIFY(opt && scan);
        QCOMPARE(opt->widget()->windowTitle(), QString("Optionale Funktionen"));
        QVERIFY(hasLabel(opt->widget(), "Rauschsperre (Stufe)"));
        QVERIFY(hasLabel(scan->widget(), "Suchlaufmodus"));
        QCOMPARE(opt->geometry(), optPlace);
        QCOMPARE(scan->geometry(), scanPlace);
        QCOMPARE(w_->mdiArea()->activeSubWindow(), opt);
        QCOMPARE(opt->widget()->findChild<QComboBox*>()->currentIndex(), squelchBefore);
        QVERIFY(SerializeDocumentRecord(s_->doc.stored) == documentBefore);
        QCOMPARE(IsModified(*s_), modifiedBefore);

        // The help window follows, and says that its page is English.
        QVERIFY(w_->helpWindow());
        QCOMPARE(w_->helpWindow()->currentContext(), 3200);
        QVERIFY(w_->helpWindow()->showsEnglishInstead());
        QCOMPARE(w_->helpWindow()->findChild<QPushButton*>("CommandClose")->text(), QString("&Schließen"));

        // Message boxes come in the new language.
        p_->answers = {modifiedBefore ? Answer::No : Answer::Cancel, Answer::Cancel};
        w_->mnuFileNew_Click();
        QCOMPARE(p_->asked.back().text, LanguageText(*s_, 9026));
        QVERIFY(p_->asked.back().text.find("neues Dokument") != std::string::npos);
        QCOMPARE(p_->unscripted, 0);
        p_->answers.clear();

        // On to Chinese and back to English.
        chooseLanguage(QString::fromUtf8("简体中文"));
        QCOMPARE(w_->action("mnuFile")->text(), QString::fromUtf8("文件(&F)"));
        QCOMPARE(frameOf("FrmScan")->widget()->windowTitle(), QString::fromUtf8("扫描信息"));
        QVERIFY(hasLabel(frameOf("FrmOptFeatures")->widget(), QString::fromUtf8("静噪电平")));
        chooseLanguage("English");
        QCOMPARE(w_->action("mnuFile")->text(), QString("&File"));
        QVERIFY(hasLabel(frameOf("FrmOptFeatures")->widget(), "Squelch level"));
        QCOMPARE(setupKey("LanguageFile"), std::string("english.ini"));
        QVERIFY(SerializeDocumentRecord(s_->doc.stored) == documentBefore);
    }

    void messageBoxesAndQtsOwnTextsSpeakTheLanguage() {
        start("de_DE.UTF-8");
        QtPrompter prompter(*s_);
        prompter.setOwner(w_.get());
        QStringList buttons;
        QString caption, text;
        Answer a = Answer::Cancel;
        QVERIFY(journey::WithModal<QMessageBox>(
            [&] { a = prompter.ask(Question{LanguageText(*s_, 9006), {}, Buttons::YesNoCancel, Icon::Warning}); },
            [&](QMessageBox& box) {
                caption = box.windowTitle();
                text = box.text();
                for (QAbstractButton* b : box.buttons()) buttons << b->text();
                QTest::mouseClick(box.button(QMessageBox::No), Qt::LeftButton);
            }));
        QCOMPARE(a, Answer::No);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"&Ja", "&Nein", "Abbrechen"}));
        QCOMPARE(caption, QString("ZR-E271 Programmiersoftware"));
        QCOMPARE(text, QString::fromUtf8("Das Dokument enthält ungespeicherte Änderungen. Speichern?"));

        // Qt's own dialogs, where its translations are installed.
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm"))
            QSKIP("Qt's translations are not installed");
        QCOMPARE(QCoreApplication::translate("QFileDialog", "&Open"), QString::fromUtf8("&Öffnen"));
        chooseLanguage("English");
        QCOMPARE(QCoreApplication::translate("QFileDialog", "&Open"), QString("&Open"));
    }

    void aReopenedPageKeepsTheEditInProgress() {
        start("C.UTF-8");
        w_->treeEntry_Click("N3");   // FM broadcast channels: a grid with an editor
        QWidget* fm = w_->FindChildWindow("FrmRadio");
        QVERIFY(fm);
        auto* grid = fm->findChild<QTableWidget*>();
        QVERIFY(grid);
        // Type a frequency into the first preset and, without leaving the
        // cell, change the language.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(0, 1)).center());
        auto* editor = fm->findChild<QLineEdit*>("Text1");
        QVERIFY(editor && editor->isVisible());
        editor->selectAll();
        QTest::keyClicks(editor, "101.5");
        chooseLanguage("Deutsch");
        QCOMPARE(s_->doc.stored.FmChannels[0].FmFreq.text().substr(0, 4), std::string("1015"));
        QVERIFY(w_->FindChildWindow("FrmRadio"));
        QCOMPARE(w_->FindChildWindow("FrmRadio")->windowTitle(), QString("UKW-Radiofrequenzen"));
    }

    // Every window in every language: texts whole (the layout grows with
    // them), accelerators unique, and a picture of each.
    void everyWindowShowsItsTextsWhole_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("english") << "C.UTF-8";
        QTest::newRow("german") << "de_DE.UTF-8";
        QTest::newRow("french") << "fr_FR.UTF-8";
        QTest::newRow("chinese") << "zh_CN.UTF-8";
    }
    void everyWindowShowsItsTextsWhole() {
        QFETCH(QString, locale);
        start(locale.toLatin1().constData());
        const QString lang = QTest::currentDataTag();
        QStringList faults;

        // The main window as a person sees it after a start: the pages in
        // its area are never squeezed below the size where their texts are
        // whole, also when the window is small.
        w_->resize(900, 600);
        for (const char* key : {"N1", "N2", "N3", "N4", "N8", "N9", "N10", "N6"}) {
            w_->treeEntry_Click(key);
            QApplication::processEvents();
            QWidget* page = w_->mdiArea()->activeSubWindow()->widget();
            for (const QString& f : cutTexts(page)) faults << "in the main window " + page->objectName() + ": " + f;
        }
        w_->CloseCurAllWindows();
        w_->treeEntry_Click("N1");
        w_->treeEntry_Click("N2");
        QApplication::processEvents();
        journey::Shot(w_.get(), lang + "_main_pages");
        w_->CloseCurAllWindows();
        QApplication::processEvents();
        faults << cutTexts(w_.get());
        journey::Shot(w_.get(), lang + "_main");
        QStringList top;
        for (QAction* m : w_->menuBar()->actions()) {
            if (!m->isVisible()) continue;
            top << m->text();
            QStringList items;
            for (QAction* a : m->menu()->actions())
                if (a->isVisible() && !a->isSeparator()) items << a->text();
            for (const QString& d : doubleAccelerators(items)) faults << "menu " + m->text() + ": " + d;
        }
        for (const QString& d : doubleAccelerators(top)) faults << "menu bar: " + d;

        // Every page and dialog on its own: the registered ones and those of
        // the main window.
        std::vector<std::pair<QString, QWidget*>> windows;
        for (const QString& name : RegisteredChildWindows()) windows.emplace_back(name, ChildWindowFactoryFor(name)(*w_));
        windows.emplace_back("FrmSetLanguage", new FrmSetLanguage(*s_));
        windows.emplace_back("frmAbout", new frmAbout(*s_));
        windows.emplace_back("FrmModelInfo", new FrmModelInfo(*s_, {}));
        auto* port = new FrmComSet(*s_, [] { return std::vector<PortChoice>{{"COM1", 1, {}}}; });
        AddVerifyWriteCheckBox(*port, *s_);
        windows.emplace_back("FrmComSet", port);
        windows.emplace_back("FrmPassWord", new FrmPassWord(*s_));
        windows.emplace_back("FrmProgress", new FrmProgress(*s_, 9028));
        windows.emplace_back("FrmBackups", new FrmBackups(*w_, FromText(inst_->root.str("backups"))));
        auto* help = new HelpWindow(HelpWindow::Folders{FromText(program().string() + "/" + s_->settings.helpFolder),
                                                        FromText(program().string() + "/help")},
                                    HelpWindow::textsOf(*s_), Tx(*s_, 12000));
        help->showContext(3100);
        windows.emplace_back("HelpWindow", help);

        for (auto& [name, w] : windows) {
            QVERIFY2(w, qPrintable(name));
            w->setWindowFlag(Qt::Window);
            w->show();
            // The smallest size the window can be given (a small main window
            // squeezes a page so far), then the size its layout asks for.
            auto check = [&, name = name, w = w](const QString& part) {
                w->resize(w->minimumSizeHint());
                QApplication::processEvents();
                for (const QString& f : cutTexts(w)) faults << name + part + " (smallest): " + f;
                w->resize(w->sizeHint());
                QApplication::processEvents();
                for (const QString& f : cutTexts(w)) faults << name + part + ": " + f;
                for (const QString& d : doubleAccelerators(controlTexts(w))) faults << name + part + " keys: " + d;
                journey::Shot(w, lang + "_" + name + part);
            };
            if (auto* batch = qobject_cast<FrmCHBatch*>(w)) {
                // Both panels: the values and the selection of items.
                check("");
                batch->CommandSwitch->click();
                check("_items");
            } else if (auto* tabs = w->findChild<QTabWidget*>()) {
                for (int i = 0; i < tabs->count(); ++i) {
                    tabs->setCurrentIndex(i);
                    check("_" + QString::number(i));
                }
            } else {
                check("");
            }
            delete w;
            QApplication::processEvents();
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("\n")));
    }
};

QTEST_MAIN(TestLanguages)
#include "test_languages.moc"
