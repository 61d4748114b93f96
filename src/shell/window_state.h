#pragma once
// Which windows are open, as the rules of the core need to know it, and the
// small interfaces through which the core asks open windows to refresh.
//
// The windows set the flags when they open and clear them when they close,
// and register themselves in the pointers. The channel list operations
// (channels/channel_ops.h) use them after every change of a channel:
//   - channel table open:       views->reShowGrid(channel number)
//   - channel edit window open: views->SetGridEditData(rIsGridChange)
//   - optional-features page open: optFeatPage->ReshowByCh() instead of
//     correcting the settings' channel references directly.

namespace zr {

class ChannelViews {
public:
    virtual ~ChannelViews() = default;
    // Redraws the table row of the channel (1..129).
    virtual void reShowGrid(int channelNumber) = 0;
    // The edit window shows the table's edit row again (true) or re-reads
    // its current channel (false).
    virtual void SetGridEditData(bool rIsGridChange) = 0;
    // A new document is being built: drop any editing state of the table.
    virtual void resetForNewDocument() {}
};

class OptFeatPageHook {
public:
    virtual ~OptFeatPageHook() = default;
    virtual void ReshowByCh() = 0;
};

struct WindowState {
    bool channelTableOpen = false;
    bool channelEditOpen = false;
    bool optFeatOpen = false;
    // The channel table's remembered current row and the edit window's row
    // (channel numbers 1..129).
    int tableCurrentRow = 1;
    int tableEditRow = 1;
    // The table's two in-place editing flags (cell editor shown, entry
    // being skipped); cleared by a new document.
    bool tableEditorShown = false;
    bool tableSkipEntry = false;

    ChannelViews* views = nullptr;          // set while a channel window exists
    OptFeatPageHook* optFeatPage = nullptr; // set while the page exists
};

}  // namespace zr
