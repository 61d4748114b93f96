#pragma once
// The two small dialogs of the channel commands: the paste/delete question
// with "do not ask again", and the editing habits.

#include <QDialog>

#include "channels/channel_commands.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace zr {

struct Session;

class FrmMsgConfirm : public QDialog {
    Q_OBJECT
public:
    FrmMsgConfirm(Session& s, ConfirmMode mode, QWidget* parent = nullptr);
    // Yes or No with the check box; not answered when closed otherwise.
    ConfirmAnswer answer() const { return answer_; }

    QLabel* Label1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* CommandYes = nullptr;
    QPushButton* CommandNo = nullptr;

private:
    void answered(bool yes);
    Session& s_;
    ConfirmMode mode_;
    ConfirmAnswer answer_;
};

class FrmHabits : public QDialog {
    Q_OBJECT
public:
    explicit FrmHabits(Session& s, QWidget* parent = nullptr);
    void accept() override;

    QCheckBox* Check1[5] = {};   // PasteNoAsk, PasteInsert, DeleteNoAsk, DeleteRemove, UseOffset
    QPushButton* CommandOK = nullptr;
    QPushButton* CommandCancel = nullptr;

private:
    Session& s_;
};

}  // namespace zr
