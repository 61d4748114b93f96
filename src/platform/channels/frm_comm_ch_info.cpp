#include "platform/channels/frm_comm_ch_info.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

#include "channels/channel_ops.h"
#include "control/document_controller.h"
#include "data/freq_text.h"
#include "platform/channels/channel_dialogs.h"
#include "platform/channels/channel_focus.h"
#include "platform/shell/texts.h"
#include "shell/prompter.h"

namespace zr {

namespace {

// 15 twips per pixel at 96 dots per inch, a tenth wider so that the
// captions of the shipped languages fit.
int px(int twips) { return (twips * 11 + 75) / 150; }

const int kColWidths[kGridCols] = {740, 1300, 1300, 800, 1200, 1200, 1000, 1000, 1000, 1100, 600};

// Header texts dark blue, row labels blue; on a dark palette lighter blues,
// so that both stay readable.
bool DarkBase(const QWidget* w) { return w->palette().color(QPalette::Base).lightness() < 128; }
QColor HeaderColour(const QWidget* w) { return DarkBase(w) ? QColor(150, 180, 255) : QColor(0, 0, 155); }
QColor LabelColour(const QWidget* w) { return DarkBase(w) ? QColor(120, 160, 255) : QColor(0, 0, 255); }
const QColor kEditColour(255, 0, 0);
const QColor kEditBack(220, 220, 220);

// Runs a routine of the window; an unexpected failure shows its fixed text.
template <class F>
void guarded(Session& s, const char* text, F&& f) {
    try {
        f();
    } catch (const std::exception&) {
        if (s.prompter) s.prompter->tell(text);
    }
}

// Bulk cell writes: the model's per-cell notifications are held back and the
// table is repainted once at the end.
class BulkCellWrite {
public:
    explicit BulkCellWrite(QTableWidget* g) : g_(g), blocked_(g->model()->blockSignals(true)) {}
    ~BulkCellWrite() {
        g_->model()->blockSignals(blocked_);
        g_->viewport()->update();
    }

private:
    QTableWidget* g_;
    bool blocked_;
};

// Column widths: the designed width, wider where a header text of the run's
// language would not fit on the lines the header holds; the table grows
// with its columns.
void fitColumnsToHeaders(QTableWidget* grid) {
    QHeaderView* h = grid->horizontalHeader();
    const int margin = 2 * grid->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h) + 4;
    const QFontMetrics fm = h->fontMetrics();
    int total = 0;
    for (int c = 0; c < kGridCols; ++c) {
        const QString text = grid->horizontalHeaderItem(c) ? grid->horizontalHeaderItem(c)->text() : QString();
        auto fits = [&](int width) {
            const QRect r = fm.boundingRect(QRect(0, 0, width - margin, 1000), Qt::TextWordWrap | Qt::AlignCenter, text);
            return r.width() <= width - margin && r.height() <= h->height();
        };
        int width = px(kColWidths[c]);
        while (!fits(width) && width < 600) width += 4;
        // Cell texts whole too: six wide letters of a name, a frequency.
        const QFontMetrics cells = grid->fontMetrics();
        const int cellMargin = 2 * grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 8;
        if (c == 3) width = std::max(width, cells.horizontalAdvance(QStringLiteral("WWWWWW")) + cellMargin);
        if (c == 1 || c == 2) width = std::max(width, cells.horizontalAdvance(QStringLiteral("888.88888")) + cellMargin);
        grid->setColumnWidth(c, width);
        total += width;
    }
    grid->setMinimumWidth(std::max(px(11598), total) + 20);
}

void setCellText(QTableWidgetItem* item, const QString& text) {
    if (item->text() != text) item->setText(text);
}

void fillCombo(QComboBox* box, const std::vector<std::string>& entries) {
    QSignalBlocker b(box);
    box->clear();
    QStringList list;
    list.reserve(qsizetype(entries.size()));
    for (const auto& e : entries) list << FromText(e);
    box->addItems(list);
}

}  // namespace

frmCommChInfo::frmCommChInfo(AppServices& app, QWidget* parent)
    : QWidget(parent), app_(app), s_(app.session()), ctl_(app.controller()) {
    setAttribute(Qt::WA_DeleteOnClose);
    MSFlexGrid1 = new QTableWidget(this);
    CommandEdit = new QPushButton(this);
    CommandClose = new QPushButton(this);
    CommandHelp = new QPushButton(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandEdit);
    buttons->addWidget(CommandClose);
    buttons->addWidget(CommandHelp);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(MSFlexGrid1);
    layout->addLayout(buttons);

    QWidget* vp = MSFlexGrid1->viewport();
    Combo6_1 = new QComboBox(vp);
    Combo6_2 = new QComboBox(vp);
    Text2 = new QLineEdit(vp);
    Combo1 = new QComboBox(vp);
    Combo3 = new QComboBox(vp);
    Combo4 = new QComboBox(vp);
    Text2->setMaxLength(6);
    Text2->setContextMenuPolicy(Qt::NoContextMenu);
    Text2->setDragEnabled(false);
    Text2->setAcceptDrops(false);
    Text2->installEventFilter(this);
    // The RX and TX choosers take typed frequencies; the other choosers are
    // pick lists. None of them changes by navigation: keys that move, and
    // the wheel, go to the table (see eventFilter).
    for (QComboBox* box : {Combo6_1, Combo6_2}) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr);
        box->lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
    }
    for (QComboBox* box : {Combo6_1, Combo6_2, Combo1, Combo3, Combo4}) {
        box->setContextMenuPolicy(Qt::NoContextMenu);
        box->setFocusPolicy(Qt::StrongFocus);
        box->installEventFilter(this);
        box->setMaxVisibleItems(15);
        connect(box, &QComboBox::activated, this, [this, box](int) { onChooserActivated(box); });
    }
    MSFlexGrid1->installEventFilter(this);
    MSFlexGrid1->viewport()->installEventFilter(this);
    MSFlexGrid1->viewport()->setAcceptDrops(true);   // rows dragged within the table

    resize(px(11800), px(7965));
    guarded(s_, "frmCommChInfo_Form_Load", [&] {
        InitShowGrid();
        ChangShowByLanguage();
        SetGridData();
        state_.selectionArmed = true;
        state_.editCell = {1, 1};
        MSFlexGrid1->setCurrentCell(0, 1);
        state_.editingEnabled = true;
    });

    connect(MSFlexGrid1, &QTableWidget::currentCellChanged, this, &frmCommChInfo::onCurrentCellChanged);
    connect(MSFlexGrid1, &QTableWidget::cellClicked, this, [this](int, int) { onCellClicked(); });
    connect(MSFlexGrid1, &QTableWidget::cellDoubleClicked, this, &frmCommChInfo::onCellDoubleClicked);
    MSFlexGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(MSFlexGrid1, &QWidget::customContextMenuRequested, this, &frmCommChInfo::onContextMenu);
    connect(MSFlexGrid1->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (Text2->isVisible() && Text2->hasFocus()) MSFlexGrid1->setFocus();  // keeps a typed name
        hideEditors();
    });
    connect(MSFlexGrid1->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (Text2->isVisible() && Text2->hasFocus()) MSFlexGrid1->setFocus();
        hideEditors();
    });
    connect(CommandEdit, &QPushButton::clicked, this, [this] {
        ConcludeGridEdit();
        openEditWindow();
    });
    connect(CommandClose, &QPushButton::clicked, this, [this] {
        if (QWidget* w = parentWidget(); w && qobject_cast<QMdiSubWindow*>(w)) w->close();
        else close();
    });
    connect(CommandHelp, &QPushButton::clicked, this, [this] { app_.ShowHelp(3100); });
    if (QMdiArea* mdi = app_.mdiArea()) {
        connect(mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
            const bool mine = w && w->widget() == this;
            app_.ShowCHInfo(mine);
            if (mine) {
                updateCommands();
                if (firstActivation_) {
                    firstActivation_ = false;
                    onCellEntered();
                }
            }
        });
    }
    // The channel edit window moved the shared channel: the table follows.
    connect(&app_.channelFocus(), &ChannelFocus::moved, this, [this](int n, QObject* by) {
        if (by != this) setEditRow(n);
    });
    // The channel commands select the rows where the channels went.
    connect(&app_.channelFocus(), &ChannelFocus::rowsRequested, this, &frmCommChInfo::showRequestedRows);
    subscription_.emplace(ctl_.listeners(), static_cast<DocumentListener*>(this));
    updateCommands();   // the commands find the table's row from now on
}

frmCommChInfo::~frmCommChInfo() {
    // The widgets outlive this part of the object: nothing of theirs may
    // reach it any more.
    subscription_.reset();
    app_.channelFocus().withdrawSelection(this);
    for (QObject* child : findChildren<QObject*>()) {
        disconnect(child, nullptr, this, nullptr);
        child->removeEventFilter(this);
    }
}

void frmCommChInfo::fail(const char* text) {
    if (s_.prompter) s_.prompter->tell(text);
}

void frmCommChInfo::InitShowGrid() {
    guarded(s_, "frmCommChInfo_InitShowGridError", [&] {
        MSFlexGrid1->setRowCount(kGridRows - 1);
        MSFlexGrid1->setColumnCount(kGridCols);
        MSFlexGrid1->verticalHeader()->hide();
        MSFlexGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        MSFlexGrid1->verticalHeader()->setDefaultSectionSize(20);
        MSFlexGrid1->horizontalHeader()->setFixedHeight(px(500));
        MSFlexGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
        MSFlexGrid1->horizontalHeader()->setHighlightSections(false);
        MSFlexGrid1->horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
        for (int c = 0; c < kGridCols; ++c) MSFlexGrid1->setColumnWidth(c, px(kColWidths[c]));
        MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
        MSFlexGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
        MSFlexGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
        MSFlexGrid1->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        MSFlexGrid1->setWordWrap(false);
        MSFlexGrid1->setTabKeyNavigation(false);
        MSFlexGrid1->setMinimumWidth(px(11598) + 20);
        BulkCellWrite bulk(MSFlexGrid1);
        for (int r = 0; r < kGridRows - 1; ++r) {
            for (int c = 0; c < kGridCols; ++c) {
                auto* item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignCenter);
                MSFlexGrid1->setItem(r, c, item);
            }
        }
        for (int c = 0; c < kGridCols; ++c) MSFlexGrid1->setHorizontalHeaderItem(c, new QTableWidgetItem);
        hideEditors();
    });
}

void frmCommChInfo::ChangShowByLanguage() {
    languageRunning_ = true;
    guarded(s_, "frmCommChInfo_ChangShowByLanguage", [&] {
        const int row = currentRow() < 1 ? 1 : currentRow();
        setWindowTitle(Tx(s_, 14012) + " " + QString::number(row) + "]");
        static const int headers[kGridCols] = {14001, 14002, 14003, 14004, 14005, 14006,
                                               14007, 14008, 14009, 14010, 14011};
        for (int c = 0; c < kGridCols; ++c) {
            const int number = (c == 2 && s_.settings.habits.UseOffset) ? 14100 : headers[c];
            QTableWidgetItem* h = MSFlexGrid1->horizontalHeaderItem(c);
            h->setText(Tx(s_, number));
            h->setForeground(HeaderColour(MSFlexGrid1));
        }
        fitColumnsToHeaders(MSFlexGrid1);
        BulkCellWrite bulk(MSFlexGrid1);
        for (int r = 1; r < kGridRows; ++r) {
            QTableWidgetItem* label = MSFlexGrid1->item(r - 1, 0);
            label->setText(r == kVfoChannel ? QStringLiteral("VFO") : QString::number(r));
            label->setForeground(LabelColour(MSFlexGrid1));
            QTableWidgetItem* edit = MSFlexGrid1->item(r - 1, kGridEditCol);
            edit->setText(QStringLiteral(">>"));
            edit->setForeground(kEditColour);
            edit->setBackground(kEditBack);
        }
        lists_ = MakeTableLists(s_);
        fillCombo(Combo1, lists_.tones);
        fillCombo(Combo3, lists_.scan);
        fillCombo(Combo4, lists_.signalling);
        fillFrequencyChoosers();
        CommandEdit->setText(Tx(s_, 14023));
        CommandClose->setText(Tx(s_, 9023));
        CommandHelp->setText(Tx(s_, 9025));
    });
    languageRunning_ = false;
}

void frmCommChInfo::clearRow(int row) {
    for (int c = 1; c <= kGridLastDataCol; ++c) setCellText(MSFlexGrid1->item(row - 1, c), QString());
}

void frmCommChInfo::fillRow(int row, const ChannelRecord& c) {
    if (IsUnreadableFrequency(c.RxFreq.text())) unreadableShown_ = true;
    const auto texts = ChannelRowTexts(s_, lists_, c);
    // The name is the radio's bytes; the other cells are program texts.
    for (int col = 1; col <= kGridLastDataCol; ++col)
        setCellText(MSFlexGrid1->item(row - 1, col), col == 3 ? FromBytes(texts[col]) : FromText(texts[col]));
}

// A damaged RX shows as the band's lower limit: once the rows are shown,
// one message says so, however many rows hold one.
void frmCommChInfo::tellUnreadableShown() {
    if (!unreadableShown_) return;
    unreadableShown_ = false;
    if (s_.prompter) s_.prompter->tell(kUnreadableFrequencyMessage);
}

void frmCommChInfo::SetGridData() {
    guarded(s_, "frmCommChInfo_SetGridData", [&] {
        {
            // Rows are emptied, then the channels are filled in list order;
            // a cell is only written when its text changes.
            BulkCellWrite bulk(MSFlexGrid1);
            std::vector<const ChannelRecord*> rows(kGridRows, nullptr);
            const ChannelList& list = doc().stored.Channels;
            for (int i = 0; i < list.count && i < kMaxChannels; ++i) {
                const int n = list.entries[i].ChannelNumber;
                if (n >= 1 && n <= kVfoChannel) rows[size_t(n)] = &list.entries[i];
            }
            for (int r = 1; r < kGridRows; ++r) {
                if (rows[size_t(r)]) fillRow(r, *rows[size_t(r)]);
                else clearRow(r);
            }
        }
        SetShowEditData();
        app_.LoadTree();
    });
    tellUnreadableShown();
}

void frmCommChInfo::reShowGrid(int rRow) {
    guarded(s_, "frmCommChInfo_reShowGrid", [&] {
        if (rRow < 1 || rRow > kVfoChannel) return;
        const auto pos = FindChannel(s_, rRow);
        if (!pos) {
            clearRow(rRow);
        } else {
            fillRow(rRow, doc().stored.Channels.entries[*pos]);
            BusyLockChoiceCount(s_, rRow);
        }
        if (rRow == currentRow()) {
            updateCommands();
            SetShowEditData();
        }
    });
    tellUnreadableShown();
}

void frmCommChInfo::reShowAllGrid() {
    guarded(s_, "frmCommChInfo_reShowGrid", [&] {
        BulkCellWrite bulk(MSFlexGrid1);
        for (int r = 1; r < kGridRows; ++r) {
            if (const auto pos = FindChannel(s_, r)) fillRow(r, doc().stored.Channels.entries[*pos]);
            else if (!MSFlexGrid1->item(r - 1, 1)->text().isEmpty()) clearRow(r);
        }
    });
    tellUnreadableShown();
}

void frmCommChInfo::ReShowAllTxFre(bool rOffSet) {
    MSFlexGrid1->horizontalHeaderItem(2)->setText(Tx(s_, rOffSet ? 14100 : 14003));
    fitColumnsToHeaders(MSFlexGrid1);
    const ChannelList& list = doc().stored.Channels;
    for (int i = 0; i < list.count && i < kMaxChannels; ++i) {
        const ChannelRecord& c = list.entries[i];
        if (c.ChannelNumber < 1 || c.ChannelNumber > kVfoChannel) continue;
        MSFlexGrid1->item(c.ChannelNumber - 1, 2)->setText(FromBytes(TxColumnText(s_, c, rOffSet)));
    }
}

void frmCommChInfo::ReShowChInfoByLanguage() {
    ChangShowByLanguage();
    SetGridData();
}

void frmCommChInfo::hideEditors() {
    // A hidden editor must not hand the focus on through the table's own
    // tab navigation, which would move the current cell.
    QWidget* f = QApplication::focusWidget();
    if (f && f != MSFlexGrid1 && MSFlexGrid1->viewport()->isAncestorOf(f)) MSFlexGrid1->setFocus();
    for (QWidget* w : std::initializer_list<QWidget*>{Combo6_1, Combo6_2, Text2, Combo1, Combo3, Combo4}) w->hide();
}

void frmCommChInfo::SetEditDisable() {
    // A value being typed is stored first.
    ConcludeGridEdit();
    hideEditors();
}

int frmCommChInfo::currentRow() const {
    const int r = MSFlexGrid1->currentRow();
    return r < 0 ? 0 : r + 1;
}

int frmCommChInfo::currentCol() const { return MSFlexGrid1->currentColumn(); }

void frmCommChInfo::setCurrentCell(int row, int col) { MSFlexGrid1->setCurrentCell(row - 1, col); }

QString frmCommChInfo::cellText(int row, int col) const {
    if (row < 1 || row >= kGridRows || col < 0 || col >= kGridCols) return {};
    return MSFlexGrid1->item(row - 1, col)->text();
}

int frmCommChInfo::topRow() const {
    const int r = MSFlexGrid1->rowAt(0);
    return r < 0 ? 1 : r + 1;
}

void frmCommChInfo::setTopRow(int row) { MSFlexGrid1->verticalScrollBar()->setValue(row - 1); }

void frmCommChInfo::writeCaption(int row) {
    setWindowTitle(Tx(s_, 14012) + " " + (row == kVfoChannel ? QStringLiteral("VFO") : QString::number(row)) + "]");
}

void frmCommChInfo::updateCommands() {
    if (languageRunning_) return;
    app_.channelFocus().publishSelection({currentRow(), selectedRows()}, this);
}

void frmCommChInfo::onCurrentCellChanged(int qRow, int, int prevRow, int) {
    if (qRow < 0) return;
    bool blockEnded = false;
    if (!extending_) {
        // Moving without Shift or Ctrl ends a block.
        blockEnded = !block_.empty();
        block_.clear();
        anchor_ = qRow + 1;
    }
    if (qRow != prevRow || blockEnded) updateCommands();
    onCellEntered();
}

void frmCommChInfo::onCellEntered() {
    const int row = currentRow();
    const int col = currentCol();
    if (row < 1 || col < 0) return;
    const bool rxEmpty = cellText(row, 1).isEmpty();
    const bool txEmpty = cellText(row, 2).isEmpty();
    const EntryDecision d = state_.enterCell({row, col}, rxEmpty, txEmpty);
    if (d.action == EntryAction::Ignore) return;
    writeCaption(row);
    MSFlexGrid1->setFocus();
    if (d.action == EntryAction::Redirect) {
        if (!FlexConcludeRx()) return;  // the move above re-entered the table
        return;
    }
    hideEditors();
    EnterGridEdit();
}

bool frmCommChInfo::FlexConcludeRx() {
    bool goOn = true;
    guarded(s_, "frmCommChInfo_FlexConcludeRx", [&] {
        // The redirect chosen by the entry rules: the current column becomes
        // the edit cell's column, which enters that cell.
        goOn = false;
        MSFlexGrid1->setCurrentCell(state_.editCell.row - 1, state_.editCell.col);
    });
    return goOn;
}

QComboBox* frmCommChInfo::chooserFor(int col) const {
    switch (col) {
    case 1: return Combo6_1;
    case 2: return Combo6_2;
    case 4:
    case 5: return Combo1;
    case 7: return Combo3;
    case 8: return Combo4;
    default: return nullptr;
    }
}

void frmCommChInfo::placeEditor(QWidget* w, int row, int col) {
    const QRect r = MSFlexGrid1->visualItemRect(MSFlexGrid1->item(row - 1, col));
    w->setGeometry(r.adjusted(0, 0, 0, 0));
    w->show();
    w->raise();
}

void frmCommChInfo::EnterGridEdit() {
    guarded(s_, "frmCommChInfo_EnterGridEdit", [&] {
        const int row = currentRow();
        const int col = currentCol();
        if (row < 1) return;
        const GridEditor kind = state_.openEditor({row, col});
        app_.channelFocus().moveTo(row, this);
        const QString text = cellText(row, col);
        if (kind == GridEditor::NameBox) {
            placeEditor(Text2, row, col);
            Text2->setText(FromBytes(FixedText<64>(ToBytes(text)).text()));
            Text2->setEnabled(true);
            Text2->setFocus();
            Text2->end(false);
            return;
        }
        QComboBox* box = chooserFor(col);
        if (!box) return;
        placeEditor(box, row, col);
        box->setEnabled(true);
        showChooserText(box, text);
        state_.chooserSelected();  // the program's own selection arms the chooser
        box->setFocus();
        if (box->isEditable()) box->lineEdit()->selectAll();
    });
}

bool frmCommChInfo::ConcludeGridEdit() {
    // Only what the user typed is written here: a choice from an open list
    // was written when it was made, and an untouched editor writes nothing.
    const int n = state_.editCell.row;
    const int k = state_.editCell.col;
    if (n < 1 || n > kVfoChannel || concluding_) return true;
    concluding_ = true;
    bool accepted = true;
    if (k == 3) {
        if (Text2->isVisible() && Text2->isModified()) {
            Text2->setModified(false);
            ctl_.setChannelItem(n, 3, ToBytes(Text2->text()));
        }
    } else if (QComboBox* box = chooserFor(k); box && box->isEditable() && box->isVisible() &&
                                               box->lineEdit()->isModified()) {
        box->lineEdit()->setModified(false);
        const std::string typed = ToBytes(box->currentText());
        const ChooserWrite w = ctl_.writeChooser(n, k, typed);
        if (w != ChooserWrite::Written) {
            accepted = w == ChooserWrite::Nothing;
            showChooserText(box, cellText(n, k));   // nothing written: the cell as it is
        }
    }
    concluding_ = false;
    return accepted;
}

void frmCommChInfo::showChooserText(QComboBox* box, const QString& text) {
    // An editable chooser shows the cell's own text even when it is not one
    // of its entries; a pick list shows its entry.
    QSignalBlocker b(box);
    const int i = box->findText(text);
    if (box->isEditable()) {
        if (i >= 0) box->setCurrentIndex(i);
        box->setEditText(text.isEmpty() ? box->itemText(0) : text);   // an empty cell: "NONE"
        box->lineEdit()->setModified(false);
    } else {
        box->setCurrentIndex(i < 0 ? 0 : i);
    }
}

void frmCommChInfo::fillFrequencyChoosers() {
    std::vector<std::string> freqs{"NONE"};
    for (auto& f : ChooserFrequencies(s_.doc)) freqs.push_back(std::move(f));
    fillCombo(Combo6_1, freqs);
    fillCombo(Combo6_2, freqs);
}

void frmCommChInfo::SetShowEditData() {
    guarded(s_, "frmCommChInfo_SetShowEditData", [&] {
        const int n = state_.editCell.row;
        const int k = state_.editCell.col;
        const QString text = cellText(n, k);
        if (k == 3) {
            if (Text2->isVisible()) Text2->setText(FromBytes(FixedText<64>(ToBytes(text)).text()));
            return;
        }
        QComboBox* box = chooserFor(k);
        if (!box || !box->isVisible() || text.isEmpty() || box->currentText() == text) return;
        if (box->isEditable() && box->lineEdit()->isModified()) return;   // the user is typing
        showChooserText(box, text);
    });
}

void frmCommChInfo::GridNextLine() {
    guarded(s_, "frmCommChInfo_GridNextLine", [&] {
        const int row = currentRow() < 1 ? 1 : currentRow();
        MSFlexGrid1->setCurrentCell(GridEditState::nextLine(row) - 1, currentCol());
    });
}

void frmCommChInfo::GridNextCol() {
    guarded(s_, "rmCommChInfo_GridNextCol", [&] {
        const auto m = state_.nextCol({currentRow(), currentCol()});
        if (m.wraps) MSFlexGrid1->setCurrentCell(m.intermediate.row - 1, m.intermediate.col);
        MSFlexGrid1->setCurrentCell(m.target.row - 1, m.target.col);
    });
}

void frmCommChInfo::setEditRow(int row) {
    if (row == state_.editCell.row) return;
    hideEditors();
    state_.editCell.row = row;
}

void frmCommChInfo::onChooserActivated(QComboBox* box) {
    // Keys and the wheel never reach a closed chooser (eventFilter), so this
    // is a pick from its open list.
    if (!box->isVisible()) return;
    if (!state_.chooserSelected()) return;
    const int n = state_.editCell.row;
    const int k = state_.editCell.col;
    if (n < 1 || n > kVfoChannel || chooserFor(k) != box) return;
    const std::string picked = ToBytes(box->currentText());
    if (box->isEditable()) box->lineEdit()->setModified(false);
    if (k == 1 || k == 2) ctl_.writeChooser(n, k, picked);
    else ctl_.setChannelItem(n, k, box->currentIndex());
    if (box->isVisible()) showChooserText(box, cellText(n, k));
}

void frmCommChInfo::onChooserEnter(QComboBox* box) {
    const char* text = box == Combo1   ? "frmCommChInfo_Combo1_KeyPress"
                       : box == Combo3 ? "frmCommChInfo_Combo3_KeyPress"
                       : box == Combo4 ? "frmCommChInfo_Combo4_KeyPress"
                                       : "frmCommChInfo_Combo5_KeyPress";
    guarded(s_, text, [&] {
        if (!ConcludeGridEdit()) {
            if (box->isEditable()) box->lineEdit()->selectAll();   // refused: stay
            return;
        }
        if (currentCol() == 1) GridNextLine();
        else GridNextCol();
    });
}

void frmCommChInfo::onCellClicked() {
    if (doubleClickGuard_.isValid() && doubleClickGuard_.elapsed() < 1000) return;
    onCellEntered();
}

void frmCommChInfo::onCellDoubleClicked(int, int qCol) {
    doubleClickGuard_.start();
    if (qCol == kGridEditCol) openEditWindow();
}

void frmCommChInfo::openEditWindow() { app_.channelFocus().requestEditWindow(); }

void frmCommChInfo::onContextMenu(const QPoint& pos) {
    const int r = MSFlexGrid1->rowAt(pos.y());
    const int c = MSFlexGrid1->columnAt(pos.x());
    if (r < 0 || c < 0) return;
    MSFlexGrid1->setFocus();
    MSFlexGrid1->setCurrentCell(r, c);
    app_.PopupChannelMenu(MSFlexGrid1->viewport()->mapToGlobal(pos));
}

namespace {

bool isNavigationKey(const QKeyEvent* k) {
    if (k->modifiers() & Qt::AltModifier) return false;   // Alt+Down opens the list
    switch (k->key()) {
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_Left: case Qt::Key_Right:
    case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home: case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

bool isVerticalKey(const QKeyEvent* k) {
    return isNavigationKey(k) && k->key() != Qt::Key_Left && k->key() != Qt::Key_Right &&
           k->key() != Qt::Key_Home && k->key() != Qt::Key_End;
}

bool opensList(const QKeyEvent* k) {
    return k->key() == Qt::Key_F4 || ((k->modifiers() & Qt::AltModifier) && k->key() == Qt::Key_Down);
}

// A character the user typed (no shortcut).
bool isTypedText(const QKeyEvent* k) {
    const QString t = k->text();
    return t.size() == 1 && t[0].unicode() >= 32 && t[0].unicode() != 127 &&
           !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

}  // namespace

void frmCommChInfo::moveByKey(const QKeyEvent* k) {
    // The table moves its current cell as it does for its own keys; the
    // entry into the new cell opens that cell's editor.
    QKeyEvent copy(QEvent::KeyPress, k->key(), k->modifiers(), k->text());
    MSFlexGrid1->setFocus();
    QCoreApplication::sendEvent(MSFlexGrid1, &copy);
}

void frmCommChInfo::restoreEditor() {
    const int n = state_.editCell.row;
    const int k = state_.editCell.col;
    if (k == 3) {
        Text2->setText(FromBytes(FixedText<64>(ToBytes(cellText(n, k))).text()));
    } else if (QComboBox* box = chooserFor(k)) {
        showChooserText(box, cellText(n, k));
    }
    hideEditors();
    MSFlexGrid1->setFocus();
}

void frmCommChInfo::typeIntoEditor(const QKeyEvent* k) {
    // A character typed over the table opens the editor of the current cell
    // with that character as its start.
    EnterGridEdit();
    const int col = currentCol();
    if (col == 3 && Text2->isVisible()) {
        Text2->clear();
        QKeyEvent copy(QEvent::KeyPress, k->key(), k->modifiers(), k->text());
        QCoreApplication::sendEvent(Text2, &copy);
        return;
    }
    QComboBox* box = chooserFor(col);
    if (!box || !box->isVisible()) return;
    if (box->isEditable()) {
        box->setEditText(k->text());
        box->lineEdit()->setModified(true);
    } else {
        box->showPopup();
        box->view()->keyboardSearch(k->text());
    }
}

bool frmCommChInfo::eventFilter(QObject* o, QEvent* e) {
    if (o == MSFlexGrid1->viewport()) {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            if (rowMouseEvent(static_cast<QMouseEvent*>(e))) return true;
            break;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (rowDropEvent(e)) return true;
            break;
        default:
            break;
        }
    }
    if (o == MSFlexGrid1 && e->type() == QEvent::KeyPress && rowKeyEvent(static_cast<QKeyEvent*>(e))) return true;
    if (o == Text2) {
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                ConcludeGridEdit();
                GridNextCol();
                return true;
            }
            if (k->key() == Qt::Key_Escape) {
                restoreEditor();
                return true;
            }
            if (isVerticalKey(k) || k->key() == Qt::Key_Tab) {
                ConcludeGridEdit();
                if (k->key() == Qt::Key_Tab) GridNextCol();
                else moveByKey(k);
                return true;
            }
            if (k->matches(QKeySequence::Copy) || k->matches(QKeySequence::Paste) || k->matches(QKeySequence::Cut))
                return true;
            const QString t = k->text();
            if (isTypedText(k)) {
                const int c = FilterGridNameChar(t[0].unicode());
                if (c == 0) return true;
                if (c != t[0].unicode()) {
                    if (Text2->text().size() - Text2->selectedText().size() < Text2->maxLength())
                        Text2->insert(QString(QChar(c)));
                    return true;
                }
            } else if (t.size() == 1 && (t[0].unicode() == 3 || t[0].unicode() == 22 || t[0].unicode() == 24)) {
                return true;
            }
        } else if (e->type() == QEvent::FocusOut) {
            if (Text2->isVisible() && Text2->isEnabled() && state_.editCell.col == 3) ConcludeGridEdit();
        } else if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) {
            if (static_cast<QMouseEvent*>(e)->button() == Qt::RightButton) return true;
        }
        return false;
    }
    if (auto* box = qobject_cast<QComboBox*>(o)) {
        // Events of a chooser whose list is closed (an open list gets its
        // keys itself): navigation never changes its value.
        switch (e->type()) {
        case QEvent::ShortcutOverride:
            // Until the user types into it, the chooser leaves the keys of
            // the channel commands (Ctrl+C, Ctrl+V, Del, ...) to them.
            if (!box->isEditable() || !box->lineEdit()->isModified()) {
                e->ignore();
                return true;
            }
            return false;
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                onChooserEnter(box);
                return true;
            }
            if (k->key() == Qt::Key_Escape) {
                restoreEditor();
                return true;
            }
            if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
                if (ConcludeGridEdit()) {
                    if (k->key() == Qt::Key_Tab) {
                        GridNextCol();
                    } else {
                        const QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
                        moveByKey(&left);
                    }
                }
                return true;
            }
            if (isNavigationKey(k)) {
                if (ConcludeGridEdit()) moveByKey(k);
                return true;
            }
            if (opensList(k)) return false;   // the chooser opens its list
            if (!box->isEditable() && isTypedText(k)) {
                // A pick list opens and finds the typed entry; Enter or a
                // click picks it.
                box->showPopup();
                box->view()->keyboardSearch(k->text());
                return true;
            }
            return false;   // typed into the RX or TX chooser
        }
        case QEvent::Wheel:
            // The wheel scrolls the table; the chooser stays as it is.
            QCoreApplication::sendEvent(MSFlexGrid1->viewport(), e);
            return true;
        case QEvent::FocusOut: {
            const auto reason = static_cast<QFocusEvent*>(e)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
                reason != Qt::MenuBarFocusReason)
                ConcludeGridEdit();   // leaving the cell writes what was typed
            return false;
        }
        case QEvent::MouseButtonPress:
            return static_cast<QMouseEvent*>(e)->button() == Qt::RightButton;
        default:
            return false;
        }
    }
    if (o == MSFlexGrid1 && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            EnterGridEdit();
            return true;
        }
        if (opensList(k)) {
            EnterGridEdit();
            if (QComboBox* box = chooserFor(currentCol()); box && box->isVisible()) box->showPopup();
            return true;
        }
        if (isTypedText(k)) {
            typeIntoEditor(k);
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

void frmCommChInfo::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (firstActivation_ && !app_.mdiArea()) {
        firstActivation_ = false;
        QTimer::singleShot(0, this, [this] { onCellEntered(); });
    }
}

void frmCommChInfo::changeEvent(QEvent* e) { QWidget::changeEvent(e); }

void frmCommChInfo::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const int rowHeight = MSFlexGrid1->rowHeight(currentRow() < 1 ? 0 : currentRow() - 1);
    visibleRows_ = VisibleRowsFor(MSFlexGrid1->height(), rowHeight);
    hideEditors();
}

void frmCommChInfo::closeEvent(QCloseEvent* e) {
    guarded(s_, "frmCommChInfo_Form_Unload", [&] {
        if (Text2->isVisible() && Text2->hasFocus()) MSFlexGrid1->setFocus();
        subscription_.reset();
        app_.channelFocus().withdrawSelection(this);   // no table to run commands on
        app_.ShowCHInfo(false);
    });
    QWidget::closeEvent(e);
}

// --- channel commands -------------------------------------------------------

void frmCommChInfo::channelsChanged() {
    reShowAllGrid();
    SetShowEditData();
    updateCommands();
}

void frmCommChInfo::documentReplaced() {
    // What was being typed belongs to the document that is gone.
    Text2->setModified(false);
    for (QComboBox* box : {Combo6_1, Combo6_2}) box->lineEdit()->setModified(false);
    hideEditors();
    fillFrequencyChoosers();
    SetGridData();
    updateCommands();
}

void frmCommChInfo::setCurrentRow(int t) { MSFlexGrid1->setCurrentCell(t - 1, currentCol() < 0 ? 1 : currentCol()); }

RadioDocument& frmCommChInfo::doc() { return ctl_.document(); }

void frmCommChInfo::habitsChanged() { ReShowAllTxFre(s_.settings.habits.UseOffset); }

void frmCommChInfo::languageChanged() { ReShowChInfoByLanguage(); }

}  // namespace zr
