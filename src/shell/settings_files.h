#pragma once
// The settings files of a run and where they live.
//
//   mysetup.ini   INI, section "language": IsFirstRun, comPort, Handshaking,
//                 StopBit, CurrentLanguage (and the keys the port and
//                 language dialogs add)
//   Setting.ini   4 bytes: capability flags
//   BatchFun.ini  21 bytes: batch item flags
//   Habit.ini     10 bytes: five 16-bit editing habits (little-endian,
//                 true = -1)
//
// Beside the program (a copy the user can write, e.g. ./inst or a portable
// folder): mysetup.ini in <install root>/language, the other three in the
// program folder. Shared installation (the program folder cannot be written
// by the user, or lies under /usr as a package installs it): all four in the
// user's own folder (ProgramPaths::userSettingsFolder, ~/.config/zrcps),
// seeded from the installed files of the same name on first use. Version.ini,
// the language files, templates, help and the factory test marker are always
// read from the installation.
//
// Every write of a settings file returns its outcome (SettingStored): a
// failure carries text 9067, a line break and the file's path. Telling it
// is the caller's (control/settings_notice.h tells the first of a run).
//
// The installation root is the program folder cut at its last "/" (or "");
// a folder without one, or with one only as its first character, is its own
// root.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "shell/result.h"

namespace zr {

struct Session;
struct RunSettings;
struct ProgramPaths;

std::string InstallRootOf(std::string_view programFolder);
// Program folder, installation root and program file name of an executable.
ProgramPaths PathsFromExecutable(std::string_view executablePath);

// The user's configuration folder for this program by the XDG rule:
// $XDG_CONFIG_HOME/zrcps when that is an absolute path, else
// $HOME/.config/zrcps; empty when neither is known. The windows program
// passes Qt's location for the same folder instead.
std::string UserConfigFolderFromEnvironment();

// Whether a program folder is a shared installation whose settings are kept
// per user: it cannot be written (`writable` false), or it lies under /usr,
// where even root keeps no settings beside a packaged program.
bool SettingsKeptPerUser(std::string_view programFolder, bool writable);
// Whether this process may create files in the folder.
bool FolderWritable(const std::string& folder);

// Sets p.userSettingsFolder to userConfigFolder when p.programFolder is a
// shared installation, else clears it.
void ChooseSettingsFolder(ProgramPaths& p, const std::string& userConfigFolder);

// Creates the user's settings folder (when the settings are kept per user)
// and copies each of the four files that the user does not have yet from the
// installation (mysetup.ini from <install root>/language, the others from
// the program folder) where one is installed. A failure is left to the
// first write, which tells the user.
void SeedUserSettings(const Session& s);

std::string MySetupPath(const Session& s);
std::string SettingFilePath(const Session& s);
std::string BatchFilePath(const Session& s);
std::string HabitFilePath(const Session& s);

// One key of section "language" of mysetup.ini.
std::string ReadSetupKey(const Session& s, std::string_view key, std::string_view defaultValue = {});
// Writes one key of mysetup.ini.
Result WriteSetupKey(const Session& s, std::string_view key, std::string_view value);

// Every writer of a settings file passes the outcome of its write here:
// done, or failed with text 9067, a line break and the file's path.
Result SettingStored(const Session& s, const std::string& path, bool stored);

// The first of two outcomes that failed; done when both are.
inline Result FirstFailure(const Result& first, const Result& second) { return first ? second : first; }

// Reads mysetup.ini into the run settings and writes back what start-up
// records (IsFirstRun "0" after the first run, comPort). The language keys
// are read and written by SetStartLanguage (shell/languages.h).
// A missing file, a missing key or a value that is no number (or a port
// outside 1..32767) gives the default (IsFirstRun 0, comPort 1, Handshaking 0,
// StopBit 0) and the key is written with it, so the file is correct again.
// Returns the first write that failed.
Result LoadMySetup(Session& s);

enum class RecordRead { Ok, Created, Failed };
// Reads up to bytes.size() bytes of a binary record; a shorter file leaves
// the rest 0, a missing file is created empty (all 0).
RecordRead ReadBinaryRecord(const std::string& path, uint8_t* bytes, std::size_t size);
bool WriteBinaryRecord(const std::string& path, const uint8_t* bytes, std::size_t size);

// Setting.ini and BatchFun.ini; a file that exists but cannot be read gives
// capability flags 0 and batch flags 1.
void LoadCapabilityAndBatchFlags(Session& s);
Result SaveCapabilityFlags(const Session& s);
Result SaveBatchFlags(const Session& s);

// Habit.ini: a missing file is created empty; a short file reads the habits
// it covers completely, the others false; an unreadable file gives false.
void LoadHabits(Session& s);
Result SaveHabits(const Session& s);

// After an identification: every capability flag still 0 is set from its bit
// of the radio's capability byte (flag 0 from bit 3, 1 from bit 2, 2 from
// bit 1, 3 from bit 0); a flag once 1 stays 1.
void ApplyCapabilityByte(RunSettings& r, uint8_t capabilityByte);
// Whether the DTMF page is offered (flag 3).
bool DtmfOffered(const RunSettings& r);

}  // namespace zr
