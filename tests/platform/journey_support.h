#pragma once
// Helpers for tests that use the program as a person does: an installation
// of its own in a temporary folder, the program as Program builds it, and
// keys, clicks and the wheel given to the real widgets.
//
// The language of a run is the language file named by ZR_JOURNEY_LANGUAGE
// (default "english.ini"); tests take every expected text from it with Tx().

#include <filesystem>
#include <functional>
#include <memory>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>

#include "channels/channel_ops.h"
#include "control/document_controller.h"
#include "files/new_document.h"
#include "platform/channels/frm_comm_ch_info.h"
#include "platform/serial/qt_link.h"
#include "platform/shell/demo_radio.h"
#include "platform/shell/frm_main.h"
#include "platform/shell/program.h"
#include "platform/shell/texts.h"
#include "shell/ini_file.h"
#include "shell/language.h"
#include "shell/session.h"
#include "shell/startup.h"
#include "support/support.h"

namespace journey {

namespace fs = std::filesystem;

inline std::string LanguageFile() {
    const QString l = qEnvironmentVariable("ZR_JOURNEY_LANGUAGE");
    return l.isEmpty() ? std::string("english.ini") : l.toStdString();
}

// An installation of its own in a temporary folder whose mysetup.ini holds
// `language` as the user's choice (none when empty: a first start);
// start() runs the program's start-up on it.
struct Installation {
    zrtest::TempDir root;
    explicit Installation(const std::string& language = LanguageFile()) {
        zrtest::MakeInstallation(root.path());
        if (!language.empty())
            zr::WriteProfileString((root.path() / "language" / "mysetup.ini").string(), "language", "LanguageFile",
                                   language);
    }
    void start(zr::Session& s) const {
        zr::Startup(s, (root.path() / "V100" / "zrcps").string(),
                    [](zr::Session& x) { zr::TellOpenOutcome(x, zr::NewDocument(x)); });
    }
    // A key of the user's settings (the [language] section of mysetup.ini).
    std::string setupKey(const char* key) const {
        return zr::ReadProfileString((root.path() / "language" / "mysetup.ini").string(), "language", key);
    }
};

// The program started as a user starts it, in an installation of its own
// with the run's language, with a scripted prompter for the message boxes
// and file dialogs.
struct Run {
    Installation inst;
    zrtest::TempDir& root = inst.root;
    zr::Session s;
    zrtest::ScriptedPrompter p;
    std::unique_ptr<zr::Program> prog;

    explicit Run(bool demoRadio = false) {
        s.prompter = &p;
        inst.start(s);
        prog = std::make_unique<zr::Program>(s);
        prog->start(false);
        window().activateWindow();
        if (!QTest::qWaitForWindowActive(&window())) qWarning("the main window is not active");
        if (demoRadio) radioReady = prog->useDemoRadio();
    }
    ~Run() {
        p.answers.clear();
        p.answers.push_back(zr::Answer::No);   // "save changes?" at the end
        window().close();
        prog.reset();
    }
    bool radioReady = false;

    zr::frmMain& window() { return prog->window(); }
    zr::frmCommChInfo* table() {
        return qobject_cast<zr::frmCommChInfo*>(window().FindChildWindow("frmCommChInfo"));
    }
    bool busy() { return prog->link().engine().busy(); }
    std::string tx(int n) { return zr::LanguageText(s, n); }
    std::string file(const char* name) const { return root.str(name); }
};

// Runs `act` on the modal dialog of type T once it is open, while `trigger`
// opens it (a menu action whose dialog runs exec()). A dialog that `act`
// leaves open (a failed check) is rejected. True when the dialog was seen.
template <class T>
bool WithModal(const std::function<void()>& trigger, const std::function<void(T&)>& act) {
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<T*>(QApplication::activeModalWidget()); d && !seen && d->isVisible()) {
            seen = true;
            poll.stop();
            act(*d);
            if (d->isVisible()) d->reject();
        }
    });
    poll.start(10);
    trigger();
    poll.stop();
    return seen;
}

// With ZR_SHOTS_DARK=1 (or ZR_DARK=1) in the environment, the application
// takes a dark palette (Fusion), so that the pictures show it.
inline void UseDarkPaletteWhenAsked() {
    if (!qEnvironmentVariableIntValue("ZR_SHOTS_DARK") && !qEnvironmentVariableIntValue("ZR_DARK")) return;
    QApplication::setStyle("Fusion");
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::AlternateBase, QColor(45, 45, 48));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(55, 55, 58));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    dark.setColor(QPalette::ToolTipBase, QColor(60, 60, 60));
    dark.setColor(QPalette::ToolTipText, Qt::white);
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    QApplication::setPalette(dark);
}

// With ZR_SHOTS=<folder> in the environment, a picture of the window.
inline void Shot(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("ZR_SHOTS");
    if (!dir.isEmpty() && w) w->window()->grab().save(dir + "/" + name + ".png");
}

// A channel of the document by its number, or null; its stored RX text.
inline const zr::ChannelRecord* Ch(const zr::Session& s, int n) { return zr::FindChannelRecord(s, n); }
inline std::string Rx(const zr::Session& s, int n) {
    const zr::ChannelRecord* c = Ch(s, n);
    return c ? c->RxFreq.text() : std::string("(none)");
}

inline QWidget* Focus() { return QApplication::focusWidget(); }

// A key as the user presses it: to whichever widget has the focus.
inline void Key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QWidget* f = Focus();
    QVERIFY2(f, "no widget has the focus");
    QTest::keyClick(f, k, m);
}

// Each character goes to the widget that has the focus at that moment.
inline void Type(const QString& text) {
    for (QChar c : text) {
        QWidget* f = Focus();
        QVERIFY2(f, "no widget has the focus");
        QTest::keyClicks(f, QString(c));
    }
}

// The user clicks on the window first when it is not the active one (after a
// modal progress window closed, for example).
inline bool Activate(QWidget* w) {
    if (w->isActiveWindow()) return true;
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

inline QRect CellRect(zr::frmCommChInfo* t, int row, int col) {
    QTableWidgetItem* item = t->MSFlexGrid1->item(row - 1, col);
    t->MSFlexGrid1->scrollToItem(item);
    return t->MSFlexGrid1->visualItemRect(item);
}

inline void ClickCell(zr::frmCommChInfo* t, int row, int col) {
    QVERIFY(Activate(t->window()));
    QTest::mouseClick(t->MSFlexGrid1->viewport(), Qt::LeftButton, {}, CellRect(t, row, col).center());
}

// Opens the channel edit window at a row with the table's button.
inline void OpenEditWindow(zr::frmCommChInfo* t, int row) {
    ClickCell(t, row, 1);
    QTest::mouseClick(t->CommandEdit, Qt::LeftButton);
}

// One notch of the mouse wheel (down for a negative count) over a widget.
inline void Wheel(QWidget* w, int notches) {
    const QPointF at = QPointF(w->rect().center());
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

// A click on the tool bar button of an action.
inline void ClickTool(zr::frmMain& w, const char* key) {
    QAction* a = w.toolButton(key);
    QVERIFY2(a, key);
    QWidget* b = w.toolBar()->widgetForAction(a);
    QVERIFY2(b && b->isVisible() && b->isEnabled(), key);
    QTest::mouseClick(b, Qt::LeftButton);
}

// Columns 1..9 of every row, as the table shows them.
inline QStringList TableTexts(zr::frmCommChInfo* t) {
    QStringList out;
    for (int r = 1; r <= 129; ++r) {
        QString row;
        for (int c = 1; c <= 9; ++c) row += t->cellText(r, c) + "|";
        out << row;
    }
    return out;
}

}  // namespace journey
