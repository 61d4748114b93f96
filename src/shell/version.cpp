#include "shell/version.h"

#include <filesystem>
#include <system_error>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "shell/ini_file.h"
#include "shell/language.h"
#include "shell/mod_fun.h"
#include "shell/number_text.h"
#include "shell/session.h"

extern char** environ;

namespace zr {
namespace {

// Value as the table reads it: blanks at both ends and everything from the
// first NUL removed, at most 511 characters.
std::string TableValue(const std::string& path, const char* section, const std::string& key) {
    std::string v = ReadProfileString(path, section, key);
    if (v.size() > 511) v.resize(511);
    std::size_t nul = v.find('\0');
    if (nul != std::string::npos) v.resize(nul);
    while (!v.empty() && v.back() == ' ') v.pop_back();
    return v;
}

VersionTable DefaultTable() {
    VersionTable t;
    t.currentVersion = kProgramVersion;
    t.softVersions = {kProgramVersion};
    t.pairs = {{kProgramVersion, kProgramVersion}};
    return t;
}

// Upper bound for the counts of a damaged file.
constexpr int kMaxEntries = 1000;

}  // namespace

VersionTable LoadVersionTable(const std::string& installRoot) {
    const std::string path = installRoot + "/Version.ini";
    // A folder the user may not look into is a missing table, not a crash.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return DefaultTable();
    VersionTable t;
    t.currentVersion = TableValue(path, "Version", "CurrentVersion");
    const int soft = TextToNumber(TableValue(path, "Version", "SoftVersionCount"), 0);
    const int firm = TextToNumber(TableValue(path, "Version", "FirmVersionCount"), 0);
    if (firm < 1) return DefaultTable();
    for (int n = 0; n < soft && n < kMaxEntries; ++n)
        t.softVersions.push_back(TableValue(path, "Soft", "Version" + IntText(n)));
    for (int n = 0; n < firm && n < kMaxEntries; ++n) {
        const std::string v = TableValue(path, "Firm", "Firm" + IntText(n));
        if (v.size() != 8) continue;  // a damaged entry pairs nothing
        t.pairs.emplace_back(v.substr(0, 4), v.substr(4, 4));
    }
    if (t.pairs.empty()) return DefaultTable();
    return t;
}

void LoadVersionTable(Session& s) { s.settings.versions = LoadVersionTable(s.paths.installRoot); }

bool IsVersionText(std::string_view text) {
    std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.size() != 4 || text[0] != 'V') return false;
    for (std::size_t i = 1; i < 4; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

std::string ShownVersion(std::string_view v) {
    if (v.size() != 4) return std::string(v);
    return std::string(v.substr(0, 2)) + "." + std::string(v.substr(2, 2));
}

bool VersionPairListed(const VersionTable& t, std::string_view p, std::string_view o) {
    for (const auto& pair : t.pairs)
        if (pair.first == p && pair.second == o) return true;
    return false;
}

bool VersionPairListed(const Session& s, std::string_view p, std::string_view o) {
    return VersionPairListed(s.settings.versions, p, o);
}

std::string ProgramVersionFor(const VersionTable& t, std::string_view version) {
    for (const auto& pair : t.pairs)
        if (pair.second == version) return pair.first;
    return {};
}

std::string ProgramVersionFor(const Session& s, std::string_view version) {
    return ProgramVersionFor(s.settings.versions, version);
}

std::string VersionQuestion(const Session& s, std::string_view programVersion,
                            std::string_view otherVersion, int kind) {
    std::string q = LanguageText(s, 9062);
    if (kind == 0)
        q += "\r\n" + LanguageText(s, 9060) + " " + ShownVersion(otherVersion);
    else if (kind == 1)
        q += "\r\n" + LanguageText(s, 9064) + " " + ShownVersion(otherVersion);
    else
        q += ShownVersion(otherVersion);
    q += "\r\n" + LanguageText(s, 9061) + " " + ShownVersion(programVersion);
    return q;
}

std::string ProgramVersionPath(const Session& s, std::string_view programVersion) {
    std::string name = s.paths.programName;
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return s.paths.installRoot + "/" + std::string(programVersion) + "/" + name;
}

ProgramStart StartProgramVersion(const Session& s, std::string_view version) {
    const std::string p = ProgramVersionFor(s, version);
    if (p.empty()) return ProgramStart{Result::Failed(LanguageText(s, 9063)), Icon::None};
    const std::string path = ProgramVersionPath(s, p);
    const ProgramStart cannotStart{Result::Failed(LanguageText(s, 9066) + "\r\n" + path), Icon::Critical};
    if (::access(path.c_str(), X_OK) != 0) return cannotStart;
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
#ifdef POSIX_SPAWN_SETSID
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
#endif
    std::string arg0 = path;
    char* argv[] = {arg0.data(), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, path.c_str(), nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) return cannotStart;
    // Not waited for: this program ends right after the switch.
    return {};
}

}  // namespace zr
