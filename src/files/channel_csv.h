#pragma once
// Channel lists as CSV files in the layout of the CHIRP radio programming
// tool, so that channels can be moved between this program, spreadsheets and
// other radios.
//
// Columns are found by their header names (any order; unknown columns are
// ignored; fields may be quoted as RFC 4180 describes). Export writes the
// full CHIRP header:
//   Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,
//   DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,
//   RPT1CALL,RPT2CALL,DVCODE
//
// Value mapping (export; import reads the same values back):
//   Location   ChannelNumber 1..128 (the VFO is not exported)
//   Name       ChannelName. Import upper-cases it, keeps "A".."Z", "0".."9"
//              and blanks, and cuts it to 6 characters.
//   Frequency  RX in MHz, 6 decimals
//   Duplex     "" simplex, "-" / "+" offset direction; "off" for a channel
//              with TX inhibit (its offset magnitude is kept in Offset, its
//              direction is not); import also takes "split" (Offset = TX
//              frequency in MHz)
//   Offset     offset magnitude in MHz (also kept for simplex channels)
//   Tone ...   decode tone = RxTone, encode tone = TxTone:
//                none/none            Tone ""
//                CTCSS/none (enc)     "Tone"  rToneFreq = encode
//                same CTCSS both      "TSQL"  rToneFreq = cToneFreq = tone
//                same DCS code both   "DTCS"  DtcsCode = RxDtcsCode = code
//                anything else        "Cross" with CrossMode
//                  "Tone->Tone"  encode CTCSS rToneFreq, decode CTCSS cToneFreq
//                  "Tone->DTCS"  encode CTCSS rToneFreq, decode DCS RxDtcsCode
//                  "DTCS->Tone"  encode DCS DtcsCode, decode CTCSS cToneFreq
//                  "DTCS->DTCS"  encode DCS DtcsCode, decode DCS RxDtcsCode
//                  "DTCS->"      encode DCS DtcsCode, no decode tone
//                  "->Tone"      no encode tone, decode CTCSS cToneFreq
//                  "->DTCS"      no encode tone, decode DCS RxDtcsCode
//              DtcsPolarity: two letters N (normal) / R (inverted), encode
//              first, decode second. DCS codes are three octal digits.
//   Mode       Bandwidth 0 (12.5 kHz) "NFM", 2 (25 kHz) "FM"; 20 kHz (1) is
//              "FM" with Comment "20 kHz" (CHIRP has no 20 kHz mode).
//   TStep      "5.00" or "6.25" (RxStep); import ignores it, the raster of
//              the band decides.
//   Skip       "S" for ScanSkip 1, else ""
//   Power      TxPower 0 "Low", 1 "Mid", 2 "High". Import also takes
//              "L"/"M"/"H", "Medium"/"Middle" and watt values ("0.5W":
//              below 1.5 W Low, below 3.5 W Mid, else High).
//
// Import goes through SetChannelItem and NewChannel, so every band clamp,
// raster snap, name rule and reference re-check of the channel table
// applies. A row updates an existing channel in place: the fields a CSV does
// not carry (PTT ID, busy lockout, ID code, ...) stay as they were.

#include <string>
#include <string_view>
#include <vector>

#include "shell/result.h"

namespace zr {

struct Session;

// The CSV text of every memory channel of the document, one row each in
// channel order, lines ended by CR LF.
std::string ExportChannelCsv(const Session& s);
// The same rows for the given channels only (empty ones left out), with the
// header row, fields separated by `separator`: with a tab, the text that
// Copy puts on the system clipboard for spreadsheets and text files.
std::string ExportChannelsText(const Session& s, const std::vector<int>& channels, char separator);
// The number of channels the export writes.
int CountExportedChannels(const Session& s);
// Writes it to a file (replaced safely); a failure carries its message.
Result ExportChannelCsvFile(const Session& s, const std::string& path);

// One CSV record split into fields (RFC 4180: quoted fields may hold
// commas, doubled quotes and line breaks). Records are ended by LF or CR LF.
struct CsvRecord {
    int line = 0;                       // line on which the record starts
    std::vector<std::string> fields;
};
// Fails (with a message) when a quoted field is not closed.
Result ParseCsv(std::string_view text, std::vector<CsvRecord>& records, char separator = ',');

struct CsvImportNote {
    int line = 0;                       // line of the row in the file
    int location = 0;                   // 0 when the row has none
    bool skipped = false;               // false: imported with changes
    std::string reason;
};

struct CsvImportReport {
    bool readable = false;              // false: the document was not touched
    std::string error;                  // why the file could not be used
    int rows = 0;                       // data rows in the file
    int imported = 0;                   // rows that became channels
    std::vector<CsvImportNote> notes;   // skipped and changed rows, file order
};

// Imports the rows of a CSV text into the open document. A first line with
// a tab makes the text tab-separated (as spreadsheets copy it). With
// firstChannel, the rows keep their distances but move so that the lowest
// location lands on firstChannel (Paste at a row); rows moved beyond
// channel 128 are skipped.
CsvImportReport ImportChannelCsv(Session& s, std::string_view text, int firstChannel = 0);
// Reads the file first; an unreadable file changes nothing.
CsvImportReport ImportChannelCsvFile(Session& s, const std::string& path);

// The report as lines of text for a message box or the console.
std::string FormatImportReport(const CsvImportReport& r);

}  // namespace zr
