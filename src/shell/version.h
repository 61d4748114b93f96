#pragma once
// Version management: the version table of <installation root>/Version.ini,
// the checks of version texts, the question asked before switching to
// another installed program version, and starting that version.
//
// A version text is "V" and three digits ("V100", shown as "V1.00"). The
// table's "Firm" pairs say which document or radio versions each program
// version handles. A missing or damaged Version.ini gives the table of the
// one pair V100V100.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/prompter.h"
#include "shell/result.h"

namespace zr {

struct Session;

struct VersionTable {
    std::string currentVersion;
    std::vector<std::string> softVersions;
    std::vector<std::pair<std::string, std::string>> pairs;  // (program version, handled version)
};

inline constexpr const char* kProgramVersion = "V100";

// Reads <installRoot>/Version.ini.
VersionTable LoadVersionTable(const std::string& installRoot);
// The same into s.settings.versions.
void LoadVersionTable(Session& s);

// Trailing blanks and everything from the first NUL removed: exactly four
// characters, "V" and three decimal digits.
bool IsVersionText(std::string_view text);

// "V102" -> "V1.02"; other texts as they stand.
std::string ShownVersion(std::string_view version);

bool VersionPairListed(const VersionTable& t, std::string_view programVersion,
                       std::string_view otherVersion);
bool VersionPairListed(const Session& s, std::string_view programVersion,
                       std::string_view otherVersion);

// Program version of the first pair whose second half is version; empty
// when there is none.
std::string ProgramVersionFor(const VersionTable& t, std::string_view version);
std::string ProgramVersionFor(const Session& s, std::string_view version);

// The question asked before switching versions; kind 0 = radio, 1 = document.
std::string VersionQuestion(const Session& s, std::string_view programVersion,
                            std::string_view otherVersion, int kind);

// Path of the program file of program version p:
// <installRoot>/<p>/<program name without extension>.
std::string ProgramVersionPath(const Session& s, std::string_view programVersion);

// How starting another program version went: done, or the message the
// caller tells and the icon it tells it with.
struct ProgramStart {
    Result result = Result::Done();
    Icon icon = Icon::None;
};

// Starts the program version that handles version, detached, without
// waiting. Fails with text 9063 (no icon) when the table names none, and
// with text 9066, a line break and the path (critical) when the program file
// is missing or cannot be started.
ProgramStart StartProgramVersion(const Session& s, std::string_view version);

}  // namespace zr
