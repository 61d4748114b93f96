#pragma once
// Start-up and exit bookkeeping without windows.
//
// Startup fills the Session before the main window is made: folders from the
// executable path (and, for a shared installation, the user's settings
// folder, seeded on first use; see settings_files.h), CableEcho, the version table, the factory test marker,
// model and band, mysetup.ini, the language (the stored choice, else the
// user's locale, shell/languages.h), the new document (through the given
// callback, normally files/new_document.h NewDocument), help file, program
// title, Setting.ini, BatchFun.ini and Habit.ini. Numbers are formatted and
// parsed with "." by the program itself (shell/number_text.h); the user's
// locale is never changed, so there is nothing to restore at exit.
//
// ExitBookkeeping, called when the main window unloads after the
// unsaved-changes question: closes the serial port through the given
// callback and writes Setting.ini.
//
// Both return the first settings file they could not write
// (shell/settings_files.h); telling it is the caller's.

#include <functional>
#include <optional>
#include <string>

#include "shell/result.h"

namespace zr {

struct Session;

struct StartupSteps {
    // Builds the default document; empty: NewDocumentDefaults.
    std::function<void(Session&)> buildDocument;
    // Checks the factory test marker; empty: CheckTestMarker.
    std::function<void(Session&)> checkTestMarker;
    // The user's configuration folder for a shared installation; empty:
    // UserConfigFolderFromEnvironment.
    std::string userConfigFolder;
    // The user's locale that picks the language of a start without a stored
    // choice; empty: UserLocaleName().
    std::optional<std::string> userLocale;
};

Result Startup(Session& s, const std::string& executablePath, const StartupSteps& steps = {});
Result Startup(Session& s, const std::string& executablePath,
               const std::function<void(Session&)>& buildDocument);

Result ExitBookkeeping(Session& s, const std::function<void()>& closeSerialPort = {});

}  // namespace zr
