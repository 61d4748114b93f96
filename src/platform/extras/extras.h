#pragma once
// Additions to the main window: CSV import and export of the channel list,
// the printable channel sheet, the list of the backups of radio reads, and
// the check of writes on the program's serial link. The document controller
// keeps the backups and starts the checks (control/document_controller.h).
//
// Wiring:
//     zr::AddExtrasFileMenuEntries(fileMenu, mainWindow);        // File menu
//     zr::QtWriteCheck check(session, qtLink);                    // the check of writes
//     controller.setWriteCheck(&check);
//     controller.setBackupFolder(zr::BackupFolder().toStdString());
//     zr::AddVerifyWriteCheckBox(portDialog, session);            // port dialog, before exec

#include <QDialog>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "control/document_controller.h"
#include "platform/serial/backup_folder.h"

class QMenu;
class QListWidget;
class QPushButton;
class QCheckBox;

namespace zr {

class AppServices;
class QtLink;
class QtLinkTimers;
struct Session;
namespace link {
class WriteVerifier;
}

// Adds Import CSV, Export CSV, Print channel sheet and Backups to the menu.
void AddExtrasFileMenuEntries(QMenu* file, AppServices& app);

// The commands behind the entries (also usable from tests).
void ImportCsvCommand(AppServices& app);
// Imports a chosen (or dropped) CSV file, with the report and a status line.
void ImportCsvFile(AppServices& app, const std::string& path);
// The caption of the import command, in the current language.
QString ImportCsvCaption(const Session& s);
void ExportCsvCommand(AppServices& app);
void PrintSheetCommand(AppServices& app);
void BackupsCommand(AppServices& app);

// A check box of a dialog that remembers its state: added above the
// dialog's last layout row, checked as given, and handed to save when the
// dialog is accepted.
QCheckBox* AddRememberedCheckBox(QDialog& dialog, const QString& text, const QString& objectName, bool checked,
                                 std::function<void(bool)> save);

// The check box "check the written data by reading it back", loaded from
// and saved to mysetup.ini when the dialog is accepted; added above the
// dialog's last layout row.
QCheckBox* AddVerifyWriteCheckBox(QDialog& dialog, Session& s);

// The check of a write on the program's serial link: a second transfer
// engine reads the radio back on the same port (link/verify.h); while it
// runs, the port's bytes and the timers go to that engine.
class QtWriteCheck : public WriteCheck {
public:
    QtWriteCheck(Session& s, QtLink& link);
    ~QtWriteCheck() override;
    bool start(const RadioImage& written, link::TransferObserver& progress,
               std::function<void(const link::VerifyOutcome&)> done) override;

private:
    QtLink& link_;
    std::unique_ptr<QtLinkTimers> timers_;
    std::unique_ptr<link::WriteVerifier> verifier_;
};

// The list of backups, newest first; Open reopens the chosen one.
class FrmBackups : public QDialog {
    Q_OBJECT
public:
    FrmBackups(AppServices& app, const QString& folder, QWidget* parent = nullptr);
    QListWidget* List1 = nullptr;
    QPushButton* CommandOpen = nullptr;
    QPushButton* CommandClose = nullptr;
    void reload();
    // Path of the selected backup, empty when none.
    QString selectedPath() const;

private:
    void open();
    AppServices& app_;
    QString folder_;
};

}  // namespace zr
