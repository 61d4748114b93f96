#include "platform/pages/frm_radio.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QScrollBar>
#include <QVBoxLayout>

#include "factory/test_data.h"
#include "shell/prompter.h"
#include "shell/session.h"
#include "platform/pages/frm_key.h"
#include "platform/pages/frm_opt_features.h"
#include "control/document_controller.h"
#include "platform/pages/register_pages.h"
#include "platform/shell/dialogs.h"
#include "platform/shell/texts.h"

namespace zr {

// --- FM broadcast channels --------------------------------------------------

FrmRadio::FrmRadio(AppServices& app, QWidget* parent)
    : PageWindow(app, 0, parent),
      model_(app.controller().document().stored, [this] { controller().revalidateChannelRefs(); }) {
    setWindowTitle(text(pages::FmPage::kCaptionKey));
    MSFlexGrid1 = new QTableWidget(pages::FmPage::kRows, 2, this);
    MSFlexGrid1->setObjectName("MSFlexGrid1");
    MSFlexGrid1->setHorizontalHeaderLabels({text(17001), text(17002)});
    MSFlexGrid1->verticalHeader()->hide();
    MSFlexGrid1->horizontalHeader()->setFixedHeight(32);
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(22);
    MSFlexGrid1->setColumnWidth(0, 70);
    MSFlexGrid1->setColumnWidth(1, 120);
    MSFlexGrid1->horizontalHeader()->setStretchLastSection(true);
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int r = 1; r <= pages::FmPage::kRows; ++r) {
        auto* n = new QTableWidgetItem(QString::number(r));
        n->setTextAlignment(Qt::AlignCenter);
        n->setFlags(Qt::ItemIsEnabled);
        n->setBackground(palette().button());
        MSFlexGrid1->setItem(r - 1, 0, n);
        auto* f = new QTableWidgetItem;
        f->setTextAlignment(Qt::AlignCenter);
        f->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        MSFlexGrid1->setItem(r - 1, 1, f);
        showRow(r);
    }
    MSFlexGrid1->setMinimumSize(230, pages::FmPage::kRows * 22 + 36);

    Text1 = new PageLineEdit(&pages::FilterFmKey, MSFlexGrid1->viewport());
    Text1->setObjectName("Text1");
    Text1->setMaxLength(8);
    Text1->setAlignment(Qt::AlignCenter);
    Text1->hide();
    Text1->installEventFilter(this);

    connect(MSFlexGrid1, &QTableWidget::currentCellChanged, this, [this](int row, int col, int, int) {
        commitEdit();
        if (row >= 0 && col == 1) enterCell(row + 1);
    });
    connect(MSFlexGrid1, &QTableWidget::cellClicked, this, [this](int row, int col) {
        if (col == 1 && !Text1->isVisible()) enterCell(row + 1);
    });
    connect(MSFlexGrid1->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeEditor(); });

    auto* v = new QVBoxLayout;
    v->addWidget(MSFlexGrid1, 1);
    setPageLayout(v);
    resize(300, 560);
}

void FrmRadio::reshow() {
    // What was being typed belongs to the document that is gone.
    editRow_ = 0;
    Text1->hide();
    for (int r = 1; r <= pages::FmPage::kRows; ++r) showRow(r);
}

void FrmRadio::showRow(int row) {
    if (auto* it = MSFlexGrid1->item(row - 1, 1)) it->setText(FromBytes(model_.cellText(row)));
}

void FrmRadio::placeEditor() {
    if (editRow_ < 1 || !Text1->isVisible()) return;
    QRect cell = MSFlexGrid1->visualRect(MSFlexGrid1->model()->index(editRow_ - 1, 1));
    Text1->setGeometry(cell);
}

void FrmRadio::enterCell(int row) {
    if (row < 1 || row > pages::FmPage::kRows) return;
    if (editRow_ >= 1 && editRow_ != row) commitEdit();
    editRow_ = row;
    {
        QSignalBlocker b(MSFlexGrid1);
        MSFlexGrid1->setCurrentCell(row - 1, 1);
    }
    MSFlexGrid1->scrollToItem(MSFlexGrid1->item(row - 1, 1));
    Text1->setText(MSFlexGrid1->item(row - 1, 1)->text());
    Text1->show();
    placeEditor();
    Text1->setFocus(Qt::OtherFocusReason);
    Text1->selectAll();
}

void FrmRadio::commitEdit() {
    if (editRow_ < 1) return;
    int row = editRow_;
    editRow_ = 0;
    model_.commit(row, ToBytes(Text1->text()));
    Text1->hide();
    showRow(row);
}

bool FrmRadio::eventFilter(QObject* o, QEvent* e) {
    if (o == Text1) {
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Down) {
                int next = pages::FmPage::nextRow(editRow_ < 1 ? pages::FmPage::kRows : editRow_);
                commitEdit();
                enterCell(next);
                return true;
            }
            if (k->key() == Qt::Key_Up) {
                int prev = editRow_ <= 1 ? pages::FmPage::kRows : editRow_ - 1;
                commitEdit();
                enterCell(prev);
                return true;
            }
        } else if (e->type() == QEvent::FocusOut && Text1->isVisible()) {
            commitEdit();
        }
    }
    return PageWindow::eventFilter(o, e);
}

// --- Dealer information -----------------------------------------------------

FrmRadioInfo::FrmRadioInfo(AppServices& app, QWidget* parent) : PageWindow(app, 3600, parent) {
    setWindowTitle(text(21000));
    auto* top = new QGridLayout;
    top->setHorizontalSpacing(8);
    top->setVerticalSpacing(5);
    FrameDealer = new QGroupBox(text(21001), this);
    auto* dealer = new QGridLayout(FrameDealer);
    dealer->setHorizontalSpacing(8);
    dealer->setVerticalSpacing(5);

    pages::RadioInfoView view = pages::ShowByData(app.controller().document().radioInfo);
    int row = 0, drow = 0;
    for (int i = 0; i < int(view.fields.size()); ++i) {
        const auto& f = view.fields[i];
        bool inDealer = i >= pages::kRadioInfoDealerFirst;
        QWidget* owner = inDealer ? static_cast<QWidget*>(FrameDealer) : this;
        QGridLayout* g = inDealer ? dealer : top;
        int& r = inDealer ? drow : row;
        QWidget* w = nullptr;
        if (i == pages::kRadioInfoModelField || i == pages::kRadioInfoBandField) {
            auto* c = NewPageCombo(owner, 180);
            (i == pages::kRadioInfoModelField ? ComboModel : ComboBand) = c;
            w = c;
        } else if (f.multiLine) {
            auto* e = new QPlainTextEdit(owner);
            e->setFixedHeight(64);
            e->setTabChangesFocus(true);
            const int limit = f.maxLength;
            connect(e, &QPlainTextEdit::textChanged, e, [e, limit] {
                QString t = e->toPlainText();
                if (t.size() <= limit) return;
                QSignalBlocker b(e);
                e->setPlainText(t.left(limit));
                e->moveCursor(QTextCursor::End);
            });
            w = e;
        } else {
            auto* e = new PageLineEdit(&pages::FilterAsciiKey, owner);
            e->setMaxLength(f.maxLength);
            e->selectOnFocus = false;
            w = e;
        }
        w->setMinimumWidth(180);
        fields.push_back(w);
        g->addWidget(NewFieldLabel(text(f.labelKey), owner), r, 0,
                     f.multiLine ? Qt::AlignRight | Qt::AlignTop : Qt::AlignRight | Qt::AlignVCenter);
        g->addWidget(w, r, 1);
        if (f.multiLine) {
            auto* note = new QLabel(text(21012), owner);
            g->addWidget(note, r, 2, Qt::AlignTop);
        }
        ++r;
    }
    auto* v = new QVBoxLayout;
    v->addLayout(top);
    v->addWidget(FrameDealer);
    v->addStretch(1);
    setPageLayout(v);
    ShowByData();
}

void FrmRadioInfo::ShowByData() {
    pages::RadioInfoView view = pages::ShowByData(document().radioInfo);
    ComboModel->clear();
    for (const auto& m : view.models) ComboModel->addItem(FromBytes(m));
    ComboModel->setCurrentIndex(0);
    ComboBand->clear();
    for (const auto& b : view.bands) ComboBand->addItem(FromBytes(b));
    ComboBand->setCurrentIndex(view.bandIndex);
    for (int i = 0; i < int(view.fields.size()); ++i) {
        if (auto* e = qobject_cast<QLineEdit*>(fields[i]))
            e->setText(FromBytes(view.fields[i].text));
        else if (auto* p = qobject_cast<QPlainTextEdit*>(fields[i]))
            p->setPlainText(FromBytes(view.fields[i].text));
    }
}

// --- Factory test data dialog ----------------------------------------------

FrmTestData::FrmTestData(AppServices& app, QWidget* parent)
    : QDialog(parent), app_(app), model_(app.controller().document().testData) {
    setWindowTitle("Test Data");
    auto* g = new QGridLayout;
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(5);
    const auto& labels = pages::TestDataDialogModel::labels();
    for (int i = 0; i < pages::TestDataDialogModel::kBoxes; ++i) {
        auto* e = new PageLineEdit(&pages::FilterDigitKey, this);
        e->setMaxLength(3);
        e->setFixedWidth(60);
        e->setObjectName(QString("Text%1").arg(i + 1));
        boxes[i] = e;
        int col = (i / 6) * 2;
        g->addWidget(NewFieldLabel(QString::fromUtf8(labels[i]), this), i % 6, col);
        g->addWidget(e, i % 6, col + 1);
        connect(e, &QLineEdit::textChanged, this, [this, i](const QString& t) {
            QString shown = QString::fromStdString(model_.setBox(i, ToBytes(t)));
            if (shown != t) {
                QSignalBlocker b(boxes[i]);
                boxes[i]->setText(shown);
            }
        });
    }
    g->setColumnMinimumWidth(2, 120);
    CommandLoad = new QPushButton("&Load", this);
    CommandSave = new QPushButton("&Save", this);
    CommandOK = new QPushButton(this);
    CommandCancel = new QPushButton(this);
    SetOkCancelCaptions(app.session(), CommandOK, CommandCancel);
    for (auto* b : {CommandLoad, CommandSave, CommandOK, CommandCancel}) b->setAutoDefault(false);
    connect(CommandLoad, &QPushButton::clicked, this, [this] { load(); });
    connect(CommandSave, &QPushButton::clicked, this, [this] { save(); });
    connect(CommandOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CommandLoad);
    buttons->addWidget(CommandSave);
    buttons->addStretch(1);
    buttons->addWidget(CommandOK);
    buttons->addWidget(CommandCancel);
    auto* v = new QVBoxLayout(this);
    v->addLayout(g);
    v->addSpacing(8);
    v->addLayout(buttons);
    showBoxes();
}

void FrmTestData::showBoxes() {
    for (int i = 0; i < pages::TestDataDialogModel::kBoxes; ++i) {
        QSignalBlocker b(boxes[i]);
        boxes[i]->setText(QString::fromStdString(model_.box(i)));
    }
}

void FrmTestData::load() {
    Prompter* p = app_.session().prompter;
    if (!p) return;
    auto path = p->chooseFile({"", "Test Data File (*.ted)|*.ted", "", false});
    if (!path) return;
    model_.load(*path);
    showBoxes();
}

void FrmTestData::save() {
    Prompter* p = app_.session().prompter;
    if (!p) return;
    std::string proposal = pages::TestDataDialogModel::ProposedSavePath(app_.controller().document().fileName);
    auto path = p->chooseFile({"", "Test Data File (*.ted)|*.ted", proposal, true});
    if (!path) return;
    model_.save(*path);
}

void FrmTestData::accept() {
    model_.accept(app_.controller().document().testData);
    QDialog::accept();
}

// --- registration ----------------------------------------------------------

void RegisterPageWindows() {
    RegisterChildWindow("FrmOptFeatures", [](AppServices& a) -> QWidget* { return new FrmOptFeatures(a); });
    RegisterChildWindow("FrmDTMF", [](AppServices& a) -> QWidget* { return new FrmDTMF(a); });
    RegisterChildWindow("FrmScan", [](AppServices& a) -> QWidget* { return new FrmScan(a); });
    RegisterChildWindow("FrmAlert", [](AppServices& a) -> QWidget* { return new FrmAlert(a); });
    RegisterChildWindow("FrmKey", [](AppServices& a) -> QWidget* { return new FrmKey(a); });
    RegisterChildWindow("FrmEmbMsg", [](AppServices& a) -> QWidget* { return new FrmEmbMsg(a); });
    RegisterChildWindow("FrmRadio", [](AppServices& a) -> QWidget* { return new FrmRadio(a); });
    RegisterChildWindow("FrmRadioInfo", [](AppServices& a) -> QWidget* { return new FrmRadioInfo(a); });
    RegisterChildWindow("FrmTestData", [](AppServices& a) -> QWidget* {
        return new FrmTestData(a, a.mainWidget());
    });
}

}  // namespace zr
