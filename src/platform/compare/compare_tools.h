#pragma once
// The comparison and the guarded writes in the windows: File > Compare
// with..., the backup before a write (a check box of the port dialog), and
// Program > Write to several radios. Their transfers run on engines of
// their own (link/scratch_engine.h) over the program's serial port, so the
// open document is never replaced by them; the rules live in link/.
//
// Wiring (program start-up, after the main window has its engine):
//     zr::AttachCompareTools(mainWindow, qtLink);   // menus, write guard

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <string>

#include "link/transfer.h"
#include "platform/compare/frm_compare.h"
#include "platform/compare/frm_write_several.h"

class QCheckBox;
class QDialog;

namespace zr {

class frmMain;
class QtLink;
class QtLinkTimers;
struct Session;
namespace link {
class WriteJob;
struct WriteJobResult;
}

// Texts of these windows (section "Others" of the language files); the
// message form has no "&" and is UTF-8.
QString CompareText(const Session& s, int number);
std::string CompareMessage(const Session& s, int number);

// The check box "Read the radio and keep a backup before each write",
// loaded from and saved to mysetup.ini when the dialog is accepted.
QCheckBox* AddBackupBeforeWriteCheckBox(QDialog& dialog, Session& s);

class CompareTools : public QObject {
    Q_OBJECT
public:
    CompareTools(frmMain& main, QtLink& link);
    ~CompareTools() override;

    Session& session();
    frmMain& mainWindow() { return main_; }
    // The folder backups go to (the backups folder of reads unless set).
    void setBackupFolder(const QString& folder) { backupFolder_ = folder; }
    QString backupFolder() const;

    // The write command: with backup-before-write on, the radio is read and
    // kept first, the changes are asked about, then the document is written
    // (and checked when that is on); returns true when it took the command.
    bool writeWithBackup();

    // The port and the timers drive `engine` until release(); false when
    // another transfer runs.
    bool route(link::TransferEngine& engine);
    void release();
    bool routed() const { return routed_; }
    QtLinkTimers& timers() { return *timers_; }
    // Shows the progress of these transfers as the program's own: to the
    // document controller's listeners (the main window's progress window).
    link::TransferObserver& progress() { return *progress_; }
    QtLink& link() { return link_; }

    void compareCommand();
    FrmCompare* compareWindow() const { return compare_; }
    void writeSeveralCommand();
    FrmWriteSeveral* writeSeveralWindow() const { return writeSeveral_; }

signals:
    // A guarded write ended (after its message was shown).
    void guardedWriteFinished(bool success);

private:
    void report(const link::WriteJobResult& r);

    frmMain& main_;
    QtLink& link_;
    std::unique_ptr<QtLinkTimers> timers_;
    std::unique_ptr<link::TransferObserver> progress_;
    std::unique_ptr<link::WriteJob> job_;
    bool routed_ = false;
    QString backupFolder_;
    QPointer<FrmCompare> compare_;
    QPointer<FrmWriteSeveral> writeSeveral_;
};

// Creates the tools, owned by the main window: adds File > Compare
// with... and Program > Write to several radios, and makes the write
// command ask them first.
CompareTools* AttachCompareTools(frmMain& main, QtLink& link);

}  // namespace zr
