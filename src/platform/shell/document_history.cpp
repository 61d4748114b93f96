#include "platform/shell/document_history.h"

#include <QUndoCommand>

#include "shell/session.h"

namespace zr {

class SnapshotStep : public QUndoCommand {
public:
    SnapshotStep(DocumentHistory& h, const QString& name, const QString& mergeKey, StoredDocument before,
                 StoredDocument after)
        : QUndoCommand(name), h_(h), mergeKey_(mergeKey), before_(std::move(before)), after_(std::move(after)) {}

    void undo() override { h_.put(before_); }
    void redo() override {
        if (first_) {
            first_ = false;   // the document holds it already
            return;
        }
        h_.put(after_);
    }
    int id() const override { return mergeKey_.isEmpty() ? -1 : 1; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* o = static_cast<const SnapshotStep*>(other);
        if (o->mergeKey_ != mergeKey_) return false;
        after_ = o->after_;
        return true;
    }

private:
    DocumentHistory& h_;
    QString mergeKey_;
    StoredDocument before_, after_;
    bool first_ = true;
};

DocumentHistory::DocumentHistory(Session& s, std::function<void()> restored, QObject* parent)
    : QObject(parent), s_(s), restored_(std::move(restored)), last_(s.doc.stored) {
    stack_.setUndoLimit(500);   // at most about 11 MB of snapshots
}

bool DocumentHistory::checkpoint(const QString& name, const QString& mergeKey) {
    if (restoring_ || s_.doc.stored == last_) return false;
    stack_.push(new SnapshotStep(*this, name, mergeKey, last_, s_.doc.stored));
    last_ = s_.doc.stored;
    emit changed();
    return true;
}

void DocumentHistory::reset() {
    stack_.clear();
    last_ = s_.doc.stored;
    emit changed();
}

void DocumentHistory::put(const StoredDocument& d) {
    restoring_ = true;
    s_.doc.stored = d;
    last_ = d;
    if (restored_) restored_();
    restoring_ = false;
}

void DocumentHistory::undo() {
    if (!stack_.canUndo()) return;
    stack_.undo();
    emit changed();
}

void DocumentHistory::redo() {
    if (!stack_.canRedo()) return;
    stack_.redo();
    emit changed();
}

}  // namespace zr
