#pragma once
// The channel commands of the channel table: a one-channel clipboard, insert,
// delete, move up and move down, the confirmation that paste and delete may
// ask, and the editing habits its answers change (the caller keeps them in
// "Habit.ini").

#include <string>
#include <vector>

#include "data/records.h"
#include "shell/session.h"
#include "shell/settings_files.h"  // Habit.ini

namespace zr {

// Channel-edit command numbers shared with the main window.
enum ChannelCommand {
    kCmdCut = 1,
    kCmdCopy = 2,
    kCmdPaste = 3,
    kCmdInsert = 4,
    kCmdDelete = 5,
    kCmdMoveUp = 6,
    kCmdMoveDown = 7,
    kCmdHabits = 8,
    // On the selected rows and the whole list.
    kCmdSortRx = 9,
    kCmdSortName = 10,
    kCmdCompact = 11,
    kCmdSelectAll = 12,
    kCmdEditSelected = 13,
    // Fill from plan: kCmdPlan + the plan's position in ChannelPlans().
    kCmdPlan = 20,
    kCmdLast = 29,
};

struct ChannelCommandStates {
    bool cut = false;
    bool copy = false;
    bool paste = false;
    bool insert = false;
    bool del = false;
    bool moveUp = false;
    bool moveDown = false;

    bool enabled(int command) const;
    bool operator==(const ChannelCommandStates&) const = default;
};

// Enabled state of the seven channel commands for row n of the table.
ChannelCommandStates UpdateChannelCommands(const Session& s, int n);

enum class ConfirmMode { Paste, Delete };

// What the confirmation dialog returned: answered is false when it was closed
// without Yes or No.
struct ConfirmAnswer {
    bool answered = false;
    bool yes = false;
    bool dontAskAgain = false;
};

// Yes/No sets PasteInsert or DeleteRemove, the check box PasteNoAsk or
// DeleteNoAsk; returns true when the user answered.
bool ApplyConfirmAnswer(EditingHabits& h, ConfirmMode mode, const ConfirmAnswer& a);

// What the commands need from around them: the paste and delete
// confirmation with its "do not ask again" box, and the question before an
// insert pushes channel 128 off the end of the list (the program asks text
// 9082, OK/Cancel; true for OK).
class ChannelCommandHost {
public:
    virtual ~ChannelCommandHost() = default;
    virtual ConfirmAnswer confirm(ConfirmMode mode) = 0;
    virtual bool allowLosingLastChannel() = 0;
};

// The commands on channel n (1..129). They do nothing where they cannot act;
// what they change is noted in the document's changes.
void CopyChannel(Session& s, int n);
void CutChannel(Session& s, ChannelCommandHost& host, int n);
void PasteChannel(Session& s, ChannelCommandHost& host, int n);
// Insert moves channels n..127 down by one and empties n. When channel 128
// holds a channel, which would be lost, the host is asked first; false when
// nothing was inserted (not allowed, or n not a memory channel), in which
// case a Paste that inserts does nothing either.
bool InsertChannel(Session& s, ChannelCommandHost& host, int n);
// Copies the existing channels among `rows` into the clipboard as one
// block (the first of them also as the one-channel clipboard); returns how
// many were copied.
int CopyChannelBlock(Session& s, const std::vector<int>& rows);
// Puts the clipboard's block at channel n onwards, keeping the distances
// between the channels and overwriting what stands there; channels that
// would land beyond 128 are left out. Returns the channels written.
std::vector<int> PasteChannelBlock(Session& s, int n);
void DeleteChannel(Session& s, ChannelCommandHost& host, int n);
// Both return the row the channel went to (or n when nothing moved).
int MoveChannelUp(Session& s, int n);
int MoveChannelDown(Session& s, int n);

// Rows that the table keeps visible after a move: V = height / row height
// minus 4, rounded half to even.
int VisibleRowsFor(double tableHeight, double rowHeight);
// The new top visible row after the moved channel went to row t.
int TopRowAfterMoveUp(int t, int top, int visible);
int TopRowAfterMoveDown(int t, int top, int visible);


}  // namespace zr
