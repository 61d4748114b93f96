#include "platform/shell/main_editing.h"

#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRegularExpression>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

#include "control/document_controller.h"
#include "files/change_tracking.h"
#include "platform/shell/frm_main.h"
#include "platform/shell/texts.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace zr {
namespace {

constexpr int kStatusMillis = 10000;

// A menu caption as the name of an undo step: without its access key and
// the dots of a dialog ("Cu&t" -> "Cut", "插入(&I)" -> "插入").
QString StepName(QString caption) {
    static const QRegularExpression accel(QStringLiteral("\\(&.\\)"));
    caption.remove(accel);
    caption.remove(QLatin1Char('&'));
    caption = caption.trimmed();
    while (caption.endsWith(QLatin1Char('.')) || caption.endsWith(QChar(0x2026))) caption.chop(1);
    return caption.trimmed();
}

std::vector<std::string> ToStrings(const QStringList& l) {
    std::vector<std::string> out;
    for (const QString& p : l) out.push_back(ToText(p));
    return out;
}

}  // namespace

MainEditing::MainEditing(frmMain& main, Session& s)
    : QObject(&main),
      main_(main),
      s_(s),
      history_(s, [this] {
          // Every window shows the document put back, where it stands.
          s_.doc.changes.allChannels();
          for (std::size_t r = 0; r < kSettingsRecords; ++r) s_.doc.changes.settings(SettingsRecord(r));
          DocumentController& ctl = main_.controller();
          ctl.publishChanges();
          ctl.listeners().publish([](DocumentListener& l) { l.documentRestored(); });
          forgetChanges();
      }),
      subscription_(main.controller().listeners(), this) {
    QSettings st(QStringLiteral("zrcps"), main_.settingsStoreName());
    recent_ = RecentDocuments(ToStrings(st.value(QStringLiteral("Recent/Documents")).toStringList()));
    connect(&history_, &DocumentHistory::changed, this, [this] {
        updateActions();
        updateModified();
    });
    qApp->installEventFilter(this);
}

MainEditing::~MainEditing() { qApp->removeEventFilter(this); }

void MainEditing::addUndoRedo(QMenu* edit) {
    QAction* first = edit->actions().value(0);
    undo_ = new QAction(edit);
    undo_->setObjectName(QStringLiteral("mnuEditUndo"));
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = new QAction(edit);
    redo_->setObjectName(QStringLiteral("mnuEditRedo"));
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->insertAction(first, undo_);
    edit->insertAction(first, redo_);
    edit->insertSeparator(first);
    connect(undo_, &QAction::triggered, this, &MainEditing::undo);
    connect(redo_, &QAction::triggered, this, &MainEditing::redo);
    updateActions();
}

void MainEditing::addRecentMenu(QMenu* file, QAction* before) {
    recentMenu_ = new QMenu(file);
    recentMenu_->setObjectName(QStringLiteral("mnuFileRecent"));
    file->insertMenu(before, recentMenu_);
    connect(recentMenu_, &QMenu::aboutToShow, this, &MainEditing::fillRecentMenu);
    fillRecentMenu();
}

void MainEditing::fillRecentMenu() {
    if (!recentMenu_) return;
    recentMenu_->clear();
    const auto& paths = recent_.paths();
    if (paths.empty()) {
        recentMenu_->addAction(Tx(s_, 33005))->setEnabled(false);
        return;
    }
    int n = 1;
    for (const std::string& p : paths) {
        const QString path = FromText(p);
        QAction* a = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(n++).arg(QFileInfo(path).fileName()));
        a->setToolTip(path);
        a->setStatusTip(path);
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
    recentMenu_->addSeparator();
    QAction* clear = recentMenu_->addAction(Tx(s_, 33006));
    clear->setObjectName(QStringLiteral("mnuFileRecentClear"));
    connect(clear, &QAction::triggered, this, [this] {
        recent_ = RecentDocuments();
        storeRecent();
    });
}

void MainEditing::recaption() {
    if (recentMenu_) {
        recentMenu_->setTitle(Tx(s_, 33004));
        fillRecentMenu();
    }
    updateActions();
}

void MainEditing::updateActions() {
    if (!undo_ || !redo_) return;
    undo_->setEnabled(history_.canUndo());
    redo_->setEnabled(history_.canRedo());
    const QString u = history_.stack().undoText(), r = history_.stack().redoText();
    undo_->setText(history_.canUndo() ? Tx(s_, 33002).arg(u) : Tx(s_, 33000));
    redo_->setText(history_.canRedo() ? Tx(s_, 33003).arg(r) : Tx(s_, 33001));
}

void MainEditing::updateModified() { main_.setWindowModified(IsModified(s_)); }

// --- checkpoints -------------------------------------------------------------

bool MainEditing::eventFilter(QObject* o, QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(e);
        if (!o->isWidgetType()) break;
        // Typing into one field becomes one step.
        const bool typed = !k->text().isEmpty() && k->text()[0].isPrint() &&
                           !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        const QWidget* focus = QApplication::focusWidget();
        scheduleCheckpoint(typed && focus ? QString::number(quintptr(focus)) : QString());
        break;
    }
    case QEvent::MouseButtonRelease:
        if (o->isWidgetType()) scheduleCheckpoint({});
        break;
    default:
        break;
    }
    return QObject::eventFilter(o, e);
}

void MainEditing::scheduleCheckpoint(const QString& mergeKey) {
    if (checkpointPending_) {
        if (mergeKey != pendingMergeKey_) pendingMergeKey_.clear();
        return;
    }
    checkpointPending_ = true;
    pendingMergeKey_ = mergeKey;
    // Once the window has handled the input.
    QTimer::singleShot(0, this, &MainEditing::userCheckpoint);
}

void MainEditing::userCheckpoint() {
    checkpointPending_ = false;
    history_.checkpoint(describeChange(), pendingMergeKey_);
    forgetChanges();
    updateModified();
}

QString MainEditing::describeChange() const {
    QWidget* modal = QApplication::activeModalWidget();
    if (!many_ && lowChannel_ > 0)
        return lowChannel_ == highChannel_ ? Tx(s_, 33024).arg(lowChannel_)
                                           : Tx(s_, 33025).arg(lowChannel_).arg(highChannel_);
    if (modal) return StepName(modal->windowTitle());
    if (QMdiArea* mdi = main_.mdiArea())
        if (QMdiSubWindow* sw = mdi->activeSubWindow(); sw && sw->widget()) return StepName(sw->widget()->windowTitle());
    return StepName(Tx(s_, 10200));
}

void MainEditing::forgetChanges() {
    lowChannel_ = highChannel_ = 0;
    many_ = false;
}

void MainEditing::channelChanged(int n) {
    lowChannel_ = lowChannel_ == 0 ? n : std::min(lowChannel_, n);
    highChannel_ = std::max(highChannel_, n);
}

void MainEditing::documentReplaced() {
    history_.reset();
    forgetChanges();
}

void MainEditing::beforeCommand() {
    history_.checkpoint(describeChange());
    forgetChanges();
}

void MainEditing::afterCommand(const QString& name) {
    history_.checkpoint(StepName(name));
    forgetChanges();
    updateModified();
}

void MainEditing::undo() {
    main_.controller().commitEdits();
    beforeCommand();
    history_.undo();
    updateModified();
}

void MainEditing::redo() {
    main_.controller().commitEdits();
    beforeCommand();
    history_.redo();
    updateModified();
}

// --- recent documents and status -------------------------------------------------

void MainEditing::documentTitleShown() {
    updateModified();
    // Once the command that shows the title is through: a backup opened
    // for reading only counts as never saved by then.
    QTimer::singleShot(0, this, [this] {
        if (s_.doc.neverSaved || s_.doc.fileName.empty()) return;
        const QString path = QFileInfo(FromText(s_.doc.fileName)).absoluteFilePath();
        if (!recent_.paths().empty() && recent_.paths().front() == ToText(path)) return;
        recent_.add(ToText(path));
        storeRecent();
    });
}

void MainEditing::storeRecent() {
    QStringList l;
    for (const std::string& p : recent_.paths()) l << FromText(p);
    QSettings st(QStringLiteral("zrcps"), main_.settingsStoreName());
    st.setValue(QStringLiteral("Recent/Documents"), l);
}

void MainEditing::openRecent(const QString& path) {
    if (!QFile::exists(path)) {
        if (s_.prompter) s_.prompter->tell(ToText(Tx(s_, 33023).arg(QStringLiteral("\"%1\"").arg(path))), Icon::Warning);
        recent_.remove(ToText(path));
        storeRecent();
        return;
    }
    beforeCommand();
    DocumentController& ctl = main_.controller();
    ctl.commitEdits();
    // As File Open: unsaved changes are offered for saving first.
    if (ctl.confirmClose() != CommandResult::Done) return;
    if (ctl.openFile(ToText(path)) == CommandResult::Done) showStatus(Tx(s_, 33028).arg(QFileInfo(path).fileName()));
}

void MainEditing::showStatus(const QString& text) { main_.statusBar()->showMessage(text, kStatusMillis); }

}  // namespace zr
