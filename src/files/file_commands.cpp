#include "files/file_commands.h"

#include "files/change_tracking.h"
#include "files/document_file.h"
#include "shell/language.h"
#include "shell/prompter.h"
#include "shell/session.h"

namespace zr {

namespace {

constexpr int kTextFilterLabel = 9001;
constexpr int kTextSaveChanges = 9006;
constexpr int kTextOverwrite = 9007;
constexpr int kTextStartNew = 9026;

Answer ask(Session& s, int text, Buttons buttons, Icon icon) {
    if (!s.prompter) return Answer::Cancel;
    return s.prompter->ask(Question{LanguageText(s, text), {}, buttons, icon});
}

// The file name without its folder; either separator counts.
std::string baseName(const std::string& path) {
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// A name typed without an extension gets ".dat", so that its companion
// test data file does not replace the last letters of the name.
std::string withDocumentExtension(const std::string& path) {
    const std::string name = baseName(path);
    if (name.empty() || name.find('.') != std::string::npos) return path;
    return path + ".dat";
}

bool writeAndRetitle(Session& s, DocumentWindows& w) {
    if (!WriteDocument(s)) return false;
    w.refreshTitle();
    return true;
}

enum class SaveAsResult { Written, DialogCancelled, WriteFailed };

SaveAsResult saveAs(Session& s, DocumentWindows& w) {
    if (!s.prompter) return SaveAsResult::DialogCancelled;
    FileDialogRequest req;
    req.filter = DocumentFileFilter(s);
    req.initialPath = s.doc.fileName;
    req.save = true;
    const auto chosen = s.prompter->chooseFile(req);
    if (!chosen || chosen->empty()) return SaveAsResult::DialogCancelled;

    const std::string oldName = s.doc.fileName;
    s.doc.fileName = withDocumentExtension(*chosen);
    if (writeAndRetitle(s, w)) return SaveAsResult::Written;
    s.doc.fileName = oldName;   // not written: the document keeps its old name
    return SaveAsResult::WriteFailed;
}

// Yes to "save changes?" in File New and File Open. A document that has a
// file is written to it; a never-saved one asks for a name first instead
// of landing as "new.dat" in whatever the current folder is. Cancelled only
// when the user cancelled that dialog; a failed write has told its error
// and the command goes on.
CommandResult saveBeforeReplacing(Session& s, DocumentWindows& w) {
    if (s.doc.neverSaved)
        return saveAs(s, w) == SaveAsResult::DialogCancelled ? CommandResult::Cancelled
                                                            : CommandResult::Done;
    writeAndRetitle(s, w);
    return CommandResult::Done;
}

}  // namespace

std::string DocumentFileFilter(const Session& s) {
    return LanguageText(s, kTextFilterLabel) + " (*.dat)|*.dat";
}

CommandResult FileNew(Session& s, DocumentWindows& w) {
    w.commitPendingEdits();
    if (IsModified(s) &&
        ask(s, kTextSaveChanges, Buttons::YesNoCancel, Icon::Warning) == Answer::Yes &&
        saveBeforeReplacing(s, w) == CommandResult::Cancelled)
        return CommandResult::Cancelled;
    // No and Cancel of the first question both lead here.
    if (ask(s, kTextStartNew, Buttons::OkCancel, Icon::Warning) != Answer::Ok)
        return CommandResult::Cancelled;
    w.closeAllChildWindows();
    w.startNewDocumentTimer();
    return CommandResult::Done;
}

void ToolbarNewDocument(Session&, DocumentWindows& w) {
    w.closeAllChildWindows();
    w.startNewDocumentTimer();
}

CommandResult FileOpen(Session& s, DocumentWindows& w) {
    w.commitPendingEdits();
    if (IsModified(s)) {
        const Answer a = ask(s, kTextSaveChanges, Buttons::YesNoCancel, Icon::Warning);
        if (a == Answer::Cancel) return CommandResult::Cancelled;
        if (a == Answer::Yes && saveBeforeReplacing(s, w) == CommandResult::Cancelled)
            return CommandResult::Cancelled;
    }
    if (!s.prompter) return CommandResult::Cancelled;
    FileDialogRequest req;
    req.filter = DocumentFileFilter(s);
    req.initialPath = s.doc.neverSaved ? std::string() : s.doc.fileName;
    req.save = false;
    const auto chosen = s.prompter->chooseFile(req);
    if (!chosen || chosen->empty()) return CommandResult::Cancelled;
    return OpenDocumentFile(s, w, *chosen);
}

CommandResult OpenDocumentFile(Session& s, DocumentWindows& w, const std::string& path) {
    w.closeAllChildWindows();
    switch (OpenChecked(s, path)) {
    case OpenResult::Opened:
        w.showChannelTable();
        w.refreshTitle();
        w.recaptionWindows();
        w.cascadeChildWindows();
        return CommandResult::Done;
    case OpenResult::EndProgram:
        w.endProgram();
        return CommandResult::Cancelled;
    case OpenResult::Refused:
    case OpenResult::Failed:
        break;
    }
    // The document is as it was, under its old name: show it again.
    w.showChannelTable();
    w.refreshTitle();
    return CommandResult::Cancelled;
}

CommandResult FileSave(Session& s, DocumentWindows& w) {
    w.commitPendingEdits();
    if (s.doc.neverSaved) return FileSaveAs(s, w);
    if (!s.prompter) return CommandResult::Cancelled;
    const std::string text = "\"" + baseName(s.doc.fileName) + "\"" + LanguageText(s, kTextOverwrite);
    if (s.prompter->ask(Question{text, {}, Buttons::OkCancel, Icon::Question}) != Answer::Ok)
        return CommandResult::Cancelled;
    return writeAndRetitle(s, w) ? CommandResult::Done : CommandResult::Cancelled;
}

CommandResult FileSaveAs(Session& s, DocumentWindows& w) {
    w.commitPendingEdits();
    return saveAs(s, w) == SaveAsResult::Written ? CommandResult::Done : CommandResult::Cancelled;
}

CommandResult ConfirmCloseDocument(Session& s, DocumentWindows& w) {
    w.commitPendingEdits();
    if (!IsModified(s)) return CommandResult::Done;
    switch (ask(s, kTextSaveChanges, Buttons::YesNoCancel, Icon::Warning)) {
    case Answer::No: return CommandResult::Done;
    case Answer::Yes: return FileSave(s, w);
    default: return CommandResult::Cancelled;
    }
}

}  // namespace zr
