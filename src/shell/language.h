#pragma once
// Language texts and help contexts.
//
// Every caption, label, list entry, tool tip and message of the program is a
// language text addressed by number. The texts live in the INI file
// <program folder>/language/<language file> (UTF-8; "english.ini" or another
// installed language, see shell/languages.h): the section is chosen by the
// thousand-range of the number (LanguageSection), the key is the number in
// decimal, the value is returned with blanks trimmed. A text that the run's
// file lacks (or leaves empty) comes from english.ini; a text missing there
// too is empty. A file is re-read whenever its modification time or size
// changes, so an edited file is seen at once.

#include <string>
#include <string_view>

namespace zr {

struct Session;

// Section name of a text number: "OTHER" below 9000, "Msg" 9000..9999, ...
// "KeySet" 29000..29999, "Others" from 30000.
std::string_view LanguageSection(int number);

// Full path of the run's language file.
std::string LanguageFilePath(const Session& s);

// Full path of english.ini, the fallback of every text.
std::string EnglishFilePath(const Session& s);

// The text with the given number from the run's language file, else from
// english.ini.
std::string LanguageText(const Session& s, int number);

// The text, or `fallback` when the language file has none.
std::string LanguageTextOr(const Session& s, int number, const char* fallback);

// The text with the given number from the language file at path.
std::string LanguageTextFromFile(const std::string& path, int number);

// Help context numbers of the pages and the menu items.
namespace help {
inline constexpr int kChannels = 3100;        // channel table, channel edit window
inline constexpr int kOptionalFeatures = 3200;
inline constexpr int kFmRadio = 3300;
inline constexpr int kDtmf = 3400;            // DTMF, programmable keys
inline constexpr int kKeys = 3400;
inline constexpr int kEmbeddedMessage = 3500; // embedded message, scan
inline constexpr int kScan = 3500;
inline constexpr int kLocalInfo = 3600;       // dealer information, alert and emergency
inline constexpr int kAlert = 3600;
inline constexpr int kChannelBatch = 3700;
}  // namespace help

// Help context of a main-window menu item, by the item's name ("File",
// "New", ..., "MoveDown"); 0 for an unknown name. Names: File New Open Save
// SaveAs Exit Model ModelInfo Edit ChannelInfo OptionalFeatures FmRadio Dtmf
// EmbeddedMessage LocalInfo ChannelBatch Program Read Write Password Settings
// Port Language Init Habits View TreeView ToolBar StatusBar Window Cascade
// CloseAll Help HelpTopics About ChannelEdit Cut Copy Paste Insert Delete
// MoveUp MoveDown.
int MenuHelpContext(std::string_view item);

// Help file of the Help topics command for a language number:
// "ZR_E271_E.chm" for 1, "ZR_E271_C.chm" otherwise.
std::string HelpFileForLanguage(int language);

}  // namespace zr
