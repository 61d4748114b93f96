#pragma once
// The channel the two channel windows work on together: the channel table's
// edit row. Neither window knows the other; both talk to this object, which
// the main window owns for the whole run.
//
// - The table moves it when a cell is entered; the channel edit window, when
//   open, follows and shows that channel.
// - The edit window moves it when the user picks another channel; the table
//   follows (its open in-place editor closes, so that a later choice in it
//   cannot land on another channel).
// - The table asks for the edit window with editWindowRequested(); the main
//   window opens it.
// - The table publishes the rows it has selected (publishSelection); the
//   channel commands run on them and ask the table, through rowsRequested(),
//   to select the rows where the channels went.

#include <vector>

#include <QObject>

namespace zr {

// The rows of the channel table the channel commands act on.
struct ChannelSelection {
    int current = -1;        // the current row: 0 the header, 1..129; -1 no table
    std::vector<int> rows;   // the block in ascending order, or the current row alone
    bool operator==(const ChannelSelection&) const = default;
};

// What the table does with rows a command asks for.
enum class RowRequest {
    Select,          // select from..to as the block
    SelectAndShow,   // the same, scrolled so that the rows show
    MovedUp,         // one channel moved up to `to`: the current row follows, the list scrolls
    MovedDown,       // the same, moved down
    EndBlock,        // no block any more: the current row alone
};

class ChannelFocus : public QObject {
    Q_OBJECT
public:
    explicit ChannelFocus(QObject* parent = nullptr) : QObject(parent) {}

    // The channel number 1..129.
    int channel() const { return channel_; }
    // Moves the focus; `by` is the window that moved it (told to the others
    // through moved(), and nothing when the channel stays).
    void moveTo(int channelNumber, QObject* by) {
        if (channelNumber < 1 || channelNumber == channel_) return;
        channel_ = channelNumber;
        emit moved(channel_, by);
    }
    void requestEditWindow() { emit editWindowRequested(); }

    // The table's selection, published whenever it or the channels under it
    // change; the main window re-checks the commands then.
    const ChannelSelection& selection() const { return selection_; }
    void publishSelection(ChannelSelection selection, const QObject* by) {
        selection_ = std::move(selection);
        selectionBy_ = by;
        emit selectionChanged();
    }
    // The table `by` goes away: its selection no longer counts (a table
    // opened meanwhile keeps its own).
    void withdrawSelection(const QObject* by) {
        if (selectionBy_ != by) return;
        publishSelection({}, nullptr);
    }
    void requestRows(int from, int to, RowRequest how) { emit rowsRequested(from, to, how); }

signals:
    void moved(int channelNumber, QObject* by);
    void editWindowRequested();
    void selectionChanged();
    void rowsRequested(int from, int to, zr::RowRequest how);

private:
    int channel_ = 1;
    ChannelSelection selection_;
    const QObject* selectionBy_ = nullptr;
};

}  // namespace zr
