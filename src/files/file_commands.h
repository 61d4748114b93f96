#pragma once
// The user's file commands: New, Open, Save, Save As and the tool bar's new
// document. Questions and file dialogs go through the Session's Prompter;
// what the windows must do is asked of a DocumentWindows, which the main
// window implements with its real windows and tests with recorders.

#include <string>

namespace zr {

struct Session;

// What the file commands need from the windows. Every operation must do what
// it says; none is optional.
class DocumentWindows {
public:
    virtual ~DocumentWindows() = default;

    // Every open page and the channel table take the value being edited into
    // the document (the channel table's in-place editor included), so that
    // the change check and a save see it. Called before every command looks
    // at the document.
    virtual void commitPendingEdits() = 0;
    // Closes every child window.
    virtual void closeAllChildWindows() = 0;
    // Starts the one-shot new-document timer; its tick runs NewDocument,
    // re-captions, opens the channel table, refreshes the title and
    // cascades. Called after closeAllChildWindows.
    virtual void startNewDocumentTimer() = 0;
    // Loads and shows the channel table for the document now held.
    virtual void showChannelTable() = 0;
    // Refreshes the main window title (file name and never-saved state).
    virtual void refreshTitle() = 0;
    // Re-captions every open window in the current language.
    virtual void recaptionWindows() = 0;
    // Cascades the child windows.
    virtual void cascadeChildWindows() = 0;
    // The user chose to switch to another installed program version: the
    // program ends at once (no further questions).
    virtual void endProgram() = 0;
};

// How a command ended, for callers that go on afterwards (the exit path).
enum class CommandResult {
    Done,        // the command ran to its end
    Cancelled,   // the user stopped it, or a step failed; nothing more happens
};

// File New and the Settings menu's "Init": offers to save changes (text
// 9006), asks text 9026, then closes the windows and starts the timer.
CommandResult FileNew(Session& s, DocumentWindows& w);

// The tool bar's new document: no questions.
void ToolbarNewDocument(Session& s, DocumentWindows& w);

// File Open: offers to save changes, asks for a file, opens it.
CommandResult FileOpen(Session& s, DocumentWindows& w);

// Opens the document at path as File Open does once a file is chosen (also
// the document named when the program starts): closes the child windows,
// reads it with the version check and shows it; a refused or unreadable file
// leaves the document as it was and shows it again. Done when the file is
// now the document.
CommandResult OpenDocumentFile(Session& s, DocumentWindows& w, const std::string& path);

// File Save: Save As for a never-saved document, otherwise the overwrite
// question (quoted file name + text 9007) and the write. Done only when the
// document was written.
CommandResult FileSave(Session& s, DocumentWindows& w);

// File Save As: asks for a file name, then writes. Done only when written.
CommandResult FileSaveAs(Session& s, DocumentWindows& w);

// The unsaved-changes question before the program closes: text 9006 with
// Yes, No and Cancel. Yes saves as File Save does. Done lets the close go
// ahead; Cancelled (Cancel, or a save that did not happen) keeps the program
// running with the document as it is.
CommandResult ConfirmCloseDocument(Session& s, DocumentWindows& w);

// The file dialog filter: text 9001 + " (*.dat)|*.dat".
std::string DocumentFileFilter(const Session& s);

}  // namespace zr
