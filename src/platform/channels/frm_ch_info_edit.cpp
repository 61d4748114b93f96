#include "platform/channels/frm_ch_info_edit.h"

#include <algorithm>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "channels/channel_ops.h"
#include "channels/channel_view.h"
#include "data/freq_text.h"
#include "channels/grid_edit.h"
#include "control/document_controller.h"
#include "platform/channels/channel_focus.h"
#include "platform/pages/page_widgets.h"
#include "platform/shell/texts.h"
#include "shell/prompter.h"

namespace zr {

namespace {

void setEntries(QComboBox* box, const QStringList& entries) {
    QSignalBlocker b(box);
    box->clear();
    box->addItems(entries);
}

QStringList texts(const Session& s, std::initializer_list<int> numbers) {
    QStringList out;
    for (int n : numbers) out << Tx(s, n);
    return out;
}

void selectAt(QComboBox* box, int pos) {
    QSignalBlocker b(box);
    box->setCurrentIndex(pos >= 0 && pos < box->count() ? pos : (box->count() > 0 ? 0 : -1));
}

void selectText(QComboBox* box, const QString& text) {
    QSignalBlocker b(box);
    const int i = box->findText(text);
    box->setCurrentIndex(i >= 0 ? i : (box->count() > 0 ? 0 : -1));
}

// An editable chooser shows the text itself, also when it is no entry.
void showText(QComboBox* box, const QString& text) {
    QSignalBlocker b(box);
    const int i = box->findText(text);
    if (i >= 0) box->setCurrentIndex(i);
    box->setEditText(text);
    box->lineEdit()->setModified(false);
}

bool leavesTheField(const QEvent* e) {
    if (e->type() != QEvent::FocusOut) return false;
    const auto reason = static_cast<const QFocusEvent*>(e)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
           reason != Qt::MenuBarFocusReason;
}

bool isBlankChoice(const QString& t) { return t.isEmpty() || t == QLatin1String(" "); }

}  // namespace

FrmCHInfoEdit::FrmCHInfoEdit(AppServices& app, QWidget* parent)
    : QWidget(parent), app_(app), s_(app.session()), ctl_(app.controller()) {
    setAttribute(Qt::WA_DeleteOnClose);
    WandToSave = true;
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(7);  // labels stand about 100 twips before their fields
    int row = 0;
    auto addField = [&](QWidget* field, int column = 0) {
        auto* label = new QLabel(this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        labels_ << label;
        grid->addWidget(label, row, column * 2);
        grid->addWidget(field, row, column * 2 + 1);
        ++row;
        return label;
    };
    auto combo = [&] {
        auto* c = new WholeEntriesComboBox(130, this);
        c->setMaxVisibleItems(15);
        c->setFocusPolicy(Qt::StrongFocus);   // the wheel does not take the focus
        c->installEventFilter(this);
        return c;
    };
    ComboCh = combo();
    ComboRx = combo();
    ComboTx = combo();
    // The RX and TX choosers take typed frequencies.
    for (QComboBox* c : {ComboRx, ComboTx}) {
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setCompleter(nullptr);
        c->lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
    }
    addField(ComboCh);
    addField(ComboRx);
    LabelTx = addField(ComboTx);
    auto* names = new QWidget(this);
    auto* namesLayout = new QHBoxLayout(names);
    namesLayout->setContentsMargins(0, 0, 0, 0);
    namesLayout->setSpacing(2);
    for (auto*& box : TextName) {
        box = new QLineEdit(names);
        box->setMaxLength(1);
        box->setFixedWidth(20);
        box->setAlignment(Qt::AlignCenter);
        box->setContextMenuPolicy(Qt::NoContextMenu);
        box->setAcceptDrops(false);
        box->installEventFilter(this);
        namesLayout->addWidget(box);
    }
    namesLayout->addStretch();
    addField(names);
    ComboRxTone = combo();
    ComboTxTone = combo();
    ComboPower = combo();
    ComboOptSignal = combo();
    ComboAutoDial = combo();
    ComboPttId = combo();
    ComboSpacing = combo();
    ComboBusyLock = combo();
    ComboRelation = combo();
    for (QComboBox* c : {ComboRxTone, ComboTxTone, ComboPower, ComboOptSignal, ComboAutoDial, ComboPttId,
                         ComboSpacing, ComboBusyLock, ComboRelation})
        addField(c);
    TextIdCode = new QLineEdit(this);
    TextIdCode->setContextMenuPolicy(Qt::NoContextMenu);
    TextIdCode->setAcceptDrops(false);
    TextIdCode->installEventFilter(this);
    addField(TextIdCode);

    auto* checks = new QVBoxLayout;
    CheckScanSkip = new QCheckBox(this);
    CheckTxInhibit = new QCheckBox(this);
    CheckWhisper = new QCheckBox(this);
    CheckCompander = new QCheckBox(this);
    for (QCheckBox* c : {CheckScanSkip, CheckTxInhibit, CheckWhisper, CheckCompander}) {
        c->installEventFilter(this);
        checks->addWidget(c);
    }
    checks->addStretch();
    grid->addLayout(checks, 3, 2, row - 3, 1);

    CommandClose = new QPushButton(this);
    CommandHelp = new QPushButton(this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandClose);
    buttons->addWidget(CommandHelp);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    // Opening: the lists, the captions and the first fill.
    QStringList channels;
    for (int k = 1; k <= kMemoryChannels; ++k) channels << QString::number(k);
    channels << QStringLiteral("VFO");
    setEntries(ComboCh, channels);
    fillFrequencyLists();
    QStringList tones;
    for (const auto& t : ToneListTexts(s_, 14013)) tones << FromText(t);
    setEntries(ComboRxTone, tones);
    setEntries(ComboTxTone, tones);
    caption();

    connect(ComboCh, &QComboBox::activated, this, [this](int) { SetGridEditData(false); });
    connect(ComboRx, &QComboBox::activated, this, [this](int) { writeFrequency(ComboRx); });
    connect(ComboTx, &QComboBox::activated, this, [this](int) { writeFrequency(ComboTx); });
    for (QComboBox* c : {ComboRxTone, ComboTxTone, ComboPower, ComboOptSignal, ComboAutoDial, ComboPttId,
                         ComboSpacing, ComboBusyLock, ComboRelation})
        connect(c, &QComboBox::activated, this, [this, c](int) { writeChooser(c); });
    const std::pair<QCheckBox*, int> checkItems[] = {
        {CheckScanSkip, 7}, {CheckTxInhibit, 15}, {CheckWhisper, 18}, {CheckCompander, 19}};
    for (auto [box, item] : checkItems) {
        connect(box, &QCheckBox::clicked, this, [this, box = box, item = item](bool on) {
            if (WandToSave) ctl_.setChannelItem(shownChannel(), item, on ? 1 : 0);
            (void)box;
        });
    }
    connect(CommandClose, &QPushButton::clicked, this, [this] {
        if (auto* w = qobject_cast<QMdiSubWindow*>(parentWidget())) w->close();
        else close();
    });
    connect(CommandHelp, &QPushButton::clicked, this, [this] { app_.ShowHelp(3100); });

    // The table moved the shared channel: the window follows.
    connect(&app_.channelFocus(), &ChannelFocus::moved, this, [this](int, QObject* by) {
        if (by != this) SetGridEditData(true);
    });
    SetGridEditData(true);
    subscription_.emplace(ctl_.listeners(), static_cast<DocumentListener*>(this));
}

FrmCHInfoEdit::~FrmCHInfoEdit() {
    // The widgets outlive this part of the object: nothing of theirs may
    // reach it any more.
    subscription_.reset();
    for (QObject* child : findChildren<QObject*>()) {
        disconnect(child, nullptr, this, nullptr);
        child->removeEventFilter(this);
    }
}

void FrmCHInfoEdit::caption() {
    setWindowTitle(Tx(s_, 15000));
    static const int labelTexts[] = {15001, 15002, 15003, 15004, 15005, 15006, 15007,
                                     15008, 15013, 15009, 15010, 15011, 15022, 15021};
    for (int i = 0; i < labels_.size() && i < int(std::size(labelTexts)); ++i) labels_[i]->setText(Tx(s_, labelTexts[i]));
    ReShowEditTxFre(s_.settings.habits.UseOffset);
    CheckScanSkip->setText(Tx(s_, 15014));
    CheckTxInhibit->setText(Tx(s_, 15016));
    CheckWhisper->setText(Tx(s_, 15019));
    CheckCompander->setText(Tx(s_, 15020));
    busyLockTexts_ = texts(s_, {15030, 15031, 15032, 15033});
    CommandClose->setText(Tx(s_, 9023));
    CommandHelp->setText(Tx(s_, 9025));
}

void FrmCHInfoEdit::languageChanged() {
    caption();
    QStringList tones;
    for (const auto& t : ToneListTexts(s_, 14013)) tones << FromText(t);
    setEntries(ComboRxTone, tones);
    setEntries(ComboTxTone, tones);
    SetGridEditData(true);
}

void FrmCHInfoEdit::ReShowEditTxFre(bool rOffSet) { LabelTx->setText(Tx(s_, rOffSet ? 15100 : 15003)); }

int FrmCHInfoEdit::shownChannel() const { return ComboCh->currentIndex() < 0 ? 1 : ComboCh->currentIndex() + 1; }

void FrmCHInfoEdit::habitsChanged() {
    ReShowEditTxFre(s_.settings.habits.UseOffset);
    SetGridEditData(true);
}

void FrmCHInfoEdit::SetGridEditData(bool rIsGridChange) {
    if (filling_) return;
    ChannelFocus& focus = app_.channelFocus();
    if (rIsGridChange) selectAt(ComboCh, focus.channel() - 1);
    else focus.moveTo(shownChannel(), this);
    fill(shownChannel());
}

void FrmCHInfoEdit::rebuildBusyLock(int count) {
    setEntries(ComboBusyLock, busyLockTexts_.mid(0, count));
}

void FrmCHInfoEdit::fill(int k) {
    filling_ = true;
    WandToSave = false;
    const auto pos = FindChannel(s_, k);
    QComboBox* ten[] = {ComboRxTone, ComboTxTone, ComboPower, ComboOptSignal, ComboAutoDial,
                        ComboPttId, ComboSpacing, ComboBusyLock, ComboRelation};
    if (pos) {
        const int busyCount = BusyLockChoiceCount(s_, k);  // may turn a busy lock of 2 into 1
        const ChannelRecord& c = ctl_.document().stored.Channels.entries[*pos];
        ComboRx->setEnabled(true);
        ComboTx->setEnabled(true);
        showText(ComboRx, FromBytes(ShowFreText(LimitsOf(s_.doc), c.RxFreq.text())));
        showText(ComboTx, FromBytes(TxColumnText(s_, c, s_.settings.habits.UseOffset)));
        const std::string name = c.ChannelName.text();
        for (int i = 0; i < 6; ++i) {
            TextName[i]->setEnabled(k <= kMemoryChannels);
            TextName[i]->setText(k <= kMemoryChannels && i < int(name.size()) ? FromBytes(name.substr(size_t(i), 1)) : QString());
        }
        ComboRxTone->setItemText(0, Tx(s_, 14013));
        ComboTxTone->setItemText(0, Tx(s_, 14013));
        selectAt(ComboRxTone, c.RxTone);
        selectAt(ComboTxTone, c.TxTone);
        setEntries(ComboPower, texts(s_, {15044, 15045, 15046}));
        setEntries(ComboOptSignal, texts(s_, {15030, 15043}));
        setEntries(ComboPttId, texts(s_, {15030, 15037, 15038, 15039}));
        setEntries(ComboSpacing, texts(s_, {15040, 15041, 15042}));
        setEntries(ComboRelation, texts(s_, {15050, 15051}));
        QStringList memories{Tx(s_, 14013)};
        for (const auto& m : AutoDialMemories(s_)) memories << FromBytes(m);
        setEntries(ComboAutoDial, memories);
        rebuildBusyLock(busyCount);
        selectAt(ComboPower, c.TxPower);
        selectAt(ComboOptSignal, c.OptSignal);
        selectAt(ComboPttId, c.PttId);
        selectAt(ComboSpacing, c.Bandwidth);
        selectAt(ComboBusyLock, c.BusyLock);
        selectAt(ComboRelation, c.SignalRelation);
        selectText(ComboAutoDial, c.AutoDialMemory == 0 ? QString() : QString::number(c.AutoDialMemory));
        for (QComboBox* box : ten) box->setEnabled(true);
        const std::pair<QCheckBox*, int16_t> checks[] = {
            {CheckScanSkip, c.ScanSkip}, {CheckTxInhibit, c.TxInhibit}, {CheckWhisper, c.Whisper}, {CheckCompander, c.Compander}};
        for (auto [box, value] : checks) {
            QSignalBlocker b(box);
            box->setChecked(value == 1);
            box->setEnabled(true);
        }
        CheckScanSkip->setEnabled(k <= kMemoryChannels);
        TextIdCode->setEnabled(true);
        TextIdCode->setMaxLength(c.IdCodeLength > 0 ? c.IdCodeLength : 10);
        TextIdCode->setText(FromBytes(c.IdCode.text()));
    } else {
        ComboRx->setEnabled(true);
        showText(ComboRx, QStringLiteral("NONE"));
        showText(ComboTx, QStringLiteral("NONE"));
        ComboTx->setEnabled(false);
        for (auto* box : TextName) {
            box->clear();
            box->setEnabled(false);
        }
        for (QComboBox* box : ten) {
            QSignalBlocker b(box);
            if (box == ComboRxTone || box == ComboTxTone) box->setItemText(0, QStringLiteral(" "));
            else box->clear(), box->addItem(QStringLiteral(" "));
            box->setCurrentIndex(0);
            box->setEnabled(false);
        }
        TextIdCode->setEnabled(false);
        for (QCheckBox* box : {CheckScanSkip, CheckTxInhibit, CheckWhisper, CheckCompander}) {
            QSignalBlocker b(box);
            box->setChecked(false);
            box->setEnabled(false);
        }
    }
    ComboPower->setEnabled(false);
    ComboSpacing->setEnabled(false);
    WandToSave = true;
    filling_ = false;
    // A damaged RX shows as the band's lower limit: the user is told so.
    if (pos && IsUnreadableFrequency(ctl_.document().stored.Channels.entries[*pos].RxFreq.text()) && s_.prompter)
        s_.prompter->tell(kUnreadableFrequencyMessage);
}

int FrmCHInfoEdit::itemOf(QComboBox* box) const {
    if (box == ComboRxTone) return 4;
    if (box == ComboTxTone) return 5;
    if (box == ComboPower) return 6;
    if (box == ComboOptSignal) return 8;
    if (box == ComboAutoDial) return 13;
    if (box == ComboPttId) return 10;
    if (box == ComboSpacing) return 9;
    if (box == ComboBusyLock) return 11;
    if (box == ComboRelation) return 21;
    return 0;
}

void FrmCHInfoEdit::writeChooser(QComboBox* box) {
    if (!WandToSave || filling_) return;
    const QString text = box->currentText();
    if (isBlankChoice(text)) return;
    const int item = itemOf(box);
    if (item == 0) return;
    int value = box->currentIndex();
    if (box == ComboBusyLock) value = busyLockTexts_.indexOf(text) >= 0 ? int(busyLockTexts_.indexOf(text)) : value;
    if (box == ComboAutoDial) value = box->currentIndex() == 0 ? 0 : text.toInt();
    ctl_.setChannelItem(shownChannel(), item, value);
}

void FrmCHInfoEdit::fillFrequencyLists() {
    QStringList freqs{QStringLiteral("NONE")};
    for (const auto& f : ChooserFrequencies(s_.doc)) freqs << QString::fromLatin1(f.c_str());
    for (QComboBox* c : {ComboRx, ComboTx}) {
        QSignalBlocker b(c);
        const QString shown = c->currentText();
        c->clear();
        c->addItems(freqs);
        c->setEditText(shown);
    }
}

void FrmCHInfoEdit::writeFrequency(QComboBox* box) {
    // A choice from the list, or a typed frequency (Enter, or leaving it).
    if (!WandToSave || filling_) return;
    box->lineEdit()->setModified(false);
    const std::string text = ToBytes(box->currentText());
    ctl_.writeChooser(shownChannel(), box == ComboRx ? item::kRxFreq : item::kTxFreq, text);
    SetGridEditData(false);
}

void FrmCHInfoEdit::writeName() {
    if (!WandToSave || filling_) return;
    if (!TextName[0]->isEnabled()) return;
    std::string name;
    for (auto* box : TextName) name += box->text().isEmpty() ? std::string(" ") : ToBytes(box->text().left(1));
    ctl_.setChannelItem(app_.channelFocus().channel(), 3, name);
    SetGridEditData(false);
}

void FrmCHInfoEdit::writeIdCode() {
    if (!WandToSave || filling_ || !TextIdCode->isEnabled()) return;
    std::string code = ToBytes(TextIdCode->text());
    if (code.size() < 3) code = "000";
    ctl_.setChannelItem(shownChannel(), 20, code);
    SetGridEditData(false);
}

void FrmCHInfoEdit::commitEdit() {
    QWidget* f = focusWidget();
    for (auto* box : TextName)
        if (f == box) writeName();
    if (f == TextIdCode) writeIdCode();
}

bool FrmCHInfoEdit::eventFilter(QObject* o, QEvent* e) {
    const bool key = e->type() == QEvent::KeyPress;
    auto* k = key ? static_cast<QKeyEvent*>(e) : nullptr;
    const bool enter = k && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter);
    const bool clip = k && (k->matches(QKeySequence::Copy) || k->matches(QKeySequence::Paste) ||
                            k->matches(QKeySequence::Cut));
    for (int i = 0; i < 6; ++i) {
        if (o != TextName[i]) continue;
        if (e->type() == QEvent::FocusOut) writeName();
        if (e->type() == QEvent::FocusIn) TextName[i]->selectAll();
        if (!key) return false;
        if (enter) {
            writeName();
            return true;
        }
        if (clip) return true;
        const QString t = k->text();
        if (t.size() == 1 && t[0].unicode() >= 32) {
            const int c = FilterEditNameChar(t[0].unicode());
            if (c != 0) {
                TextName[i]->setText(QString(QChar(c)));
                if (i < 5) TextName[i + 1]->setFocus();
            }
            return true;
        }
        return t.size() == 1 && FilterEditNameChar(t[0].unicode()) == 0 && t[0].unicode() != 8;
    }
    if (o == TextIdCode) {
        if (e->type() == QEvent::FocusOut) writeIdCode();
        if (!key) return false;
        if (enter) {
            writeIdCode();
            return true;
        }
        if (clip) return true;
        const QString t = k->text();
        if (t.size() == 1 && t[0].unicode() >= 32) return FilterDigitChar(t[0].unicode()) == 0;
        return false;
    }
    if (auto* box = qobject_cast<QComboBox*>(o)) {
        // The wheel changes only the chooser that has the focus.
        if (e->type() == QEvent::Wheel && !box->hasFocus()) return true;
        if ((box == ComboRx || box == ComboTx) && box->lineEdit()) {
            const bool typed = box->lineEdit()->isModified();
            if (enter || (typed && leavesTheField(e))) {
                if (typed) writeFrequency(box);
                if (enter) focusNextChild();
                return enter;
            }
            return false;
        }
        if (e->type() == QEvent::FocusOut && WandToSave && !filling_ && box != ComboCh && box != ComboRx &&
            box != ComboTx && box->isEnabled() && !isBlankChoice(box->currentText())) {
            if (box == ComboRxTone || box == ComboOptSignal) {
                const int keep = ComboBusyLock->currentIndex();
                const int count = ComboRxTone->currentIndex() != 0 ? 3 : 2;
                rebuildBusyLock(count);
                selectAt(ComboBusyLock, std::min(keep, count - 1));
            }
            writeChooser(box);
        }
        if (enter) {
            focusNextChild();
            return true;
        }
        return false;
    }
    if (qobject_cast<QCheckBox*>(o) && enter) {
        focusNextChild();
        return true;
    }
    return QWidget::eventFilter(o, e);
}

void FrmCHInfoEdit::closeEvent(QCloseEvent* e) {
    commitEdit();
    subscription_.reset();
    QWidget::closeEvent(e);
}

}  // namespace zr
