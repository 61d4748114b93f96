// The channel table's rows as blocks: selection with the mouse and the keys,
// the channel commands on the selected rows, the system clipboard and the
// reordering of rows by drag and drop.

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QDropEvent>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTableWidget>

#include "channels/channel_ops.h"
#include "channels/channel_order.h"
#include "channels/channel_plans.h"
#include "control/document_controller.h"
#include "files/channel_csv.h"
#include "platform/channels/frm_comm_ch_info.h"
#include "platform/channels/frm_edit_selected.h"
#include "platform/shell/texts.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace zr {
namespace {

// The clipboard format that marks channels copied in this run: Paste then
// takes the copied records whole, with the items the text does not carry.
const QString kChannelsMime = QStringLiteral("application/x-zrcps-channels");
// The rows being dragged within the table.
const QString kRowsMime = QStringLiteral("application/x-zrcps-rows");

QByteArray& LastCopyMark() {
    static QByteArray mark;
    return mark;
}

bool OwnChannelsOnClipboard() {
    const QMimeData* md = QApplication::clipboard()->mimeData();
    return md && md->hasFormat(kChannelsMime) && md->data(kChannelsMime) == LastCopyMark() &&
           !LastCopyMark().isEmpty();
}

// Text with the columns a channel list needs, from this program, a
// spreadsheet or a CSV file.
QString ChannelTextOnClipboard() {
    const QMimeData* md = QApplication::clipboard()->mimeData();
    if (!md || !md->hasText()) return {};
    const QString text = md->text();
    const QString first = text.left(text.indexOf(QLatin1Char('\n'))).toLower();
    return first.contains(QStringLiteral("location")) && first.contains(QStringLiteral("frequency")) ? text : QString();
}

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
    moveRows(rows, before);
    ctl_.publishChanges();
    const std::vector<int> moved = selectedRows();
    app_.EndDocumentCommand(moved.size() > 1 ? Tx(s_, 33025).arg(moved.front()).arg(moved.back())
                                             : Tx(s_, 33024).arg(moved.front()));
    updateCommands();
}

// --- commands on blocks -----------------------------------------------------------

ChannelCommandStates frmCommChInfo::blockCommandStates() const {
    const std::vector<int> rows = selectedRows();
    const bool canPaste = s_.clipboard.hasChannel || OwnChannelsOnClipboard() || !ChannelTextOnClipboard().isEmpty();
    if (rows.size() <= 1) {
        ChannelCommandStates c = UpdateChannelCommands(s_, currentRow());
        c.paste = canPaste;
        return c;
    }
    bool any = false, allMemory = true;
    for (int r : rows) {
        any = any || ChannelHasFrequency(s_, r);
        allMemory = allMemory && IsMemory(r);
    }
    ChannelCommandStates c;
    c.copy = any;
    c.cut = any && allMemory;
    c.paste = canPaste && IsMemory(rows.front());
    c.del = allMemory;
    c.moveUp = allMemory && rows.front() > 1;
    c.moveDown = allMemory && rows.back() < kMemoryChannels;
    return c;
}

void frmCommChInfo::copyRows(const std::vector<int>& rows) {
    const int n = CopyChannelBlock(s_, rows);
    if (n == 0) return;
    static int copies = 0;
    LastCopyMark() = QByteArray::number(++copies) + ':' + QByteArray::number(QCoreApplication::applicationPid());
    auto* md = new QMimeData;
    md->setText(FromText(ExportChannelsText(s_, rows, '\t')));
    md->setData(kChannelsMime, LastCopyMark());
    QApplication::clipboard()->setMimeData(md);
    app_.ShowStatusMessage(Tx(s_, 33021).arg(n));
}

void frmCommChInfo::pasteAt(int n) {
    if (!IsMemory(n)) return;
    if (OwnChannelsOnClipboard() && s_.clipboard.block.size() > 1) {
        const auto written = PasteChannelBlock(s_, n);
        app_.ShowStatusMessage(Tx(s_, 33022).arg(written.size()));
        return;
    }
    const QString text = OwnChannelsOnClipboard() ? QString() : ChannelTextOnClipboard();
    if (text.isEmpty()) {
        PasteChannel(s_, *this, n);   // the one channel, with the habits' question
        return;
    }
    const CsvImportReport rep = ImportChannelCsv(s_, ToText(text), n);
    if (s_.prompter && (!rep.readable || !rep.notes.empty()))
        s_.prompter->tell(FormatImportReport(rep), rep.readable ? Icon::Warning : Icon::Critical, ToText(Tx(s_, 33033)));
    if (rep.readable) app_.ShowStatusMessage(Tx(s_, 33022).arg(rep.imported));
}

void frmCommChInfo::deleteRows(const std::vector<int>& rows) {
    if (rows.empty()) return;
    // One question for the block; its answer decides for every row.
    DeleteChannel(s_, *this, rows.front());
    if (!s_.settings.habits.DeleteRemove) return;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (!IsMemory(rows[i])) continue;
        RemoveChannel(s_, rows[i]);
        s_.doc.changes.channel(rows[i]);
    }
}

void frmCommChInfo::moveRows(const std::vector<int>& rows, int before) {
    const std::vector<int> moved = MoveChannelsBefore(s_, rows, before);
    if (moved.empty()) return;
    selectRows(moved.front(), moved.back());
    MSFlexGrid1->scrollToItem(MSFlexGrid1->item(moved.back() - 1, 0));
    MSFlexGrid1->scrollToItem(MSFlexGrid1->item(moved.front() - 1, 0));
}

bool frmCommChInfo::runBlockCommand(int command) {
    const std::vector<int> rows = selectedRows();
    const bool several = rows.size() > 1;
    if (command >= kCmdPlan && command <= kCmdLast) {
        const auto& plans = ChannelPlans();
        const std::size_t i = std::size_t(command - kCmdPlan);
        if (i >= plans.size()) return true;
        const PlanFill f = FillFromPlan(s_, plans[i], several ? rows : std::vector<int>{});
        app_.ShowStatusMessage(f.channels.empty() ? Tx(s_, 33015)
                                                  : Tx(s_, 33014).arg(f.channels.size()).arg(FromText(plans[i].name)));
        return true;
    }
    switch (command) {
    case kCmdSelectAll:
        selectRows(1, kMemoryChannels);
        return true;
    case kCmdEditSelected: {
        FrmEditSelected dlg(s_, rows, app_.mainWidget());
        if (dlg.exec() == QDialog::Accepted) app_.ShowStatusMessage(Tx(s_, 33032).arg(dlg.changed()));
        return true;
    }
    case kCmdSortRx:
    case kCmdSortName:
    case kCmdCompact: {
        const ChannelOrder order = command == kCmdSortRx     ? ChannelOrder::RxFrequency
                                   : command == kCmdSortName ? ChannelOrder::Name
                                                             : ChannelOrder::Compact;
        const bool changed = ReorderChannels(s_, order);
        clearBlock();
        app_.ShowStatusMessage(changed ? Tx(s_, 33027).arg(CountExportedChannels(s_)) : Tx(s_, 33020));
        return true;
    }
    case kCmdCopy:
        if (blockCommandStates().copy) copyRows(rows);
        return true;
    case kCmdCut:
        if (!blockCommandStates().cut) return true;
        copyRows(rows);
        deleteRows(rows);
        return true;
    case kCmdPaste:
        if (blockCommandStates().paste) pasteAt(rows.front());
        return true;
    case kCmdDelete:
        if (!several) return false;
        deleteRows(rows);
        return true;
    case kCmdMoveUp:
        if (!several) return false;
        if (blockCommandStates().moveUp) moveRows(rows, rows.front() - 1);
        return true;
    case kCmdMoveDown:
        if (!several) return false;
        if (blockCommandStates().moveDown) moveRows(rows, rows.back() + 2);
        return true;
    default:
        return false;
    }
}

}  // namespace zr
