#include "files/channel_csv.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "channels/channel_ops.h"
#include "data/freq_text.h"
#include "data/records.h"
#include "shell/atomic_file.h"
#include "shell/session.h"

namespace zr {

namespace {

constexpr std::array<const char*, 21> kHeader = {
    "Location", "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
    "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};

constexpr const char* k20kHzComment = "20 kHz";

std::string Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return std::string(s.substr(b, e - b));
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Clean(std::string_view fixed) {
    std::string r(fixed.substr(0, fixed.find('\0')));
    while (!r.empty() && r.back() == ' ') r.pop_back();
    return r;
}

// Units of 10 Hz as MHz with six decimals ("462.562500").
std::string MHz6(int64_t units) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld.%05lld0", static_cast<long long>(units / kUnitsPerMHz),
                  static_cast<long long>(units % kUnitsPerMHz));
    return buf;
}

// Units of 10 Hz as the shortest MHz text the setter takes ("462.5625", "5").
std::string MHzShort(int64_t units) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld.%05lld", static_cast<long long>(units / kUnitsPerMHz),
                  static_cast<long long>(units % kUnitsPerMHz));
    std::string t = buf;
    while (t.back() == '0') t.pop_back();
    if (t.back() == '.') t.pop_back();
    return t;
}

// A decimal MHz text as units of 10 Hz, rounded to the nearest unit (halves
// up). Only digits and one "."; nothing for anything else.
std::optional<int64_t> ParseMHz(std::string_view text) {
    const std::string t = Trim(text);
    if (t.empty()) return std::nullopt;
    const std::size_t dot = t.find('.');
    const std::string whole = t.substr(0, dot);
    const std::string frac = dot == std::string::npos ? std::string() : t.substr(dot + 1);
    if (whole.empty() && frac.empty()) return std::nullopt;
    if (whole.size() > 6) return std::nullopt;
    for (char c : whole + frac)
        if (c < '0' || c > '9') return std::nullopt;
    int64_t w = 0;
    for (char c : whole) w = w * 10 + (c - '0');
    int64_t units = w * kUnitsPerMHz;
    int64_t scale = kUnitsPerMHz / 10;
    for (std::size_t i = 0; i < frac.size(); ++i) {
        const int d = frac[i] - '0';
        if (scale > 0) {
            units += d * scale;
            scale /= 10;
        } else {
            if (d >= 5) ++units;   // the first digit below 10 Hz rounds
            break;
        }
    }
    return units;
}

std::string Latin1ToUtf8(std::string_view s) {
    std::string r;
    for (unsigned char c : s) {
        if (c < 0x80) {
            r += static_cast<char>(c);
        } else {
            r += static_cast<char>(0xC0 | (c >> 6));
            r += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return r;
}

std::string CsvField(const std::string& v, char separator) {
    if (v.find_first_of(std::string("\"\r\n") + separator) == std::string::npos) return v;
    std::string r = "\"";
    for (char c : v) {
        if (c == '"') r += '"';
        r += c;
    }
    return r + "\"";
}

// Tone value of a CTCSS frequency text ("88.5"), or nothing.
std::optional<int> CtcssValue(std::string_view text) {
    const auto units = ParseMHz(text);   // reads the decimal number; tenths of Hz below
    if (!units) return std::nullopt;
    const int64_t tenths = (*units + 5000) / 10000;   // units are 1e-5 of the number
    const auto& list = CtcssTexts();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const auto v = ParseMHz(list[i]);
        if (v && (*v + 5000) / 10000 == tenths) return static_cast<int>(i) + 1;
    }
    return std::nullopt;
}

// DCS code (0..511) of an octal text ("023", "23"), or nothing.
std::optional<int> DcsCode(std::string_view text) {
    const std::string t = Trim(text);
    if (t.empty() || t.size() > 3) return std::nullopt;
    int code = 0;
    for (char c : t) {
        if (c < '0' || c > '7') return std::nullopt;
        code = code * 8 + (c - '0');
    }
    return code;
}

bool IsCtcss(int v) { return v >= 1 && v <= 50; }
bool IsDcs(int v) { return v >= 51 && v <= 1074; }
int DcsCodeOf(int v) { return v >= 563 ? v - 563 : v - 51; }
char DcsPolarityOf(int v) { return v >= 563 ? 'R' : 'N'; }
int DcsValue(int code, bool inverted) { return (inverted ? 563 : 51) + code; }
std::string CtcssText(int v) { return CtcssTexts()[static_cast<std::size_t>(v - 1)]; }
std::string DcsText(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%03o", static_cast<unsigned>(DcsCodeOf(v)));
    return buf;
}

struct ToneColumns {
    std::string tone, rTone = "88.5", cTone = "88.5", dtcs = "023", polarity = "NN", rxDtcs = "023",
                      cross = "Tone->Tone";
};

ToneColumns ExportTones(int rx, int tx) {
    ToneColumns t;
    if (!IsCtcss(rx) && !IsDcs(rx)) rx = 0;
    if (!IsCtcss(tx) && !IsDcs(tx)) tx = 0;
    if (IsCtcss(tx)) t.rTone = CtcssText(tx);
    if (IsCtcss(rx)) t.cTone = CtcssText(rx);
    if (IsDcs(tx)) t.dtcs = DcsText(tx);
    if (IsDcs(rx)) t.rxDtcs = DcsText(rx);
    t.polarity = std::string(1, IsDcs(tx) ? DcsPolarityOf(tx) : 'N') + (IsDcs(rx) ? DcsPolarityOf(rx) : 'N');
    if (rx == 0 && tx == 0) {
        t.tone = "";
    } else if (rx == 0 && IsCtcss(tx)) {
        t.tone = "Tone";
    } else if (IsCtcss(rx) && rx == tx) {
        t.tone = "TSQL";
        t.rTone = t.cTone;
    } else if (IsDcs(rx) && IsDcs(tx) && DcsCodeOf(rx) == DcsCodeOf(tx)) {
        t.tone = "DTCS";
    } else {
        t.tone = "Cross";
        const std::string enc = tx == 0 ? "" : IsCtcss(tx) ? "Tone" : "DTCS";
        const std::string dec = rx == 0 ? "" : IsCtcss(rx) ? "Tone" : "DTCS";
        t.cross = enc + "->" + dec;
    }
    return t;
}

const char* PowerText(int p) {
    switch (p) {
        case 0: return "Low";
        case 1: return "Mid";
        default: return "High";
    }
}

std::optional<int> PowerValue(std::string_view text) {
    const std::string t = Lower(Trim(text));
    if (t == "low" || t == "l" || t == "lo") return 0;
    if (t == "mid" || t == "m" || t == "medium" || t == "middle") return 1;
    if (t == "high" || t == "h" || t == "hi") return 2;
    if (!t.empty() && t.back() == 'w') {
        const auto w = ParseMHz(t.substr(0, t.size() - 1));   // watts as a decimal number
        if (w) {
            if (*w < 150000) return 0;
            if (*w < 350000) return 1;
            return 2;
        }
    }
    return std::nullopt;
}

// The name as the radio can show it: upper case, "A".."Z", "0".."9" and
// blanks, at most 6 characters.
std::string RadioName(std::string_view text, std::string& why) {
    std::string out;
    bool dropped = false, upper = false;
    for (unsigned char c : Trim(text)) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<unsigned char>(c - 'a' + 'A');
            upper = true;
        }
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ') out += static_cast<char>(c);
        else dropped = true;
    }
    out = Trim(out);
    bool cut = false;
    if (out.size() > 6) {
        out = Trim(out.substr(0, 6));
        cut = true;
    }
    std::vector<std::string> parts;
    if (upper) parts.push_back("upper-cased");
    if (dropped) parts.push_back("characters the radio cannot show dropped");
    if (cut) parts.push_back("cut to 6 characters");
    why.clear();
    for (std::size_t i = 0; i < parts.size(); ++i) why += (i ? ", " : "") + parts[i];
    return out;
}

struct Row {
    int line = 0;
    int location = 0;
    int64_t rx = 0;
    uint8_t dir = 0;
    int64_t offset = 0;       // magnitude
    bool txInhibit = false;
    int rxTone = 0, txTone = 0;
    std::optional<int> power, bandwidth;
    int skip = 0;
    std::string name;
    std::vector<std::string> changes;   // noted while reading the row
};

class Columns {
public:
    explicit Columns(const std::vector<std::string>& header) {
        for (std::size_t i = 0; i < header.size(); ++i) {
            std::string h = Lower(Trim(header[i]));
            if (i == 0 && h.rfind("\xef\xbb\xbf", 0) == 0) h = h.substr(3);   // UTF-8 mark
            if (!index_.count(h)) index_[h] = i;
        }
    }
    bool has(const char* name) const { return index_.count(Lower(name)) > 0; }
    std::string get(const std::vector<std::string>& f, const char* name) const {
        auto it = index_.find(Lower(name));
        if (it == index_.end() || it->second >= f.size()) return {};
        return Trim(f[it->second]);
    }

private:
    std::map<std::string, std::size_t> index_;
};

// Reads one data row; false with the reason when the radio cannot hold it.
bool ReadRow(const Session& s, const Columns& col, const CsvRecord& rec, Row& r, std::string& why) {
    const auto& f = rec.fields;
    r.line = rec.line;
    const std::string loc = col.get(f, "Location");
    int n = 0;
    auto [p, ec] = std::from_chars(loc.data(), loc.data() + loc.size(), n);
    if (loc.empty() || ec != std::errc() || p != loc.data() + loc.size()) {
        why = "the location \"" + loc + "\" is not a channel number";
        return false;
    }
    r.location = n;
    if (n < 1 || n > kMemoryChannels) {
        why = "location " + loc + " is outside the channels 1..128 of the radio";
        return false;
    }
    const std::string freq = col.get(f, "Frequency");
    const auto rx = ParseMHz(freq);
    if (!rx) {
        why = "the frequency \"" + freq + "\" is not a number";
        return false;
    }
    r.rx = *rx;

    const std::string duplex = Lower(col.get(f, "Duplex"));
    const std::string offText = col.get(f, "Offset");
    const auto off = offText.empty() ? std::optional<int64_t>(0) : ParseMHz(offText);
    if (!off) {
        why = "the offset \"" + offText + "\" is not a number";
        return false;
    }
    if (duplex.empty() || duplex == "off") {
        r.dir = 0;
        r.offset = *off;
        r.txInhibit = duplex == "off";
    } else if (duplex == "+") {
        r.dir = 2;
        r.offset = *off;
    } else if (duplex == "-") {
        r.dir = 1;
        r.offset = *off;
    } else if (duplex == "split") {
        const int64_t tx = *off;
        if (tx < LowerLimitUnits(LimitsOf(s.doc)) || tx > UpperLimitUnits(LimitsOf(s.doc))) {
            why = "the split TX frequency " + MHzShort(tx) + " MHz is outside the band of the radio";
            return false;
        }
        r.dir = tx > r.rx ? 2 : tx < r.rx ? 1 : 0;
        r.offset = tx > r.rx ? tx - r.rx : r.rx - tx;
    } else {
        why = "the duplex \"" + col.get(f, "Duplex") + "\" is not known";
        return false;
    }

    // Tones.
    const std::string mode = Lower(col.get(f, "Tone"));
    const std::string pol = col.get(f, "DtcsPolarity");
    const bool txInv = pol.size() >= 1 && (pol[0] == 'R' || pol[0] == 'r');
    const bool rxInv = pol.size() >= 2 && (pol[1] == 'R' || pol[1] == 'r');
    auto ctcss = [&](const char* column, int& into) {
        const std::string t = col.get(f, column);
        const auto v = CtcssValue(t);
        if (v) into = *v;
        else r.changes.push_back("the tone " + t + " Hz (" + column + ") is not one of the radio's; no tone");
    };
    auto dcs = [&](const char* column, bool inverted, int& into) {
        const std::string t = col.get(f, column);
        const auto c = DcsCode(t);
        if (c) into = DcsValue(*c, inverted);
        else r.changes.push_back("the DCS code \"" + t + "\" (" + column + ") is not an octal code; no tone");
    };
    if (mode.empty()) {
    } else if (mode == "tone") {
        ctcss("rToneFreq", r.txTone);
    } else if (mode == "tsql") {
        ctcss(col.get(f, "cToneFreq").empty() ? "rToneFreq" : "cToneFreq", r.rxTone);
        r.txTone = r.rxTone;
    } else if (mode == "dtcs") {
        dcs("DtcsCode", txInv, r.txTone);
        if (r.txTone) r.rxTone = DcsValue(DcsCodeOf(r.txTone), rxInv);
    } else if (mode == "cross") {
        const std::string cross = Lower(col.get(f, "CrossMode"));
        const std::size_t arrow = cross.find("->");
        const std::string enc = arrow == std::string::npos ? cross : cross.substr(0, arrow);
        const std::string dec = arrow == std::string::npos ? std::string() : cross.substr(arrow + 2);
        if (arrow == std::string::npos || (enc != "" && enc != "tone" && enc != "dtcs") ||
            (dec != "" && dec != "tone" && dec != "dtcs")) {
            r.changes.push_back("the cross mode \"" + col.get(f, "CrossMode") + "\" is not known; no tones");
        } else {
            if (enc == "tone") ctcss("rToneFreq", r.txTone);
            if (enc == "dtcs") dcs("DtcsCode", txInv, r.txTone);
            if (dec == "tone") ctcss("cToneFreq", r.rxTone);
            if (dec == "dtcs") dcs("RxDtcsCode", rxInv, r.rxTone);
        }
    } else {
        r.changes.push_back("the tone mode \"" + col.get(f, "Tone") + "\" is not supported; no tones");
    }

    // Bandwidth, power, skip, name.
    const std::string m = Lower(col.get(f, "Mode"));
    if (m == "nfm") r.bandwidth = 0;
    else if (m == "fm")
        r.bandwidth = Lower(col.get(f, "Comment")).rfind(Lower(k20kHzComment), 0) == 0 ? 1 : 2;
    else if (!m.empty())
        r.changes.push_back("the mode \"" + col.get(f, "Mode") + "\" is not supported; bandwidth kept");
    const std::string pw = col.get(f, "Power");
    if (!pw.empty()) {
        r.power = PowerValue(pw);
        if (!r.power) r.changes.push_back("the power \"" + pw + "\" is not known; power kept");
    }
    const std::string skip = Lower(col.get(f, "Skip"));
    r.skip = skip == "s" ? 1 : 0;
    std::string nameWhy;
    const std::string rawName = col.get(f, "Name");
    r.name = RadioName(rawName, nameWhy);
    if (!nameWhy.empty()) r.changes.push_back("name \"" + rawName + "\" became \"" + r.name + "\" (" + nameWhy + ")");
    return true;
}

// Sets the tones of an existing channel to exactly rx and tx, working
// around the setter's rule that a first tone is copied to the other side.
void SetTones(Session& s, int n, int rx, int tx) {
    SetChannelItem(s, n, item::kRxTone, 0);
    SetChannelItem(s, n, item::kTxTone, 0);
    if (tx != 0) {
        SetChannelItem(s, n, item::kTxTone, tx);
        SetChannelItem(s, n, item::kRxTone, rx);
    } else if (rx != 0) {
        SetChannelItem(s, n, item::kRxTone, rx);
        SetChannelItem(s, n, item::kTxTone, 0);
    }
}

std::string SignedOffset(uint8_t dir, int64_t magnitude) {
    return std::string(dir == 2 ? "+" : dir == 1 ? "-" : "") + MHzShort(magnitude);
}

// Compares the channel as the setter left it with what the row asked for.
// What the channel holds against what the row asked for, with the reason:
// the band (as the setter noted it) or the raster.
void NoteResult(const Session& s, const Row& r, const ChannelNotes& rxSet, const ChannelNotes& txSet,
                std::vector<std::string>& changes) {
    const ChannelRecord* c = FindChannelRecord(s, r.location);
    if (!c) return;
    const int64_t rx = StoredFreqUnits(c->RxFreq.text()).value_or(0);
    if (rx != r.rx) {
        changes.push_back("RX " + MHzShort(r.rx) + " MHz became " + MHzShort(rx) + " MHz (" +
                          (rxSet.movedIntoBand ? "moved into the band" : "moved onto the channel raster") + ")");
    }
    const int64_t off = StoredOffsetUnits(c->Offset.text());
    if (c->OffsetDir != r.dir || off != r.offset) {
        changes.push_back("TX offset " + SignedOffset(r.dir, r.offset) + " MHz became " +
                          SignedOffset(c->OffsetDir, off) + " MHz (" +
                          (txSet.movedIntoBand ? "TX moved into the band" : "moved onto the raster") + ")");
    }
}

// The channel n when the export writes it: a memory channel with a
// receive frequency.
const ChannelRecord* ExportedChannel(const Session& s, int n) {
    const ChannelRecord* c = n >= 1 && n <= kMemoryChannels ? FindChannelRecord(s, n) : nullptr;
    return c && StoredFreqUnits(c->RxFreq.text()) ? c : nullptr;
}

// Moves every row by `by` channels (pasting at another channel); rows that
// would land beyond the last memory channel are skipped.
void ShiftLocations(std::vector<Row>& rows, int by, CsvImportReport& rep) {
    for (Row& r : rows) {
        if (r.location == 0) continue;
        const int to = r.location + by;
        if (to > kMemoryChannels) {
            rep.notes.push_back({r.line, r.location, true,
                                 "it would go to channel " + std::to_string(to) + ", after the last channel " +
                                     std::to_string(kMemoryChannels)});
            r.location = 0;
            continue;
        }
        r.location = to;
    }
}

}  // namespace

// ---------------------------------------------------------------- parsing

Result ParseCsv(std::string_view text, std::vector<CsvRecord>& records, char separator) {
    records.clear();
    CsvRecord rec;
    std::string field;
    int line = 1;
    rec.line = 1;
    bool quoted = false, fieldStarted = false, any = false;
    std::size_t i = 0;
    auto endField = [&] {
        rec.fields.push_back(std::move(field));
        field.clear();
        fieldStarted = false;
    };
    auto endRecord = [&] {
        endField();
        // A blank line is no record.
        if (!(rec.fields.size() == 1 && rec.fields[0].empty())) records.push_back(std::move(rec));
        rec = CsvRecord{};
        rec.line = line;
        any = false;
    };
    while (i < text.size()) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    i += 2;
                    continue;
                }
                quoted = false;
                ++i;
                continue;
            }
            if (c == '\n') ++line;
            field += c;
            ++i;
            continue;
        }
        if (c == '"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
            any = true;
            ++i;
            continue;
        }
        if (c == separator) {
            endField();
            any = true;
            ++i;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            continue;
        }
        if (c == '\n') {
            ++line;
            ++i;
            endRecord();
            continue;
        }
        field += c;
        fieldStarted = true;
        any = true;
        ++i;
    }
    if (quoted) {
        records.clear();
        return Result::Failed("a quoted field that starts on line " + std::to_string(rec.line) + " is not closed");
    }
    if (any || !field.empty()) endRecord();
    return Result::Done();
}

// ---------------------------------------------------------------- export

int CountExportedChannels(const Session& s) {
    int n = 0;
    for (int c = 1; c <= kMemoryChannels; ++c)
        if (ExportedChannel(s, c)) ++n;
    return n;
}

std::string ExportChannelsText(const Session& s, const std::vector<int>& channels, char separator) {
    const std::string sep(1, separator);
    std::string out;
    for (std::size_t i = 0; i < kHeader.size(); ++i) out += (i ? sep : "") + kHeader[i];
    out += "\r\n";
    for (const int n : channels) {
        const ChannelRecord* c = ExportedChannel(s, n);
        if (!c) continue;
        const auto rx = StoredFreqUnits(c->RxFreq.text());
        const int64_t off = StoredOffsetUnits(c->Offset.text());
        const ToneColumns t = ExportTones(c->RxTone, c->TxTone);
        std::string duplex = c->OffsetDir == 1 ? "-" : c->OffsetDir == 2 ? "+" : "";
        if (c->TxInhibit) duplex = "off";
        const char* mode = c->Bandwidth == 2 || c->Bandwidth == 1 ? "FM" : "NFM";
        const std::vector<std::string> fields = {
            std::to_string(n),
            Latin1ToUtf8(Clean(c->ChannelName.text())),
            MHz6(*rx),
            duplex,
            MHz6(off),
            t.tone,
            t.rTone,
            t.cTone,
            t.dtcs,
            t.polarity,
            t.rxDtcs,
            t.cross,
            mode,
            c->RxStep == 1 ? "6.25" : "5.00",
            c->ScanSkip == 1 ? "S" : "",
            PowerText(c->TxPower),
            c->Bandwidth == 1 ? k20kHzComment : "",
            "", "", "", ""};
        for (std::size_t i = 0; i < fields.size(); ++i) out += (i ? sep : "") + CsvField(fields[i], separator);
        out += "\r\n";
    }
    return out;
}

std::string ExportChannelCsv(const Session& s) {
    std::vector<int> all(kMemoryChannels);
    for (int n = 1; n <= kMemoryChannels; ++n) all[static_cast<std::size_t>(n - 1)] = n;
    return ExportChannelsText(s, all, ',');
}

Result ExportChannelCsvFile(const Session& s, const std::string& path) {
    return WriteFileAtomically(path, ExportChannelCsv(s));
}

// ---------------------------------------------------------------- import

CsvImportReport ImportChannelCsv(Session& s, std::string_view text, int firstChannel) {
    CsvImportReport rep;
    std::vector<CsvRecord> records;
    // Text copied from a spreadsheet or from this program is separated by tabs.
    const std::string_view firstLine = text.substr(0, text.find('\n'));
    const char separator = firstLine.find('\t') != std::string_view::npos ? '\t' : ',';
    if (const Result parsed = ParseCsv(text, records, separator); !parsed) {
        rep.error = parsed.message();
        return rep;
    }
    if (records.empty()) {
        rep.error = "the file is empty";
        return rep;
    }
    const Columns col(records.front().fields);
    if (!col.has("Location") || !col.has("Frequency")) {
        rep.error = "the first line has no \"Location\" and \"Frequency\" columns";
        return rep;
    }
    rep.readable = true;
    rep.rows = static_cast<int>(records.size()) - 1;

    // Read every row before anything changes.
    std::vector<Row> rows;
    std::map<int, int> lastRowOf;   // location -> index into rows
    for (std::size_t i = 1; i < records.size(); ++i) {
        Row r;
        std::string why;
        if (!ReadRow(s, col, records[i], r, why)) {
            rep.notes.push_back({records[i].line, r.location, true, why});
            continue;
        }
        auto it = lastRowOf.find(r.location);
        if (it != lastRowOf.end()) {
            rep.notes.push_back({rows[static_cast<std::size_t>(it->second)].line, r.location, true,
                                 "location " + std::to_string(r.location) + " appears again on line " +
                                     std::to_string(r.line) + ", which is used instead"});
            rows[static_cast<std::size_t>(it->second)].location = 0;
        }
        lastRowOf[r.location] = static_cast<int>(rows.size());
        rows.push_back(std::move(r));
    }
    if (firstChannel > 0 && !lastRowOf.empty()) ShiftLocations(rows, firstChannel - lastRowOf.begin()->first, rep);

    // Apply through the setter with the signed-offset habit; what it moved
    // into the band goes into the report, not into a message each.
    const bool useOffset = s.settings.habits.UseOffset;
    s.settings.habits.UseOffset = true;
    for (Row& r : rows) {
        if (r.location == 0) continue;
        const int n = r.location;
        const std::string rxText = MHzShort(r.rx);
        const ChannelNotes rxSet = SetChannelItem(s, n, item::kRxFreq, rxText);   // creates an empty channel
        if (!FindChannel(s, n)) {
            rep.notes.push_back({r.line, n, true, "the channel list is full"});
            continue;
        }
        const ChannelNotes txSet = SetChannelItem(s, n, item::kTxFreq, SignedOffset(r.dir, r.offset));
        SetChannelItem(s, n, item::kTxInhibit, r.txInhibit ? 1 : 0);
        SetChannelItem(s, n, item::kName, r.name);
        SetTones(s, n, r.rxTone, r.txTone);
        if (r.power) SetChannelItem(s, n, item::kTxPower, *r.power);
        if (r.bandwidth) SetChannelItem(s, n, item::kBandwidth, *r.bandwidth);
        SetChannelItem(s, n, item::kScanSkip, r.skip);
        NoteResult(s, r, rxSet, txSet, r.changes);
        ++rep.imported;
        if (!r.changes.empty()) {
            std::string why;
            for (std::size_t i = 0; i < r.changes.size(); ++i) why += (i ? "; " : "") + r.changes[i];
            rep.notes.push_back({r.line, n, false, why});
        }
    }
    s.settings.habits.UseOffset = useOffset;
    // The rows were redrawn with the import's signed-offset habit: every
    // window shows the channels again with the user's own.
    s.doc.changes.allChannels();
    std::stable_sort(rep.notes.begin(), rep.notes.end(),
                     [](const CsvImportNote& a, const CsvImportNote& b) { return a.line < b.line; });
    return rep;
}

CsvImportReport ImportChannelCsvFile(Session& s, const std::string& path) {
    CsvImportReport rep;
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        rep.error = "cannot open \"" + path + "\"";
        return rep;
    }
    std::ostringstream ss;
    ss << f.rdbuf();
    if (f.bad()) {
        rep.error = "cannot read \"" + path + "\"";
        return rep;
    }
    const std::string text = ss.str();
    if (text.find('\0') != std::string::npos) {
        rep.error = "\"" + path + "\" is not a text file";
        return rep;
    }
    return ImportChannelCsv(s, text);
}

std::string FormatImportReport(const CsvImportReport& r) {
    if (!r.readable) return "The channel list was not imported: " + r.error + ".\n";
    std::string out = std::to_string(r.imported) + " of " + std::to_string(r.rows) + " rows imported";
    int skipped = 0, changed = 0;
    for (const auto& n : r.notes) (n.skipped ? skipped : changed)++;
    out += ", " + std::to_string(skipped) + " skipped, " + std::to_string(changed) + " changed.\n";
    for (const auto& n : r.notes) {
        out += "Line " + std::to_string(n.line);
        if (n.location > 0) out += " (channel " + std::to_string(n.location) + ")";
        out += n.skipped ? ": skipped: " : ": changed: ";
        out += n.reason + "\n";
    }
    return out;
}

}  // namespace zr
