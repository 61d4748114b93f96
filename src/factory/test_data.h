#pragma once
// Factory test mode: the marker file that switches it on, the 16-byte test
// data files ("*.ted") and the companion file kept beside every document.

#include <optional>
#include <string>

#include "data/records.h"

namespace zr {

struct Session;

inline constexpr const char* kTestMarkerFile = "TestData.ini";
inline constexpr const char* kTestMarkerText = "Kq7Ve_2031_Bench_UnlockMarkText";
inline constexpr std::size_t kTestMarkerBytes = 128;

// Sets both copies of the test data to zero and the factory test mode flag
// from the marker file in the program folder. Returns the flag.
bool CheckTestMarker(Session& s);

// If the file exists and holds at least 16 bytes, its first 16 bytes replace
// `buffer`; otherwise `buffer` stays as it was. Errors are ignored.
void ReadTestDataFile(const std::string& path, FactoryTestData& buffer);
// Writes `buffer` as the first 16 bytes of the file, creating it when needed;
// a longer file keeps its later bytes. The old file survives a failed write.
// Errors are otherwise ignored; returns whether the write succeeded.
bool WriteTestDataFile(const std::string& path, const FactoryTestData& buffer);

// The companion test data file of a document: its path with the last four
// characters replaced by ".ted"; none for a path of 3 characters or fewer.
std::optional<std::string> CompanionTestDataPath(const std::string& documentPath);

// Companion file -> saved copy of the document's test data.
void LoadCompanionTestData(Session& s, const std::string& documentPath);
// Saved copy of the document's test data -> companion file.
void SaveCompanionTestData(Session& s, const std::string& documentPath);

}  // namespace zr
