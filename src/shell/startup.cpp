#include "shell/startup.h"

#include "data/bands.h"
#include "data/new_document_defaults.h"
#include "factory/test_data.h"
#include "shell/language.h"
#include "shell/languages.h"
#include "shell/session.h"
#include "shell/settings_files.h"
#include "shell/version.h"

namespace zr {

Result Startup(Session& s, const std::string& executablePath, const StartupSteps& steps) {
    s.paths = PathsFromExecutable(executablePath);
    ChooseSettingsFolder(s.paths, steps.userConfigFolder.empty() ? UserConfigFolderFromEnvironment()
                                                                 : steps.userConfigFolder);
    SeedUserSettings(s);
    RunSettings& r = s.settings;

    r.CableEcho = true;                                        // 1
    LoadVersionTable(s);                                       // 2
    if (steps.checkTestMarker)                                 // 3
        steps.checkTestMarker(s);
    else
        CheckTestMarker(s);
    s.doc.testData = FactoryTestData{};
    s.doc.savedTestData = FactoryTestData{};

    r.CurrentLanguage = 1;                                     // 4
    r.shownLanguage = 1;
    r.languageFile = "english.ini";
    s.doc.currentModel = kModelId;
    s.doc.currentBand = kDefaultBand;
    r.ProgramPassword.clear();
    RefreshBandLimits(s.doc);

    // 5, 6: numbers use "." without touching the locale; no version query.
    const Result setup = LoadMySetup(s);                       // 7, 8, 9
    const Result stored =
        FirstFailure(setup, SetStartLanguage(s, steps.userLocale ? *steps.userLocale : UserLocaleName()));

    if (steps.buildDocument)                                   // 10
        steps.buildDocument(s);
    else
        NewDocumentDefaults(s);
    s.doc.fileName = "new.dat";
    s.doc.neverSaved = true;

    // 11: the help file and folder come with the language.
    r.programTitle = LanguageText(s, 12000);                   // 12
    LoadCapabilityAndBatchFlags(s);                            // 13
    LoadHabits(s);                                             // 14
    return stored;
}

Result Startup(Session& s, const std::string& executablePath,
               const std::function<void(Session&)>& buildDocument) {
    StartupSteps steps;
    steps.buildDocument = buildDocument;
    return Startup(s, executablePath, steps);
}

Result ExitBookkeeping(Session& s, const std::function<void()>& closeSerialPort) {
    if (closeSerialPort) closeSerialPort();
    return SaveCapabilityFlags(s);
}

}  // namespace zr
