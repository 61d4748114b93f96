#pragma once
// Undo and redo of every change the user makes to the document.
//
// The history keeps a snapshot of the stored document (the part a document
// file holds, about 11 KB). A checkpoint compares the document with that
// snapshot; when it differs, one undo step is pushed holding the state
// before and after, named after what the user did. The main window takes a
// checkpoint around every command and after every key, click and wheel the
// user gives any window, so every change of every window is caught without
// the windows knowing. Undo and redo put a snapshot back into the document
// and let the windows show it again. A new, opened or read document starts
// a new history.

#include <functional>

#include <QObject>
#include <QString>
#include <QUndoStack>

#include "data/document.h"

namespace zr {

struct Session;

class DocumentHistory : public QObject {
    Q_OBJECT
public:
    // `restored` runs after an undo or redo put a snapshot back.
    DocumentHistory(Session& s, std::function<void()> restored, QObject* parent = nullptr);

    QUndoStack& stack() { return stack_; }

    // Pushes one step when the document changed since the last checkpoint.
    // `mergeKey`, when not empty, lets consecutive steps with the same key
    // become one (typing into one field). True when a step was pushed.
    bool checkpoint(const QString& name, const QString& mergeKey = {});
    // Forgets every step: the document as it is now is the start.
    void reset();

    bool canUndo() const { return stack_.canUndo(); }
    bool canRedo() const { return stack_.canRedo(); }
    void undo();
    void redo();

signals:
    // After every push, undo, redo and reset.
    void changed();

private:
    friend class SnapshotStep;
    void put(const StoredDocument& d);

    Session& s_;
    std::function<void()> restored_;
    QUndoStack stack_;
    StoredDocument last_;
    bool restoring_ = false;
};

}  // namespace zr
