#include "platform/channels/frm_edit_selected.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "channels/channel_ops.h"
#include "channels/channel_view.h"
#include "platform/shell/texts.h"
#include "shell/language.h"
#include "shell/session.h"

namespace zr {

FrmEditSelected::FrmEditSelected(Session& s, std::vector<int> channels, QWidget* parent)
    : QDialog(parent), s_(s), channels_(std::move(channels)) {
    setObjectName(QStringLiteral("FrmEditSelected"));
    setWindowTitle(Tx(s_, 33030));
    const auto list = [](const std::vector<std::string>& entries) {
        QStringList l;
        for (const std::string& e : entries) l << FromText(e);
        return l;
    };
    const auto texts = [&](std::initializer_list<int> numbers) { return list(TextList(s_, numbers)); };
    const QStringList offOn = texts({15030, 33034});
    // "No tone" as the table shows it.
    const QStringList tones = list(ToneListTexts(s_, 14013));
    const struct {
        int item, label;
        QStringList values;
    } items[] = {
        {item::kTxPower, 15007, texts({15044, 15045, 15046})},
        {item::kBandwidth, 15010, texts({15040, 15041, 15042})},
        {item::kRxTone, 15005, tones},
        {item::kTxTone, 15006, tones},
        {item::kScanSkip, 15014, offOn},
        {item::kOptSignal, 15008, texts({15030, 15043})},
        {item::kBusyLock, 15011, texts({15030, 15031, 15032})},
        {item::kPttId, 15009, texts({15030, 15037, 15038, 15039})},
        {item::kTxInhibit, 15016, offOn},
        {item::kWhisper, 15019, offOn},
        {item::kCompander, 15020, offOn},
        {item::kSignalRelation, 15022, texts({15050, 15051})},
    };
    auto* grid = new QGridLayout;
    int line = 0;
    for (const auto& it : items) {
        Row r{it.item, new QCheckBox(Tx(s_, it.label)), new QComboBox};
        r.value->addItems(it.values);
        r.value->setMaxVisibleItems(15);
        r.value->setEnabled(false);
        r.use->setObjectName(QStringLiteral("use%1").arg(it.item));
        r.value->setObjectName(QStringLiteral("value%1").arg(it.item));
        connect(r.use, &QCheckBox::toggled, r.value, &QWidget::setEnabled);
        // Choosing a value takes the item into the change.
        connect(r.value, &QComboBox::activated, r.use, [box = r.use] { box->setChecked(true); });
        grid->addWidget(r.use, line, 0);
        grid->addWidget(r.value, line, 1);
        rows_.push_back(r);
        ++line;
    }
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons_->button(QDialogButtonBox::Ok)->setText(Tx(s_, 9017));
    buttons_->button(QDialogButtonBox::Cancel)->setText(Tx(s_, 9018));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(Tx(s_, 33031).arg(channels_.size()));
    hint->setWordWrap(true);
    layout->addWidget(hint);
    layout->addLayout(grid);
    layout->addWidget(buttons_);
}

std::vector<ChannelItemValue> FrmEditSelected::chosen() const {
    std::vector<ChannelItemValue> out;
    for (const Row& r : rows_)
        if (r.use->isChecked()) out.push_back({r.item, r.value->currentIndex()});
    return out;
}

void FrmEditSelected::accept() {
    changed_ = SetItemsOnChannels(s_, channels_, chosen());
    QDialog::accept();
}

}  // namespace zr
