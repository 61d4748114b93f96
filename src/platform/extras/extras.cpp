#include "platform/extras/extras.h"

#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "control/settings_notice.h"
#include "files/backups.h"
#include "files/channel_csv.h"
#include "link/verify.h"
#include "platform/print/channel_sheet_preview.h"
#include "platform/serial/qt_link.h"
#include "platform/shell/app_services.h"
#include "platform/shell/texts.h"
#include "shell/language.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace zr {

namespace {

// Texts of the additions (section "Others" of the language files), with
// their English wording for a language file that lacks them.
const char* Fallback(int n) {
    switch (n) {
        case 31000: return "&Import channels from CSV...";
        case 31001: return "&Export channels to CSV...";
        case 31002: return "Print channel s&heet...";
        case 31003: return "Radio read &backups...";
        case 31004: return "CSV channel list";
        case 31005: return "Channel import";
        case 31006: return "&Open";
        case 31007: return "&Close";
        case 31008: return "Backups of radio reads, newest first:";
        case 31009: return "No radio has been read yet.";
        case 31011: return "Check the written data by reading it back";
        case 31014: return "Open &folder";
        default: return "";
    }
}

QString X(const Session& s, int n) {
    const std::string t = LanguageText(s, n);
    return t.empty() ? QString::fromLatin1(Fallback(n)) : FromText(t);
}
std::string XB(const Session& s, int n) { return ToText(X(s, n).remove('&')); }

std::string CsvFilter(const Session& s) { return XB(s, 31004) + " (*.csv)|*.csv"; }

void Tell(Session& s, const std::string& text, Icon icon) {
    if (s.prompter) s.prompter->tell(text, icon);
}

QString FileNameOf(const std::string& path) { return QFileInfo(FromText(path)).fileName(); }

}  // namespace

// ---------------------------------------------------------------- commands

void ImportCsvCommand(AppServices& app) {
    Session& s = app.session();
    app.controller().commitEdits();
    if (!s.prompter) return;
    const auto path = s.prompter->chooseFile(FileDialogRequest{XB(s, 31000), CsvFilter(s), {}, false});
    if (!path) return;
    ImportCsvFile(app, *path);
}

void ImportCsvFile(AppServices& app, const std::string& path) {
    Session& s = app.session();
    const CsvImportReport rep = app.controller().importCsv(path);
    Tell(s, FormatImportReport(rep), rep.readable ? (rep.notes.empty() ? Icon::Information : Icon::Warning)
                                                  : Icon::Critical);
    if (rep.readable)
        app.ShowStatusMessage(Tx(s, 33017).arg(rep.imported).arg(rep.rows).arg(FileNameOf(path)));
}

QString ImportCsvCaption(const Session& s) { return X(s, 31000); }

void ExportCsvCommand(AppServices& app) {
    Session& s = app.session();
    app.controller().commitEdits();
    if (!s.prompter) return;
    std::string initial = app.controller().document().fileName;
    if (initial.size() > 4 && initial.substr(initial.size() - 4) == ".dat") initial.replace(initial.size() - 4, 4, ".csv");
    auto path = s.prompter->chooseFile(FileDialogRequest{XB(s, 31001), CsvFilter(s), initial, true});
    if (!path) return;
    if (path->find('.', path->find_last_of('/') == std::string::npos ? 0 : path->find_last_of('/')) ==
        std::string::npos)
        *path += ".csv";
    if (const Result written = app.controller().exportCsv(*path); !written) {
        Tell(s, written.message(), Icon::Critical);
        return;
    }
    app.ShowStatusMessage(Tx(s, 33016).arg(CountExportedChannels(s)).arg(FileNameOf(*path)));
}

void PrintSheetCommand(AppServices& app) {
    app.controller().commitEdits();
    ShowChannelSheetPreview(app.session(), app.mainWidget());
}

void BackupsCommand(AppServices& app) {
    FrmBackups dlg(app, BackupFolder(), app.mainWidget());
    dlg.exec();
}

void AddExtrasFileMenuEntries(QMenu* file, AppServices& app) {
    if (!file) return;
    // Before the separator that precedes the last entry (Exit), if there is one.
    QAction* before = nullptr;
    const auto actions = file->actions();
    for (int i = actions.size() - 1; i >= 0; --i)
        if (actions[i]->isSeparator()) {
            before = actions[i];
            break;
        }
    QAction* sep = new QAction(file);
    sep->setSeparator(true);
    file->insertAction(before, sep);
    const struct { const char* name; int key; void (*run)(AppServices&); } entries[] = {
        {"mnuFileImportCsv", 31000, ImportCsvCommand},
        {"mnuFileExportCsv", 31001, ExportCsvCommand},
        {"mnuFilePrintSheet", 31002, PrintSheetCommand},
        {"mnuFileBackups", 31003, BackupsCommand},
    };
    QList<QPair<QAction*, int>> captioned;
    for (const auto& e : entries) {
        auto* a = new QAction(X(app.session(), e.key), file);
        a->setObjectName(QString::fromLatin1(e.name));
        auto run = e.run;
        QObject::connect(a, &QAction::triggered, file, [&app, run] { run(app); });
        file->insertAction(before, a);
        captioned.append({a, e.key});
    }
    // Captions follow a change of language.
    QObject::connect(file, &QMenu::aboutToShow, file, [&app, captioned] {
        for (const auto& [a, key] : captioned) a->setText(X(app.session(), key));
    });
}

QCheckBox* AddRememberedCheckBox(QDialog& dialog, const QString& text, const QString& objectName, bool checked,
                                 std::function<void(bool)> save) {
    auto* box = new QCheckBox(text, &dialog);
    box->setObjectName(objectName);
    box->setChecked(checked);
    if (auto* v = qobject_cast<QBoxLayout*>(dialog.layout())) v->insertWidget(std::max(0, v->count() - 1), box);
    else if (dialog.layout()) dialog.layout()->addWidget(box);
    QObject::connect(&dialog, &QDialog::accepted, box, [box, save = std::move(save)] { save(box->isChecked()); });
    return box;
}

QCheckBox* AddVerifyWriteCheckBox(QDialog& dialog, Session& s) {
    return AddRememberedCheckBox(dialog, X(s, 31011), QStringLiteral("CheckVerifyWrite"), link::LoadVerifyWrite(s),
                                 [&s](bool on) { TellSettingNotStored(s, link::SaveVerifyWrite(s, on)); });
}

// ---------------------------------------------------------------- transfers

QtWriteCheck::QtWriteCheck(Session& s, QtLink& qtLink)
    : link_(qtLink), timers_(std::make_unique<QtLinkTimers>()),
      verifier_(std::make_unique<link::WriteVerifier>(s, qtLink.port(), *timers_)) {}

QtWriteCheck::~QtWriteCheck() { link_.port().setEngine(&link_.engine()); }

bool QtWriteCheck::start(const RadioImage& written, link::TransferObserver& progress,
                         std::function<void(const link::VerifyOutcome&)> done) {
    auto restore = [this] {
        link_.port().setEngine(&link_.engine());
        timers_->setEngine(nullptr);
    };
    verifier_->setProgress(&progress);
    const bool started = verifier_->start(written, [restore, done = std::move(done)](const link::VerifyOutcome& o) {
        restore();
        if (done) done(o);
    });
    if (!started) {
        restore();
        return false;
    }
    link_.port().setEngine(&verifier_->engine());
    timers_->setEngine(&verifier_->engine());
    return true;
}

// ---------------------------------------------------------------- backups list

FrmBackups::FrmBackups(AppServices& app, const QString& folder, QWidget* parent)
    : QDialog(parent), app_(app), folder_(folder) {
    Session& s = app.session();
    setWindowTitle(X(s, 31003).remove('&').remove(QStringLiteral("...")));
    auto* label = new QLabel(X(s, 31008));
    List1 = new QListWidget;
    List1->setMinimumSize(460, 280);
    CommandOpen = new QPushButton(X(s, 31006));
    CommandClose = new QPushButton(X(s, 31007));
    auto* folderButton = new QPushButton(X(s, 31014));
    CommandOpen->setDefault(true);
    connect(CommandOpen, &QPushButton::clicked, this, &FrmBackups::open);
    connect(List1, &QListWidget::itemActivated, this, [this] { open(); });
    connect(CommandClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(List1, &QListWidget::currentRowChanged, this,
            [this] { CommandOpen->setEnabled(!selectedPath().isEmpty()); });
    connect(folderButton, &QPushButton::clicked, this, [this] {
        QDir().mkpath(folder_);
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder_));
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(folderButton);
    buttons->addStretch();
    buttons->addWidget(CommandOpen);
    buttons->addWidget(CommandClose);
    auto* v = new QVBoxLayout(this);
    v->addWidget(label);
    v->addWidget(List1, 1);
    v->addLayout(buttons);
    reload();
}

void FrmBackups::reload() {
    List1->clear();
    for (const BackupEntry& e : ListBackups(folder_.toStdString())) {
        auto* item = new QListWidgetItem(QString::fromStdString(e.when + "   " + e.model + "   " + e.fileName));
        item->setData(Qt::UserRole, QString::fromStdString(e.path));
        List1->addItem(item);
    }
    if (List1->count() == 0) {
        auto* item = new QListWidgetItem(X(app_.session(), 31009));
        item->setFlags(Qt::NoItemFlags);
        List1->addItem(item);
    } else {
        List1->setCurrentRow(0);
    }
    CommandOpen->setEnabled(!selectedPath().isEmpty());
}

QString FrmBackups::selectedPath() const {
    const QListWidgetItem* it = List1->currentItem();
    return it ? it->data(Qt::UserRole).toString() : QString();
}

void FrmBackups::open() {
    const QString path = selectedPath();
    if (path.isEmpty()) return;
    if (app_.controller().openBackup(path.toStdString()) == CommandResult::Done) accept();
}

}  // namespace zr
