#include "platform/pages/frm_opt_features.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "control/document_controller.h"
#include "shell/session.h"
#include "platform/shell/texts.h"

namespace zr {

using pages::OptFeatControl;
using pages::OptFeatPage;

FrmOptFeatures::FrmOptFeatures(AppServices& app, QWidget* parent)
    : PageWindow(app, OptFeatPage::kHelpContext, parent), model_(app.controller().document().stored, texts()) {
    setWindowTitle(text(OptFeatPage::kCaptionKey));

    auto* columns = new QHBoxLayout;
    auto addColumn = [&](const std::vector<OptFeatControl>& controls) {
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(4);
        int row = 0;
        QGroupBox* vox = nullptr;
        QGridLayout* voxGrid = nullptr;
        int voxRow = 0;
        for (const OptFeatControl& c : controls) {
            bool inVox = c.id == 24 || c.id == 25 || c.id == 100;
            QGridLayout* g = grid;
            int* r = &row;
            QWidget* owner = this;
            if (inVox) {
                if (!vox) {
                    vox = new QGroupBox("VOX", this);
                    voxGrid = new QGridLayout(vox);
                    voxGrid->setHorizontalSpacing(8);
                    voxGrid->setVerticalSpacing(4);
                    grid->addWidget(vox, row++, 0, 1, 2);
                }
                g = voxGrid;
                r = &voxRow;
                owner = vox;
            }
            switch (c.kind) {
                case OptFeatControl::List: {
                    auto* box = NewPageCombo(owner, 120);
                    combos_[c.id] = box;
                    g->addWidget(NewFieldLabel(text(c.labelKey), owner), *r, 0);
                    g->addWidget(box, (*r)++, 1);
                    connect(box, qOverload<int>(&QComboBox::activated), this, [this, id = c.id](int pos) {
                        RunGuarded(session(), "FrmOptFeatures", "SaveOptFeat", [&] {
                            model_.choose(id, pos);
                            showAll();
                        });
                    });
                    break;
                }
                case OptFeatControl::Check: {
                    auto* box = NewPageCheck(text(c.labelKey), owner);
                    checks_[c.id] = box;
                    g->addWidget(box, (*r)++, 1);
                    connect(box, &QCheckBox::clicked, this, [this, id = c.id](bool on) {
                        model_.setCheck(id, on);
                    });
                    break;
                }
                case OptFeatControl::PowerOnText: {
                    auto* frame = new QWidget(this);
                    auto* fg = new QGridLayout(frame);
                    fg->setContentsMargins(0, 0, 0, 0);
                    fg->setSpacing(3);
                    for (int n = 0; n < 12; ++n) {
                        auto* e = new PageLineEdit(&pages::FilterPowerOnKey, frame);
                        e->setMaxLength(1);
                        e->setFixedWidth(26);
                        e->setAlignment(Qt::AlignCenter);
                        e->setObjectName(QString("Text%1").arg(n + 1));
                        boxes_[n] = e;
                        fg->addWidget(e, n / 6, n % 6);
                        connect(e, &QLineEdit::textEdited, this, [this, n](const QString& t) {
                            model_.setPowerOnBox(n, ToBytes(t));
                        });
                        connect(e, &PageLineEdit::charAccepted, this, [this, n] {
                            if (n < 11)
                                boxes_[n + 1]->setFocus(Qt::TabFocusReason);
                            else if (auto* inhibit = checkBox(106))
                                inhibit->setFocus(Qt::TabFocusReason);
                        });
                    }
                    grid->addWidget(NewFieldLabel(text(c.labelKey), this), row, 0, Qt::AlignRight | Qt::AlignTop);
                    grid->addWidget(frame, row++, 1);
                    break;
                }
            }
        }
        grid->setRowStretch(row, 1);
        columns->addLayout(grid);
    };
    addColumn(OptFeatPage::leftColumn());
    columns->addSpacing(16);
    addColumn(OptFeatPage::rightColumn());

    auto* v = new QVBoxLayout;
    v->addLayout(columns);
    setPageLayout(v);

    model_.open();
    showAll();
}

FrmOptFeatures::~FrmOptFeatures() = default;

void FrmOptFeatures::showAll() {
    for (auto& [id, box] : combos_) ShowChoice(box, model_.list(id));
    for (auto& [id, box] : checks_) {
        QSignalBlocker b(box);
        box->setChecked(model_.check(id));
    }
    for (int n = 0; n < 12; ++n) {
        QString t = FromBytes(model_.powerOnBoxes()[n]);
        if (boxes_[n]->text() != t) {
            QSignalBlocker b(boxes_[n]);
            boxes_[n]->setText(t);
        }
    }
}

void FrmOptFeatures::ReshowByCh() {
    model_.ReshowByCh();
    showAll();
}

}  // namespace zr
