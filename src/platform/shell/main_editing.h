#pragma once
// The main window's editing habits around the document: undo and redo
// (Edit menu, Ctrl+Z, Ctrl+Shift+Z, Ctrl+Y), File > Recent documents (the
// last 8, kept in the user's settings), the unsaved-changes mark of the
// title and the status bar messages. The main window creates one and calls
// it around every command; it watches the user's input to take the
// checkpoints of the undo history (see document_history.h).

#include <QObject>
#include <QPointer>
#include <QString>

#include "control/document_events.h"
#include "platform/shell/document_history.h"
#include "shell/recent_documents.h"

class QAction;
class QMenu;
class QMainWindow;

namespace zr {

class frmMain;
struct Session;

class MainEditing : public QObject, private DocumentListener {
    Q_OBJECT
public:
    MainEditing(frmMain& main, Session& s);
    ~MainEditing() override;

    // Undo and Redo at the top of the Edit menu.
    void addUndoRedo(QMenu* edit);
    // File > Recent documents, inserted before `before`.
    void addRecentMenu(QMenu* file, QAction* before);
    // Captions in the current language.
    void recaption();

    // Around a command of the menus, the tool bar or the tree: what the user
    // changed before becomes its own step, the command's change one step
    // named `name`.
    void beforeCommand();
    void afterCommand(const QString& name);

    // A file command refreshed the title: a document with a file of its own
    // goes to the front of the recent documents, and the unsaved-changes
    // mark follows the document.
    void documentTitleShown();

    // Opens a recent document as File Open does (unsaved-changes question
    // included); a file that is gone leaves the list with a message.
    void openRecent(const QString& path);

    DocumentHistory& history() { return history_; }
    const RecentDocuments& recent() const { return recent_; }
    void undo();
    void redo();

    // A message in the status bar for a few seconds.
    void showStatus(const QString& text);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // DocumentListener
    void channelChanged(int n) override;
    void channelsChanged() override { many_ = true; }
    void documentReplaced() override;

    void scheduleCheckpoint(const QString& mergeKey);
    void userCheckpoint();
    QString describeChange() const;
    void forgetChanges();
    void updateActions();
    void updateModified();
    void storeRecent();
    void fillRecentMenu();

    frmMain& main_;
    Session& s_;
    DocumentHistory history_;
    RecentDocuments recent_;
    ListenerSubscription subscription_;
    QPointer<QAction> undo_, redo_;
    QPointer<QMenu> recentMenu_;
    bool checkpointPending_ = false;
    QString pendingMergeKey_;
    // Channels changed since the last checkpoint.
    int lowChannel_ = 0, highChannel_ = 0;
    bool many_ = false;
};

}  // namespace zr
