// The channel table's rows as blocks: selection with the mouse and the keys,
// the rows the channel commands ask for, and the reordering of rows by drag
// and drop.

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTableWidget>

#include "channels/channel_ops.h"
#include "control/document_controller.h"
#include "platform/channels/channel_command_runner.h"
#include "platform/channels/frm_comm_ch_info.h"
#include "platform/shell/texts.h"
#include "shell/session.h"

namespace zr {
namespace {

// The rows being dragged within the table.
const QString kRowsMime = QStringLiteral("application/x-zrcps-rows");

bool IsMemory(int n) { return n >= 1 && n <= kMemoryChannels; }

}  // namespace

std::vector<int> frmCommChInfo::selectedRows() const {
    if (block_.empty()) return {currentRow()};
    return {block_.begin(), block_.end()};
}

void frmCommChInfo::clearBlock() {
    block_.clear();
    anchor_ = currentRow();
}

void frmCommChInfo::showBlock() {
    if (block_.empty()) return;
    QItemSelection sel;
    QAbstractItemModel* m = MSFlexGrid1->model();
    for (int r : block_) sel.select(m->index(r - 1, 0), m->index(r - 1, MSFlexGrid1->columnCount() - 1));
    MSFlexGrid1->selectionModel()->select(sel, QItemSelectionModel::ClearAndSelect);
}

void frmCommChInfo::selectRows(int from, int to) {
    from = std::clamp(from, 1, kVfoChannel);
    to = std::clamp(to, 1, kVfoChannel);
    block_.clear();
    for (int r = std::min(from, to); r <= std::max(from, to); ++r) block_.insert(r);
    extending_ = true;
    MSFlexGrid1->setCurrentCell(to - 1, currentCol() < 0 ? 1 : currentCol());
    extending_ = false;
    anchor_ = from;
    showBlock();
    updateCommands();
}

bool frmCommChInfo::rowMouseEvent(QMouseEvent* e) {
    const QModelIndex at = MSFlexGrid1->indexAt(e->position().toPoint());
    const int row = at.isValid() ? at.row() + 1 : 0;
    switch (e->type()) {
    case QEvent::MouseButtonPress: {
        if (e->button() != Qt::LeftButton || row == 0) return false;
        if (e->modifiers() & Qt::ShiftModifier) {
            selectRows(block_.empty() ? currentRow() : anchor_, row);
            return true;
        }
        if (e->modifiers() & Qt::ControlModifier) {
            if (block_.empty()) block_.insert(currentRow());
            if (!block_.erase(row)) block_.insert(row);
            if (block_.empty()) block_.insert(row);
            extending_ = true;
            MSFlexGrid1->setCurrentCell(row - 1, at.column());
            extending_ = false;
            anchor_ = row;
            showBlock();
            updateCommands();
            return true;
        }
        if (at.column() != 0) return false;
        // A row label: selects its row, or keeps the block for a drag.
        dragStart_ = e->position().toPoint();
        if (block_.size() > 1 && block_.count(row)) return true;
        selectRows(row, row);
        return true;
    }
    case QEvent::MouseMove:
        if (dragStart_.isNull() || !(e->buttons() & Qt::LeftButton)) return false;
        if ((e->position().toPoint() - dragStart_).manhattanLength() < QApplication::startDragDistance()) return true;
        dragStart_ = {};
        startRowDrag();
        return true;
    case QEvent::MouseButtonRelease:
        if (dragStart_.isNull()) return false;
        dragStart_ = {};
        if (row > 0 && block_.size() > 1) selectRows(row, row);   // a click in the block, no drag
        return true;
    default:
        return false;
    }
}

bool frmCommChInfo::rowKeyEvent(QKeyEvent* k) {
    if (!(k->modifiers() & Qt::ShiftModifier)) return false;
    switch (k->key()) {
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown: break;
    default: return false;
    }
    const int from = block_.empty() ? currentRow() : anchor_;
    QKeyEvent plain(QEvent::KeyPress, k->key(), k->modifiers() & ~Qt::ShiftModifier);
    extending_ = true;
    QCoreApplication::sendEvent(MSFlexGrid1, &plain);
    extending_ = false;
    selectRows(from, currentRow());
    return true;
}

// --- drag and drop of rows -----------------------------------------------------

void frmCommChInfo::startRowDrag() {
    std::vector<int> rows = selectedRows();
    std::erase_if(rows, [](int r) { return !IsMemory(r); });
    if (rows.empty()) return;
    QStringList list;
    for (int r : rows) list << QString::number(r);
    auto* md = new QMimeData;
    md->setData(kRowsMime, list.join(QLatin1Char(',')).toLatin1());
    auto* drag = new QDrag(MSFlexGrid1);
    drag->setMimeData(md);
    drag->exec(Qt::MoveAction);
}

bool frmCommChInfo::rowDropEvent(QEvent* e) {
    auto* d = static_cast<QDropEvent*>(e);
    if (!d->mimeData() || !d->mimeData()->hasFormat(kRowsMime)) return false;   // files go to the main window
    if (e->type() != QEvent::Drop) {
        d->acceptProposedAction();
        return true;
    }
    std::vector<int> rows;
    for (const QByteArray& r : d->mimeData()->data(kRowsMime).split(',')) rows.push_back(r.toInt());
    const int at = MSFlexGrid1->rowAt(d->position().toPoint().y());
    // Below the last row: behind the last memory channel.
    dropRowsBefore(rows, at < 0 ? kMemoryChannels + 1 : std::min(at + 1, kMemoryChannels + 1));
    d->acceptProposedAction();
    return true;
}

void frmCommChInfo::dropRowsBefore(const std::vector<int>& rows, int before) {
    app_.SetSaveEditData();
    app_.BeginDocumentCommand();
    app_.channelCommands().moveRows(rows, before);   // selects the rows where they went
    ctl_.publishChanges();
    const std::vector<int> moved = selectedRows();
    app_.EndDocumentCommand(moved.size() > 1 ? Tx(s_, 33025).arg(moved.front()).arg(moved.back())
                                             : Tx(s_, 33024).arg(moved.front()));
    updateCommands();
}

void frmCommChInfo::showRequestedRows(int from, int to, RowRequest how) {
    switch (how) {
    case RowRequest::Select:
        selectRows(from, to);
        break;
    case RowRequest::SelectAndShow:
        selectRows(from, to);
        MSFlexGrid1->scrollToItem(MSFlexGrid1->item(to - 1, 0));
        MSFlexGrid1->scrollToItem(MSFlexGrid1->item(from - 1, 0));
        break;
    case RowRequest::MovedUp:
    case RowRequest::MovedDown:
        setCurrentRow(to);
        setTopRow(how == RowRequest::MovedUp ? TopRowAfterMoveUp(to, topRow(), visibleRows_)
                                             : TopRowAfterMoveDown(to, topRow(), visibleRows_));
        break;
    case RowRequest::EndBlock:
        clearBlock();
        break;
    }
    updateCommands();
}

}  // namespace zr
