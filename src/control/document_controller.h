#pragma once
// The document controller: the one owner of the program's radio document
// and the one place where every command on it runs. Plain C++; the windows
// and the command line sit on top of it.
//
// - Commands: new (with and without questions), open, open a backup, save,
//   save as, the close question, the model and band switch, read, write,
//   dealer read, the check of a write, the backup after a read, CSV import
//   and export, channel edits, channel commands and batch programming.
//   Questions, messages and file dialogs go through the session's Prompter.
// - Events: every listener (control/document_events.h) hears what changed,
//   after the command that changed it. Rules note their changes in the
//   document (data/document_changes.h); the controller publishes them.
//   Code that runs a rule on the document itself calls publishChanges()
//   afterwards, or runs it through edit().
// - Transfers: attachLink() binds a transfer engine once: the controller
//   becomes its one observer and gives it the save service (the rest of the
//   engine's services keep their defaults).
// - Deferred work (the 100 ms before a new document is built, the message
//   after a write check) goes through setDeferral(); without one it runs at
//   once.
//
// Hooking in (undo, recent files, extras): subscribe a DocumentListener.
// What the commands change arrives, in order, as
//   documentClosing() then documentReplaced()   a new, opened or read document
//   channelChanged(n) / channelsChanged()       channel edits and commands
//   settingsChanged(record)                     a settings record others show
//   titleChanged()                              name, never-saved or modified state
//   documentRestored()                          an undo or redo put an earlier state back
// and commitEdits() comes before every command looks at the document. The
// settings pages still write their own record in place as the user edits
// it; they publish (through edit()) only what other windows show: the scan
// mode, the DTMF codes, the FM channels' references. A listener that
// changes the document itself (an undo) does so through edit(), so that
// every other listener hears of it.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "channels/channel_batch.h"
#include "channels/channel_commands.h"
#include "channels/grid_edit.h"
#include "control/document_events.h"
#include "files/channel_csv.h"
#include "files/document_file.h"
#include "link/transfer.h"
#include "link/verify.h"
#include "shell/result.h"
#include "shell/session.h"

namespace zr {

// How a command ended, for callers that go on afterwards (the exit path).
enum class CommandResult {
    Done,        // the command ran to its end
    Cancelled,   // the user stopped it, or a step failed; nothing more happens
};

// The read-back of the radio after a write (link/verify.h on the program's
// own port).
class WriteCheck {
public:
    virtual ~WriteCheck() = default;
    // Starts reading back what `written` sent; progress goes to `progress`,
    // the outcome to `done`, once. false when it could not start.
    virtual bool start(const RadioImage& written, link::TransferObserver& progress,
                       std::function<void(const link::VerifyOutcome&)> done) = 0;
};

// The file dialog filter: text 9001 + " (*.dat)|*.dat".
std::string DocumentFileFilter(const Session& s);

// Tells the user what the open of a document file or template brought back:
// the message of a refused or failed file (critical); for a file of another
// program version the question whether to switch to the version that
// handles it, and on Yes that version's start (and what kept it from
// starting). True when the user chose to switch: this program is to end.
bool TellOpenOutcome(Session& s, const OpenOutcome& outcome);

class DocumentController {
public:
    explicit DocumentController(Session& session);
    ~DocumentController();
    DocumentController(const DocumentController&) = delete;
    DocumentController& operator=(const DocumentController&) = delete;

    Session& session() { return s_; }
    const Session& session() const { return s_; }
    RadioDocument& document() { return s_.doc; }
    const RadioDocument& document() const { return s_.doc; }

    // --- listeners ---------------------------------------------------------
    DocumentListeners& listeners() { return listeners_; }
    // Publishes what the rules noted in the document since the last time,
    // and the title when the file name or the modified state changed.
    void publishChanges();
    // Runs f, which changes the document through the rules, then publishes.
    template <class F>
    void edit(F&& f) {
        f();
        publishChanges();
    }
    // Asks every listener to take the value being edited into the document.
    void commitEdits();
    // The editing habits changed (the caller stored them).
    void habitsChanged();
    // A command's "do not ask again" may have changed the editing habits
    // since `before`: Habit.ini keeps them, and a file that cannot be
    // written is told (once a run).
    void keepHabitsChangedSince(const EditingHabits& before);

    // --- channels ----------------------------------------------------------
    // SetChannelItem; what it corrected is told (text 9021 each) before the
    // windows show the channel again.
    void setChannelItem(int channelNumber, int item, std::string_view value);
    void setChannelItem(int channelNumber, int item, int value);
    // A text typed into or chosen from the RX (item 1) or TX (item 2)
    // frequency chooser: not a frequency tells text 9083 and writes nothing;
    // a frequency is written as setChannelItem writes it.
    ChooserWrite writeChooser(int channelNumber, int item, std::string_view text);
    // Tells what an edit of the channels corrected: text 9021 with the
    // warning icon, once for a frequency moved into the band and once more
    // for a TX frequency held in it.
    void tell(const ChannelNotes& notes);
    // A channel command (kCmdCut .. kCmdMoveDown) at row n; returns the row
    // the channel went to (n unless it moved).
    int runChannelCommand(int command, int n, ChannelCommandHost& host);
    void applyBatch(const BatchFlags& items, BatchFields& fields);
    void revalidateChannelRefs();

    // --- files ---------------------------------------------------------------
    // File New: offers to save changes (text 9006), asks text 9026, then
    // starts a new document.
    CommandResult fileNew();
    // The new document without questions: what shows the old one closes, the
    // new one is built after 100 ms.
    void startNewDocument();
    // Builds the new document at once and shows it.
    void newDocumentNow();
    // Switches model and band, then starts a new document for them.
    void changeModelBand(const std::string& model, const std::string& band);
    // File Open: offers to save changes, asks for a file, opens it.
    CommandResult fileOpen();
    // Opens the file at path as File Open does once a file is chosen (also
    // the document named when the program starts). A refused or unreadable
    // file leaves the document as it was. Done when the file is the document.
    CommandResult openFile(const std::string& path);
    // File Open with a path chosen beforehand (the unsaved-changes question
    // included); the opened backup counts as never saved, so Save asks for a
    // new name instead of changing the backup.
    CommandResult openBackup(const std::string& path);
    // File Open with a path chosen beforehand (a file dropped on the
    // window): the unsaved-changes question, then the file as File Open
    // opens it.
    CommandResult openChosen(const std::string& path);
    // File Save: Save As for a never-saved document, otherwise the overwrite
    // question and the write. Done only when the document was written.
    CommandResult fileSave();
    CommandResult fileSaveAs();
    // The unsaved-changes question before the program closes. Done lets the
    // close go ahead; Cancelled keeps the program running.
    CommandResult confirmClose();

    // --- CSV -----------------------------------------------------------------
    CsvImportReport importCsv(const std::string& path);
    Result exportCsv(const std::string& path);

    // --- transfers -----------------------------------------------------------
    void attachLink(link::TransferEngine* engine);
    link::TransferEngine* link() const { return engine_; }
    void setWriteCheck(WriteCheck* check) { check_ = check; }
    // Where the copy of every successful read goes; empty: none is kept.
    void setBackupFolder(const std::string& folder) { backupFolder_ = folder; }
    const std::string& lastBackup() const { return lastBackup_; }
    // A transfer (or the check of a write) runs.
    bool transferBusy() const;
    bool startRead();
    bool startWrite();
    bool startDealerRead();

    // --- deferred work ------------------------------------------------------
    using Deferral = std::function<void(int milliseconds, std::function<void()>)>;
    void setDeferral(Deferral d) { defer_ = std::move(d); }

private:
    class EngineObserver;
    class CheckProgress;
    enum class SaveAsResult { Written, DialogCancelled, WriteFailed };

    Answer ask(int text, Buttons buttons, Icon icon);
    bool writeDocument();
    SaveAsResult saveAs();
    CommandResult saveBeforeReplacing();
    CommandResult openAndShow(const std::string& path, bool asBackup);
    CommandResult offerSaveThenOpen(const std::string& path, bool asBackup);
    void documentShown();
    void endProgram();
    void afterRead();
    void afterWrite(bool success);
    void publishTitleIfChanged();

    Session& s_;
    DocumentListeners listeners_;
    link::TransferEngine* engine_ = nullptr;
    std::unique_ptr<EngineObserver> observer_;
    std::unique_ptr<CheckProgress> checkProgress_;
    WriteCheck* check_ = nullptr;
    bool checking_ = false;
    std::string backupFolder_;
    std::string lastBackup_;
    Deferral defer_;
    int newDocumentStarts_ = 0;     // a restart cancels the pending build

    struct TitleState {
        std::string fileName;
        bool neverSaved = true;
        bool modified = false;
        bool operator==(const TitleState&) const = default;
    };
    TitleState title_;
};

}  // namespace zr
