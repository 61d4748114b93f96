#include "platform/channels/frm_ch_batch.h"

#include "control/document_controller.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "channels/channel_view.h"
#include "channels/grid_edit.h"
#include "control/settings_notice.h"
#include "platform/channels/frm_ch_info_edit.h"
#include "platform/channels/frm_comm_ch_info.h"
#include "platform/shell/app_services.h"
#include "platform/shell/texts.h"
#include "shell/settings_files.h"

namespace zr {

namespace {

QComboBox* directionBox(QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->addItems({QString(), QString()});
    return c;
}

QString label(const Session& s, int n) { return Tx(s, n); }

}  // namespace

QLineEdit* FrmCHBatch::textField(int maxLength, int (*filter)(int)) {
    auto* e = new QLineEdit(this);
    e->setMaxLength(maxLength);
    e->setContextMenuPolicy(Qt::NoContextMenu);
    e->setAcceptDrops(false);
    e->installEventFilter(this);
    filters_ << qMakePair(e, filter);
    return e;
}

FrmCHBatch::FrmCHBatch(AppServices& app, QWidget* parent)
    : QDialog(parent), app_(app), s_(app.session()) {
    setObjectName(QStringLiteral("FrmCHBatch"));
    setModal(true);
    InitShowList();
    ChangShowByLanguage();
    SetShowData();
}

void FrmCHBatch::InitShowList() {
    auto* layout = new QVBoxLayout(this);
    // Range
    auto* range = new QHBoxLayout;
    OptionAll = new QRadioButton(this);
    OptionRange = new QRadioButton(this);
    TextFrom = textField(3, FilterDigitChar);
    TextTo = textField(3, FilterDigitChar);
    TextFrom->setFixedWidth(40);
    TextTo->setFixedWidth(40);
    CheckClear = new QCheckBox(this);
    auto* rangeLabel = new QLabel(this);
    rangeLabel->setObjectName(QStringLiteral("LabelRange"));
    auto* toLabel = new QLabel(this);
    toLabel->setObjectName(QStringLiteral("LabelTo"));
    range->addWidget(rangeLabel);
    range->addWidget(OptionAll);
    range->addWidget(OptionRange);
    range->addWidget(TextFrom);
    range->addWidget(toLabel);
    range->addWidget(TextTo);
    range->addWidget(CheckClear);
    range->addStretch();
    layout->addLayout(range);

    Panels = new QStackedWidget(this);
    layout->addWidget(Panels, 1);

    // Edit panel
    auto* edit = new QWidget(Panels);
    auto* grid = new QGridLayout(edit);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < kBatchItems; ++i) {
        ItemGroup[i] = new QGroupBox(edit);
        ItemGroup[i]->setObjectName(QStringLiteral("ItemGroup%1").arg(i));
        ItemGroup[i]->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
        if (i >= 6) ItemGroup[i]->setFlat(true);
    }
    auto form = [](QGroupBox* g) {
        auto* f = new QGridLayout(g);
        f->setContentsMargins(6, 4, 6, 4);
        f->setVerticalSpacing(3);
        return f;
    };
    auto addRow = [this](QGridLayout* f, int row, int labelText, QWidget* w) {
        auto* l = new QLabel(this);
        l->setProperty("text_no", labelText);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        f->addWidget(l, row, 0);
        f->addWidget(w, row, 1);
    };
    {  // item 0
        QGridLayout* f = form(ItemGroup[0]);
        TextRxStart = textField(9, FilterDecimalChar);
        TextRxStep = textField(6, FilterDecimalChar);
        ComboRxDir = directionBox(this);
        addRow(f, 0, 26050, TextRxStart);
        addRow(f, 1, 26051, TextRxStep);
        addRow(f, 2, 0, ComboRxDir);
    }
    {  // item 1
        QGridLayout* f = form(ItemGroup[1]);
        ComboTxMode = new QComboBox(this);
        ComboTxMode->addItems({QString(), QString(), QString()});
        TextOffset = textField(8, FilterDecimalChar);
        ComboOffsetDir = directionBox(this);
        TextTxStart = textField(9, FilterDecimalChar);
        TextTxStep = textField(6, FilterDecimalChar);
        ComboTxDir = directionBox(this);
        addRow(f, 0, 0, ComboTxMode);
        addRow(f, 1, 26053, TextOffset);
        addRow(f, 2, 0, ComboOffsetDir);
        addRow(f, 3, 26050, TextTxStart);
        addRow(f, 4, 26054, TextTxStep);
        addRow(f, 5, 0, ComboTxDir);
    }
    for (int t = 0; t < 2; ++t) {  // items 2 and 3
        QGridLayout* f = form(ItemGroup[2 + t]);
        int row = 0;
        if (t == 1) {
            CheckTxToneDefault = new QCheckBox(this);
            f->addWidget(CheckTxToneDefault, row++, 1);
        }
        CheckToneRandom[t] = new QCheckBox(this);
        ComboToneStart[t] = new QComboBox(this);
        ComboToneStart[t]->setMaxVisibleItems(15);
        TextToneInterval[t] = textField(2, FilterDigitChar);
        ComboToneDir[t] = directionBox(this);
        f->addWidget(CheckToneRandom[t], row++, 1);
        addRow(f, row++, 26055, ComboToneStart[t]);
        addRow(f, row++, 26056, TextToneInterval[t]);
        addRow(f, row++, 0, ComboToneDir[t]);
    }
    {  // item 4
        QGridLayout* f = form(ItemGroup[4]);
        ComboNameMode = new QComboBox(this);
        ComboNameMode->addItems({QString(), QString()});
        TextName = textField(6, FilterAlnumChar);
        TextNameStart = textField(6, FilterDigitChar);
        TextNameStep = textField(6, FilterDigitChar);
        ComboNameDir = directionBox(this);
        addRow(f, 0, 0, ComboNameMode);
        addRow(f, 1, 26004 - 26004, TextName);
        addRow(f, 2, 26058, TextNameStart);
        addRow(f, 3, 26059, TextNameStep);
        addRow(f, 4, 0, ComboNameDir);
    }
    {  // item 5
        QGridLayout* f = form(ItemGroup[5]);
        const int idLength = app_.controller().document().stored.Dtmf.DtmfSignalling != 0 ? 3 : 10;
        TextIdStart = textField(idLength, FilterDigitChar);
        TextIdInterval = textField(10, FilterDigitChar);
        ComboIdDir = directionBox(this);
        addRow(f, 0, 26060, TextIdStart);
        addRow(f, 1, 26056, TextIdInterval);
        addRow(f, 2, 0, ComboIdDir);
    }
    for (int i = 0; i < 8; ++i) {  // items 6..13
        QGridLayout* f = form(ItemGroup[6 + i]);
        ComboList[i] = new QComboBox(this);
        addRow(f, 0, 26016 + i, ComboList[i]);
    }
    for (int i = 0; i < 7; ++i) {  // items 14..20
        QGridLayout* f = form(ItemGroup[14 + i]);
        CheckValue[i] = new QCheckBox(this);
        f->addWidget(CheckValue[i], 0, 0);
    }
    // Three columns: frequencies and tones, names and IDs, the fixed values.
    grid->addWidget(ItemGroup[0], 0, 0, Qt::AlignTop);
    grid->addWidget(ItemGroup[1], 1, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(ItemGroup[2], 0, 1, Qt::AlignTop);
    grid->addWidget(ItemGroup[3], 1, 1, 3, 1, Qt::AlignTop);
    grid->addWidget(ItemGroup[4], 0, 2, Qt::AlignTop);
    grid->addWidget(ItemGroup[5], 1, 2, Qt::AlignTop);
    auto* lists = new QVBoxLayout;
    for (int i = 6; i <= 13; ++i) lists->addWidget(ItemGroup[i]);
    lists->addStretch();
    grid->addLayout(lists, 0, 3, 4, 1);
    auto* checks = new QVBoxLayout;
    for (int i = 14; i <= 20; ++i) checks->addWidget(ItemGroup[i]);
    checks->addStretch();
    grid->addLayout(checks, 2, 2, 2, 1);
    grid->setRowStretch(3, 1);
    Panels->addWidget(edit);

    // Item selection panel
    auto* select = new QWidget(Panels);
    auto* sel = new QGridLayout(select);
    for (int i = 0; i < kBatchItems; ++i) {
        CheckItem[i] = new QCheckBox(select);
        sel->addWidget(CheckItem[i], i % 7, i / 7);
        connect(CheckItem[i], &QCheckBox::toggled, this, [this, i](bool on) { selectionChanged(i, on); });
    }
    CommandAll = new QPushButton(select);
    CommandNone = new QPushButton(select);
    auto* selButtons = new QHBoxLayout;
    selButtons->addWidget(CommandAll);
    selButtons->addWidget(CommandNone);
    selButtons->addStretch();
    sel->addLayout(selButtons, 7, 0, 1, 3);
    sel->setRowStretch(8, 1);
    Panels->addWidget(select);

    // Buttons
    CommandSwitch = new QPushButton(this);
    CommandApply = new QPushButton(this);
    CommandClose = new QPushButton(this);
    // Until an item is chosen, a hint says where to start.
    LabelHint = new QLabel(this);
    LabelHint->setObjectName(QStringLiteral("LabelHint"));
    LabelHint->setWordWrap(true);
    LabelHint->setProperty("text_no", 33029);
    layout->addWidget(LabelHint);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CommandSwitch);
    buttons->addStretch();
    buttons->addWidget(CommandApply);
    buttons->addWidget(CommandClose);
    layout->addLayout(buttons);

    connect(CommandAll, &QPushButton::clicked, this, [this] {
        for (auto* c : CheckItem) c->setChecked(true);
    });
    connect(CommandNone, &QPushButton::clicked, this, [this] {
        for (auto* c : CheckItem) c->setChecked(false);
    });
    connect(CommandSwitch, &QPushButton::clicked, this, &FrmCHBatch::switchPanel);
    connect(CommandApply, &QPushButton::clicked, this, &FrmCHBatch::Apply);
    connect(CommandClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(OptionAll, &QRadioButton::toggled, this, [this] { updateEnabled(); });
    connect(ComboTxMode, &QComboBox::currentIndexChanged, this, [this] { updateEnabled(); });
    connect(ComboNameMode, &QComboBox::currentIndexChanged, this, [this] { updateEnabled(); });
    for (QCheckBox* c : {CheckToneRandom[0], CheckToneRandom[1], CheckTxToneDefault})
        connect(c, &QCheckBox::toggled, this, [this] { updateEnabled(); });
    for (QLineEdit* e : {TextFrom, TextTo})
        connect(e, &QLineEdit::textEdited, this, [this, e] { validate(e); });
    for (QLineEdit* e : {TextRxStep, TextTxStep})
        connect(e, &QLineEdit::textEdited, this, [e] {
            const QString limited = QString::fromLatin1(LimitStepWhileTyping(e->text().toStdString()));
            if (limited != e->text()) e->setText(limited);
        });
}

void FrmCHBatch::ChangShowByLanguage() {
    setWindowTitle(label(s_, 26000));
    findChild<QLabel*>(QStringLiteral("LabelRange"))->setText(label(s_, 26001));
    findChild<QLabel*>(QStringLiteral("LabelTo"))->setText(label(s_, 26004));
    OptionAll->setText(label(s_, 26002));
    OptionRange->setText(label(s_, 26003));
    CheckClear->setText(label(s_, 26099));
    for (int i = 0; i < kBatchItems; ++i) {
        CheckItem[i]->setText(label(s_, 26010 + i));
        ItemGroup[i]->setTitle(i < 6 ? label(s_, 26010 + i) : QString());
    }
    for (int i = 0; i < 7; ++i) CheckValue[i]->setText(label(s_, 26024 + i));
    for (QLabel* l : findChildren<QLabel*>()) {
        const int n = l->property("text_no").toInt();
        if (n > 0) l->setText(label(s_, n));
    }
    for (QComboBox* c : {ComboRxDir, ComboTxDir, ComboToneDir[0], ComboToneDir[1], ComboNameDir, ComboIdDir}) {
        c->setItemText(0, label(s_, 26040));
        c->setItemText(1, label(s_, 26041));
    }
    ComboOffsetDir->setItemText(0, label(s_, 26042));
    ComboOffsetDir->setItemText(1, label(s_, 26043));
    ComboTxMode->setItemText(0, label(s_, 26052));
    ComboTxMode->setItemText(1, label(s_, 26053));
    ComboTxMode->setItemText(2, label(s_, 26050));
    ComboNameMode->setItemText(0, label(s_, 26057));
    ComboNameMode->setItemText(1, label(s_, 26058));
    CheckToneRandom[0]->setText(label(s_, 26044));
    CheckToneRandom[1]->setText(label(s_, 26044));
    CheckTxToneDefault->setText(label(s_, 26052));
    CommandAll->setText(label(s_, 26045));
    CommandNone->setText(label(s_, 26046));
    CommandApply->setText(label(s_, 26007));
    CommandClose->setText(label(s_, 26008));
    CommandSwitch->setText(label(s_, editPanelShown() ? 26005 : 26006));

    QStringList tones;
    for (const auto& t : ToneListTexts(s_, 15030)) tones << FromText(t);
    for (auto* c : ComboToneStart) {
        c->clear();
        c->addItems(tones);
    }
    const std::initializer_list<int> lists[8] = {
        {15044, 15045, 15046}, {15030, 15043}, {15030, 15037, 15038, 15039}, {15040, 15041, 15042},
        {15030, 15031, 15032, 15033}, {15034, 15035}, {14013}, {15050, 15051}};
    for (int i = 0; i < 8; ++i) {
        ComboList[i]->clear();
        for (int n : lists[i]) ComboList[i]->addItem(label(s_, n));
    }
    for (const auto& m : AutoDialMemories(s_)) ComboList[6]->addItem(FromBytes(m));
}

void FrmCHBatch::SetShowData() {
    for (int i = 0; i < kBatchItems; ++i) {
        QSignalBlocker b(CheckItem[i]);
        CheckItem[i]->setChecked(s_.settings.batchFlags[size_t(i)] != 0);
    }
    OptionAll->setChecked(true);
    showFields(DefaultBatchFields(LimitsOf(s_.doc)));
    Panels->setCurrentIndex(0);
    CommandSwitch->setText(label(s_, 26005));
    ShowBatchFun();
    updateEnabled();
}

void FrmCHBatch::showHint() {
    bool any = false;
    for (auto* c : CheckItem) any = any || c->isChecked();
    LabelHint->setVisible(!any);
}

void FrmCHBatch::ShowBatchFun() {
    for (int i = 0; i < kBatchItems; ++i) ItemGroup[i]->setVisible(CheckItem[i]->isChecked());
    showHint();
}

bool FrmCHBatch::editPanelShown() const { return Panels->currentIndex() == 0; }

void FrmCHBatch::switchPanel() {
    Panels->setCurrentIndex(editPanelShown() ? 1 : 0);
    CommandSwitch->setText(label(s_, editPanelShown() ? 26005 : 26006));
}

void FrmCHBatch::selectionChanged(int item, bool on) {
    s_.settings.batchFlags[size_t(item)] = on ? 1 : 0;
    ItemGroup[item]->setVisible(on);
    showHint();
    TellSettingNotStored(s_, SaveBatchFlags(s_));
}

void FrmCHBatch::updateEnabled() {
    const bool range = OptionRange->isChecked();
    TextFrom->setEnabled(range);
    TextTo->setEnabled(range);
    CheckClear->setEnabled(range);
    const int mode = ComboTxMode->currentIndex();
    TextOffset->setEnabled(mode == 1);
    ComboOffsetDir->setEnabled(mode == 1);
    TextTxStart->setEnabled(mode == 2);
    TextTxStep->setEnabled(mode == 2);
    ComboTxDir->setEnabled(mode == 2);
    const bool rxSeq = !CheckToneRandom[0]->isChecked();
    ComboToneStart[0]->setEnabled(rxSeq);
    TextToneInterval[0]->setEnabled(rxSeq);
    ComboToneDir[0]->setEnabled(rxSeq);
    const bool txDefault = CheckTxToneDefault->isChecked();
    CheckToneRandom[1]->setEnabled(!txDefault);
    const bool txSeq = !txDefault && !CheckToneRandom[1]->isChecked();
    ComboToneStart[1]->setEnabled(txSeq);
    TextToneInterval[1]->setEnabled(txSeq);
    ComboToneDir[1]->setEnabled(txSeq);
    const bool numbered = ComboNameMode->currentIndex() == 1;
    TextNameStart->setEnabled(numbered);
    TextNameStep->setEnabled(numbered);
    ComboNameDir->setEnabled(numbered);
}

BatchFields FrmCHBatch::fields() const {
    BatchFields f;
    auto t = [](const QLineEdit* e) { return ToBytes(e->text()); };
    f.allChannels = OptionAll->isChecked();
    f.fromText = t(TextFrom);
    f.toText = t(TextTo);
    f.clearOutside = CheckClear->isChecked();
    f.rxStart = t(TextRxStart);
    f.rxStep = t(TextRxStep);
    f.rxDown = ComboRxDir->currentIndex() == 1;
    f.txMode = static_cast<BatchTxMode>(std::max(0, ComboTxMode->currentIndex()));
    f.offset = t(TextOffset);
    f.offsetMinus = ComboOffsetDir->currentIndex() == 1;
    f.txStart = t(TextTxStart);
    f.txStep = t(TextTxStep);
    f.txDown = ComboTxDir->currentIndex() == 1;
    f.rxToneStart = std::max(0, ComboToneStart[0]->currentIndex());
    f.rxToneInterval = t(TextToneInterval[0]);
    f.rxToneDown = ComboToneDir[0]->currentIndex() == 1;
    f.rxToneRandom = CheckToneRandom[0]->isChecked();
    f.txToneDefault = CheckTxToneDefault->isChecked();
    f.txToneRandom = CheckToneRandom[1]->isChecked();
    f.txToneStart = std::max(0, ComboToneStart[1]->currentIndex());
    f.txToneInterval = t(TextToneInterval[1]);
    f.txToneDown = ComboToneDir[1]->currentIndex() == 1;
    f.nameNumbered = ComboNameMode->currentIndex() == 1;
    f.nameText = t(TextName);
    f.nameStart = t(TextNameStart);
    f.nameStep = t(TextNameStep);
    f.nameDown = ComboNameDir->currentIndex() == 1;
    f.idStart = t(TextIdStart);
    f.idInterval = t(TextIdInterval);
    f.idDown = ComboIdDir->currentIndex() == 1;
    int* lists[8] = {&f.txPower, &f.optSignal, &f.pttId, &f.bandwidth, &f.busyLock, &f.revTalk, &f.autoDial, &f.signalRelation};
    for (int i = 0; i < 8; ++i) *lists[i] = std::max(0, ComboList[i]->currentIndex());
    f.autoDial = ComboList[6]->currentIndex() <= 0 ? 0 : ComboList[6]->currentText().toInt();
    bool* checks[7] = {&f.scanSkip, &f.scramble, &f.txInhibit, &f.talkaround, &f.reverse, &f.whisper, &f.compander};
    for (int i = 0; i < 7; ++i) *checks[i] = CheckValue[i]->isChecked();
    return f;
}

void FrmCHBatch::showFields(const BatchFields& f) {
    auto set = [](QLineEdit* e, const std::string& v) { e->setText(FromBytes(v)); };
    OptionAll->setChecked(f.allChannels);
    OptionRange->setChecked(!f.allChannels);
    set(TextFrom, f.fromText);
    set(TextTo, f.toText);
    CheckClear->setChecked(f.clearOutside);
    set(TextRxStart, f.rxStart);
    set(TextRxStep, f.rxStep);
    ComboRxDir->setCurrentIndex(f.rxDown ? 1 : 0);
    ComboTxMode->setCurrentIndex(static_cast<int>(f.txMode));
    set(TextOffset, f.offset);
    ComboOffsetDir->setCurrentIndex(f.offsetMinus ? 1 : 0);
    set(TextTxStart, f.txStart);
    set(TextTxStep, f.txStep);
    ComboTxDir->setCurrentIndex(f.txDown ? 1 : 0);
    ComboToneStart[0]->setCurrentIndex(f.rxToneStart);
    set(TextToneInterval[0], f.rxToneInterval);
    ComboToneDir[0]->setCurrentIndex(f.rxToneDown ? 1 : 0);
    CheckToneRandom[0]->setChecked(f.rxToneRandom);
    CheckTxToneDefault->setChecked(f.txToneDefault);
    CheckToneRandom[1]->setChecked(f.txToneRandom);
    ComboToneStart[1]->setCurrentIndex(f.txToneStart);
    set(TextToneInterval[1], f.txToneInterval);
    ComboToneDir[1]->setCurrentIndex(f.txToneDown ? 1 : 0);
    ComboNameMode->setCurrentIndex(f.nameNumbered ? 1 : 0);
    set(TextName, f.nameText);
    set(TextNameStart, f.nameStart);
    set(TextNameStep, f.nameStep);
    ComboNameDir->setCurrentIndex(f.nameDown ? 1 : 0);
    set(TextIdStart, f.idStart);
    set(TextIdInterval, f.idInterval);
    ComboIdDir->setCurrentIndex(f.idDown ? 1 : 0);
    const int lists[8] = {f.txPower, f.optSignal, f.pttId, f.bandwidth, f.busyLock, f.revTalk, 0, f.signalRelation};
    for (int i = 0; i < 8; ++i) ComboList[i]->setCurrentIndex(i == 6 ? std::max(0, ComboList[6]->findText(QString::number(f.autoDial))) : lists[i]);
    const bool checks[7] = {f.scanSkip, f.scramble, f.txInhibit, f.talkaround, f.reverse, f.whisper, f.compander};
    for (int i = 0; i < 7; ++i) CheckValue[i]->setChecked(checks[i]);
    updateEnabled();
}

void FrmCHBatch::validate(QLineEdit* e) {
    BatchFields f = fields();
    BatchFlags all;
    all.fill(1);
    if (e == TextFrom || e == TextTo) {
        e->setText(FromBytes(NormaliseRangeText(ToBytes(e->text()))));
        return;
    }
    const std::string t = ToBytes(e->text());
    QString out = e->text();
    if (e == TextRxStart || e == TextTxStart) out = FromBytes(NormaliseStartFre(LimitsOf(s_.doc), t));
    else if (e == TextRxStep || e == TextTxStep) out = FromBytes(StepData(LimitStepWhileTyping(t)));
    else if (e == TextOffset) out = FromBytes(StepDataFree(t));
    else if (e == TextToneInterval[0] || e == TextToneInterval[1]) out = FromBytes(DefaultData(t, "0"));
    else if (e == TextNameStart) out = FromBytes(DefaultData(t, "0"));
    else if (e == TextNameStep) out = FromBytes(CutToLengthOf(DefaultData(t, "0"), ToBytes(TextNameStart->text())));
    else if (e == TextIdStart) out = FromBytes(NormaliseStartId(t));
    else if (e == TextIdInterval) out = FromBytes(CutToLengthOf(DefaultData(t, "0"), ToBytes(TextIdStart->text())));
    if (out != e->text()) e->setText(out);
}

void FrmCHBatch::Apply() {
    BatchFields f = fields();
    const ChannelList before = s_.doc.stored.Channels;
    app_.BeginDocumentCommand();
    app_.controller().applyBatch(s_.settings.batchFlags, f);
    showFields(f);
    const auto [from, to] = BatchRange(f);
    app_.EndDocumentCommand(Tx(s_, 33026).arg(from).arg(to));
    app_.ShowStatusMessage(Tx(s_, 33018).arg(CountChangedChannels(before, s_.doc.stored.Channels)));
}

bool FrmCHBatch::eventFilter(QObject* o, QEvent* e) {
    auto* edit = qobject_cast<QLineEdit*>(o);
    if (!edit) return QDialog::eventFilter(o, e);
    if (e->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        return false;
    }
    if (e->type() == QEvent::FocusOut) {
        validate(edit);
        return false;
    }
    if (e->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
        validate(edit);
        focusNextChild();
        return true;
    }
    if (k->matches(QKeySequence::Copy) || k->matches(QKeySequence::Paste) || k->matches(QKeySequence::Cut)) return true;
    const QString t = k->text();
    if (t.size() != 1 || t[0].unicode() < 32) return false;
    for (const auto& [field, filter] : filters_) {
        if (field != edit) continue;
        if (filter(t[0].unicode()) == 0) return true;
        // The name step and the ID interval never grow longer than their start field.
        if ((edit == TextNameStep && edit->text().size() >= TextNameStart->text().size() && !edit->hasSelectedText()) ||
            (edit == TextIdInterval && edit->text().size() >= TextIdStart->text().size() && !edit->hasSelectedText()))
            return true;
    }
    return false;
}

}  // namespace zr
