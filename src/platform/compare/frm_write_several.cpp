#include "platform/compare/frm_write_several.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "control/document_controller.h"
#include "link/dealer_run.h"
#include "link/verify.h"
#include "platform/compare/compare_tools.h"
#include "platform/serial/qt_link.h"
#include "platform/shell/frm_main.h"
#include "platform/shell/texts.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace zr {

FrmWriteSeveral::FrmWriteSeveral(CompareTools& tools, QWidget* parent)
    : QDialog(parent), tools_(tools),
      run_(std::make_unique<link::DealerRun>(tools.session(), tools.link().port(), tools.timers())) {
    Session& s = tools.session();
    setObjectName(QStringLiteral("FrmWriteSeveral"));
    setWindowTitle(CompareText(s, 32010));
    setModal(false);
    run_->setProgress(&tools.progress());
    LabelStatus = new QLabel(CompareText(s, 32011));
    LabelStatus->setWordWrap(true);
    List1 = new QTreeWidget;
    List1->setRootIsDecorated(false);
    List1->setUniformRowHeights(true);
    List1->setHeaderLabels({CompareText(s, 32015), CompareText(s, 32016), CompareText(s, 32017),
                            CompareText(s, 32018)});
    List1->header()->setStretchLastSection(true);
    List1->setMinimumSize(560, 240);
    CommandNext = new QPushButton(CompareText(s, 32012));
    CommandRetry = new QPushButton(CompareText(s, 32013));
    CommandSave = new QPushButton(CompareText(s, 32014));
    CommandClose = new QPushButton(Tx(s, 9023));
    CommandNext->setDefault(true);
    CommandNext->setAutoDefault(true);
    for (QPushButton* b : {CommandRetry, CommandSave, CommandClose}) b->setAutoDefault(false);
    connect(CommandNext, &QPushButton::clicked, this, [this] { next(); });
    connect(CommandRetry, &QPushButton::clicked, this, [this] { retry(); });
    connect(CommandSave, &QPushButton::clicked, this, [this] { save(); });
    connect(CommandClose, &QPushButton::clicked, this, &QDialog::close);
    connect(List1, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CommandNext);
    buttons->addWidget(CommandRetry);
    buttons->addStretch();
    buttons->addWidget(CommandSave);
    buttons->addWidget(CommandClose);
    auto* v = new QVBoxLayout(this);
    v->addWidget(LabelStatus);
    v->addWidget(List1, 1);
    v->addLayout(buttons);
    updateButtons();
    CommandNext->setFocus();
}

FrmWriteSeveral::~FrmWriteSeveral() {
    if (run_->running()) tools_.release();
}

bool FrmWriteSeveral::writing() const { return run_->running(); }

bool FrmWriteSeveral::begin() {
    if (run_->running() || !tools_.route(run_->engine())) return false;
    tools_.mainWindow().controller().commitEdits();
    run_->setVerify(link::LoadVerifyWrite(tools_.session()));
    return true;
}

void FrmWriteSeveral::next() {
    if (!begin()) return;
    const auto before = run_->rows().size();
    LabelStatus->setText(CompareText(tools_.session(), 32025).arg(before + 1));
    run_->next([this](std::size_t row) { turnDone(row); });
    if (run_->rows().size() > before) showRow(run_->rows().size() - 1);
    updateButtons();
}

void FrmWriteSeveral::retry() {
    QTreeWidgetItem* item = List1->currentItem();
    if (!item) return;
    const auto row = static_cast<std::size_t>(List1->indexOfTopLevelItem(item));
    if (row >= run_->rows().size() || run_->rows()[row].ok || !begin()) return;
    LabelStatus->setText(CompareText(tools_.session(), 32025).arg(run_->rows()[row].radio));
    if (!run_->retry(row, [this](std::size_t r) { turnDone(r); })) tools_.release();
    showRow(row);
    updateButtons();
}

void FrmWriteSeveral::turnDone(std::size_t row) {
    tools_.release();
    saved_ = false;
    // The engine is still inside its end step: show the row once it is done.
    QTimer::singleShot(0, this, [this, row] {
        showRow(row);
        const link::DealerRow& r = run_->rows()[row];
        LabelStatus->setText(CompareText(tools_.session(), r.ok ? 32019 : 32020).arg(r.radio));
        List1->setCurrentItem(List1->topLevelItem(static_cast<int>(row)));
        updateButtons();
        CommandNext->setFocus();
        emit turnEnded(static_cast<int>(row));
    });
}

void FrmWriteSeveral::showRow(std::size_t row) {
    while (List1->topLevelItemCount() <= static_cast<int>(row)) new QTreeWidgetItem(List1);
    QTreeWidgetItem* item = List1->topLevelItem(static_cast<int>(row));
    const link::DealerRow& r = run_->rows()[row];
    item->setText(0, QString::number(r.radio));
    item->setText(1, FromText(r.time));
    item->setText(2, FromBytes(r.serialNo));
    item->setText(3, FromText(link::DealerRowResultText(r)));
    const bool failed = !r.ok && !run_->running();
    for (int c = 0; c < 4; ++c) {
        QFont f = item->font(c);
        f.setBold(failed);
        item->setFont(c, f);
        item->setForeground(c, failed ? QBrush(QColor(220, 50, 47)) : QBrush());
    }
    for (int c = 0; c < 3; ++c) List1->resizeColumnToContents(c);
}

void FrmWriteSeveral::updateButtons() {
    const bool busy = run_->running();
    QTreeWidgetItem* item = List1->currentItem();
    const int row = item ? List1->indexOfTopLevelItem(item) : -1;
    const bool failed = row >= 0 && static_cast<std::size_t>(row) < run_->rows().size() && !run_->rows()[row].ok;
    CommandNext->setEnabled(!busy);
    CommandRetry->setEnabled(!busy && failed);
    CommandSave->setEnabled(!busy && !run_->rows().empty());
}

void FrmWriteSeveral::save() {
    Session& s = tools_.session();
    if (!s.prompter || run_->rows().empty()) return;
    FileDialogRequest r;
    r.caption = CompareMessage(s, 32023);
    r.filter = "CSV (*.csv)|*.csv";
    r.initialPath = "radios.csv";
    r.save = true;
    const auto path = s.prompter->chooseFile(r);
    if (!path) return;
    const Result written = link::SaveDealerLog(*path, run_->rows());
    if (!written) {
        s.prompter->tell(CompareMessage(s, 32028) + "\n" + written.message(), Icon::Warning);
        return;
    }
    saved_ = true;
}

void FrmWriteSeveral::closeEvent(QCloseEvent* e) {
    Session& s = tools_.session();
    if (run_->running()) return e->ignore();
    if (!saved_ && s.prompter) {
        const Question q{CompareMessage(s, 32026), {}, Buttons::YesNo, Icon::Question};
        if (s.prompter->ask(q) != Answer::Yes) return e->ignore();
    }
    e->accept();
}

// Escape closes through closeEvent, so the unsaved list is asked about.
void FrmWriteSeveral::reject() { close(); }

}  // namespace zr
