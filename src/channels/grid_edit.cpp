#include "channels/grid_edit.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "channels/channel_ops.h"
#include "data/freq_text.h"
#include "shell/number_text.h"
#include "shell/session.h"

namespace zr {

namespace {

constexpr int kDecimals = 5;

const char* const kFrequencies[] = {
    "462.55000", "462.56250", "462.57500", "462.58750", "462.60000", "462.61250",
    "462.62500", "462.63750", "462.65000", "462.66250", "462.67500", "462.68750",
    "462.70000", "462.71250", "462.72500", "467.55000", "467.56250", "467.57500",
    "467.58750", "467.60000", "467.61250", "467.62500", "467.63750", "467.65000",
    "467.66250", "467.67500", "467.68750", "467.70000", "467.71250", "467.72500",
};

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// A number text with five decimals and at least minWhole whole digits,
// always with "." whatever the process locale.
std::string formatFixed5(std::string_view text, int minWhole) {
    const auto units = ParseScaled(text, 5);
    return units ? FormatScaled(*units, 5, minWhole) : std::string(text);
}

}  // namespace

GridEditor EditorForColumn(int col) {
    switch (col) {
    case 1: return GridEditor::RxChooser;
    case 2: return GridEditor::TxChooser;
    case 3: return GridEditor::NameBox;
    case 4:
    case 5: return GridEditor::ToneChooser;
    case 7: return GridEditor::ScanChooser;
    case 8: return GridEditor::SignalChooser;
    default: return GridEditor::None;
    }
}

int EditorHelpContext(int col) {
    switch (col) {
    case 1: return 3102;
    case 2: return 3103;
    case 4: return 3106;
    case 5: return 3107;
    case 7: return 3117;
    case 8: return 3109;
    default: return 0;
    }
}

std::vector<std::string> ChooserFrequencies(const RadioDocument& doc) {
    std::vector<std::string> out;
    if (doc.currentBand == "446 - 447 MHz") {
        for (int k = 0; k < 16; ++k) out.push_back(FormatScaled(44600625 + 1250 * k, kDecimals, 3));
        return out;
    }
    const BandLimits band = LimitsOf(doc);
    const int64_t lo = LowerLimitUnits(band), hi = UpperLimitUnits(band);
    for (const char* f : kFrequencies) {
        const int64_t u = ParseScaled(f, kDecimals).value_or(-1);
        if (u >= lo && u <= hi) out.emplace_back(f);
    }
    return out;
}

namespace {

bool isNone(std::string_view t) {
    return t.size() == 4 && (t[0] | 32) == 'n' && (t[1] | 32) == 'o' && (t[2] | 32) == 'n' && (t[3] | 32) == 'e';
}

ChooserOutcome written(const ChannelNotes& notes) { return {ChooserWrite::Written, notes}; }

}  // namespace

ChooserOutcome WriteChooserRx(Session& s, int channel, std::string_view text) {
    const std::string_view t = trimBlanks(text);
    if (t.empty()) return {};
    if (isNone(t)) return written(SetChannelItem(s, channel, item::kRxFreq, std::string_view()));
    if (!IsNumberText(t) || t.front() == '+' || t.front() == '-') return {ChooserWrite::Refused, {}};
    return written(SetChannelItem(s, channel, item::kRxFreq, FormatChooserRx(t)));
}

ChooserOutcome WriteChooserTx(Session& s, int channel, std::string_view text) {
    const std::string_view t = trimBlanks(text);
    if (t.empty() || isNone(t)) return {};
    if (!IsNumberText(t)) return {ChooserWrite::Refused, {}};
    const ChannelRecord* c = FindChannelRecord(s, channel);
    if (!c) return {};   // no channel, no TX
    const bool offset = t.front() == '+' || t.front() == '-';
    const bool useOffset = s.settings.habits.UseOffset;
    std::string value;
    if (offset == useOffset) {
        value = offset ? std::string(t) : FormatChooserTx(t);
    } else {
        const int64_t rx = ParseScaled(ShowFreText(LimitsOf(s.doc), c->RxFreq.raw()), kDecimals).value_or(0);
        const int64_t typed = ParseScaled(t, kDecimals).value_or(0);
        if (offset) {
            value = FormatScaled(rx + typed, kDecimals);   // the TX frequency
        } else {
            const int64_t d = typed - rx;                  // the signed offset
            value = d == 0 ? std::string("0") : (d > 0 ? "+" : "-") + FormatScaledShortest(d > 0 ? d : -d, kDecimals);
        }
    }
    return written(SetChannelItem(s, channel, item::kTxFreq, value));
}

EntryDecision GridEditState::enterCell(GridCell current, bool rxEmpty, bool txEmpty) {
    EntryDecision d;
    if (!editingEnabled) return d;
    if (skipEntry) {
        skipEntry = false;
        return d;
    }
    d.showCaption = true;
    if (skipChecks) {
        skipChecks = false;
    } else if (current.row >= 1) {
        if (current.col >= 2 && current.col <= 9 && rxEmpty) {
            editCell = {current.row, 1};
            skipChecks = true;
            d.action = EntryAction::Redirect;
            d.target = editCell;
            return d;
        }
        if (current.col == 5 && txEmpty) {
            editCell = {current.row, 2};
            skipChecks = true;
            d.action = EntryAction::Redirect;
            d.target = editCell;
            return d;
        }
    }
    d.action = EntryAction::Open;
    return d;
}

GridEditor GridEditState::openEditor(GridCell current) {
    editCell = current;
    const GridEditor e = EditorForColumn(current.col);
    if (e != GridEditor::None && e != GridEditor::NameBox) selectionArmed = false;
    return e;
}

bool GridEditState::chooserSelected() {
    if (!selectionArmed) {
        selectionArmed = true;
        return false;
    }
    return true;
}

int GridEditState::nextLine(int row) { return row + 1 > kGridRows - 1 ? 1 : row + 1; }

GridEditState::NextColMove GridEditState::nextCol(GridCell current) {
    NextColMove m;
    if (current.col + 1 > kGridLastDataCol) {
        skipEntry = true;
        m.wraps = true;
        m.intermediate = {current.row, 1};
        m.target = {nextLine(current.row), 1};
    } else {
        m.target = {current.row, current.col + 1};
    }
    return m;
}

int FilterGridNameChar(int code) {
    if (code == 3 || code == 22 || code == 24) return 0;
    if (code > 127 || code < 0) return 0;
    if (code < 32 || code == 127) return code;  // Backspace and the like
    if (code >= 'a' && code <= 'z') code -= 32;
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || code == ' ') return code;
    return 0;
}

int FilterEditNameChar(int code) {
    const int c = FilterGridNameChar(code);
    return c == ' ' ? 0 : c;
}

int FilterDigitChar(int code) {
    if (code == 3 || code == 22 || code == 24 || code > 127 || code < 0) return 0;
    if (code < 32 || code == 127) return code;
    return (code >= '0' && code <= '9') ? code : 0;
}

int FilterDecimalChar(int code) {
    if (code == '.') return code;
    return FilterDigitChar(code);
}

int FilterAlnumChar(int code) {
    if (code == 3 || code == 22 || code == 24 || code > 127 || code < 0) return 0;
    if (code < 32 || code == 127) return code;
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z'))
        return code;
    return 0;
}

bool ParseNumberText(std::string_view text, double& value) {
    std::string_view s = trimBlanks(text);
    if (s.empty()) return false;
    bool neg = false;
    if (s.front() == '+' || s.front() == '-') {
        neg = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return false;
    int digits = 0;
    bool point = false;
    for (char c : s) {
        if (c >= '0' && c <= '9') ++digits;
        else if (c == '.' && !point) point = true;
        else return false;
    }
    if (digits == 0) return false;
    std::string t(s);
    if (t.front() == '.') t.insert(t.begin(), '0');
    if (t.back() == '.') t.pop_back();
    double v = 0;
    auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size()) return false;
    value = neg ? -v : v;
    return true;
}

bool IsNumberText(std::string_view text) {
    double v;
    return ParseNumberText(text, v);
}

std::string FormatChooserRx(std::string_view text) {
    if (!IsNumberText(text)) return std::string(text);
    return formatFixed5(text, 3);
}

std::string FormatChooserTx(std::string_view text) {
    if (!IsNumberText(text)) return std::string(text);
    return formatFixed5(text, 1);
}

}  // namespace zr
