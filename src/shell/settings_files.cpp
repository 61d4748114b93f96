#include "shell/settings_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "shell/ini_file.h"
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

std::string MySetupPath(const Session& s) { return s.paths.installRoot + "/language/mysetup.ini"; }
std::string SettingFilePath(const Session& s) { return s.paths.programFolder + "/Setting.ini"; }
std::string BatchFilePath(const Session& s) { return s.paths.programFolder + "/BatchFun.ini"; }
std::string HabitFilePath(const Session& s) { return s.paths.programFolder + "/Habit.ini"; }

namespace {

constexpr const char* kSection = "language";

// A whole number read from mysetup.ini, or nothing when missing or not one.
std::optional<int> SetupNumber(const std::string& path, const char* key) {
    const std::string v = ReadProfileString(path, kSection, key);
    if (v.empty() || !IsNumericText(v)) return std::nullopt;
    const int n = TextToNumber(v, 0);
    if (n < -32768 || n > 32767) return std::nullopt;
    return n;
}

}  // namespace

void LoadMySetup(Session& s) {
    const std::string path = MySetupPath(s);
    RunSettings& r = s.settings;
    r.comPort = 1;

    const auto first = SetupNumber(path, "IsFirstRun");
    const auto port = SetupNumber(path, "comPort");
    const auto hand = SetupNumber(path, "Handshaking");
    const auto stop = SetupNumber(path, "StopBit");

    r.IsFirstRun = first.value_or(0) != 0;
    r.comPort = static_cast<int16_t>(port && *port >= 1 && *port <= 255 ? *port : 1);
    r.Handshaking = static_cast<int16_t>(hand && *hand >= 0 ? *hand : 0);
    r.StopBit = static_cast<int16_t>(stop && *stop >= 0 ? *stop : 0);

    if (r.IsFirstRun || !first) {
        WriteProfileString(path, kSection, "IsFirstRun", "0");
    } else {
        (void)ReadProfileString(path, kSection, "CurrentLanguage");  // read, not used
    }
    if (!hand || *hand < 0) WriteProfileString(path, kSection, "Handshaking", IntText(r.Handshaking));
    if (!stop || *stop < 0) WriteProfileString(path, kSection, "StopBit", IntText(r.StopBit));
    WriteProfileString(path, kSection, "comPort", IntText(r.comPort));
    WriteProfileString(path, kSection, "CurrentLanguage", "1");
    r.CurrentLanguage = 1;
    r.shownLanguage = 1;
    r.languageFile = "english.ini";
}

RecordRead ReadBinaryRecord(const std::string& path, uint8_t* bytes, std::size_t size) {
    std::fill(bytes, bytes + size, 0);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        if (ec) return RecordRead::Failed;
        std::ofstream create(path, std::ios::binary);  // created empty
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
    std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
    if (!f) {
        f.clear();
        f.open(path, std::ios::binary | std::ios::out | std::ios::trunc);
        if (!f) return false;
    }
    f.seekp(0);
    f.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    f.flush();
    return static_cast<bool>(f);
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

bool SaveCapabilityFlags(const Session& s) {
    return WriteBinaryRecord(SettingFilePath(s), s.settings.capabilityFlags.data(),
                             s.settings.capabilityFlags.size());
}

bool SaveBatchFlags(const Session& s) {
    return WriteBinaryRecord(BatchFilePath(s), s.settings.batchFlags.data(), s.settings.batchFlags.size());
}

void LoadHabits(Session& s) {
    EditingHabits& h = s.settings.habits;
    h = EditingHabits{};
    const std::string path = HabitFilePath(s);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        std::ofstream create(path, std::ios::binary);
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

bool SaveHabits(const Session& s) {
    const EditingHabits& h = s.settings.habits;
    const bool values[5] = {h.PasteNoAsk, h.PasteInsert, h.DeleteNoAsk, h.DeleteRemove, h.UseOffset};
    uint8_t bytes[10];
    for (int i = 0; i < 5; ++i) bytes[2 * i] = bytes[2 * i + 1] = values[i] ? 0xFF : 0x00;
    return WriteBinaryRecord(HabitFilePath(s), bytes, sizeof bytes);
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
