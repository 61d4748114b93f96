#include "link/differences.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <array>
#include <functional>
#include <optional>

#include "data/bands.h"
#include "data/freq_text.h"
#include "data/image_codec.h"
#include "files/document_record.h"
#include "files/file_io.h"
#include "link/verify.h"
#include "shell/number_text.h"
#include "shell/version.h"

namespace zr::link {

namespace {

// ------------------------------------------------------------ value texts

std::string Quote(const std::string& t) {
    static const char* kHex = "0123456789ABCDEF";
    std::string out = "\"";
    for (const char ch : t) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c >= 0x7F) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

// A stored frequency in MHz, "none" when it holds none, the text itself
// when it is not a frequency.
std::string Mhz(const std::string& stored) {
    if (IsNoFrequency(stored)) return "none";
    if (const auto units = StoredFreqUnits(stored)) return FormatScaled(*units, 5);
    return Quote(stored);
}

std::string OffsetText(const ChannelRecord& c) {
    const int64_t magnitude = StoredOffsetUnits(c.Offset.raw());
    if (c.OffsetDir == 1 || c.OffsetDir == 2) return ShowOffsetText(c.Offset.raw(), c.OffsetDir);
    std::string t = c.OffsetDir == 0 ? "simplex" : "direction " + IntText(c.OffsetDir);
    if (magnitude != 0) t += " (offset " + FormatScaled(magnitude, 5) + ")";
    return t;
}

std::string ToneText(int value) {
    const std::string name = ToneName(value, "none");
    return name.empty() ? "tone value " + IntText(value) : name;
}

// Entry `value` of `names`, or the number itself outside the list.
std::string NameOf(long long value, const std::vector<const char*>& names) {
    if (value >= 0 && value < static_cast<long long>(names.size())) return names[static_cast<std::size_t>(value)];
    return IntText(value);
}

// A DTMF code: its first Length characters.
std::string CodeText(const DtmfCodeEntry& e) {
    std::string t = e.Digits.text();
    const int length = e.Length;
    if (length >= 0 && static_cast<std::size_t>(length) < t.size()) t.resize(static_cast<std::size_t>(length));
    std::string out = Quote(t);
    if (length < 0 || static_cast<std::size_t>(length) != t.size()) out += " (length " + IntText(length) + ")";
    return out;
}

const std::vector<const char*> kOffOn = {"off", "on"};

// ------------------------------------------------------------ item tables

// One comparable item of a record: its label, its value in words, and
// whether the radio keeps it.
template <class R>
struct Item {
    const char* label;
    std::function<std::string(const R&)> show;
    bool inRadio = true;
};

template <class R, class M>
Item<R> Number(const char* label, M R::*m, bool inRadio = true) {
    return {label, [m](const R& r) { return IntText(r.*m); }, inRadio};
}

template <class R, class M>
Item<R> Named(const char* label, M R::*m, std::vector<const char*> names, bool inRadio = true) {
    return {label, [m, names](const R& r) { return NameOf(r.*m, names); }, inRadio};
}

// A count of steps shown as value * step / 10^decimals, e.g. tenths
// of a second (step 1, decimals 1) or 50 ms steps (step 50, decimals 0).
template <class R, class M>
Item<R> Scaled(const char* label, M R::*m, int step, int decimals, const char* suffix) {
    return {label, [=](const R& r) { return FormatScaled(static_cast<int64_t>(r.*m) * step, decimals) + suffix; }};
}

template <class R, std::size_t N>
Item<R> Text(const char* label, FixedText<N> R::*m, bool inRadio = true) {
    return {label, [m](const R& r) { return Quote((r.*m).text()); }, inRadio};
}

const std::vector<Item<ChannelRecord>>& ChannelItems() {
    using C = ChannelRecord;
    static const std::vector<Item<C>> items = {
        {"RX", [](const C& c) { return Mhz(c.RxFreq.raw()); }},
        {"TX offset", [](const C& c) { return OffsetText(c); }},
        Text("name", &C::ChannelName),
        {"decode", [](const C& c) { return ToneText(c.RxTone); }},
        {"encode", [](const C& c) { return ToneText(c.TxTone); }},
        Named("power", &C::TxPower, {"low", "middle", "high"}),
        Named("scan", &C::ScanSkip, {"scan", "skip"}),
        Named("signalling", &C::OptSignal, {"none", "DTMF"}),
        Named("bandwidth", &C::Bandwidth, {"12.5 kHz", "20 kHz", "25 kHz"}),
        Text("ID code", &C::IdCode),
        Number("PTT ID", &C::PttId),
        Number("busy lockout", &C::BusyLock),
        Named("scramble", &C::Scramble, kOffOn),
        Named("TX inhibit", &C::TxInhibit, kOffOn),
        Named("whisper", &C::Whisper, kOffOn),
        Named("compander", &C::Compander, kOffOn),
        Number("signalling relation", &C::SignalRelation),
        Number("auto-dial memory", &C::AutoDialMemory),
        Named("RX step", &C::RxStep, {"5 kHz", "6.25 kHz"}),
        Named("offset step", &C::OffsetStep, {"5 kHz", "6.25 kHz"}),
        Number("reverse/talkaround", &C::ReverseTalkaround, false),
        Named("talkaround", &C::Talkaround, kOffOn, false),
        Named("reverse", &C::Reverse, kOffOn, false),
        Number("ID code length", &C::IdCodeLength, false),
    };
    return items;
}

const std::vector<Item<OptFeatRecord>>& OptFeatItems() {
    using O = OptFeatRecord;
    static const std::vector<Item<O>> items = {
        Named("frequency step", &O::FreqStep, {"5K", "6.25K", "10K", "12.5K", "15K", "20K", "25K", "30K", "50K"}),
        Number("squelch level", &O::SquelchLevel),
        Number("channel display mode", &O::ChDisplayMode),
        Number("screen colour", &O::ScreenColor),
        Number("backlight", &O::Backlight),
        Number("battery save", &O::BatterySave),
        Number("CTCSS tail elimination", &O::TailElimMode),
        Number("voice prompt", &O::VoicePrompt),
        Named("key beep", &O::KeyBeep, kOffOn),
        {"prompt tone volume", [](const O& o) { return IntText(o.BeepVolume + 1); }},
        Number("reserved bit", &O::ReservedFlag),
        Named("tones allowed with VOX", &O::VoxTone, kOffOn),
        Number("power-on display", &O::PowerOnDisplay),
        Named("tail elimination without signalling", &O::NoSigTailElim, kOffOn),
        Number("work mode", &O::WorkMode),
        Number("FM radio work mode", &O::RadioWorkMode),
        Named("FM radio", &O::FmRadio, kOffOn),
        Number("inversion frequency", &O::InvertFreq),
        Number("current memory channel", &O::UhfCurrentCh),
        Number("current FM radio channel", &O::FmCurrentCh),
        {"time-out timer", [](const O& o) { return o.TotTime == 0 ? std::string("off") : IntText(o.TotTime) + " s"; }},
        Named("scan pause time", &O::ScanPauseTime, {"short", "medium", "long"}),
        {"time-out pre-alert",
         [](const O& o) { return o.TotPreAlert == 0 ? std::string("off") : IntText(o.TotPreAlert) + " s"; }},
        Scaled("time-out re-key time", &O::TotRekey, 1, 0, " s"),
        Scaled("time-out reset time", &O::TotReset, 1, 0, " s"),
        Named("VOX", &O::VoxEnable, kOffOn),
        Number("VOX sensitivity", &O::VoxLevel),
        {"VOX delay", [](const O& o) { return FormatScaled((o.VoxDelay + 1) * 5, 1) + " s"; }},
        Named("inhibit initialisation", &O::InhibitInit, kOffOn),
        Text("power-on text", &O::PowerOnText),
        Named("channel lock", &O::ChLock, kOffOn),
        Number("direct channel 1", &O::DirectCh1),
        Number("direct channel 2", &O::DirectCh2),
        Number("priority channel", &O::PriorityCh, false),
        Named("cable clone", &O::CableClone, kOffOn, false),
        Named("factory test", &O::FactoryTest, kOffOn, false),
        Named("whisper function", &O::WhisperFunc, kOffOn, false),
        Number("tone scan mode", &O::ToneScanMode, false),
        Named("alarm switch", &O::AlarmSwitch, kOffOn, false),
    };
    return items;
}

const std::vector<Item<DtmfRecord>>& DtmfItems() {
    using D = DtmfRecord;
    static const std::vector<Item<D>> items = [] {
        std::vector<Item<D>> v = {
            Scaled("DTMF rate", &D::DtmfRate, 50, 0, " ms"),
            Scaled("first digit time", &D::FirstDigitTime, 50, 0, " ms"),
            Scaled("first digit delay", &D::FirstDigitDelay, 50, 0, " ms"),
            Scaled("* and # tone time", &D::StarHashTime, 50, 0, " ms"),
            Number("D key setting", &D::DKeySetting),
            Named("side tone", &D::SideTone, kOffOn),
            Number("DTMF signalling", &D::DtmfSignalling),
            Number("call alert", &D::CallAlert),
            Named("separator code", &D::SeparatorCode,
                  {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "*", "#"}),
            Number("group code setting", &D::GroupCode),
            Number("auto reset timer", &D::AutoResetTime),
            {"BOT code", [](const D& d) { return CodeText(d.BotCode); }},
            {"EOT code", [](const D& d) { return CodeText(d.EotCode); }},
            {"stun code", [](const D& d) { return CodeText(d.StunCode); }},
            {"kill code", [](const D& d) { return CodeText(d.KillCode); }},
        };
        static const std::array<std::string, 16> kLabels = [] {
            std::array<std::string, 16> l;
            for (std::size_t k = 0; k < l.size(); ++k) l[k] = "group code " + IntText(static_cast<long long>(k) + 1);
            return l;
        }();
        for (std::size_t k = 0; k < 16; ++k)
            v.push_back({kLabels[k].c_str(), [k](const D& d) { return CodeText(d.GroupCodes[k]); }});
        v.push_back(Named("auto answer", &D::AutoAnswer, {"off", "answer", "answer with alert"}, false));
        return v;
    }();
    return items;
}

const std::vector<Item<ScanRecord>>& ScanItems() {
    using S = ScanRecord;
    static const std::vector<Item<S>> items = {
        Named("scan mode", &S::ScanMode, kOffOn),
        Named("priority mode", &S::PriorityMode, {"none", "priority channel 1", "priority channel 2", "both"}),
        Number("priority channel 1", &S::PriorityCh1),
        Number("priority channel 2", &S::PriorityCh2),
        Number("revert channel", &S::RevertChannel),
        Scaled("look-back time A", &S::LookBackA, 1, 1, " s"),
        Scaled("look-back time B", &S::LookBackB, 1, 1, " s"),
        Scaled("resume delay after receiving", &S::RxResumeDelay, 1, 1, " s"),
        Scaled("resume delay after transmitting", &S::TxResumeDelay, 1, 1, " s"),
        Named("tone when scanning starts", &S::ScanEntryTone, kOffOn),
        Named("tone when scanning stops", &S::ScanExitTone, kOffOn),
        Scaled("wait time", &S::WaitTime, 15, 0, " s"),
    };
    return items;
}

const std::vector<Item<StoredDocument>>& AlertItems() {
    using D = StoredDocument;
    static const std::vector<Item<D>> items = {
        {"emergency alarm",
         [](const D& d) { return NameOf(d.Alert.EmergencyAlarm, {"off", "siren", "local alarm", "local and remote alarm"}); }},
        {"emergency ID type", [](const D& d) { return NameOf(d.Alert.EmgIdType, {"none", "DTMF code"}); }},
        {"emergency ID code group", [](const D& d) { return IntText(d.Alert.EmgIdGroup); }},
        {"alarm time", [](const D& d) { return IntText(d.Alert.AlarmTime) + " s"; }},
        {"transmit time", [](const D& d) { return IntText(d.Alert.AlertTxTime) + " s"; }},
        {"receive time", [](const D& d) { return IntText(d.Alert.AlertRxTime) + " s"; }},
        {"channel selection",
         [](const D& d) { return NameOf(d.Alert.ChannelSelect, {"emergency channel", "current channel"}); }},
        {"emergency channel", [](const D& d) { return IntText(d.Alert.EmgChannel); }},
        {"cycles", [](const D& d) { return NameOf(d.Alert.AlertCycles, {"continuous"}); }},
        {"alarm mode", [](const D& d) { return IntText(d.AlarmMode); }},
    };
    return items;
}

const std::vector<const char*> kKeyFunctions = {
    "none",          "monitor",          "scan",         "reserved 3",   "emergency alarm",
    "TX power high/low", "squelch off",  "talkaround",   "reverse",      "scramble",
    "VOX",           "reserved 11",      "backlight",    "reserved 13",  "reserved 14",
    "FM radio",      "key lock",         "bandwidth wide/narrow", "compander", "whisper",
    "voice prompt",  "battery voltage",  "call",         "channel lock", "tone scan",
    "reserved 25",   "reserved 26",      "lone worker",  "remote stun",  "remote kill"};

const std::vector<Item<KeyRecord>>& KeyItems() {
    using K = KeyRecord;
    static const std::vector<Item<K>> items = {
        Scaled("long-press time", &K::LongPressTime, 1, 1, " s"),
        Named("PF1 long press", &K::Pf1Long, kKeyFunctions),
        Named("PF1 short press", &K::Pf1Short, kKeyFunctions),
        Named("PF2 long press", &K::Pf2Long, kKeyFunctions),
        Named("PF2 short press", &K::Pf2Short, kKeyFunctions),
        Named("key 3 long press", &K::Key3Long, kKeyFunctions),
        Named("key 3 short press", &K::Key3Short, kKeyFunctions),
        Named("key 4 long press", &K::Key4Long, kKeyFunctions),
        Named("key 4 short press", &K::Key4Short, kKeyFunctions),
        Named("key 5 long press", &K::Key5Long, kKeyFunctions),
        Named("key 5 short press", &K::Key5Short, kKeyFunctions),
        Named("key 6 long press", &K::Key6Long, kKeyFunctions),
        Named("key 6 short press", &K::Key6Short, kKeyFunctions),
    };
    return items;
}

std::string BandName(int code) {
    const std::string t = BandText(code);
    return t.empty() ? "band code " + IntText(code) : t;
}

// ------------------------------------------------------------ comparing

class Collector {
public:
    explicit Collector(bool radioOnly) : radioOnly_(radioOnly) {}

    // "Scan: label a -> b", or "CH 12 label a -> b" for a channel.
    template <class R>
    void items(const std::vector<Item<R>>& list, const R& a, const R& b, const std::string& group, int channel) {
        const std::string prefix = channel ? group + " " : group + ": ";
        for (const auto& item : list) line(group, channel, prefix + item.label, item.show(a), item.show(b), item.inRadio);
    }
    // "head a -> b" when a and b differ.
    void line(const std::string& group, int channel, const std::string& head, const std::string& a,
              const std::string& b, bool inRadio = true) {
        if (a == b || (radioOnly_ && !inRadio)) return;
        out.push_back({group, channel, head + " " + a + " -> " + b + (inRadio ? "" : " (document only)")});
    }

    std::vector<Difference> out;

private:
    bool radioOnly_;
};

std::string ChannelGroup(int number) { return number == kVfoChannel ? "VFO" : "CH " + IntText(number); }

// The used channels by number (1..129); a record without an RX frequency is
// an empty channel, as the encoder treats it. The first record of a number
// counts.
std::array<std::optional<ChannelRecord>, kMaxChannels + 1> ChannelsByNumber(const ChannelList& list) {
    std::array<std::optional<ChannelRecord>, kMaxChannels + 1> by{};
    const int count = std::clamp<int>(list.count, 0, kMaxChannels);
    for (int i = 0; i < count; ++i) {
        const ChannelRecord& c = list.entries[static_cast<std::size_t>(i)];
        if (c.ChannelNumber < 1 || c.ChannelNumber > kMaxChannels || IsNoFrequency(c.RxFreq.raw())) continue;
        auto& slot = by[static_cast<std::size_t>(c.ChannelNumber)];
        if (!slot) slot = c;
    }
    return by;
}

std::string ChannelSummary(const ChannelRecord& c) {
    std::string t = "RX " + Mhz(c.RxFreq.raw());
    if (!c.ChannelName.text().empty()) t += " " + Quote(c.ChannelName.text());
    return t;
}

// `unshown`: lines of bytes no item shows; a channel's join its lines, the
// others come last.
void CompareRecords(const StoredDocument& a, const StoredDocument& b, Collector& out, bool withTestFrequencies,
                    const std::vector<Difference>& unshown = {}) {
    auto unshownOf = [&](int channel) {
        for (const auto& d : unshown)
            if (d.channel == channel) out.out.push_back(d);
    };
    out.line("Model and band", 0, "Model and band: model", Quote(a.ModelBand.ModelId.text()),
             Quote(b.ModelBand.ModelId.text()));
    out.line("Model and band", 0, "Model and band: band", BandName(a.ModelBand.BandCode),
             BandName(b.ModelBand.BandCode));

    const auto ca = ChannelsByNumber(a.Channels), cb = ChannelsByNumber(b.Channels);
    for (int n = 1; n <= kMaxChannels; ++n) {
        const auto& x = ca[static_cast<std::size_t>(n)];
        const auto& y = cb[static_cast<std::size_t>(n)];
        const std::string group = ChannelGroup(n);
        if (x && y) out.items(ChannelItems(), *x, *y, group, n);
        else if (x || y) out.line(group, n, group, x ? ChannelSummary(*x) : "empty", y ? ChannelSummary(*y) : "empty");
        unshownOf(n);
    }

    auto fm = [](const FmChannel& f) { return f.IsEmpty != 0 ? std::string("empty") : Mhz(f.FmFreq.raw()); };
    for (std::size_t k = 0; k < a.FmChannels.size(); ++k)
        out.line("FM radio frequencies", 0, "FM preset " + IntText(static_cast<long long>(k) + 1),
                 fm(a.FmChannels[k]), fm(b.FmChannels[k]));

    out.items(OptFeatItems(), a.OptFeat, b.OptFeat, "Optional features", 0);
    out.items(DtmfItems(), a.Dtmf, b.Dtmf, "DTMF", 0);
    out.items(ScanItems(), a.Scan, b.Scan, "Scan", 0);
    out.items(AlertItems(), a, b, "Alert and emergency", 0);
    out.items(KeyItems(), a.Keys, b.Keys, "Programmable keys", 0);
    for (std::size_t k = 0; k < a.EmbMsg.Lines.size(); ++k)
        out.line("Embedded message", 0, "Embedded message: line " + IntText(static_cast<long long>(k) + 1),
                 Quote(a.EmbMsg.Lines[k].text()), Quote(b.EmbMsg.Lines[k].text()));

    unshownOf(0);

    if (!withTestFrequencies) return;
    for (std::size_t k = 0; k < a.TestFreqs.size(); ++k) {
        const std::string n = "Test frequencies: entry " + IntText(static_cast<long long>(k) + 1);
        out.line("Test frequencies", 0, n + " first", Mhz(a.TestFreqs[k].TestFreq1.raw()),
                 Mhz(b.TestFreqs[k].TestFreq1.raw()), false);
        out.line("Test frequencies", 0, n + " second", Mhz(a.TestFreqs[k].TestFreq2.raw()),
                 Mhz(b.TestFreqs[k].TestFreq2.raw()), false);
    }
}

StoredDocument Decoded(const RadioImage& image) {
    RadioDocument d;
    d.image = image;
    RadioFlags capability{};
    DecodeImage(d, capability);
    return d.stored;
}

// The bytes the comparison covers: everything up to the band code.
constexpr int kComparedBytes = kFirmwareOffset;

// Bytes that differ although every item decoded from them is equal, one line
// per part of the address map; the lines of a channel slot carry its number.
std::vector<Difference> UnshownBytes(const RadioImage& a, const RadioImage& b) {
    std::vector<Difference> out;
    const RadioImage na = DocumentImage(Decoded(a)), nb = DocumentImage(Decoded(b));
    std::vector<int> addresses;
    for (int i = 0; i < kComparedBytes; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (a[k] != b[k] && na[k] == nb[k]) addresses.push_back(i);
    }
    std::size_t i = 0;
    while (i < addresses.size()) {
        const std::string what = DescribeImageAddress(addresses[i]);
        std::size_t j = i;
        while (j + 1 < addresses.size() && DescribeImageAddress(addresses[j + 1]) == what) ++j;
        const int first = addresses[i];
        const int channel = first < 4096 ? first / 32 + 1 : first < 4128 ? kVfoChannel : 0;
        const std::string group = channel ? ChannelGroup(channel) : what;
        const std::size_t n = j - i + 1;
        std::string text = what + ": " + IntText(static_cast<long long>(n)) +
                           (n == 1 ? " byte differs" : " bytes differ") + " that no item shows";
        if (n == 1) {
            static const char* kHex = "0123456789ABCDEF";
            const auto k = static_cast<std::size_t>(first);
            text += " (address " + IntText(first) + ": " + kHex[a[k] >> 4] + kHex[a[k] & 15] + " -> " +
                    kHex[b[k] >> 4] + kHex[b[k] & 15] + ")";
        } else {
            text += " (addresses " + IntText(first) + "-" + IntText(addresses[j]) + ")";
        }
        out.push_back({group, channel, text});
        i = j + 1;
    }
    return out;
}

}  // namespace

std::vector<Difference> CompareDocuments(const StoredDocument& a, const StoredDocument& b) {
    Collector out(false);
    CompareRecords(a, b, out, true);
    return std::move(out.out);
}

std::vector<Difference> CompareImages(const RadioImage& a, const RadioImage& b) {
    Collector out(true);
    CompareRecords(Decoded(a), Decoded(b), out, false, UnshownBytes(a, b));
    return std::move(out.out);
}

RadioImage DocumentImage(const StoredDocument& d) {
    RadioDocument doc;
    doc.stored = d;
    ApplyModelBand(doc);
    doc.image.fill(0xFF);
    EncodeImage(doc);
    return doc.image;
}

Result LoadCompareSide(const std::string& path, CompareSide& side) {
    std::vector<uint8_t> bytes;
    errno = 0;
    if (!ReadFileHead(path, kDocumentRecordSize + 1, bytes))
        return Result::Failed(path + ": cannot be read (" + std::strerror(errno ? errno : EIO) + ")");
    if (bytes.size() == static_cast<std::size_t>(kRadioImageSize)) {
        side.isImage = true;
        std::copy(bytes.begin(), bytes.end(), side.image.begin());
        return Result::Done();
    }
    RecordError why = RecordError::None;
    const auto doc = ReadDocumentRecordFile(path, &why);
    if (!doc) return Result::Failed(path + ": " + DescribeRecordError(why));
    if (!IsVersionText(doc->FormatVersion.raw()))
        return Result::Failed(path + ": not a document of this program (no valid version text)");
    side.isImage = false;
    side.doc = *doc;
    return Result::Done();
}

std::vector<Difference> CompareSides(const CompareSide& a, const CompareSide& b) {
    if (!a.isImage && !b.isImage) return CompareDocuments(a.doc, b.doc);
    return CompareImages(a.isImage ? a.image : DocumentImage(a.doc), b.isImage ? b.image : DocumentImage(b.doc));
}

std::string DifferencesText(const std::vector<Difference>& differences) {
    std::string out;
    for (const auto& d : differences) out += d.text + "\n";
    return out;
}

}  // namespace zr::link
