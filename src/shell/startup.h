#pragma once
// Start-up and exit bookkeeping without windows.
//
// Startup fills the Session before the main window is made: folders from the
// executable path, CableEcho, the version table, the factory test marker,
// language, model and band, mysetup.ini, the new document (through the given
// callback, normally files/new_document.h NewDocument), help file, program
// title, Setting.ini, BatchFun.ini and Habit.ini. Numbers are formatted and
// parsed with "." by the program itself (shell/number_text.h); the user's
// locale is never changed, so there is nothing to restore at exit.
//
// ExitBookkeeping, called when the main window unloads after the
// unsaved-changes question: closes the serial port through the given
// callback and writes Setting.ini.

#include <functional>
#include <string>

namespace zr {

struct Session;

struct StartupSteps {
    // Builds the default document; empty: NewDocumentDefaults.
    std::function<void(Session&)> buildDocument;
    // Checks the factory test marker; empty: CheckTestMarker.
    std::function<void(Session&)> checkTestMarker;
};

void Startup(Session& s, const std::string& executablePath, const StartupSteps& steps = {});
void Startup(Session& s, const std::string& executablePath,
             const std::function<void(Session&)>& buildDocument);

void ExitBookkeeping(Session& s, const std::function<void()>& closeSerialPort = {});

}  // namespace zr
