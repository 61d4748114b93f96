#pragma once
// The channel commands of the channel menu, the tool bar and the channel
// table's keys, run on the rows the table published through ChannelFocus:
// cut, copy, paste, insert, delete, move up and down on one channel or a
// block, the system clipboard, sort, compact, the channel plans, Select all
// and Edit selected. The changes go through the document controller, which
// tells every window; where the channels went is asked of the table through
// ChannelFocus::requestRows. The main window owns one for the whole run.

#include <vector>

#include "channels/channel_commands.h"
#include "platform/channels/channel_focus.h"

namespace zr {

class AppServices;

class ChannelCommandRunner : private ChannelCommandHost {
public:
    explicit ChannelCommandRunner(AppServices& app) : app_(app) {}

    // Enabled state of cut .. move down for a selection of the table.
    ChannelCommandStates states(const ChannelSelection& selection) const;
    // Runs command kCmdCut .. kCmdLast (not kCmdHabits) on the published
    // selection; nothing without a channel table or on its header row.
    void run(int command);
    // Moves the channels of `rows` in front of row `before` and selects
    // them where they went (a drop of rows).
    void moveRows(const std::vector<int>& rows, int before);

private:
    ConfirmAnswer confirm(ConfirmMode mode) override;
    bool allowLosingLastChannel() override;
    bool runOnRows(int command, const std::vector<int>& rows);
    void copyRows(const std::vector<int>& rows);
    void pasteAt(int n);
    void deleteRows(const std::vector<int>& rows);

    AppServices& app_;
};

}  // namespace zr
