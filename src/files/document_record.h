#pragma once
// The document file record: a StoredDocument as the 11037 bytes that a
// "*.dat" file holds (little-endian 16-bit integers, blank-padded texts, all
// 129 channel entries). Pure conversions without a Session, used by the file
// operations, the command line tool and the fuzz target.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "data/document.h"
#include "shell/result.h"

namespace zr {

inline constexpr std::size_t kDocumentRecordSize = 11037;
inline constexpr std::size_t kChannelEntrySize = 78;

// Offsets of the members inside the record.
inline constexpr std::size_t kOffsetChannelCount = 4;
inline constexpr std::size_t kOffsetChannels = 6;
inline constexpr std::size_t kOffsetFmChannels = 10068;
inline constexpr std::size_t kOffsetTestFreqs = 10268;
inline constexpr std::size_t kOffsetModelId = 10444;
inline constexpr std::size_t kOffsetBandCode = 10451;
inline constexpr std::size_t kOffsetOptFeat = 10453;
inline constexpr std::size_t kOffsetDtmf = 10541;
inline constexpr std::size_t kOffsetEmbMsg = 10925;
inline constexpr std::size_t kOffsetKeys = 10989;
inline constexpr std::size_t kOffsetAlert = 11015;
inline constexpr std::size_t kOffsetScan = 11024;
inline constexpr std::size_t kOffsetAlarmMode = 11036;

enum class RecordError {
    None,
    TooShort,          // fewer than 11037 bytes
    BadChannelCount,   // channel count outside 0..129
    Unreadable,        // the file could not be opened or read
};

// Human-readable reason, for the command line tool.
std::string DescribeRecordError(RecordError e);

// Exactly kDocumentRecordSize bytes.
std::vector<uint8_t> SerializeDocumentRecord(const StoredDocument& doc);

// Reads the first kDocumentRecordSize bytes of `bytes` (more are ignored).
// Refuses a short record and a channel count outside 0..129; every other
// value is taken as stored, however far out of its range.
std::optional<StoredDocument> ParseDocumentRecord(std::span<const uint8_t> bytes,
                                                  RecordError* error = nullptr);

// File versions of the two: whole-file read, and the safe write of
// file_io.h (the record replaces bytes 0..11036, later bytes are kept).
std::optional<StoredDocument> ReadDocumentRecordFile(const std::string& path,
                                                     RecordError* error = nullptr);
Result WriteDocumentRecordFile(const std::string& path, const StoredDocument& doc);

}  // namespace zr
