#include "channels/channel_ops.h"

#include <limits>

#include "data/freq_text.h"
#include "shell/mod_fun.h"
#include "shell/number_text.h"
#include "shell/session.h"

namespace zr {
namespace {

constexpr int kDecimals = 5;

ChannelList& List(Session& s) { return s.doc.stored.Channels; }

// Number of records in use, kept inside the list's capacity.
int UsedCount(const ChannelList& l) {
    if (l.count < 0) return 0;
    return l.count > kMaxChannels ? kMaxChannels : l.count;
}

int16_t ToInt16(long long v) {
    if (v < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
    if (v > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
    return static_cast<int16_t>(v);
}

bool IsTextItem(int item) {
    return item == item::kRxFreq || item == item::kTxFreq || item == item::kName ||
           item == item::kIdCode;
}

void NoteChannel(Session& s, int n) { s.doc.changes.channel(n); }

bool IsMemoryChannel(int n) { return n >= 1 && n <= kMemoryChannels; }

void SetOffsetFromTx(const BandLimits& band, ChannelRecord& c, std::string_view tx, bool useOffset) {
    uint8_t dir = c.OffsetDir;
    const std::string off = SaveTxFreText(band, c.RxFreq.raw(), tx, useOffset, c.Offset.raw(), dir);
    c.Offset.set(off);
    c.OffsetDir = dir;
}

void ApplyTextItem(Session& s, ChannelRecord& c, int n, int item, const std::string& v, ChannelNotes& notes) {
    const bool useOffset = s.settings.habits.UseOffset;
    switch (item) {
    case item::kRxFreq: {
        // The TX column keeps its text across the change of the RX.
        const std::string t = ShowTxFreText(LimitsOf(s.doc), c.RxFreq.raw(), c.Offset.raw(), c.OffsetDir, useOffset);
        c.RxFreq.set(SaveFreText(LimitsOf(s.doc), v));
        SetOffsetFromTx(LimitsOf(s.doc), c, t, useOffset);
        // The TX frequency must lie in the band too.
        notes.txHeldInBand = HoldTxInBand(LimitsOf(s.doc), c);
        StepChannelFre(LimitsOf(s.doc), c);
        break;
    }
    case item::kTxFreq:
        SetOffsetFromTx(LimitsOf(s.doc), c, v, useOffset);
        StepChannelFre(LimitsOf(s.doc), c);
        break;
    case item::kName:
        if (n <= kMemoryChannels) c.ChannelName.set(v);
        break;
    case item::kIdCode:
        c.IdCode.set(CleanText(v));
        break;
    default:
        break;
    }
}

void ApplyNumberItem(Session& s, ChannelRecord& c, int n, int item, int value) {
    const int16_t v = ToInt16(value);
    switch (item) {
    case item::kRxTone: {
        if (value < 0 || value >= kToneCount) return;  // not a tone value
        const int16_t old = c.RxTone;
        c.RxTone = v;
        if (v == 0 && c.BusyLock == 2) c.BusyLock = 1;
        if (old == 0 && c.TxTone == 0) c.TxTone = v;
        break;
    }
    case item::kTxTone: {
        if (value < 0 || value >= kToneCount) return;
        const int16_t old = c.TxTone;
        c.TxTone = v;
        if (old == 0 && c.RxTone == 0) c.RxTone = v;
        break;
    }
    case item::kTxPower: c.TxPower = v; break;
    case item::kScanSkip:
        if (n <= kMemoryChannels) {
            c.ScanSkip = v;
            RevalidateChannelRefs(s);
        }
        break;
    case item::kOptSignal:
        c.OptSignal = v;
        if (c.RxTone == 0 && c.BusyLock > 1) c.BusyLock = 1;
        break;
    case item::kBandwidth: c.Bandwidth = v; break;
    case item::kPttId: c.PttId = v; break;
    case item::kBusyLock: c.BusyLock = v; break;
    case item::kReverseTalkaround: c.ReverseTalkaround = v; break;
    case item::kAutoDialMemory: c.AutoDialMemory = v; break;
    case item::kScramble: c.Scramble = v; break;
    case item::kTxInhibit: c.TxInhibit = v; break;
    case item::kTalkaround: c.Talkaround = v; break;
    case item::kReverse: c.Reverse = v; break;
    case item::kWhisper: c.Whisper = v; break;
    case item::kCompander: c.Compander = v; break;
    case item::kSignalRelation: c.SignalRelation = v; break;
    default: break;
    }
}

// A typed frequency moved into the band, noted when it had to move.
std::string InBand(const Session& s, std::string_view typed, ChannelNotes& notes) {
    FreqInBand f = FormatFreInBand(LimitsOf(s.doc), typed);
    if (f.moved) notes.movedIntoBand = true;
    return std::move(f.text);
}

// The part of SetChannelItem that works on the list; the refresh follows.
ChannelNotes ChangeChannel(Session& s, int n, int item, std::string v, std::optional<int> number) {
    ChannelNotes notes;
    const bool useOffset = s.settings.habits.UseOffset;
    if ((item == item::kRxFreq && !v.empty()) || (item == item::kTxFreq && !useOffset))
        v = InBand(s, v, notes);

    const auto pos = FindChannel(s, n);
    if (!pos) {
        if (item == item::kRxFreq && !v.empty()) {
            if (auto p = NewChannel(s, n, v))
                StepChannelFre(LimitsOf(s.doc), List(s).entries[static_cast<std::size_t>(*p)]);
        }
        return notes;
    }
    if (item == item::kRxFreq && v.empty()) {
        if (UsedCount(List(s)) > 1) DeleteChannelAt(s, *pos);
        return notes;
    }
    ChannelRecord& c = List(s).entries[static_cast<std::size_t>(*pos)];
    if (item == item::kTxFreq && useOffset && IsNumericText(v)) {
        std::string_view t = v;
        while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
        if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
            // Through the absolute TX frequency, so the band limits hold.
            const int64_t rx = ParseScaled(ShowFreText(LimitsOf(s.doc), c.RxFreq.raw()), kDecimals).value_or(0);
            const int64_t off = ParseScaled(t, kDecimals).value_or(0);
            const std::string txText = InBand(s, FormatScaled(rx + off, kDecimals), notes);
            const int64_t tx = ParseScaled(txText, kDecimals).value_or(rx);
            const int64_t diff = tx > rx ? tx - rx : rx - tx;
            v = std::string(1, t.front()) + FormatScaledShortest(diff, kDecimals);
        }
    }
    if (IsTextItem(item))
        ApplyTextItem(s, c, n, item, v, notes);
    else if (number)
        ApplyNumberItem(s, c, n, item, *number);
    return notes;
}

}  // namespace

std::optional<int> FindChannel(const Session& s, int channelNumber) {
    const ChannelList& l = s.doc.stored.Channels;
    const int count = UsedCount(l);
    for (int i = 0; i < count; ++i)
        if (l.entries[static_cast<std::size_t>(i)].ChannelNumber == channelNumber) return i;
    return std::nullopt;
}

ChannelRecord* FindChannelRecord(Session& s, int channelNumber) {
    auto p = FindChannel(s, channelNumber);
    return p ? &List(s).entries[static_cast<std::size_t>(*p)] : nullptr;
}

const ChannelRecord* FindChannelRecord(const Session& s, int channelNumber) {
    auto p = FindChannel(s, channelNumber);
    return p ? &s.doc.stored.Channels.entries[static_cast<std::size_t>(*p)] : nullptr;
}

bool ChannelHasFrequency(const Session& s, int channelNumber) {
    const ChannelRecord* c = FindChannelRecord(s, channelNumber);
    return c && !IsNoFrequency(c->RxFreq.raw()) && c->IsEmpty == 0;
}

ChannelNotes SetChannelItem(Session& s, int channelNumber, int item, std::string_view value) {
    std::optional<int> number;
    if (!IsTextItem(item) && IsNumericText(value)) number = TextToNumber(value, 0);
    const ChannelNotes notes = ChangeChannel(s, channelNumber, item, std::string(value), number);
    NoteChannel(s, channelNumber);
    return notes;
}

ChannelNotes SetChannelItem(Session& s, int channelNumber, int item, int value) {
    const ChannelNotes notes = ChangeChannel(s, channelNumber, item, IntText(value), value);
    NoteChannel(s, channelNumber);
    return notes;
}

std::optional<int> NewChannel(Session& s, int channelNumber, std::string_view rxText) {
    ChannelList& l = List(s);
    const int count = UsedCount(l);
    if (count >= kMaxChannels) return std::nullopt;
    ChannelRecord c;
    c.ChannelNumber = ToInt16(channelNumber);
    c.IsEmpty = 0;
    c.RxFreq.set(SaveFreText(LimitsOf(s.doc), rxText));
    c.OffsetDir = 0;
    c.Offset.set("0000000");
    c.ChannelName.set("");
    const bool pmr = s.doc.currentBand == "446 - 447 MHz";
    c.Bandwidth = pmr ? 2 : 0;
    c.TxPower = pmr ? 0 : 2;
    c.IdCode.set("000");
    c.IdCode.bytes[3] = '\0';
    c.IdCodeLength = s.doc.stored.Dtmf.DtmfSignalling != 0 ? 3 : 10;
    l.entries[static_cast<std::size_t>(count)] = c;
    l.count = static_cast<int16_t>(count + 1);
    RevalidateChannelRefs(s);
    return count;
}

std::optional<int> NewChannel(Session& s, int channelNumber, double rxMHz) {
    return NewChannel(s, channelNumber, FormatShortest(rxMHz));
}

void RemoveChannelAt(Session& s, int position) {
    ChannelList& l = List(s);
    const int count = UsedCount(l);
    if (position < 0 || position >= count) return;
    for (int i = position; i + 1 < count; ++i)
        l.entries[static_cast<std::size_t>(i)] = l.entries[static_cast<std::size_t>(i + 1)];
    l.count = static_cast<int16_t>(count - 1);
}

void DeleteChannelAt(Session& s, int position) {
    RemoveChannelAt(s, position);
    RevalidateChannelRefs(s);
}

void RemoveChannel(Session& s, int channelNumber) {
    if (auto p = FindChannel(s, channelNumber)) RemoveChannelAt(s, *p);
}

void RevalidateChannelRefs(Session& s) {
    RevalidateChannelRefsClosed(s);
    s.doc.changes.settings(SettingsRecord::OptFeat);
}

void RevalidateChannelRefsClosed(Session& s) {
    OptFeatRecord& o = s.doc.stored.OptFeat;
    const ChannelList& l = s.doc.stored.Channels;
    const int count = UsedCount(l);
    // The references name memory channels only: the VFO is never one of
    // them. A reference that names no memory channel goes to the last memory
    // channel of the list.
    int16_t lastMemory = 0;
    for (int i = 0; i < count; ++i) {
        const int16_t n = l.entries[static_cast<std::size_t>(i)].ChannelNumber;
        if (IsMemoryChannel(n)) lastMemory = n;
    }
    auto namesMemory = [&](int16_t n) { return IsMemoryChannel(n) && FindChannel(s, n).has_value(); };

    if (o.PriorityCh > 0) {
        const ChannelRecord* c = IsMemoryChannel(o.PriorityCh) ? FindChannelRecord(s, o.PriorityCh) : nullptr;
        if (!c || IsNoFrequency(c->RxFreq.raw()) || c->ScanSkip != 0) o.PriorityCh = 0;
    }
    if (!namesMemory(o.UhfCurrentCh)) {
        if (lastMemory == 0)
            o.WorkMode = 0;
        else
            o.UhfCurrentCh = lastMemory;
    }
    const auto& fm = s.doc.stored.FmChannels;
    auto fmInUse = [&](int k) {
        return k >= 1 && k <= kFmChannels && fm[static_cast<std::size_t>(k - 1)].IsEmpty == 0;
    };
    if (!fmInUse(o.FmCurrentCh)) {
        int lowest = 0;
        for (int k = 1; k <= kFmChannels && lowest == 0; ++k)
            if (fmInUse(k)) lowest = k;
        if (lowest == 0)
            o.RadioWorkMode = 0;
        else
            o.FmCurrentCh = static_cast<int16_t>(lowest);
    }
    for (int16_t* direct : {&o.DirectCh1, &o.DirectCh2})
        if (!namesMemory(*direct)) *direct = lastMemory;
}

bool HoldTxInBand(const BandLimits& band, ChannelRecord& c) {
    const std::string tx = ShowTxFreText(band, c.RxFreq.raw(), c.Offset.raw(), c.OffsetDir, false);
    const auto units = ParseScaled(tx, kDecimals);
    if (!units || (*units >= LowerLimitUnits(band) && *units <= UpperLimitUnits(band))) return false;
    SetOffsetFromTx(band, c, FormatFreInBand(band, tx).text, false);
    return true;
}

int BusyLockChoiceCount(Session& s, int channelNumber) {
    ChannelRecord* c = FindChannelRecord(s, channelNumber);
    if (!c) return 2;
    const int16_t reference = c->Reverse != 0 ? c->TxTone : c->RxTone;
    if (reference != 0) return 3;
    if (c->BusyLock == 2) c->BusyLock = 1;
    return 2;
}

}  // namespace zr
