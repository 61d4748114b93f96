#pragma once
// INI files read and written with the classic profile-string rules:
// section and key names compare case-insensitively, the first matching
// section and key win, values come back with blanks trimmed at both ends
// (and one pair of enclosing double quotes removed), a missing file, section
// or key gives the default. Writing one key rewrites only that key's line
// and keeps every other line of the file byte for byte; a missing section or
// file is created. Writes go through WriteFileAtomically, so an interrupted
// write never leaves a half-written file.

#include <string>
#include <string_view>

namespace zr {

// Reads the value of key in section of the INI file at path.
std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue = {});

// Parses INI text held in memory with the same rules.
std::string ProfileStringFromText(std::string_view text, std::string_view section,
                                  std::string_view key, std::string_view defaultValue = {});

// Sets key in section to value. Returns false when the file cannot be written.
bool WriteProfileString(const std::string& path, std::string_view section,
                        std::string_view key, std::string_view value);

// The same edit on INI text held in memory; returns the new text.
std::string SetProfileStringInText(std::string_view text, std::string_view section,
                                   std::string_view key, std::string_view value);

}  // namespace zr
