#include "channels/channel_batch.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>

#include "channels/channel_ops.h"
#include "channels/grid_edit.h"
#include "data/freq_text.h"
#include "shell/number_text.h"

namespace zr {

namespace {

long long units(double mhz) { return static_cast<long long>(std::nearbyint(mhz * 100000.0)); }

std::string fmt5(double v) { return FormatFixed(v, 5); }

std::string shortest(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

bool onRaster(long long x) { return x % 500 == 0 || x % 625 == 0; }

double numberOr(std::string_view text, double fallback) {
    double v;
    return ParseNumberText(text, v) ? v : fallback;
}

bool isDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// n = start +/- step * k, kept within 0 .. 10^digits - 1 by wrapping.
std::string countedDigits(std::string_view startText, std::string_view stepText, bool down, int k) {
    const int d = static_cast<int>(startText.size());
    long long modulus = 1;
    for (int i = 0; i < d; ++i) modulus *= 10;
    const long long start = static_cast<long long>(numberOr(startText, 0)) % modulus;
    const long long step = static_cast<long long>(numberOr(stepText, 0)) % modulus;
    long long n = (start + (down ? -1 : 1) * ((step * k) % modulus)) % modulus;
    if (n < 0) n += modulus;
    std::string digits = std::to_string(n);
    if (static_cast<int>(digits.size()) < d) digits.insert(0, static_cast<size_t>(d) - digits.size(), '0');
    return digits;
}

int countedTone(int start, std::string_view intervalText, bool down, int k) {
    const long long interval = static_cast<long long>(numberOr(intervalText, 0));
    long long p = start + (down ? -1 : 1) * interval * k;
    p %= kToneCount;
    if (p < 0) p += kToneCount;
    return static_cast<int>(p);
}

double lowerMHz(const BandLimits& band) { return static_cast<double>(LowerLimitUnits(band)) / kUnitsPerMHz; }

// The band check, as "#0.00000".
std::string inBandText(const BandLimits& band, double mhz) { return FormatFreInBand(band, fmt5(mhz)).text; }

}  // namespace

BatchFields DefaultBatchFields(const BandLimits& band) {
    BatchFields f;
    f.rxStart = fmt5(lowerMHz(band));
    f.txStart = f.rxStart;
    return f;
}

std::string NormaliseRangeText(std::string_view text) {
    double v;
    if (!ParseNumberText(text, v)) return "1";
    if (v > kMemoryChannels) return "128";
    if (v < 1) return "1";
    return std::to_string(static_cast<int>(v));
}

double StepDataFre(double mhz, double lowerLimit) {
    long long x = units(mhz);
    const long long lo = units(lowerLimit);
    const long long r5 = (x - lo) % 500;
    if (r5 != 0 && (x - lo) % 625 != 0) x -= r5;
    return static_cast<double>(x) / 100000.0;
}

std::string StepDataFree(std::string_view mhzText) {
    long long x = units(numberOr(mhzText, 0));
    if (!onRaster(x)) x -= x % 500;
    return fmt5(static_cast<double>(x) / 100000.0);
}

std::string StepData(std::string_view khzText) {
    long long x = static_cast<long long>(std::nearbyint(numberOr(khzText, 0) * 100.0));
    if (!onRaster(x)) x -= x % 500;
    return shortest(static_cast<double>(x) / 100.0);
}

std::string DefaultData(std::string_view text, std::string_view defaultText) {
    return IsNumberText(text) ? std::string(text) : std::string(defaultText);
}

std::string NormaliseStartFre(const BandLimits& band, std::string_view text) {
    double v;
    if (!ParseNumberText(text, v)) v = lowerMHz(band);  // an empty or "." field starts at the band
    return fmt5(StepDataFre(CheckFreInBand(band, v), lowerMHz(band)));
}

std::string LimitStepWhileTyping(std::string_view text) {
    double v;
    if (ParseNumberText(text, v) && v > 1000) return "1000";
    return std::string(text);
}

std::string NormaliseStartId(std::string_view text) {
    if (!isDigits(text) || text.size() <= 2) return "000";
    return std::string(text);
}

std::string CutToLengthOf(std::string_view text, std::string_view start) {
    return std::string(text.substr(0, std::min(text.size(), start.size())));
}

void NormaliseBatchFields(const Session& s, const BatchFlags& items, BatchFields& f) {
    f.fromText = NormaliseRangeText(f.fromText);
    f.toText = NormaliseRangeText(f.toText);
    if (items[kBatchRxFreq]) {
        f.rxStart = NormaliseStartFre(LimitsOf(s.doc), f.rxStart);
        f.rxStep = StepData(LimitStepWhileTyping(f.rxStep));
    }
    if (items[kBatchTxFreq]) {
        if (f.txMode == BatchTxMode::Offset) f.offset = StepDataFree(f.offset);
        if (f.txMode == BatchTxMode::Start) {
            f.txStart = NormaliseStartFre(LimitsOf(s.doc), f.txStart);
            f.txStep = StepData(LimitStepWhileTyping(f.txStep));
        }
    }
    if (items[kBatchRxTone]) f.rxToneInterval = DefaultData(f.rxToneInterval, "0");
    if (items[kBatchTxTone]) f.txToneInterval = DefaultData(f.txToneInterval, "0");
    if (items[kBatchName]) {
        std::string name;
        for (char c : f.nameText) {
            if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) name.push_back(c);
            else if (c >= 'a' && c <= 'z') name.push_back(static_cast<char>(c - 32));
        }
        f.nameText = name.substr(0, 6);
        f.nameStart = isDigits(f.nameStart) ? f.nameStart.substr(0, 6) : "0";
        f.nameStep = CutToLengthOf(isDigits(f.nameStep) ? f.nameStep : "0", f.nameStart);
    }
    if (items[kBatchIdCode]) {
        f.idStart = NormaliseStartId(f.idStart.substr(0, 10));
        f.idInterval = CutToLengthOf(isDigits(f.idInterval) ? f.idInterval : "0", f.idStart);
    }
}

std::pair<int, int> BatchRange(const BatchFields& f) {
    int first = 1, last = kMemoryChannels;
    if (!f.allChannels) {
        first = static_cast<int>(numberOr(NormaliseRangeText(f.fromText), 1));
        last = static_cast<int>(numberOr(NormaliseRangeText(f.toText), 128));
        if (last < first) std::swap(first, last);
    }
    return {first, last};
}

int CountChangedChannels(const ChannelList& before, const ChannelList& after) {
    const auto find = [](const ChannelList& l, int n) -> const ChannelRecord* {
        for (int i = 0; i < std::clamp<int>(l.count, 0, kMaxChannels); ++i)
            if (l.entries[static_cast<std::size_t>(i)].ChannelNumber == n) return &l.entries[static_cast<std::size_t>(i)];
        return nullptr;
    };
    int changed = 0;
    for (int n = 1; n <= kMaxChannels; ++n) {
        const ChannelRecord* a = find(before, n);
        const ChannelRecord* b = find(after, n);
        if ((a == nullptr) != (b == nullptr) || (a && *a != *b)) ++changed;
    }
    return changed;
}

int SetItemsOnChannels(Session& s, const std::vector<int>& channels, std::vector<ChannelItemValue> items) {
    const auto rank = [](int item) { return item == item::kRxTone || item == item::kTxTone ? 0 : 1; };
    std::stable_sort(items.begin(), items.end(),
                     [&](const ChannelItemValue& a, const ChannelItemValue& b) { return rank(a.item) < rank(b.item); });
    const ChannelList before = s.doc.stored.Channels;
    for (int n : channels) {
        if (n < 1 || n > kMaxChannels || !FindChannel(s, n)) continue;
        for (const ChannelItemValue& v : items) SetChannelItem(s, n, v.item, v.value);
    }
    return CountChangedChannels(before, s.doc.stored.Channels);
}

ChannelNotes ApplyBatch(Session& s, const BatchFlags& items, BatchFields& f, std::function<double()> random) {
    ChannelList& list = s.doc.stored.Channels;

    // 1. range
    const auto [first, last] = BatchRange(f);
    // 2. fields of the selected items
    NormaliseBatchFields(s, items, f);
    // 3. sign of the offset
    const double offsetSign = f.offsetMinus ? -1.0 : 1.0;
    // 4. one seeding per Apply
    std::mt19937 gen;
    if (!random && (items[kBatchRxTone] || items[kBatchTxTone])) {
        gen.seed(static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
        random = [&gen] { return std::uniform_real_distribution<double>(0.0, 1.0)(gen); };
    }
    auto randomTone = [&] {
        int p = static_cast<int>(std::floor(kToneCount * random()));
        return std::clamp(p, 0, kToneCount - 1);
    };
    // 5. clear outside the range
    if (!f.allChannels && f.clearOutside) {
        int i = 0;
        while (i < list.count) {
            const int num = list.entries[i].ChannelNumber;
            if ((num < first || num > last) && num <= kMemoryChannels) RemoveChannelAt(s, i);
            else ++i;
        }
    }
    // 6. the channels of the range
    const double rxStart = numberOr(f.rxStart, lowerMHz(LimitsOf(s.doc)));
    const double rxStep = numberOr(f.rxStep, 0);
    const double txStart = numberOr(f.txStart, lowerMHz(LimitsOf(s.doc)));
    const double txStep = numberOr(f.txStep, 0);
    const double offset = numberOr(f.offset, 0);
    ChannelNotes notes;
    for (int ch = first; ch <= last; ++ch) {
        const int k = ch - first;
        auto pos = FindChannel(s, ch);
        if (items[kBatchRxFreq]) {
            const double mhz = rxStart + (f.rxDown ? -1 : 1) * rxStep * k / 1000.0;
            const std::string t = inBandText(LimitsOf(s.doc), mhz);
            if (!pos) {
                NewChannel(s, ch, t);
                pos = FindChannel(s, ch);
            } else {
                list.entries[*pos].RxFreq = FixedText<8>(SaveFreText(LimitsOf(s.doc), t));
            }
            if (pos) {
                ChannelRecord& c = list.entries[*pos];
                StepChannelFre(LimitsOf(s.doc), c);
                // A kept offset must not carry the TX out of the band.
                if (!items[kBatchTxFreq] && HoldTxInBand(LimitsOf(s.doc), c)) {
                    notes.txHeldInBand = true;
                    StepChannelFre(LimitsOf(s.doc), c);
                }
            }
        }
        if (!pos) continue;
        ChannelRecord& c = list.entries[*pos];

        if (items[kBatchTxFreq]) {
            if (f.txMode == BatchTxMode::Default) {
                c.OffsetDir = 0;
                c.Offset.set("0000000");
            } else {
                const double r = numberOr(ShowFreText(LimitsOf(s.doc), c.RxFreq.text()), lowerMHz(LimitsOf(s.doc)));
                double tx;
                if (f.txMode == BatchTxMode::Offset) {
                    tx = std::nearbyint((r + offsetSign * offset) * 100000.0) / 100000.0;
                } else {
                    tx = txStart + (f.txDown ? -1 : 1) * txStep * k / 1000.0;
                }
                tx = numberOr(inBandText(LimitsOf(s.doc), tx), lowerMHz(LimitsOf(s.doc)));
                const long long d = units(tx) - units(r);
                c.OffsetDir = d > 0 ? 2 : (d < 0 ? 1 : 0);
                char buf[16];
                std::snprintf(buf, sizeof buf, "%07lld", std::min(std::llabs(d), 9999999LL));
                c.Offset.set(buf);
            }
            StepChannelFre(LimitsOf(s.doc), c);
        }
        if (items[kBatchRxTone]) {
            c.RxTone = static_cast<int16_t>(f.rxToneRandom ? randomTone()
                                                           : countedTone(f.rxToneStart, f.rxToneInterval, f.rxToneDown, k));
        }
        if (items[kBatchTxTone]) {
            if (f.txToneDefault) c.TxTone = c.RxTone;
            else
                c.TxTone = static_cast<int16_t>(f.txToneRandom ? randomTone()
                                                               : countedTone(f.txToneStart, f.txToneInterval, f.txToneDown, k));
        }
        if (items[kBatchName]) {
            if (!f.nameNumbered) {
                c.ChannelName.set(f.nameText);
            } else {
                const size_t d = f.nameStart.size();
                const std::string prefix = f.nameText.substr(0, d >= 6 ? 0 : 6 - d);
                c.ChannelName.set(prefix + countedDigits(f.nameStart, f.nameStep, f.nameDown, k));
            }
        }
        if (items[kBatchIdCode]) c.IdCode.set(countedDigits(f.idStart, f.idInterval, f.idDown, k));
        if (items[kBatchTxPower]) c.TxPower = static_cast<int16_t>(f.txPower);
        if (items[kBatchOptSignal]) c.OptSignal = static_cast<int16_t>(f.optSignal);
        if (items[kBatchPttId]) c.PttId = static_cast<int16_t>(f.pttId);
        if (items[kBatchBandwidth]) c.Bandwidth = static_cast<int16_t>(f.bandwidth);
        if (items[kBatchRevTalk]) c.ReverseTalkaround = static_cast<int16_t>(f.revTalk);
        if (items[kBatchAutoDial]) c.AutoDialMemory = static_cast<int16_t>(f.autoDial);
        if (items[kBatchSignalRelation]) c.SignalRelation = static_cast<int16_t>(f.signalRelation);
        if (items[kBatchScanSkip]) c.ScanSkip = f.scanSkip ? 1 : 0;
        if (items[kBatchScramble]) c.Scramble = f.scramble ? 1 : 0;
        if (items[kBatchTxInhibit]) c.TxInhibit = f.txInhibit ? 1 : 0;
        if (items[kBatchTalkaround]) c.Talkaround = f.talkaround ? 1 : 0;
        if (items[kBatchReverse]) c.Reverse = f.reverse ? 1 : 0;
        if (items[kBatchWhisper]) c.Whisper = f.whisper ? 1 : 0;
        if (items[kBatchCompander]) c.Compander = f.compander ? 1 : 0;
        if (items[kBatchBusyLock]) {
            int b = f.busyLock;
            const int refTone = c.Reverse != 0 ? c.TxTone : c.RxTone;
            if (b == 2 && refTone == 0) b = 1;
            c.BusyLock = static_cast<int16_t>(b);
        }
    }
    // Channels outside the range may have gone, and channels were created.
    RevalidateChannelRefs(s);
    s.doc.changes.allChannels();
    return notes;
}

}  // namespace zr
