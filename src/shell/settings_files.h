#pragma once
// The settings files of a run and where they live.
//
//   <install root>/language/mysetup.ini  INI, section "language": IsFirstRun,
//                                        comPort, Handshaking, StopBit,
//                                        CurrentLanguage
//   <program folder>/Setting.ini         4 bytes: capability flags
//   <program folder>/BatchFun.ini        21 bytes: batch item flags
//   <program folder>/Habit.ini           10 bytes: five 16-bit editing habits
//                                        (little-endian, true = -1)
//
// The installation root is the program folder cut at its last "/" (or "\");
// a folder without one, or with one only as its first character, is its own
// root.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zr {

struct Session;
struct RunSettings;
struct ProgramPaths;

std::string InstallRootOf(std::string_view programFolder);
// Program folder, installation root and program file name of an executable.
ProgramPaths PathsFromExecutable(std::string_view executablePath);

std::string MySetupPath(const Session& s);
std::string SettingFilePath(const Session& s);
std::string BatchFilePath(const Session& s);
std::string HabitFilePath(const Session& s);

// Reads mysetup.ini into the run settings and writes back what start-up
// records (IsFirstRun "0" after the first run, comPort, CurrentLanguage "1").
// A missing file, a missing key or a value that is no number (or a port
// outside 1..255) gives the default (IsFirstRun 0, comPort 1, Handshaking 0,
// StopBit 0) and the key is written with it, so the file is correct again.
void LoadMySetup(Session& s);

enum class RecordRead { Ok, Created, Failed };
// Reads up to bytes.size() bytes of a binary record; a shorter file leaves
// the rest 0, a missing file is created empty (all 0).
RecordRead ReadBinaryRecord(const std::string& path, uint8_t* bytes, std::size_t size);
bool WriteBinaryRecord(const std::string& path, const uint8_t* bytes, std::size_t size);

// Setting.ini and BatchFun.ini; a file that exists but cannot be read gives
// capability flags 0 and batch flags 1.
void LoadCapabilityAndBatchFlags(Session& s);
bool SaveCapabilityFlags(const Session& s);
bool SaveBatchFlags(const Session& s);

// Habit.ini: a missing file is created empty; a short file reads the habits
// it covers completely, the others false; an unreadable file gives false.
void LoadHabits(Session& s);
bool SaveHabits(const Session& s);

// After an identification: every capability flag still 0 is set from its bit
// of the radio's capability byte (flag 0 from bit 3, 1 from bit 2, 2 from
// bit 1, 3 from bit 0); a flag once 1 stays 1.
void ApplyCapabilityByte(RunSettings& r, uint8_t capabilityByte);
// Whether the DTMF page is offered (flag 3).
bool DtmfOffered(const RunSettings& r);

}  // namespace zr
