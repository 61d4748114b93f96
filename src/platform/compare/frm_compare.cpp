#include "platform/compare/frm_compare.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "link/scratch_engine.h"
#include "platform/channels/frm_comm_ch_info.h"
#include "platform/compare/compare_tools.h"
#include "platform/extras/extras.h"
#include "platform/serial/qt_link.h"
#include "platform/shell/frm_main.h"
#include "platform/shell/texts.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace zr {

namespace {
constexpr int kChannelRole = Qt::UserRole;
}

FrmCompare::FrmCompare(CompareTools& tools, QWidget* parent)
    : QDialog(parent), tools_(tools),
      scratch_(std::make_unique<link::ScratchEngine>(tools.session(), tools.link().port(), tools.timers())) {
    Session& s = tools.session();
    setObjectName(QStringLiteral("FrmCompare"));
    setWindowTitle(CompareText(s, 32001));
    setModal(false);
    auto* intro = new QLabel(CompareText(s, 32002));
    CommandDocument = new QPushButton(CompareText(s, 32003));
    CommandBackup = new QPushButton(CompareText(s, 32004));
    CommandRadio = new QPushButton(CompareText(s, 32005));
    CommandClose = new QPushButton(Tx(s, 9023));
    LabelSides = new QLabel;
    LabelSides->setWordWrap(true);
    List1 = new QTreeWidget;
    List1->setHeaderHidden(true);
    List1->setRootIsDecorated(true);
    List1->setUniformRowHeights(true);
    List1->setMinimumSize(520, 320);
    connect(CommandDocument, &QPushButton::clicked, this, [this] { chooseFile(false); });
    connect(CommandBackup, &QPushButton::clicked, this, [this] { chooseFile(true); });
    connect(CommandRadio, &QPushButton::clicked, this, [this] { compareWithRadio(); });
    connect(CommandClose, &QPushButton::clicked, this, &QDialog::close);
    connect(List1, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* it) { activated(it); });

    auto* choices = new QHBoxLayout;
    choices->addWidget(CommandDocument);
    choices->addWidget(CommandBackup);
    choices->addWidget(CommandRadio);
    choices->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(CommandClose);
    auto* v = new QVBoxLayout(this);
    v->addWidget(intro);
    v->addLayout(choices);
    v->addWidget(LabelSides);
    v->addWidget(List1, 1);
    v->addLayout(bottom);
}

FrmCompare::~FrmCompare() {
    if (scratch_->busy()) tools_.release();
}

bool FrmCompare::readingRadio() const { return scratch_->busy(); }

void FrmCompare::chooseFile(bool backup) {
    Session& s = tools_.session();
    if (!s.prompter) return;
    FileDialogRequest r;
    r.caption = CompareMessage(s, 32001);
    r.filter = ToText(Tx(s, 9001)) + " (*.dat)|*.dat|(*.*)|*.*";
    r.initialPath = backup ? (tools_.backupFolder() + "/").toStdString() : s.doc.fileName;
    if (const auto path = s.prompter->chooseFile(r)) compareWithFile(*path);
}

void FrmCompare::compareWithFile(const std::string& path) {
    Session& s = tools_.session();
    tools_.mainWindow().controller().commitEdits();
    link::CompareSide other;
    if (const Result loaded = link::LoadCompareSide(path, other); !loaded) {
        if (s.prompter) s.prompter->tell(loaded.message(), Icon::Warning);
        return;
    }
    showDifferences(FromText(path), link::CompareSides(other, link::CompareSide{false, s.doc.stored, {}}));
}

void FrmCompare::compareWithRadio() {
    Session& s = tools_.session();
    if (scratch_->busy() || !tools_.route(scratch_->engine())) return;
    tools_.mainWindow().controller().commitEdits();
    scratch_->setProgress(&tools_.progress(), CompareMessage(s, 32008));
    const bool started = scratch_->read([this](bool ok) {
        tools_.release();
        if (!ok) return;
        Session& ss = tools_.session();
        showDifferences(CompareText(ss, 32027),
                        link::CompareImages(scratch_->copy().doc.image, link::DocumentImage(ss.doc.stored)));
    });
    if (!started) tools_.release();
}

void FrmCompare::showDifferences(const QString& what, std::vector<link::Difference> differences) {
    Session& s = tools_.session();
    differences_ = std::move(differences);
    LabelSides->setText(CompareText(s, 32006).arg(what));
    List1->clear();
    QTreeWidgetItem* group = nullptr;
    for (const auto& d : differences_) {
        if (!group || group->text(0) != QString::fromStdString(d.group)) {
            group = new QTreeWidgetItem(List1, QStringList(QString::fromStdString(d.group)));
            group->setData(0, kChannelRole, d.channel);
            QFont f = group->font(0);
            f.setBold(true);
            group->setFont(0, f);
        }
        auto* line = new QTreeWidgetItem(group, QStringList(FromBytes(d.text)));
        line->setData(0, kChannelRole, d.channel);
    }
    if (differences_.empty()) {
        auto* none = new QTreeWidgetItem(List1, QStringList(CompareText(s, 32007)));
        none->setFlags(Qt::ItemIsEnabled);
    }
    List1->expandAll();
    if (List1->topLevelItemCount() > 0) List1->setCurrentItem(List1->topLevelItem(0));
    emit compared();
}

void FrmCompare::activated(QTreeWidgetItem* item) {
    const int channel = item ? item->data(0, kChannelRole).toInt() : 0;
    if (channel < 1 || channel > kVfoChannel) return;
    auto* table = qobject_cast<frmCommChInfo*>(tools_.mainWindow().ShowChild(QStringLiteral("frmCommChInfo")));
    if (!table) return;
    table->setCurrentCell(channel, 1);
}

}  // namespace zr
