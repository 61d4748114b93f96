#pragma once
// Run-wide state: the folders the program works in, the run settings held
// from start-up to exit, and the one document. Owned by the application and
// passed by reference; tests build their own.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/document.h"
#include "shell/version.h"

namespace zr {

class Prompter;

struct ProgramPaths {
    std::string programFolder;  // folder of the running executable, e.g. <root>/V100
    std::string installRoot;    // its parent: Version.ini, language/mysetup.ini
    std::string programName;    // executable file name, e.g. "zrcps"
    // The user's own folder for Setting.ini, BatchFun.ini, Habit.ini and
    // mysetup.ini when the installation is shared (see settings_files.h);
    // empty: those files sit beside the program.
    std::string userSettingsFolder;
};

// Editing habits of the channel commands (Habit.ini, 10 bytes).
struct EditingHabits {
    bool PasteNoAsk = false;
    bool PasteInsert = false;
    bool DeleteNoAsk = false;
    bool DeleteRemove = false;
    bool UseOffset = false;

    bool operator==(const EditingHabits&) const = default;
};

struct RunSettings {
    bool IsFirstRun = false;
    int16_t comPort = 1;
    int16_t Handshaking = 0;
    int16_t StopBit = 0;
    int16_t CurrentLanguage = 1;
    std::string languageFile = "english.ini";
    int16_t shownLanguage = 1;
    std::string helpFile = "ZR_E271_E.chm";
    std::string helpFolder = "help";            // help pages of the language, below the program folder
    bool factoryTestMode = false;
    bool CableEcho = true;
    std::string ProgramPassword;
    std::array<uint8_t, 4> capabilityFlags{};   // Setting.ini
    std::array<uint8_t, 21> batchFlags{};       // BatchFun.ini
    EditingHabits habits;                       // Habit.ini
    std::string programTitle;                   // text 12000
    VersionTable versions;                      // Version.ini
    // Set once a settings file could not be written and the user was told
    // (control/settings_notice.h), which takes the Session as const.
    mutable bool settingNotStoredTold = false;
};

// The one-channel clipboard of the channel commands; it lives for the whole
// run and survives every new, opened or read document.
struct ChannelClipboard {
    bool hasChannel = false;
    ChannelRecord record;
    // The channels of the last Copy of several rows, by channel number.
    std::vector<ChannelRecord> block;
};

struct Session {
    ProgramPaths paths;
    RunSettings settings;
    RadioDocument doc;
    Prompter* prompter = nullptr;
    ChannelClipboard clipboard;
};

}  // namespace zr
