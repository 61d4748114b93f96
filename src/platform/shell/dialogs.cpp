#include "platform/shell/dialogs.h"

#include <algorithm>

#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "control/settings_notice.h"
#include "data/bands.h"
#include "link/port_names.h"
#include "platform/shell/texts.h"
#include "shell/language.h"
#include "shell/languages.h"
#include "shell/prompter.h"
#include "shell/session.h"
#include "shell/settings_files.h"

namespace zr {

namespace {

// Enter in a drop-down list moves the focus on, as Tab does.
class EnterMovesFocus : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                if (auto* w = qobject_cast<QWidget*>(o)) {
                    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                    QCoreApplication::sendEvent(w, &tab);
                }
                return true;
            }
        }
        return false;
    }
};

void enterMovesFocus(QWidget* w) {
    w->installEventFilter(new EnterMovesFocus(w));
}

QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (auto* b : buttons) {
        b->setMinimumWidth(80);
        row->addWidget(b);
    }
    return row;
}

std::string trimRight(std::string s) {
    auto nul = s.find('\0');
    if (nul != std::string::npos) s.erase(nul);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
    return s;
}

}  // namespace

void SetOkCancelCaptions(const Session& s, QPushButton* ok, QPushButton* cancel) {
    if (ok) ok->setText(Tx(s, 9017));
    if (cancel) cancel->setText(Tx(s, 9018));
}

namespace {
// OK and Cancel of a modal dialog: their captions, OK the default button,
// OK accepting and Cancel rejecting the dialog.
void MakeOkCancel(QDialog* d, const Session& s, QPushButton*& ok, QPushButton*& cancel) {
    ok = new QPushButton;
    cancel = new QPushButton;
    SetOkCancelCaptions(s, ok, cancel);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, d, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, d, &QDialog::reject);
}
}  // namespace

void SetCloseHelpCaptions(const Session& s, QPushButton* close, QPushButton* help) {
    if (close) close->setText(Tx(s, 9023));
    if (help) help->setText(Tx(s, 9025));
}

// --- language ------------------------------------------------------------

FrmSetLanguage::FrmSetLanguage(Session& s, QWidget* parent)
    : QDialog(parent), s_(s), languages_(InstalledLanguages(s.paths.programFolder)) {
    setObjectName("FrmSetLanguage");
    setWindowTitle(Tx(s, 23000));
    auto* label = new QLabel(Tx(s, 23001));
    Combo1 = new QComboBox;
    // Each language by its own name.
    for (const LanguageEntry& e : languages_) Combo1->addItem(FromText(e.name), FromText(e.file));
    Combo1->setMinimumWidth(180);
    const LanguageEntry* current = FindLanguage(languages_, s.settings.languageFile);
    Combo1->setCurrentIndex(current ? int(current - languages_.data()) : 0);
    label->setBuddy(Combo1);
    enterMovesFocus(Combo1);
    MakeOkCancel(this, s, CommandOK, CommandCancel);
    auto* form = new QHBoxLayout;
    form->addWidget(label);
    form->addWidget(Combo1, 1);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addSpacing(8);
    v->addLayout(buttonRow({CommandOK, CommandCancel}));
}

void FrmSetLanguage::accept() {
    const int i = Combo1->currentIndex();
    const LanguageEntry* chosen = i >= 0 && i < int(languages_.size()) ? &languages_[size_t(i)] : nullptr;
    if (chosen && chosen != FindLanguage(languages_, s_.settings.languageFile)) {
        // The windows still show the old language; the main window sees the
        // difference and re-captions.
        s_.settings.shownLanguage = s_.settings.CurrentLanguage;
        UseLanguage(s_.settings, *chosen);
    }
    TellSettingNotStored(s_, StoreLanguageChoice(s_));
    QDialog::accept();
}

// --- about ---------------------------------------------------------------

frmAbout::frmAbout(Session& s, QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowTitle(Tx(s, 24000));
    auto* image = new QLabel;
    image->setPixmap(QPixmap(":/zrcps/icons/radio.svg").scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    image->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    image->setFixedWidth(80);
    lblTitle = new QLabel(Tx(s, 24001));
    QFont f = lblTitle->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    lblTitle->setFont(f);
    lblVersion = new QLabel(Tx(s, 24002));
    lblDescription = new QLabel(Tx(s, 24003));
    lblDescription->setWordWrap(true);
    lblDisclaimer = new QLabel(Tx(s, 24004));
    lblDisclaimer->setWordWrap(true);
    QFont small = lblDisclaimer->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    lblDisclaimer->setFont(small);
    cmdOK = new QPushButton(Tx(s, 24005));
    cmdOK->setMinimumWidth(80);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(6);
    texts->addWidget(lblDescription);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(image);
    top->addLayout(texts, 1);
    auto* v = new QVBoxLayout(this);
    v->addLayout(top);
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    v->addWidget(line);
    v->addWidget(lblDisclaimer);
    v->addLayout(buttonRow({cmdOK}));
    setMinimumWidth(420);
    v->setSizeConstraint(QLayout::SetFixedSize);   // every line whole, in every language
}

// --- model and band --------------------------------------------------------

namespace {
const char* const kGmrs = "GMRS";
const char* const kGmrsBand = "460 - 470 MHz";

std::string cleanModel(std::string s) { return trimRight(std::move(s)); }
std::string displayName(const std::string& id) {
    std::string c = cleanModel(id);
    return c == "ZR614" ? "ZR-E271" : c;
}
std::string idOf(const std::string& display) {
    std::string c = cleanModel(display);
    return c == "ZR-E271" ? "ZR614" : c;
}
}  // namespace

FrmModelInfo::FrmModelInfo(Session& s, std::function<void(const std::string&, const std::string&)> apply,
                           QWidget* parent)
    : QDialog(parent), s_(s), apply_(std::move(apply)) {
    setObjectName("FrmModelInfo");
    setWindowTitle(Tx(s, 13000));
    ComboModel = new QComboBox;
    ComboModel->addItem("ZR-M83K");
    ComboBand = new QComboBox;
    ComboBand->addItem("400 - 470 MHz");
    ComboBand->addItem(kGmrs);
    for (auto* c : {ComboModel, ComboBand}) {
        c->setMinimumWidth(180);
        enterMovesFocus(c);
    }
    int m = ComboModel->findText(FromBytes(displayName(s.doc.currentModel)));
    ComboModel->setCurrentIndex(m < 0 ? 0 : m);
    QString band = FromBytes(s.doc.currentBand);
    if (band == kGmrsBand) band = kGmrs;
    int b = ComboBand->findText(band);
    ComboBand->setCurrentIndex(b < 0 ? 0 : b);

    MakeOkCancel(this, s, CommandOK, CommandCancel);

    auto* form = new QFormLayout;
    form->addRow(Tx(s, 13001), ComboModel);
    form->addRow(Tx(s, 13002), ComboBand);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addSpacing(8);
    v->addLayout(buttonRow({CommandOK, CommandCancel}));
}

void FrmModelInfo::accept() {
    std::string model = idOf(ToBytes(ComboModel->currentText()));
    // The list's one entry stands for the one model the program knows. Taken
    // literally it would become a model no radio reports, and every later
    // write would fail the model check.
    if (model == "ZR-M83K") model = kModelId;
    std::string band = ToBytes(ComboBand->currentText());
    if (band == kGmrs) band = kGmrsBand;
    if (model == s_.doc.currentModel && band == s_.doc.currentBand) {
        QDialog::accept();
        return;
    }
    Answer a = Answer::Ok;
    if (s_.prompter)
        a = s_.prompter->ask(Question{ToText(Tx(s_, 9016)), ToText(Tx(s_, 9019)), Buttons::OkCancel,
                                      Icon::Warning});
    if (a == Answer::Ok && apply_) apply_(model, band);
    QDialog::accept();
}

// --- serial port -------------------------------------------------------------

namespace {
// Texts of the additions to the port dialog, with their English wording for
// a language file that lacks them.
QString PortText(const Session& s, int n) {
    const QString t = Tx(s, n);
    if (!t.isEmpty()) return t;
    switch (n) {
        case 22002: return QStringLiteral("Other device...");
        case 22003: return QStringLiteral("Device path of the serial port:");
        case 22004: return QStringLiteral("Demo radio");
        case 22005: return QStringLiteral("Start a simulated radio on a pseudo-terminal and use it as the port");
        case 31020: return QStringLiteral("Connection check");
        case 31021: return QStringLiteral("&Copy");
        default: return {};
    }
}

bool SamePort(const PortChoice& a, const PortChoice& b) {
    if (!a.device.empty() || !b.device.empty()) return a.device == b.device;
    return a.number == b.number;
}
}  // namespace

FrmComSet::FrmComSet(Session& s, PortLister lister, DemoStarter demo, QWidget* parent)
    : QDialog(parent), s_(s), lister_(std::move(lister)), demo_(std::move(demo)) {
    setObjectName("FrmComSet");
    setWindowTitle(Tx(s, 22000));
    auto* label = new QLabel(Tx(s, 22001));
    Combo1 = new QComboBox;
    Combo1->setMinimumWidth(360);
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    label->setBuddy(Combo1);
    enterMovesFocus(Combo1);
    MakeOkCancel(this, s, CommandOK, CommandCancel);
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this](int i) {
        PortID = (i >= 0 && i < int(ports_.size())) ? ports_[size_t(i)].number : 0;
    });

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(Combo1, 1);
    auto* v = new QVBoxLayout(this);
    v->addLayout(row);
    auto* more = new QHBoxLayout;
    more->addStretch();
    CommandOther = new QPushButton(PortText(s, 22002));
    CommandOther->setAutoDefault(false);
    connect(CommandOther, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QString path = QInputDialog::getText(this, PortText(s_, 22002).remove(QStringLiteral("...")),
                                                   PortText(s_, 22003), QLineEdit::Normal,
                                                   QStringLiteral("/dev/"), &ok)
                                 .trimmed();
        if (ok && !path.isEmpty()) useOtherDevice(QFile::encodeName(path).toStdString());
    });
    more->addWidget(CommandOther);
    if (demo_) {
        CommandDemo = new QPushButton(PortText(s, 22004));
        CommandDemo->setToolTip(PortText(s, 22005));
        CommandDemo->setAutoDefault(false);
        connect(CommandDemo, &QPushButton::clicked, this, [this] {
            PortChoice p = demo_();
            if (p.device.empty()) return;
            p.number = kDemoPortNumber;
            if (std::none_of(ports_.begin(), ports_.end(), [&](const PortChoice& e) { return SamePort(e, p); }))
                extra_.push_back(p);
            fill(p);
        });
        more->addWidget(CommandDemo);
    }
    v->addLayout(more);
    v->addSpacing(8);
    v->addLayout(buttonRow({CommandOK, CommandCancel}));

    // The port in use: a device kept by path, else the numbered port.
    PortChoice inUse;
    inUse.number = s.settings.comPort;
    inUse.device = link::StoredPortPath(s);
    ports_ = lister_ ? lister_() : std::vector<PortChoice>{};
    if (!inUse.device.empty()) {
        const auto known = std::find_if(ports_.begin(), ports_.end(), [&](const PortChoice& p) {
            return p.device == inUse.device || (!p.byId.empty() && p.byId == inUse.device);
        });
        if (known != ports_.end()) inUse = *known;
        else useOtherDevice(inUse.device);
    }
    fill(inUse);
    ReShowComPortTimer.setInterval(1000);
    connect(&ReShowComPortTimer, &QTimer::timeout, this, &FrmComSet::refreshPorts);
    ReShowComPortTimer.start();
    connect(this, &QDialog::finished, &ReShowComPortTimer, &QTimer::stop);
}

PortChoice FrmComSet::current() const {
    const int i = Combo1->currentIndex();
    return (i >= 0 && i < int(ports_.size())) ? ports_[size_t(i)] : PortChoice{};
}

void FrmComSet::fill(const PortChoice& wanted) {
    ports_ = lister_ ? lister_() : std::vector<PortChoice>{};
    for (const auto& e : extra_)
        if (std::none_of(ports_.begin(), ports_.end(), [&](const PortChoice& p) { return SamePort(p, e); }))
            ports_.push_back(e);
    QSignalBlocker block(Combo1);
    Combo1->clear();
    int shown = -1;
    for (size_t i = 0; i < ports_.size(); ++i) {
        Combo1->addItem(FromText(ports_[i].name));
        if (!ports_[i].details.empty()) Combo1->setItemData(int(i), FromText(ports_[i].details), Qt::ToolTipRole);
        if (shown < 0 && SamePort(ports_[i], wanted)) shown = int(i);
    }
    // A numbered port is found by its number, also when it was asked for by
    // a device the list does not know.
    for (size_t i = 0; shown < 0 && i < ports_.size(); ++i)
        if (wanted.number > 0 && ports_[i].number == wanted.number) shown = int(i);
    if (ports_.empty()) {
        PortID = 0;
        Combo1->setCurrentIndex(-1);
        return;
    }
    if (shown < 0) shown = 0;
    Combo1->setCurrentIndex(shown);
    PortID = ports_[size_t(shown)].number;
}

void FrmComSet::refreshPorts() { fill(current()); }

void FrmComSet::selectDevice(const std::string& device) {
    PortChoice p;
    p.device = device;
    fill(p);
}

void FrmComSet::useOtherDevice(const std::string& device) {
    PortChoice p{device, kOtherPortNumber, device, {}, {}};
    if (std::none_of(extra_.begin(), extra_.end(), [&](const PortChoice& e) { return SamePort(e, p); }))
        extra_.push_back(p);
    fill(p);
}

void FrmComSet::accept() {
    ReShowComPortTimer.stop();
    selected_ = current();
    if (Combo1->currentIndex() < 0) {
        s_.settings.comPort = 0;
    } else if (selected_.number == kOtherPortNumber) {
        TellSettingNotStored(s_, link::StorePortPath(s_, selected_.device));   // comPort stays
    } else if (selected_.number > 0 && selected_.number <= 32767) {
        s_.settings.comPort = int16_t(selected_.number);
        TellSettingNotStored(s_, WriteSetupKey(s_, "comPort", std::to_string(s_.settings.comPort)));
        // A USB cable is found again by its by-id name in another socket.
        TellSettingNotStored(s_, link::StorePortPath(s_, selected_.byId));
    }
    QDialog::accept();
}

// --- connection report ---------------------------------------------------

FrmConnectionReport::FrmConnectionReport(Session& s, const QString& report, QWidget* parent) : QDialog(parent) {
    setObjectName("FrmConnectionReport");
    setWindowTitle(PortText(s, 31020));
    Text1 = new QPlainTextEdit(report);
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics fm(Text1->font());
    Text1->setMinimumSize(fm.horizontalAdvance(QLatin1Char('x')) * 90, fm.lineSpacing() * 24);
    CommandCopy = new QPushButton(PortText(s, 31021));
    CommandClose = new QPushButton(Tx(s, 9023));
    CommandClose->setDefault(true);
    connect(CommandCopy, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(Text1->toPlainText()); });
    connect(CommandClose, &QPushButton::clicked, this, &QDialog::accept);
    auto* v = new QVBoxLayout(this);
    v->addWidget(Text1, 1);
    v->addLayout(buttonRow({CommandCopy, CommandClose}));
}

// --- password ------------------------------------------------------------

FrmPassWord::FrmPassWord(Session& s, QWidget* parent) : QDialog(parent), s_(s) {
    setObjectName("FrmPassWord");
    setWindowTitle(Tx(s, 23100));
    auto* label = new QLabel(Tx(s, 23101));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Text1 = new QLineEdit(FromBytes(s.settings.ProgramPassword));
    Text1->setMaxLength(4);
    Text1->setMinimumWidth(120);
    label->setBuddy(Text1);
    MakeOkCancel(this, s, CommandOK, CommandCancel);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addSpacing(4);   // the label ends a little left of the box
    row->addWidget(Text1, 1);
    auto* v = new QVBoxLayout(this);
    v->addLayout(row);
    v->addSpacing(8);
    v->addLayout(buttonRow({CommandOK, CommandCancel}));
}

std::string FrmPassWord::password() const { return trimRight(ToBytes(Text1->text())); }

void FrmPassWord::accept() {
    s_.settings.ProgramPassword = password();
    QDialog::accept();
}

// --- progress ------------------------------------------------------------

FrmProgress::FrmProgress(Session& s, int captionText, QWidget* parent) : QDialog(parent) {
    setObjectName("FrmProgress");
    setWindowTitle(Tx(s, captionText));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    Label1 = new QLabel(Tx(s, 9029));
    LabelPercent = new QLabel("0%");
    LabelPercent->setMinimumWidth(LabelPercent->fontMetrics().horizontalAdvance("100%") + 4);
    LabelPercent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ProgressBar1 = new QProgressBar;
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMinimumWidth(300);
    auto* row = new QHBoxLayout;
    row->addWidget(Label1, 1);
    row->addSpacing(10);
    row->addWidget(LabelPercent);
    auto* v = new QVBoxLayout(this);
    v->addLayout(row);
    v->addWidget(ProgressBar1);
}

void FrmProgress::setPercent(int p) {
    p = std::clamp(p, 0, 100);
    ProgressBar1->setValue(p);
    LabelPercent->setText(QString::number(p) + "%");
}

int FrmProgress::percent() const { return ProgressBar1->value(); }

// The window closes when its transfer ends, not by the user.
void FrmProgress::closeEvent(QCloseEvent* e) {
    if (e->spontaneous()) e->ignore();
    else QDialog::closeEvent(e);
}

void FrmProgress::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(e);
}

}  // namespace zr
