#include "files/document_record.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <type_traits>

#include "files/file_io.h"

namespace zr {

namespace {

// Writes members into a buffer of the record's size, in record order.
class RecordWriter {
public:
    explicit RecordWriter(std::vector<uint8_t>& out) : out_(out) {}
    void i16(int16_t v) {
        auto u = static_cast<uint16_t>(v);
        out_[pos_++] = static_cast<uint8_t>(u & 0xFF);
        out_[pos_++] = static_cast<uint8_t>(u >> 8);
    }
    void u8(uint8_t v) { out_[pos_++] = v; }
    template <std::size_t N>
    void text(const FixedText<N>& t) {
        std::memcpy(out_.data() + pos_, t.bytes.data(), N);
        pos_ += N;
    }
    std::size_t written() const { return pos_; }

private:
    std::vector<uint8_t>& out_;
    std::size_t pos_ = 0;
};

// Reads members from a record of at least kDocumentRecordSize bytes.
class RecordReader {
public:
    explicit RecordReader(std::span<const uint8_t> in) : in_(in) {}
    void i16(int16_t& v) {
        auto u = static_cast<uint16_t>(in_[pos_] | (in_[pos_ + 1] << 8));
        v = static_cast<int16_t>(u);
        pos_ += 2;
    }
    void u8(uint8_t& v) { v = in_[pos_++]; }
    template <std::size_t N>
    void text(FixedText<N>& t) {
        for (auto& c : t.bytes) c = static_cast<char>(in_[pos_++]);
    }

private:
    std::span<const uint8_t> in_;
    std::size_t pos_ = 0;
};

// One walk over every member in file order serves both directions, so the
// reader and the writer cannot drift apart. D is StoredDocument or its const.
template <class IO, class C>
void walkChannel(IO& io, C& c) {
    io.i16(c.ChannelNumber);
    io.i16(c.IsEmpty);
    io.text(c.RxFreq);
    io.u8(c.OffsetDir);
    io.text(c.Offset);
    io.i16(c.RxTone);
    io.i16(c.TxTone);
    io.i16(c.RxStep);
    io.i16(c.OffsetStep);
    io.i16(c.Scramble);
    io.i16(c.BusyLock);
    io.i16(c.ReverseTalkaround);
    io.i16(c.TxInhibit);
    io.i16(c.Talkaround);
    io.i16(c.Spare);
    io.i16(c.PttId);
    io.i16(c.Whisper);
    io.i16(c.Bandwidth);
    io.i16(c.OptSignal);
    io.i16(c.Compander);
    io.i16(c.Reverse);
    io.i16(c.TxPower);
    io.i16(c.AutoDialMemory);
    io.i16(c.ScanSkip);
    io.text(c.ChannelName);
    io.text(c.IdCode);
    io.i16(c.IdCodeLength);
    io.i16(c.SignalRelation);
}

template <class IO, class O>
void walkOptFeat(IO& io, O& o) {
    io.i16(o.FreqStep);
    io.i16(o.SquelchLevel);
    io.i16(o.PriorityCh);
    io.i16(o.ChDisplayMode);
    io.i16(o.ScreenColor);
    io.i16(o.Backlight);
    io.i16(o.BatterySave);
    io.i16(o.TailElimMode);
    io.i16(o.VoicePrompt);
    io.i16(o.KeyBeep);
    io.i16(o.BeepVolume);
    io.i16(o.ReservedFlag);
    io.i16(o.VoxTone);
    io.i16(o.PowerOnDisplay);
    io.i16(o.CableClone);
    io.i16(o.FactoryTest);
    io.i16(o.WhisperFunc);
    io.i16(o.NoSigTailElim);
    io.i16(o.WorkMode);
    io.i16(o.RadioWorkMode);
    io.i16(o.ToneScanMode);
    io.i16(o.FmRadio);
    io.i16(o.InvertFreq);
    io.i16(o.UhfCurrentCh);
    io.i16(o.FmCurrentCh);
    io.i16(o.TotTime);
    io.i16(o.ScanPauseTime);
    io.i16(o.TotPreAlert);
    io.i16(o.TotRekey);
    io.i16(o.TotReset);
    io.i16(o.VoxEnable);
    io.i16(o.VoxLevel);
    io.i16(o.VoxDelay);
    io.i16(o.InhibitInit);
    io.text(o.PowerOnText);
    io.i16(o.ChLock);
    io.i16(o.AlarmSwitch);
    io.i16(o.DirectCh1);
    io.i16(o.DirectCh2);
}

template <class IO, class E>
void walkCode(IO& io, E& e) {
    io.i16(e.Length);
    io.text(e.Digits);
}

template <class IO, class R>
void walkDtmf(IO& io, R& d) {
    io.i16(d.DtmfRate);
    io.i16(d.FirstDigitTime);
    io.i16(d.FirstDigitDelay);
    io.i16(d.StarHashTime);
    io.i16(d.DKeySetting);
    io.i16(d.SideTone);
    io.i16(d.DtmfSignalling);
    io.i16(d.CallAlert);
    io.i16(d.AutoAnswer);
    io.i16(d.SeparatorCode);
    io.i16(d.GroupCode);
    io.i16(d.AutoResetTime);
    walkCode(io, d.BotCode);
    walkCode(io, d.EotCode);
    walkCode(io, d.StunCode);
    walkCode(io, d.KillCode);
    for (auto& g : d.GroupCodes) walkCode(io, g);
}

template <class IO, class K>
void walkKeys(IO& io, K& k) {
    io.i16(k.LongPressTime);
    io.i16(k.Pf1Long);
    io.i16(k.Pf1Short);
    io.i16(k.Pf2Long);
    io.i16(k.Pf2Short);
    io.i16(k.Key3Long);
    io.i16(k.Key4Long);
    io.i16(k.Key5Long);
    io.i16(k.Key6Long);
    io.i16(k.Key3Short);
    io.i16(k.Key4Short);
    io.i16(k.Key5Short);
    io.i16(k.Key6Short);
}

template <class IO, class A>
void walkAlert(IO& io, A& a) {
    io.u8(a.EmergencyAlarm);
    io.u8(a.EmgIdType);
    io.u8(a.EmgIdGroup);
    io.u8(a.AlarmTime);
    io.u8(a.AlertTxTime);
    io.u8(a.AlertRxTime);
    io.u8(a.ChannelSelect);
    io.u8(a.EmgChannel);
    io.u8(a.AlertCycles);
}

template <class IO, class S>
void walkScan(IO& io, S& s) {
    io.u8(s.ScanMode);
    io.u8(s.PriorityMode);
    io.u8(s.RevertChannel);
    io.u8(s.LookBackA);
    io.u8(s.LookBackB);
    io.u8(s.RxResumeDelay);
    io.u8(s.TxResumeDelay);
    io.u8(s.ScanEntryTone);
    io.u8(s.ScanExitTone);
    io.u8(s.PriorityCh1);
    io.u8(s.PriorityCh2);
    io.u8(s.WaitTime);
}

template <class IO, class D>
void walkDocument(IO& io, D& d) {
    io.text(d.FormatVersion);
    io.i16(d.Channels.count);
    for (auto& c : d.Channels.entries) walkChannel(io, c);
    for (auto& f : d.FmChannels) {
        io.i16(f.IsEmpty);
        io.text(f.FmFreq);
    }
    for (auto& t : d.TestFreqs) {
        io.text(t.TestFreq1);
        io.text(t.TestFreq2);
    }
    io.text(d.ModelBand.ModelId);
    io.i16(d.ModelBand.BandCode);
    walkOptFeat(io, d.OptFeat);
    walkDtmf(io, d.Dtmf);
    for (auto& line : d.EmbMsg.Lines) io.text(line);
    walkKeys(io, d.Keys);
    walkAlert(io, d.Alert);
    walkScan(io, d.Scan);
    io.u8(d.AlarmMode);
}

}  // namespace

std::string DescribeRecordError(RecordError e) {
    switch (e) {
    case RecordError::None: return "no error";
    case RecordError::TooShort:
        return "the file is shorter than a document (" + std::to_string(kDocumentRecordSize) +
               " bytes)";
    case RecordError::BadChannelCount: return "the channel count is outside 0..129";
    case RecordError::Unreadable: return "the file cannot be opened or read";
    }
    return "unknown error";
}

std::vector<uint8_t> SerializeDocumentRecord(const StoredDocument& doc) {
    std::vector<uint8_t> out(kDocumentRecordSize);
    RecordWriter w(out);
    walkDocument(w, doc);
    assert(w.written() == kDocumentRecordSize);
    return out;
}

std::optional<StoredDocument> ParseDocumentRecord(std::span<const uint8_t> bytes,
                                                  RecordError* error) {
    auto fail = [&](RecordError e) -> std::optional<StoredDocument> {
        if (error) *error = e;
        return std::nullopt;
    };
    if (bytes.size() < kDocumentRecordSize) return fail(RecordError::TooShort);
    StoredDocument doc;
    RecordReader r(bytes.first(kDocumentRecordSize));
    walkDocument(r, doc);
    if (doc.Channels.count < 0 || doc.Channels.count > kMaxChannels)
        return fail(RecordError::BadChannelCount);
    if (error) *error = RecordError::None;
    return doc;
}

std::optional<StoredDocument> ReadDocumentRecordFile(const std::string& path, RecordError* error) {
    std::vector<uint8_t> bytes;
    if (!ReadFileHead(path, kDocumentRecordSize, bytes)) {
        if (error) *error = RecordError::Unreadable;
        return std::nullopt;
    }
    return ParseDocumentRecord(bytes, error);
}

Result WriteDocumentRecordFile(const std::string& path, const StoredDocument& doc) {
    const auto bytes = SerializeDocumentRecord(doc);
    return ReplaceFileHead(path, bytes);
}

}  // namespace zr
