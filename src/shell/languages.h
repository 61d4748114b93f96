#pragma once
// The languages a program folder offers, and which one a run uses.
//
// A language is an INI file in <program folder>/language whose section
// "Lang" names the language in its own words ("Name=Deutsch"). The same
// section may give the language code of the users it serves ("Locale=de")
// and the folder of its help pages below the program folder ("Help=help/de");
// without a usable help folder the English pages are shown. "english.ini" is
// always language 1, also when it is missing, and the fallback of every text
// the chosen file lacks; the other files follow it sorted by file name.
//
// The choice is kept in mysetup.ini: "LanguageFile" names the file (it stays
// right when languages are added), "CurrentLanguage" its number. A start
// without a stored choice, or with a file that is no longer installed, takes
// the language of the user's locale when one is installed, else English.

#include <string>
#include <string_view>
#include <vector>

#include "shell/result.h"

namespace zr {

struct Session;
struct RunSettings;

inline constexpr const char* kEnglishFile = "english.ini";
inline constexpr const char* kEnglishHelpFolder = "help";

struct LanguageEntry {
    int number = 1;                              // 1 = English, then 2, 3, ...
    std::string file = kEnglishFile;             // "german.ini"
    std::string name = "English";                // the language's own name
    std::string locale = "en";                   // language code, "" when not given
    std::string helpFolder = kEnglishHelpFolder; // below the program folder
};

// Every language of the program folder, English first.
std::vector<LanguageEntry> InstalledLanguages(const std::string& programFolder);

// The entry whose file is `file` (compared without regard to case), or null.
const LanguageEntry* FindLanguage(const std::vector<LanguageEntry>& languages, std::string_view file);

// Language code of a locale name: "de_DE.UTF-8" -> "de", "zh-Hans" -> "zh",
// "fr" -> "fr"; "C", "POSIX" and "" give "".
std::string LocaleLanguageCode(std::string_view localeName);

// The user's locale for messages: the first of LC_ALL, LC_MESSAGES and LANG
// that is set and not empty.
std::string UserLocaleName();

// The language a run starts in: the stored file when it is installed, else
// the language whose code matches the locale, else English.
const LanguageEntry& StartLanguage(const std::vector<LanguageEntry>& languages, std::string_view storedFile,
                                   std::string_view localeName);

// Start-up: the run's language from the choice stored in mysetup.ini and
// the user's locale; it is also the shown language. "CurrentLanguage" is
// written with its number (the outcome of that write is returned); the
// stored file name is left as it is.
Result SetStartLanguage(Session& s, std::string_view localeName);

// Makes `language` the run's language: CurrentLanguage, the language file,
// the help folder and file. The shown language is left alone, so that the
// main window sees the difference and re-captions.
void UseLanguage(RunSettings& r, const LanguageEntry& language);

// Stores the user's choice of the run's language in mysetup.ini; failed
// when the file cannot be written (shell/settings_files.h SettingStored).
Result StoreLanguageChoice(const Session& s);

}  // namespace zr
