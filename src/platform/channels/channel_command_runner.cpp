#include "platform/channels/channel_command_runner.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "channels/channel_ops.h"
#include "channels/channel_order.h"
#include "channels/channel_plans.h"
#include "control/document_controller.h"
#include "files/channel_csv.h"
#include "platform/channels/channel_dialogs.h"
#include "platform/channels/frm_edit_selected.h"
#include "platform/shell/app_services.h"
#include "platform/shell/texts.h"
#include "shell/language.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace zr {
namespace {

// The clipboard format that marks channels copied in this run: Paste then
// takes the copied records whole, with the items the text does not carry.
const QString kChannelsMime = QStringLiteral("application/x-zrcps-channels");

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

ChannelCommandStates ChannelCommandRunner::states(const ChannelSelection& sel) const {
    const Session& s = app_.session();
    if (sel.current < 0 || sel.rows.empty()) return {};
    const bool canPaste = s.clipboard.hasChannel || OwnChannelsOnClipboard() || !ChannelTextOnClipboard().isEmpty();
    if (sel.rows.size() == 1) {
        ChannelCommandStates c = UpdateChannelCommands(s, sel.current);
        c.paste = canPaste;
        return c;
    }
    bool any = false, allMemory = true;
    for (int r : sel.rows) {
        any = any || ChannelHasFrequency(s, r);
        allMemory = allMemory && IsMemory(r);
    }
    ChannelCommandStates c;
    c.copy = any;
    c.cut = any && allMemory;
    c.paste = canPaste && IsMemory(sel.rows.front());
    c.del = allMemory;
    c.moveUp = allMemory && sel.rows.front() > 1;
    c.moveDown = allMemory && sel.rows.back() < kMemoryChannels;
    return c;
}

void ChannelCommandRunner::run(int command) {
    const ChannelSelection sel = app_.channelFocus().selection();
    const int n = sel.current;
    if (n < 1 || n > kVfoChannel || sel.rows.empty()) return;
    DocumentController& ctl = app_.controller();
    const EditingHabits habits = app_.session().settings.habits;
    if (runOnRows(command, sel.rows)) {
        ctl.keepHabitsChangedSince(habits);
        ctl.revalidateChannelRefs();   // and the windows are told what changed
        return;
    }
    const int t = ctl.runChannelCommand(command, n, *this);
    if (t != n) app_.channelFocus().requestRows(t, t, command == kCmdMoveUp ? RowRequest::MovedUp : RowRequest::MovedDown);
}

bool ChannelCommandRunner::runOnRows(int command, const std::vector<int>& rows) {
    Session& s = app_.session();
    const bool several = rows.size() > 1;
    const ChannelCommandStates can = states(app_.channelFocus().selection());
    if (command >= kCmdPlan && command <= kCmdLast) {
        const auto& plans = ChannelPlans();
        const std::size_t i = std::size_t(command - kCmdPlan);
        if (i >= plans.size()) return true;
        const PlanFill f = FillFromPlan(s, plans[i], several ? rows : std::vector<int>{});
        app_.ShowStatusMessage(f.channels.empty() ? Tx(s, 33015)
                                                  : Tx(s, 33014).arg(f.channels.size()).arg(FromText(plans[i].name)));
        return true;
    }
    switch (command) {
    case kCmdSelectAll:
        app_.channelFocus().requestRows(1, kMemoryChannels, RowRequest::Select);
        return true;
    case kCmdEditSelected: {
        FrmEditSelected dlg(s, rows, app_.mainWidget());
        if (dlg.exec() == QDialog::Accepted) app_.ShowStatusMessage(Tx(s, 33032).arg(dlg.changed()));
        return true;
    }
    case kCmdSortRx:
    case kCmdSortName:
    case kCmdCompact: {
        const ChannelOrder order = command == kCmdSortRx     ? ChannelOrder::RxFrequency
                                   : command == kCmdSortName ? ChannelOrder::Name
                                                             : ChannelOrder::Compact;
        const bool changed = ReorderChannels(s, order);
        app_.channelFocus().requestRows(0, 0, RowRequest::EndBlock);
        app_.ShowStatusMessage(changed ? Tx(s, 33027).arg(CountExportedChannels(s)) : Tx(s, 33020));
        return true;
    }
    case kCmdCopy:
        if (can.copy) copyRows(rows);
        return true;
    case kCmdCut:
        if (!can.cut) return true;
        copyRows(rows);
        deleteRows(rows);
        return true;
    case kCmdPaste:
        if (can.paste) pasteAt(rows.front());
        return true;
    case kCmdDelete:
        if (!several) return false;
        deleteRows(rows);
        return true;
    case kCmdMoveUp:
        if (!several) return false;
        if (can.moveUp) moveRows(rows, rows.front() - 1);
        return true;
    case kCmdMoveDown:
        if (!several) return false;
        if (can.moveDown) moveRows(rows, rows.back() + 2);
        return true;
    default:
        return false;
    }
}

void ChannelCommandRunner::copyRows(const std::vector<int>& rows) {
    Session& s = app_.session();
    const int n = CopyChannelBlock(s, rows);
    if (n == 0) return;
    static int copies = 0;
    LastCopyMark() = QByteArray::number(++copies) + ':' + QByteArray::number(QCoreApplication::applicationPid());
    auto* md = new QMimeData;
    md->setText(FromText(ExportChannelsText(s, rows, '\t')));
    md->setData(kChannelsMime, LastCopyMark());
    QApplication::clipboard()->setMimeData(md);
    app_.ShowStatusMessage(Tx(s, 33021).arg(n));
}

void ChannelCommandRunner::pasteAt(int n) {
    Session& s = app_.session();
    if (!IsMemory(n)) return;
    if (OwnChannelsOnClipboard() && s.clipboard.block.size() > 1) {
        const auto written = PasteChannelBlock(s, n);
        app_.ShowStatusMessage(Tx(s, 33022).arg(written.size()));
        return;
    }
    const QString text = OwnChannelsOnClipboard() ? QString() : ChannelTextOnClipboard();
    if (text.isEmpty()) {
        PasteChannel(s, *this, n);   // the one channel, with the habits' question
        return;
    }
    const CsvImportReport rep = ImportChannelCsv(s, ToText(text), n);
    if (s.prompter && (!rep.readable || !rep.notes.empty()))
        s.prompter->tell(FormatImportReport(rep), rep.readable ? Icon::Warning : Icon::Critical, ToText(Tx(s, 33033)));
    if (rep.readable) app_.ShowStatusMessage(Tx(s, 33022).arg(rep.imported));
}

void ChannelCommandRunner::deleteRows(const std::vector<int>& rows) {
    Session& s = app_.session();
    if (rows.empty()) return;
    // One question for the block; its answer decides for every row.
    DeleteChannel(s, *this, rows.front());
    if (!s.settings.habits.DeleteRemove) return;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (!IsMemory(rows[i])) continue;
        RemoveChannel(s, rows[i]);
        s.doc.changes.channel(rows[i]);
    }
}

void ChannelCommandRunner::moveRows(const std::vector<int>& rows, int before) {
    const std::vector<int> moved = MoveChannelsBefore(app_.session(), rows, before);
    if (moved.empty()) return;
    app_.channelFocus().requestRows(moved.front(), moved.back(), RowRequest::SelectAndShow);
}

ConfirmAnswer ChannelCommandRunner::confirm(ConfirmMode mode) {
    FrmMsgConfirm dlg(app_.session(), mode, app_.mainWidget());
    dlg.exec();
    return dlg.answer();
}

bool ChannelCommandRunner::allowLosingLastChannel() {
    Session& s = app_.session();
    constexpr int kTextInsertLosesLast = 9082;
    return s.prompter &&
           s.prompter->ask(Question{LanguageText(s, kTextInsertLosesLast), {}, Buttons::OkCancel, Icon::Warning}) ==
               Answer::Ok;
}

}  // namespace zr
