#include "platform/pages/frm_key.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "shell/session.h"
#include "control/document_controller.h"
#include "data/bands.h"
#include "platform/shell/texts.h"

namespace zr {

namespace {

// Adds "label  [list]" as the next row of a grid and returns the list.
template <typename Model, typename Show>
QComboBox* addListRow(QWidget* owner, QGridLayout* grid, int row, const QString& label, int id,
                      Model& model, Show show, int width = 130) {
    auto* box = NewPageCombo(owner, width);
    grid->addWidget(NewFieldLabel(label, owner), row, 0);
    grid->addWidget(box, row, 1);
    QObject::connect(box, qOverload<int>(&QComboBox::activated), owner, [&model, show, id, owner](int pos) {
        PageWindow* page = nullptr;
        for (QWidget* w = owner; w && !page; w = w->parentWidget()) page = qobject_cast<PageWindow*>(w);
        auto run = [&] {
            model.choose(id, pos);
            show();
        };
        if (page)
            RunGuarded(page->session(), page->objectName().toLatin1().constData(), "Combo_Click", run);
        else
            run();
    });
    return box;
}

QGridLayout* newGrid(QWidget* w = nullptr) {
    auto* g = w ? new QGridLayout(w) : new QGridLayout;
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(5);
    g->setColumnStretch(2, 1);
    return g;
}

}  // namespace

// --- DTMF -------------------------------------------------------------------

FrmDTMF::FrmDTMF(AppServices& app, QWidget* parent)
    : PageWindow(app, pages::DtmfPage::kHelpContext, parent),
      model_(app.controller().document().stored, texts(), [this] { controller().edit([this] { AlignIdCodeLengths(session()); }); },
             [this] { controller().edit([this] { document().changes.settings(SettingsRecord::Dtmf); }); }) {
    using P = pages::DtmfPage;
    setWindowTitle(text(P::kCaptionKey));
    tabs = new QTabWidget(this);
    auto show = [this] { showAll(); };
    auto addCode = [&](QWidget* owner, QGridLayout* g, int row, int col, const QString& label, int n) {
        auto* e = new PageLineEdit(&pages::FilterDtmfCodeKey, owner);
        e->setMaxLength(16);
        e->setMinimumWidth(170);
        codes_[n] = e;
        g->addWidget(NewFieldLabel(label, owner), row, col);
        g->addWidget(e, row, col + 1);
        connect(e, &QLineEdit::textEdited, this, [this, n](const QString& t) { model_.setCode(n, ToBytes(t)); });
    };

    auto* tab1 = new QWidget;
    auto* g1 = newGrid(tab1);
    int r = 0;
    combos_[P::Rate] = addListRow(tab1, g1, r++, text(18005), P::Rate, model_, show);
    combos_[P::FirstDigitTime] = addListRow(tab1, g1, r++, text(18006), P::FirstDigitTime, model_, show);
    combos_[P::FirstDigitDelay] = addListRow(tab1, g1, r++, text(18007), P::FirstDigitDelay, model_, show);
    combos_[P::StarHash] = addListRow(tab1, g1, r++, text(18008), P::StarHash, model_, show);
    combos_[P::DKey] = addListRow(tab1, g1, r++, text(18009), P::DKey, model_, show);
    Check1 = NewPageCheck(text(18030), tab1);
    g1->addWidget(Check1, r++, 1, 1, 2);
    connect(Check1, &QCheckBox::clicked, this, [this](bool on) { model_.setSideTone(on); });
    addCode(tab1, g1, r++, 0, text(18016), 0);
    addCode(tab1, g1, r++, 0, text(18017), 1);
    g1->setRowStretch(r, 1);

    auto* tab2 = new QWidget;
    auto* g2 = newGrid(tab2);
    r = 0;
    combos_[P::Signalling] = addListRow(tab2, g2, r++, text(18010), P::Signalling, model_, show);
    combos_[P::CallAlert] = addListRow(tab2, g2, r++, text(18011), P::CallAlert, model_, show);
    combos_[P::Separator] = addListRow(tab2, g2, r++, text(18013), P::Separator, model_, show);
    combos_[P::Group] = addListRow(tab2, g2, r++, text(18014), P::Group, model_, show);
    combos_[P::AutoReset] = addListRow(tab2, g2, r++, text(18015), P::AutoReset, model_, show);
    addCode(tab2, g2, r++, 0, text(18018), 2);
    addCode(tab2, g2, r++, 0, text(18019), 3);
    g2->setRowStretch(r, 1);

    auto* tab3 = new QWidget;
    auto* g3 = new QGridLayout(tab3);
    g3->setHorizontalSpacing(8);
    g3->setVerticalSpacing(5);
    for (int k = 0; k < 16; ++k) addCode(tab3, g3, k % 8, (k / 8) * 2, QString::number(k + 1), 4 + k);
    g3->setRowStretch(8, 1);

    tabs->addTab(tab1, text(18002));
    tabs->addTab(tab2, text(18003));
    tabs->addTab(tab3, text(18004));
    // AutoAnswer has no visible list.
    combos_[P::AutoAnswer] = new QComboBox(this);
    combos_[P::AutoAnswer]->hide();

    auto* v = new QVBoxLayout;
    v->addWidget(tabs);
    setPageLayout(v);

    model_.open();
    showAll();
    for (int n = 0; n < P::kCodeCount; ++n) codes_[n]->setText(FromBytes(model_.code(n)));
}

void FrmDTMF::showAll() {
    for (int id = 0; id < pages::DtmfPage::ListCount; ++id) ShowChoice(combos_[id], model_.list(id));
    QSignalBlocker b(Check1);
    Check1->setChecked(model_.sideTone());
}

// --- Scan -------------------------------------------------------------------

FrmScan::FrmScan(AppServices& app, QWidget* parent)
    : PageWindow(app, pages::ScanPage::kHelpContext, parent),
      model_(app.controller().document().stored, texts(), [this] { controller().edit([this] { document().changes.settings(SettingsRecord::Scan); }); }) {
    using P = pages::ScanPage;
    setWindowTitle(text(P::kCaptionKey));
    auto show = [this] { showAll(); };
    auto* g = newGrid();
    int r = 0;
    const int labels[] = {28001, 28002, 28003, 28004, 28005, 28006, 28007, 28008, 28009};
    for (int id = P::Mode; id <= P::TxResume; ++id)
        combos_[id] = addListRow(this, g, r++, text(labels[id]), id, model_, show, 150);
    CheckEntry = NewPageCheck(text(28010), this);
    CheckExit = NewPageCheck(text(28011), this);
    g->addWidget(CheckEntry, r++, 1, 1, 2);
    g->addWidget(CheckExit, r++, 1, 1, 2);
    connect(CheckEntry, &QCheckBox::clicked, this, [this](bool on) { model_.setEntryTone(on); });
    connect(CheckExit, &QCheckBox::clicked, this, [this](bool on) { model_.setExitTone(on); });
    combos_[P::WaitTime] = new QComboBox(this);  // WaitTime has no visible list
    combos_[P::WaitTime]->hide();

    auto* v = new QVBoxLayout;
    v->addLayout(g);
    v->addStretch(1);
    setPageLayout(v);
    model_.open();
    showAll();
}

void FrmScan::showAll() {
    for (int id = 0; id < pages::ScanPage::ListCount; ++id) ShowChoice(combos_[id], model_.list(id));
    for (auto [box, on] : {std::pair{CheckEntry, model_.entryTone()}, std::pair{CheckExit, model_.exitTone()}}) {
        QSignalBlocker b(box);
        box->setChecked(on);
        box->setEnabled(model_.tonesEnabled());
    }
}

// --- Alert and emergency ----------------------------------------------------

FrmAlert::FrmAlert(AppServices& app, QWidget* parent)
    : PageWindow(app, pages::AlertPage::kHelpContext, parent), model_(app.controller().document().stored, texts()) {
    using P = pages::AlertPage;
    setWindowTitle(text(P::kCaptionKey));
    auto show = [this] { showAll(); };
    auto* g = newGrid();
    const int labels[] = {27011, 27001, 27002, 27003, 27004, 27005, 27006, 27007, 27009, 27010};
    for (int id = 0; id < P::ListCount; ++id)
        combos_[id] = addListRow(this, g, id, text(labels[id]), id, model_, show, 150);
    auto* v = new QVBoxLayout;
    v->addLayout(g);
    v->addStretch(1);
    setPageLayout(v);
    model_.open();
    showAll();
}

void FrmAlert::showAll() {
    for (int id = 0; id < pages::AlertPage::ListCount; ++id) ShowChoice(combos_[id], model_.list(id));
}

// --- Programmable keys ------------------------------------------------------

FrmKey::FrmKey(AppServices& app, QWidget* parent)
    : PageWindow(app, pages::KeyPage::kHelpContext, parent), model_(app.controller().document().stored, texts()) {
    using P = pages::KeyPage;
    setWindowTitle(text(P::kCaptionKey));
    auto show = [this] { showAll(); };
    struct Group { int caption; int longList; int shortList; };
    const Group groups[] = {{29003, 0, 1}, {29004, 2, 3}, {29007, 4, 5},
                            {29008, 6, 7}, {29009, 8, 11}, {29010, 12, 13}};
    auto* keys = new QGridLayout;
    keys->setSpacing(8);
    int i = 0;
    for (const Group& gr : groups) {
        auto* box = new QGroupBox(text(gr.caption), this);
        auto* g = newGrid(box);
        combos_[gr.longList] = addListRow(box, g, 0, text(29005), gr.longList, model_, show, 170);
        combos_[gr.shortList] = addListRow(box, g, 1, text(29006), gr.shortList, model_, show, 170);
        keys->addWidget(box, i / 2, i % 2);
        ++i;
    }
    auto* times = newGrid();
    combos_[P::kLongPress] = addListRow(this, times, 0, text(29001), P::kLongPress, model_, show, 80);
    combos_[P::kEmergencyLongPress] =
        addListRow(this, times, 1, text(29002), P::kEmergencyLongPress, model_, show, 80);
    // The full function list translates texts into function numbers; it is
    // not shown.
    combos_[P::kFunctionList] = new QComboBox(this);
    combos_[P::kFunctionList]->hide();

    auto* v = new QVBoxLayout;
    v->addLayout(keys);
    v->addLayout(times);
    v->addStretch(1);
    setPageLayout(v);
    model_.open();
    showAll();
}

void FrmKey::showAll() {
    for (int id = 0; id < pages::KeyPage::kListCount; ++id) ShowChoice(combos_[id], model_.list(id));
}

void FrmKey::refreshKeys() {
    model_.refreshKeys();
    showAll();
}

// --- Embedded message -------------------------------------------------------

FrmEmbMsg::FrmEmbMsg(AppServices& app, QWidget* parent) : PageWindow(app, 3500, parent) {
    setWindowTitle(text(20000));
    auto* v = new QVBoxLayout;
    EmbMsgRecord& rec = app.controller().document().stored.EmbMsg;
    for (int i = 0; i < 4; ++i) {
        auto* e = new PageLineEdit(&pages::FilterAsciiKey, this);
        e->setMaxLength(16);
        e->selectOnFocus = false;
        e->setMinimumWidth(220);
        e->setFont(QFont("Monospace"));
        e->setObjectName(QString("Text%1").arg(i + 1));
        lines_[i] = e;
        v->addWidget(e);
        connect(e, &QLineEdit::textChanged, this, [&rec, i](const QString& t) {
            pages::EmbMsgStore(rec, i, ToBytes(t));
        });
    }
    reshow();
    v->addStretch(1);
    setPageLayout(v);
}

void FrmEmbMsg::reshow() {
    EmbMsgRecord& rec = document().stored.EmbMsg;
    for (int i = 0; i < 4; ++i) {
        // Filling the box is a change too: the line is stored again cleaned.
        lines_[i]->setText(FromBytes(pages::EmbMsgShown(rec, i)));
        pages::EmbMsgStore(rec, i, ToBytes(lines_[i]->text()));
    }
}

}  // namespace zr
