#include "shell/settings_files.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "files/file_io.h"
#include "shell/atomic_file.h"
#include "shell/ini_file.h"
#include "shell/language.h"
#include "shell/mod_fun.h"
#include "shell/number_text.h"
#include "shell/session.h"

namespace zr {

std::string InstallRootOf(std::string_view folder) {
    const std::size_t cut = folder.find_last_of("/\\");
    if (cut == std::string_view::npos || cut == 0) return std::string(folder);
    return std::string(folder.substr(0, cut));
}

ProgramPaths PathsFromExecutable(std::string_view exe) {
    ProgramPaths p;
    const std::size_t cut = exe.find_last_of("/\\");
    if (cut == std::string_view::npos) {
        p.programFolder = ".";
        p.programName = std::string(exe);
    } else {
        p.programFolder = cut == 0 ? std::string(exe.substr(0, 1)) : std::string(exe.substr(0, cut));
        p.programName = std::string(exe.substr(cut + 1));
    }
    p.installRoot = InstallRootOf(p.programFolder);
    return p;
}

std::string UserConfigFolderFromEnvironment() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return std::string(xdg) + "/zrcps";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.config/zrcps";
    return {};
}

bool SettingsKeptPerUser(std::string_view programFolder, bool writable) {
    return !writable || programFolder == "/usr" || programFolder.starts_with("/usr/");
}

bool FolderWritable(const std::string& folder) { return ::access(folder.c_str(), W_OK | X_OK) == 0; }

void ChooseSettingsFolder(ProgramPaths& p, const std::string& userConfigFolder) {
    const bool shared = SettingsKeptPerUser(p.programFolder, FolderWritable(p.programFolder));
    p.userSettingsFolder = shared ? userConfigFolder : std::string();
}

namespace {

constexpr const char* kSection = "language";

// Where a settings file lives: the user's folder for a shared installation,
// else `besideProgram`.
std::string SettingsFile(const Session& s, const std::string& besideProgram, const char* name) {
    return s.paths.userSettingsFolder.empty() ? besideProgram : s.paths.userSettingsFolder + "/" + name;
}

std::string InstalledMySetupPath(const Session& s) { return s.paths.installRoot + "/language/mysetup.ini"; }
std::string BesideProgram(const Session& s, const char* name) { return s.paths.programFolder + "/" + name; }

}  // namespace

std::string MySetupPath(const Session& s) { return SettingsFile(s, InstalledMySetupPath(s), "mysetup.ini"); }
std::string SettingFilePath(const Session& s) {
    return SettingsFile(s, BesideProgram(s, "Setting.ini"), "Setting.ini");
}
std::string BatchFilePath(const Session& s) {
    return SettingsFile(s, BesideProgram(s, "BatchFun.ini"), "BatchFun.ini");
}
std::string HabitFilePath(const Session& s) { return SettingsFile(s, BesideProgram(s, "Habit.ini"), "Habit.ini"); }

void SeedUserSettings(const Session& s) {
    namespace fs = std::filesystem;
    if (s.paths.userSettingsFolder.empty()) return;
    std::error_code ec;
    fs::create_directories(s.paths.userSettingsFolder, ec);
    const std::pair<std::string, std::string> seeds[] = {
        {InstalledMySetupPath(s), MySetupPath(s)},
        {BesideProgram(s, "Setting.ini"), SettingFilePath(s)},
        {BesideProgram(s, "BatchFun.ini"), BatchFilePath(s)},
        {BesideProgram(s, "Habit.ini"), HabitFilePath(s)},
    };
    for (const auto& [installed, own] : seeds) {
        if (fs::exists(own, ec) || !fs::is_regular_file(installed, ec)) continue;
        // The user's copy is a new file of the user's (0666 less the umask),
        // whatever the installed file's permissions are; a copy cut short
        // by a full disk is not left behind.
        std::vector<uint8_t> bytes;
        if (ReadFileHead(installed, static_cast<std::size_t>(fs::file_size(installed, ec)), bytes) && !ec)
            WriteFileAtomically(own, bytes);
    }
}

Result SettingStored(const Session& s, const std::string& path, bool stored) {
    return stored ? Result::Done() : Result::Failed(LanguageText(s, 9067) + "\n" + path);
}

std::string ReadSetupKey(const Session& s, std::string_view key, std::string_view defaultValue) {
    return ReadProfileString(MySetupPath(s), kSection, key, defaultValue);
}

Result WriteSetupKey(const Session& s, std::string_view key, std::string_view value) {
    const std::string path = MySetupPath(s);
    return SettingStored(s, path, WriteProfileString(path, kSection, key, value));
}

namespace {

// A whole number read from mysetup.ini, or nothing when missing or not one.
std::optional<int> SetupNumber(const std::string& path, const char* key) {
    const std::string v = ReadProfileString(path, kSection, key);
    if (v.empty() || !IsNumericText(v)) return std::nullopt;
    const int n = TextToNumber(v, 0);
    if (n < -32768 || n > 32767) return std::nullopt;
    return n;
}

}  // namespace

Result LoadMySetup(Session& s) {
    const std::string path = MySetupPath(s);
    RunSettings& r = s.settings;
    r.comPort = 1;

    const auto first = SetupNumber(path, "IsFirstRun");
    const auto port = SetupNumber(path, "comPort");
    const auto hand = SetupNumber(path, "Handshaking");
    const auto stop = SetupNumber(path, "StopBit");

    r.IsFirstRun = first.value_or(0) != 0;
    // Every number the port dialog can keep, COM256 and up included.
    r.comPort = static_cast<int16_t>(port && *port >= 1 ? *port : 1);
    r.Handshaking = static_cast<int16_t>(hand && *hand >= 0 ? *hand : 0);
    r.StopBit = static_cast<int16_t>(stop && *stop >= 0 ? *stop : 0);

    Result stored = Result::Done();
    if (r.IsFirstRun || !first) {
        stored = WriteSetupKey(s, "IsFirstRun", "0");
    } else {
        (void)ReadSetupKey(s, "CurrentLanguage");  // read, not used
    }
    if (!hand || *hand < 0) stored = FirstFailure(stored, WriteSetupKey(s, "Handshaking", IntText(r.Handshaking)));
    if (!stop || *stop < 0) stored = FirstFailure(stored, WriteSetupKey(s, "StopBit", IntText(r.StopBit)));
    return FirstFailure(stored, WriteSetupKey(s, "comPort", IntText(r.comPort)));
}

RecordRead ReadBinaryRecord(const std::string& path, uint8_t* bytes, std::size_t size) {
    std::fill(bytes, bytes + size, 0);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        if (ec) return RecordRead::Failed;
        WriteFileAtomically(path, std::string_view());  // created empty
        return RecordRead::Created;
    }
    if (!std::filesystem::is_regular_file(path, ec)) return RecordRead::Failed;
    std::ifstream in(path, std::ios::binary);
    if (!in) return RecordRead::Failed;
    in.read(reinterpret_cast<char*>(bytes), static_cast<std::streamsize>(size));
    if (in.bad()) {
        std::fill(bytes, bytes + size, 0);
        return RecordRead::Failed;
    }
    return RecordRead::Ok;
}

bool WriteBinaryRecord(const std::string& path, const uint8_t* bytes, std::size_t size) {
    // Only the record is replaced; bytes of a longer file beyond it stay.
    return ReplaceFileHead(path, std::span<const uint8_t>(bytes, size)).ok();
}

void LoadCapabilityAndBatchFlags(Session& s) {
    RunSettings& r = s.settings;
    const RecordRead a = ReadBinaryRecord(SettingFilePath(s), r.capabilityFlags.data(), r.capabilityFlags.size());
    const RecordRead b =
        a == RecordRead::Failed ? RecordRead::Failed
                                : ReadBinaryRecord(BatchFilePath(s), r.batchFlags.data(), r.batchFlags.size());
    if (a == RecordRead::Failed || b == RecordRead::Failed) {
        r.capabilityFlags.fill(0);
        r.batchFlags.fill(1);
    }
}

Result SaveCapabilityFlags(const Session& s) {
    const std::string path = SettingFilePath(s);
    return SettingStored(
        s, path, WriteBinaryRecord(path, s.settings.capabilityFlags.data(), s.settings.capabilityFlags.size()));
}

Result SaveBatchFlags(const Session& s) {
    const std::string path = BatchFilePath(s);
    return SettingStored(s, path,
                         WriteBinaryRecord(path, s.settings.batchFlags.data(), s.settings.batchFlags.size()));
}

void LoadHabits(Session& s) {
    EditingHabits& h = s.settings.habits;
    h = EditingHabits{};
    const std::string path = HabitFilePath(s);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        WriteFileAtomically(path, std::string_view());  // created empty
        return;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return;
    uint8_t bytes[10] = {};
    in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
    const std::streamsize got = in.bad() ? 0 : in.gcount();
    bool* fields[5] = {&h.PasteNoAsk, &h.PasteInsert, &h.DeleteNoAsk, &h.DeleteRemove, &h.UseOffset};
    for (int i = 0; i < 5; ++i) {
        if (got < 2 * i + 2) break;  // a habit the file does not cover reads false
        *fields[i] = (bytes[2 * i] | bytes[2 * i + 1]) != 0;
    }
}

Result SaveHabits(const Session& s) {
    const EditingHabits& h = s.settings.habits;
    const bool values[5] = {h.PasteNoAsk, h.PasteInsert, h.DeleteNoAsk, h.DeleteRemove, h.UseOffset};
    uint8_t bytes[10];
    for (int i = 0; i < 5; ++i) bytes[2 * i] = bytes[2 * i + 1] = values[i] ? 0xFF : 0x00;
    const std::string path = HabitFilePath(s);
    return SettingStored(s, path, WriteBinaryRecord(path, bytes, sizeof bytes));
}

void ApplyCapabilityByte(RunSettings& r, uint8_t capabilityByte) {
    for (int i = 0; i < 4; ++i) {
        const int bit = 3 - i;
        if (r.capabilityFlags[static_cast<std::size_t>(i)] == 0)
            r.capabilityFlags[static_cast<std::size_t>(i)] = (capabilityByte >> bit) & 1;
    }
}

bool DtmfOffered(const RunSettings& r) { return r.capabilityFlags[3] != 0; }

}  // namespace zr
