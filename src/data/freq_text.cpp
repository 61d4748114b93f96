#include "data/freq_text.h"

#include <cstdio>

#include "data/records.h"
#include "shell/mod_fun.h"
#include "shell/number_text.h"

namespace zr {
namespace {

constexpr int kDecimals = 5;
constexpr int64_t kMaxStoredFreq = 99999999;
constexpr int64_t kMaxStoredOffset = 9999999;

bool AllDigits(std::string_view t) {
    if (t.empty()) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    return true;
}

std::string_view TrimLeadingBlanks(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    return t;
}

// The meaningful part of a stored text: cut at the first NUL, blanks removed.
std::string StoredPart(std::string_view stored) {
    std::size_t nul = stored.find('\0');
    if (nul != std::string_view::npos) stored = stored.substr(0, nul);
    return std::string(TrimLeadingBlanks(CleanText(stored)));
}

int64_t Abs(int64_t v) { return v < 0 ? -v : v; }

}  // namespace

bool IsNoFrequency(std::string_view stored) {
    const std::string t = StoredPart(stored);
    return t.empty() || t == "FFFFFFFF";
}

std::optional<int64_t> StoredFreqUnits(std::string_view stored) {
    const std::string t = StoredPart(stored);
    if (t.empty() || t == "FFFFFFFF" || !AllDigits(t)) return std::nullopt;
    // Three whole-MHz digits, the rest are the decimals.
    const std::string shown = t.size() <= 3 ? t : t.substr(0, 3) + "." + t.substr(3);
    return ParseScaled(shown, kDecimals);
}

std::string StoredFreqText(int64_t units) {
    if (units < 0) units = 0;
    if (units > kMaxStoredFreq) units = kMaxStoredFreq;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%08lld", static_cast<long long>(units));
    return buf;
}

int64_t StoredOffsetUnits(std::string_view stored) {
    const std::string t = StoredPart(stored);
    if (!AllDigits(t) || t.size() > 18) return 0;
    return *ParseScaled(t, 0);
}

std::string StoredOffsetText(int64_t units) {
    units = Abs(units);
    if (units > kMaxStoredOffset) units = kMaxStoredOffset;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%07lld", static_cast<long long>(units));
    return buf;
}

int64_t LowerLimitUnits(const BandLimits& band) { return ScaleRound(band.lowerMHz, kDecimals); }
int64_t UpperLimitUnits(const BandLimits& band) { return ScaleRound(band.upperMHz, kDecimals); }
std::string LowerLimitText(const BandLimits& band) { return FormatShortest(band.lowerMHz); }

bool IsUnreadableFrequency(std::string_view stored) {
    return !IsNoFrequency(stored) && !StoredFreqUnits(stored);
}

std::string ShowFreText(const BandLimits& band, std::string_view stored) {
    if (IsNoFrequency(stored)) return {};
    const auto units = StoredFreqUnits(stored);
    return units ? FormatScaled(*units, kDecimals) : LowerLimitText(band);
}

std::string SaveFreText(const BandLimits& band, std::string_view shown) {
    std::string t(TrimLeadingBlanks(CleanText(shown)));
    while (!t.empty() && t.back() == '\t') t.pop_back();
    if (t.empty()) return {};
    if (!IsNumericText(t)) t = LowerLimitText(band);

    const bool plain = t.find_first_of("eE+-") == std::string::npos;
    if (plain) {
        // Whole MHz left-padded to three digits, decimals cut or padded to five.
        const std::size_t point = t.find('.');
        std::string whole = point == std::string::npos ? t : t.substr(0, point);
        std::string frac = point == std::string::npos ? std::string() : t.substr(point + 1);
        whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
        if (whole.size() <= 3) {
            frac.resize(kDecimals, '0');
            return std::string(3 - whole.size(), '0') + whole + frac;
        }
    } else if (auto units = ParseScaled(t, kDecimals); units && *units >= 0 && *units <= kMaxStoredFreq) {
        return StoredFreqText(*units);
    }
    // Not a frequency of three whole digits: the lower band limit.
    return StoredFreqText(LowerLimitUnits(band));
}

std::string ShowOffsetText(std::string_view storedOffset, int direction) {
    const char* sign = direction == 1 ? "-" : direction == 2 ? "+" : "";
    return sign + FormatScaled(StoredOffsetUnits(storedOffset), kDecimals);
}

std::string ShowTxFreText(const BandLimits& band, std::string_view storedRx, std::string_view storedOffset,
                          int direction, bool useOffset) {
    if (useOffset) return ShowOffsetText(storedOffset, direction);
    const int64_t rx = ParseScaled(ShowFreText(band, storedRx), kDecimals).value_or(0);
    const int64_t off = StoredOffsetUnits(storedOffset);
    int64_t tx = rx;
    if (direction == 1) tx = rx - off;
    else if (direction == 2) tx = rx + off;
    return FormatScaled(Abs(tx), kDecimals);
}

std::string SaveTxFreText(const BandLimits& band, std::string_view storedRx, std::string_view typed,
                          bool useOffset, std::string_view storedOffset, uint8_t& direction) {
    int64_t m = StoredOffsetUnits(storedOffset);
    const std::string r = ShowFreText(band, storedRx);
    const std::string t(TrimLeadingBlanks(typed));
    const auto rUnits = ParseScaled(r, kDecimals);
    const auto tUnits = ParseScaled(t, kDecimals);
    if (r.empty() || t.empty() || !rUnits || !tUnits) {
        direction = 0;
    } else if (useOffset) {
        direction = t.front() == '-' ? 1 : t.front() == '+' ? 2 : 0;
        m = Abs(*tUnits);
    } else {
        const int64_t d = *tUnits - *rUnits;
        if (d > 0) {
            direction = 2;
            m = d;
        } else if (d < 0) {
            direction = 1;
            m = -d;
        } else {
            direction = 0;
        }
    }
    // Offsets have two whole-MHz digits: larger magnitudes are held at 99.99999.
    return StoredOffsetText(m);
}

int64_t CheckFreInBandUnits(const BandLimits& band, int64_t units) {
    const int64_t lo = LowerLimitUnits(band);
    const int64_t hi = UpperLimitUnits(band);
    return units < lo ? lo : units > hi ? hi : units;
}

double CheckFreInBand(const BandLimits& band, double mhz) {
    return mhz < band.lowerMHz ? band.lowerMHz : mhz > band.upperMHz ? band.upperMHz : mhz;
}

FreqInBand FormatFreInBand(const BandLimits& band, std::string_view text) {
    if (!IsNumericText(text)) return {};
    auto units = ParseScaled(text, kDecimals);
    if (!units) {
        // Beyond any range: the nearer limit by the sign.
        const std::string_view t = TrimLeadingBlanks(text);
        units = (!t.empty() && t.front() == '-') ? INT64_MIN / 2 : INT64_MAX / 2;
    }
    const int64_t inBand = CheckFreInBandUnits(band, *units);
    return FreqInBand{FormatScaled(inBand, kDecimals), inBand != *units};
}

void StepChannelFre(const BandLimits& band, ChannelRecord& c) {
    auto rx = StoredFreqUnits(c.RxFreq.raw());
    if (!rx) return;
    int64_t x = *rx;
    const int64_t lo = LowerLimitUnits(band);
    const int64_t r500 = (x - lo) % 500;
    if (r500 == 0) {
        c.RxStep = 0;
    } else if ((x - lo) % 625 == 0) {
        c.RxStep = 1;
    } else {
        x -= r500;
        c.RxStep = 0;
    }
    c.RxFreq.set(StoredFreqText(x));

    int64_t z = StoredOffsetUnits(c.Offset.raw());
    if (z % 500 == 0) {
        c.OffsetStep = 0;
    } else if (z % 625 == 0) {
        c.OffsetStep = 1;
    } else {
        z -= z % 500;
        c.OffsetStep = 0;
    }
    // As the signed offset text would be stored again: the direction stays
    // (anything but minus or plus reads as none).
    c.OffsetDir = c.OffsetDir == 1 ? 1 : c.OffsetDir == 2 ? 2 : 0;
    c.Offset.set(StoredOffsetText(z));
}

const std::vector<std::string>& CtcssTexts() {
    static const std::vector<std::string> kTones = {
        "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
        "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
        "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
        "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5",
        "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};
    return kTones;
}

std::string ToneName(int pos, std::string_view noneText) {
    if (pos == 0) return std::string(noneText);
    if (pos >= 1 && pos <= 50) return CtcssTexts()[static_cast<std::size_t>(pos - 1)];
    if (pos >= 51 && pos < 1075) {
        const bool inverted = pos >= 563;
        const int code = inverted ? pos - 563 : pos - 51;
        char buf[8];
        std::snprintf(buf, sizeof buf, "D%03o%c", static_cast<unsigned>(code), inverted ? 'I' : 'N');
        return buf;
    }
    return {};
}

std::vector<std::string> ToneList(std::string_view noneText) {
    std::vector<std::string> list;
    list.reserve(1075);
    for (int i = 0; i < 1075; ++i) list.push_back(ToneName(i, noneText));
    return list;
}

}  // namespace zr
