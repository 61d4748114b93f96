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

#include <QObject>

namespace zr {

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

signals:
    void moved(int channelNumber, QObject* by);
    void editWindowRequested();

private:
    int channel_ = 1;
};

}  // namespace zr
