#pragma once
// Additions to the main window: CSV import and export of the channel list,
// the printable channel sheet, the backups of radio reads and the
// verification of writes.
//
// Wiring (two lines in the program's start-up and one in the File menu):
//     zr::AddExtrasFileMenuEntries(fileMenu, mainWindow);        // File menu
//     zr::AttachExtras(mainWindow, mainWindow, qtLink);           // after setTransferEngine
//     zr::AddVerifyWriteCheckBox(portDialog, session);            // port dialog, before exec

#include <QDialog>
#include <QObject>
#include <QString>
#include <memory>

#include "link/transfer.h"

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

// <user data folder of the program>/backups (freedesktop data location).
QString BackupFolder();

// Adds Import CSV, Export CSV, Print channel sheet and Backups to the menu.
void AddExtrasFileMenuEntries(QMenu* file, AppServices& app);

// The commands behind the entries (also usable from tests).
void ImportCsvCommand(AppServices& app);
void ExportCsvCommand(AppServices& app);
void PrintSheetCommand(AppServices& app);
void BackupsCommand(AppServices& app);

// Opens a document file as File Open does (unsaved-changes question
// included), but for a given path. The opened backup counts as never saved,
// so that Save asks for a new name instead of changing the backup.
bool OpenBackupFile(AppServices& app, const std::string& path);

// The check box "check the written data by reading it back", loaded from
// and saved to mysetup.ini when the dialog is accepted; added above the
// dialog's last layout row.
QCheckBox* AddVerifyWriteCheckBox(QDialog& dialog, Session& s);

// Watches the transfers of the link: every successful read is saved into
// the backups folder once it is decoded; every successful write is read
// back and compared when the VerifyWrite setting is on. The link's engine
// gets this object as its observer, which passes everything on to
// `mainObserver` (the main window's progress window).
class ExtrasLink : public QObject, public link::TransferObserver {
    Q_OBJECT
public:
    ExtrasLink(AppServices& app, link::TransferObserver& mainObserver, QtLink& link, QObject* parent = nullptr);
    ~ExtrasLink() override;

    void progressShown(link::TransferKind k, const std::string& caption) override;
    void progress(int percent) override;
    void progressReset() override;
    void progressClosed() override;
    void transferEnded(link::TransferKind k, bool success) override;

    // The folder backups go to (BackupFolder() unless set).
    void setBackupFolder(const QString& folder) { backupFolder_ = folder; }
    // Path of the last backup written, for the status bar and tests.
    const QString& lastBackup() const { return lastBackup_; }
    bool verifying() const;

signals:
    void backupSaved(const QString& path);
    void verifyFinished(bool ok, const QString& report);

private:
    void backupWhenDecoded(int triesLeft);
    void verifyWhenIdle(int triesLeft);
    void startVerify();

    AppServices& app_;
    link::TransferObserver& main_;
    QtLink& link_;
    std::unique_ptr<QtLinkTimers> verifyTimers_;
    std::unique_ptr<link::WriteVerifier> verifier_;
    QString backupFolder_;
    QString lastBackup_;
};

// Creates an ExtrasLink owned by the main window and makes it the engine's
// observer.
ExtrasLink* AttachExtras(AppServices& app, link::TransferObserver& mainObserver, QtLink& link);

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
