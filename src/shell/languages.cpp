#include "shell/languages.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "shell/ini_file.h"
#include "shell/language.h"
#include "shell/number_text.h"
#include "shell/session.h"
#include "shell/settings_files.h"

namespace zr {

namespace {

namespace fs = std::filesystem;

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// A help folder named by a language file: relative, inside the program
// folder and present; anything else gives the English pages.
std::string UsableHelpFolder(const std::string& programFolder, const std::string& named) {
    if (named.empty()) return kEnglishHelpFolder;
    const fs::path p(named);
    if (p.is_absolute() || p.has_root_name()) return kEnglishHelpFolder;
    for (const auto& part : p)
        if (part == "..") return kEnglishHelpFolder;
    std::error_code ec;
    if (!fs::is_directory(fs::path(programFolder) / p, ec)) return kEnglishHelpFolder;
    return p.generic_string();
}

// The "Lang" section of one file; an entry without a name is no language.
LanguageEntry ReadEntry(const std::string& programFolder, const fs::path& file) {
    const std::string path = file.string();
    LanguageEntry e;
    e.file = file.filename().string();
    e.name = ReadProfileString(path, "Lang", "Name");
    e.locale = Lower(ReadProfileString(path, "Lang", "Locale"));
    e.helpFolder = UsableHelpFolder(programFolder, ReadProfileString(path, "Lang", "Help"));
    return e;
}

}  // namespace

std::vector<LanguageEntry> InstalledLanguages(const std::string& programFolder) {
    const fs::path folder = fs::path(programFolder) / "language";
    std::vector<LanguageEntry> out;

    LanguageEntry english = ReadEntry(programFolder, folder / kEnglishFile);
    if (english.name.empty()) english.name = "English";
    if (english.locale.empty()) english.locale = "en";
    out.push_back(english);

    std::vector<LanguageEntry> others;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (!it->is_regular_file(fileEc)) continue;
        const std::string name = Lower(it->path().filename().string());
        if (Lower(it->path().extension().string()) != ".ini") continue;
        if (name == kEnglishFile || name == "mysetup.ini") continue;
        LanguageEntry e = ReadEntry(programFolder, it->path());
        if (!e.name.empty()) others.push_back(std::move(e));
    }
    std::sort(others.begin(), others.end(),
              [](const LanguageEntry& a, const LanguageEntry& b) { return Lower(a.file) < Lower(b.file); });
    for (auto& e : others) {
        e.number = static_cast<int>(out.size()) + 1;
        out.push_back(std::move(e));
    }
    return out;
}

const LanguageEntry* FindLanguage(const std::vector<LanguageEntry>& languages, std::string_view file) {
    const std::string wanted = Lower(file);
    for (const auto& e : languages)
        if (Lower(e.file) == wanted) return &e;
    return nullptr;
}

std::string LocaleLanguageCode(std::string_view localeName) {
    const std::size_t cut = localeName.find_first_of("_-.@");
    const std::string code = Lower(localeName.substr(0, cut));
    if (code == "c" || code == "posix") return {};
    return code;
}

std::string UserLocaleName() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) return v;
    }
    return {};
}

const LanguageEntry& StartLanguage(const std::vector<LanguageEntry>& languages, std::string_view storedFile,
                                   std::string_view localeName) {
    if (!storedFile.empty())
        if (const LanguageEntry* e = FindLanguage(languages, storedFile)) return *e;
    const std::string code = LocaleLanguageCode(localeName);
    if (!code.empty())
        for (const auto& e : languages)
            if (e.locale == code) return e;
    return languages.front();
}

void UseLanguage(RunSettings& r, const LanguageEntry& language) {
    r.CurrentLanguage = static_cast<int16_t>(language.number);
    r.languageFile = language.file;
    r.helpFolder = language.helpFolder;
    r.helpFile = HelpFileForLanguage(language.number);
}

Result SetStartLanguage(Session& s, std::string_view localeName) {
    const std::string stored = ReadSetupKey(s, "LanguageFile");
    const auto languages = InstalledLanguages(s.paths.programFolder);
    UseLanguage(s.settings, StartLanguage(languages, stored, localeName));
    s.settings.shownLanguage = s.settings.CurrentLanguage;
    return WriteSetupKey(s, "CurrentLanguage", IntText(s.settings.CurrentLanguage));
}

Result StoreLanguageChoice(const Session& s) {
    if (Result r = WriteSetupKey(s, "CurrentLanguage", IntText(s.settings.CurrentLanguage)); !r) return r;
    return WriteSetupKey(s, "LanguageFile", s.settings.languageFile);
}

}  // namespace zr
