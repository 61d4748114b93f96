#pragma once
// Model identity and the band table of the radio document.
//
// The program knows one model, identifier "ZR614", shown as "ZR-E271", and
// 17 bands by code (0..14, 16, 32). The band limits are always read from the
// band text: the lower edge from its first three characters, the upper edge
// from characters 7 to 9 ("400 - 470 MHz" gives 400 and 470).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

struct Session;
struct RadioDocument;

inline constexpr const char* kModelId = "ZR614";
inline constexpr const char* kModelDisplayName = "ZR-E271";
inline constexpr const char* kDefaultBand = "460 - 470 MHz";

struct BandEntry {
    int16_t code;
    const char* text;
};
// The 17 bands in code order.
const std::vector<BandEntry>& BandTable();

// Code to text; empty for a code without a band.
std::string BandText(int code);
// Text to code; 0 for a text not in the table.
int16_t BandCode(std::string_view text);

// Display name to identifier ("ZR-E271" -> "ZR614"), identifier to display
// name; both clean the input first (trailing blanks and everything from the
// first NUL removed); any other text maps to its cleaned self.
std::string ModelIdFromDisplayName(std::string_view displayName);
std::string ModelDisplayName(std::string_view modelId);

// Lower and upper edge of a band text in MHz (0 when not readable).
double BandLowerLimit(std::string_view bandText);
double BandUpperLimit(std::string_view bandText);

// The frequency range of a band in MHz: what the frequency rules need.
struct BandLimits {
    double lowerMHz = 460.0;
    double upperMHz = 470.0;
};
// The limits of the document's band (bandLower, bandUpper).
BandLimits LimitsOf(const RadioDocument& doc);

// Band limits of the document from its current band text.
void RefreshBandLimits(RadioDocument& doc);
// Current model and band code into the document's ModelBandRecord.
void RefreshModelBand(RadioDocument& doc);
// After a load or a read: the ModelBandRecord gives the current model and
// band (the record's model is written back cleaned), the radio information
// record takes them too, and the band limits are refreshed.
void ApplyModelBand(RadioDocument& doc);

// Model check of a transfer: equal (cleaned) models fit; otherwise a write
// (kind 2) does not fit and any other kind fits exactly when the radio
// reports "ZR614".
bool ModelMatches(std::string_view documentModel, std::string_view radioModel, int transferKind);

// After a document has been loaded or read: every used channel gets the ID
// code length the DTMF settings ask for (3 with DTMF signalling, else 10);
// an ID code longer than that length becomes "000". When any channel
// changed, all channels are noted as changed.
void AlignIdCodeLengths(Session& s);

}  // namespace zr
