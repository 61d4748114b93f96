#pragma once
// Frequency, offset and tone texts of the channels.
//
// Stored frequency: 8 digits in units of 10 Hz with three whole-MHz digits
// ("46256250" = 462.56250 MHz); empty or "FFFFFFFF" means no frequency.
// Stored offset: 7 digits in units of 10 Hz ("0500000" = 5 MHz) with a
// direction (0 none, 1 minus, 2 plus). Displayed values are MHz with five
// decimals ("462.56250", "+5.00000"). All arithmetic is done on whole units
// of 10 Hz (the *Units functions), so no value is ever shifted by binary
// floating point.
//
// The functions take the band's limits (data/bands.h) and show nothing:
// the band rules return what they corrected, and a stored text that is not
// a number shows as the lower band limit; the window that shows it tells
// the user (IsUnreadableFrequency).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/bands.h"

namespace zr {

struct ChannelRecord;

inline constexpr int64_t kUnitsPerMHz = 100000;  // 10 Hz units

// A stored frequency text as units: nothing when empty, "FFFFFFFF" or not
// all decimal digits.
std::optional<int64_t> StoredFreqUnits(std::string_view stored);
// True when the stored text is empty (after cleaning) or "FFFFFFFF".
bool IsNoFrequency(std::string_view stored);
// True when the stored text holds a frequency that is not all digits (a
// damaged record): it shows as the lower band limit, and the window that
// shows it tells kUnreadableFrequencyMessage (with only an OK button).
bool IsUnreadableFrequency(std::string_view stored);
inline constexpr const char* kUnreadableFrequencyMessage = "Not IsNumeric";
// Units as an 8-digit stored text (values outside 0..99999999 are clamped).
std::string StoredFreqText(int64_t units);
// The magnitude of a stored offset text in units (0 when empty or not digits).
int64_t StoredOffsetUnits(std::string_view stored);
// Units as a 7-digit stored offset (clamped to 0..9999999).
std::string StoredOffsetText(int64_t units);

// Band limits in units.
int64_t LowerLimitUnits(const BandLimits& band);
int64_t UpperLimitUnits(const BandLimits& band);
// The lower band limit as plain text ("400", "136").
std::string LowerLimitText(const BandLimits& band);

// A stored frequency as shown ("462.56250"); empty for no frequency, the
// lower band limit as plain text ("400") for an unreadable one.
std::string ShowFreText(const BandLimits& band, std::string_view stored);
// A shown frequency as stored; a text that is no frequency of three whole
// MHz digits becomes the band's lower limit.
std::string SaveFreText(const BandLimits& band, std::string_view shown);
std::string ShowOffsetText(std::string_view storedOffset, int direction);
std::string ShowTxFreText(const BandLimits& band, std::string_view storedRx, std::string_view storedOffset,
                          int direction, bool useOffset);
// Returns the new stored offset and sets direction.
std::string SaveTxFreText(const BandLimits& band, std::string_view storedRx, std::string_view typed,
                          bool useOffset, std::string_view storedOffset, uint8_t& direction);

// Clamps to the band (the caller tells text 9021 when the value moved).
double CheckFreInBand(const BandLimits& band, double mhz);
int64_t CheckFreInBandUnits(const BandLimits& band, int64_t units);
// A numeric text clamped to the band as "#0.00000" (empty for other texts),
// and whether it had to be moved to the band's edge.
struct FreqInBand {
    std::string text;
    bool moved = false;
};
FreqInBand FormatFreInBand(const BandLimits& band, std::string_view text);

// Snaps RxFreq and Offset of the record to the 5 kHz / 6.25 kHz raster and
// sets RxStep and OffsetStep.
void StepChannelFre(const BandLimits& band, ChannelRecord& c);

// The 50 CTCSS tones in Hz as texts ("67.0" .. "254.1").
const std::vector<std::string>& CtcssTexts();
// Name of tone value pos (0..1074): noneText for 0, "67.0".., "D023N",
// "D023I"; empty outside 0..1074.
std::string ToneName(int pos, std::string_view noneText);
// The 1075 tone names in value order.
std::vector<std::string> ToneList(std::string_view noneText);

}  // namespace zr
