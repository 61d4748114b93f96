#include "platform/channels/channel_dialogs.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "control/settings_notice.h"
#include "platform/shell/texts.h"
#include "shell/session.h"
#include "shell/settings_files.h"

namespace zr {

FrmMsgConfirm::FrmMsgConfirm(Session& s, ConfirmMode mode, QWidget* parent)
    : QDialog(parent), s_(s), mode_(mode) {
    setObjectName(QStringLiteral("FrmMsgConfirm"));
    setWindowTitle(Tx(s_, 25000));
    setModal(true);
    Label1 = new QLabel(Tx(s_, mode == ConfirmMode::Paste ? 25001 : 25002), this);
    Label1->setWordWrap(true);
    Label1->setMinimumWidth(300);
    Check1 = new QCheckBox(Tx(s_, 25003), this);
    Check1->setChecked(false);
    CommandYes = new QPushButton(Tx(s_, 25004), this);
    CommandNo = new QPushButton(Tx(s_, 25005), this);
    CommandYes->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandYes);
    buttons->addWidget(CommandNo);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);   // the whole question, in every language
    layout->addWidget(Label1);
    layout->addWidget(Check1);
    layout->addLayout(buttons);
    connect(CommandYes, &QPushButton::clicked, this, [this] { answered(true); });
    connect(CommandNo, &QPushButton::clicked, this, [this] { answered(false); });
}

void FrmMsgConfirm::answered(bool yes) {
    answer_ = ConfirmAnswer{true, yes, Check1->isChecked()};
    done(yes ? QDialog::Accepted : QDialog::Rejected);
}

FrmHabits::FrmHabits(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
    setObjectName(QStringLiteral("FrmHabits"));
    setWindowTitle(Tx(s_, 25006));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    const EditingHabits& h = s_.settings.habits;
    const bool values[5] = {h.PasteNoAsk, h.PasteInsert, h.DeleteNoAsk, h.DeleteRemove, h.UseOffset};
    for (int i = 0; i < 5; ++i) {
        Check1[i] = new QCheckBox(Tx(s_, 25007 + i), this);
        Check1[i]->setChecked(values[i]);
        layout->addWidget(Check1[i]);
    }
    Check1[4]->hide();  // UseOffset keeps the value read from Habit.ini
    CommandOK = new QPushButton(Tx(s_, 25004), this);
    CommandCancel = new QPushButton(Tx(s_, 25005), this);
    CommandOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandOK);
    buttons->addWidget(CommandCancel);
    layout->addLayout(buttons);
    connect(CommandOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmHabits::accept() {
    EditingHabits& h = s_.settings.habits;
    h.PasteNoAsk = Check1[0]->isChecked();
    h.PasteInsert = Check1[1]->isChecked();
    h.DeleteNoAsk = Check1[2]->isChecked();
    h.DeleteRemove = Check1[3]->isChecked();
    h.UseOffset = Check1[4]->isChecked();
    TellSettingNotStored(s_, SaveHabits(s_));
    QDialog::accept();
}

}  // namespace zr
