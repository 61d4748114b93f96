#include "data/settings_codec.h"

#include <algorithm>
#include <string>
#include <type_traits>

#include "data/codec_util.h"
#include "shell/mod_fun.h"

namespace zr {

using namespace codec;

namespace {

// ------------------------------------------------------------ field kinds
// How one field is kept in the image. The writer asks a field for its bits
// (put) or lets it fill its bytes (write); the reader hands it the byte
// (take) or the image (read). T is the field's type, const while writing.

// A field of `width` bits from bit `low`. The radio keeps value + plus; a
// value read above `atMost` becomes `atMost`. Writing masks the value to its
// bits, so an out-of-range value never spills into a neighbour.
template <class T>
struct Bits {
    T& value;
    int low;
    int width;
    int plus = 0;
    int atMost = 255;

    uint8_t put() const { return placeBits(value + plus, low, width); }
    void take(uint8_t byte) const {
        value = static_cast<std::remove_const_t<T>>(std::min(bitsOf(byte, low, width), atMost) - plus);
    }
};

template <class T>
Bits<T> bits(T& value, int low, int width) { return {value, low, width}; }
template <class T>
Bits<T> whole(T& value) { return {value, 0, 8}; }   // a byte of its own, low 8 bits
template <class T>
Bits<T> bitsPlusOne(T& value, int low, int width) { return {value, low, width, 1}; }
template <class T>
Bits<T> bitsReadAtMost(T& value, int low, int width, int most) { return {value, low, width, 0, most}; }

// One bit that is set for any non-zero value.
template <class T>
struct NonZero {
    T& value;
    int bit;

    uint8_t put() const { return placeBits(value != 0, bit, 1); }
    void take(uint8_t byte) const { value = static_cast<std::remove_const_t<T>>(bitsOf(byte, bit, 1)); }
};
template <class T>
NonZero<T> nonZero(T& value, int bit) { return {value, bit}; }

// `count` characters of a text from character `from`: written from the text
// right-trimmed and cut at its first NUL, `pad` beyond its end; read as the
// bytes are.
template <class Text>
struct Chars {
    Text& text;
    int from;
    int count;
    uint8_t pad;

    void write(RadioImage& im, int at) const {
        const std::string t = CleanText(text.raw());
        for (int i = 0; i < count; ++i) {
            const auto j = static_cast<std::size_t>(from + i);
            im[at + i] = j < t.size() ? static_cast<uint8_t>(t[j]) : pad;
        }
    }
    void read(const RadioImage& im, int at) const {
        for (int i = 0; i < count; ++i) text.bytes[static_cast<std::size_t>(from + i)] = static_cast<char>(im[at + i]);
    }
};
template <class Text>
Chars<Text> chars(Text& text, int from, int count, uint8_t pad) { return {text, from, count, pad}; }

// A message line of 16 characters: written as its text with 0x00 beyond the
// end; read up to the first 0xFF.
template <class Text>
struct Line {
    Text& text;

    void write(RadioImage& im, int at) const { chars(text, 0, 16, 0x00).write(im, at); }
    void read(const RadioImage& im, int at) const {
        std::string got;
        for (int i = 0; i < 16 && im[at + i] != 0xFF; ++i) got.push_back(static_cast<char>(im[at + i]));
        text.set(got);
    }
};
template <class Text>
Line<Text> line(Text& text) { return {text}; }

// A DTMF code entry of 16 bytes.
template <class Entry>
struct Code {
    Entry& entry;

    void write(RadioImage& im, int at) const { EncodeDtmfCode(entry, im, at); }
    void read(const RadioImage& im, int at) const { entry = DecodeDtmfCode(im, at); }
};
template <class Entry>
Code<Entry> code(Entry& entry) { return {entry}; }

// ------------------------------------------------------------ directions

// A byte is the sum of its fields, so bits no field owns are written as 0;
// `byte(at)` without fields writes an unused byte as 0.
class ImageWriter {
public:
    explicit ImageWriter(RadioImage& im) : im_(im) {}
    template <class... Field>
    void byte(int at, const Field&... fields) {
        im_[at] = static_cast<uint8_t>((0 | ... | fields.put()));
    }
    template <class Field>
    void bytes(int at, const Field& field) { field.write(im_, at); }

private:
    RadioImage& im_;
};

class ImageReader {
public:
    explicit ImageReader(const RadioImage& im) : im_(im) {}
    template <class... Field>
    void byte([[maybe_unused]] int at, const Field&... fields) { (fields.take(im_[at]), ...); }
    template <class Field>
    void bytes(int at, const Field& field) { field.read(im_, at); }

private:
    const RadioImage& im_;
};

// ------------------------------------------------------------ the layout
// One walk per record serves both directions, so the places a record is
// written to and read from cannot drift apart. R is the record or its const.

template <class IO, class R, class A>
void walkOptFeat(IO& io, R& o, A& alarmMode) {
    io.byte(4272, bits(o.SquelchLevel, 4, 4), bits(o.FreqStep, 0, 4));
    io.byte(4273, bits(o.ChDisplayMode, 6, 2), bits(o.ScreenColor, 4, 2), bits(o.Backlight, 2, 2),
            bits(o.BatterySave, 0, 2));
    io.byte(4274, bits(o.InhibitInit, 7, 1), bits(alarmMode, 6, 1), bits(o.VoicePrompt, 4, 2),
            bits(o.KeyBeep, 3, 1), bitsPlusOne(o.BeepVolume, 0, 3));
    io.byte(4275, bits(o.ReservedFlag, 7, 1), bits(o.VoxTone, 6, 1), bits(o.PowerOnDisplay, 4, 2),
            bits(o.VoxEnable, 3, 1), bits(o.NoSigTailElim, 0, 1));
    io.byte(4276, bits(o.WorkMode, 7, 1), bits(o.RadioWorkMode, 6, 1), bits(o.TailElimMode, 4, 2),
            bits(o.FmRadio, 3, 1), bits(o.ChLock, 2, 1), bits(o.InvertFreq, 0, 2));
    io.byte(4277, bits(o.ScanPauseTime, 4, 2), bits(o.TotPreAlert, 0, 4));
    io.byte(4278, whole(o.TotTime));
    io.byte(4279, whole(o.TotRekey));
    io.byte(4280, whole(o.TotReset));
    io.byte(4281, bits(o.VoxDelay, 4, 4), bitsReadAtMost(o.VoxLevel, 0, 4, 3));
    io.byte(4282, whole(o.UhfCurrentCh));
    io.byte(4283, whole(o.FmCurrentCh));
    // Second part: direct channels, then the power-on text around two unused bytes.
    io.byte(4670, whole(o.DirectCh1));
    io.byte(4671, whole(o.DirectCh2));
    io.bytes(4672, chars(o.PowerOnText, 0, 6, ' '));
    io.byte(4678);
    io.byte(4679);
    io.bytes(4680, chars(o.PowerOnText, 6, 6, ' '));
}

template <class IO, class R>
void walkDtmf(IO& io, R& d) {
    io.bytes(4288, code(d.BotCode));
    io.bytes(4304, code(d.EotCode));
    io.bytes(4320, code(d.StunCode));
    io.bytes(4336, code(d.KillCode));
    for (int k = 0; k < 16; ++k) io.bytes(4352 + 16 * k, code(d.GroupCodes[static_cast<std::size_t>(k)]));
    // Any non-zero signalling choice means three-digit ID codes: one bit.
    io.byte(4608, bits(d.SideTone, 7, 1), nonZero(d.DtmfSignalling, 6), bits(d.CallAlert, 0, 2));
    io.byte(4609, whole(d.DtmfRate));
    io.byte(4610, whole(d.FirstDigitTime));
    io.byte(4611, whole(d.FirstDigitDelay));
    io.byte(4612, whole(d.StarHashTime));
    io.byte(4613, whole(d.DKeySetting));
    io.byte(4614, bits(d.SeparatorCode, 4, 4), bits(d.GroupCode, 0, 4));
    io.byte(4615, whole(d.AutoResetTime));
}

template <class IO, class R>
void walkEmbMsg(IO& io, R& m) {
    for (int k = 0; k < 4; ++k) io.bytes(4864 + 16 * k, line(m.Lines[static_cast<std::size_t>(k)]));
}

template <class IO, class R>
void walkKeys(IO& io, R& k) {
    io.byte(4648, whole(k.LongPressTime));
    io.byte(4649);
    io.byte(4650);
    io.byte(4651, whole(k.Pf1Long));
    io.byte(4652, whole(k.Pf1Short));
    io.byte(4653);
    io.byte(4654, whole(k.Pf2Long));
    io.byte(4655, whole(k.Pf2Short));
    io.byte(4656);
    io.byte(4657, whole(k.Key3Long));
    io.byte(4658, whole(k.Key3Short));
    io.byte(4659);
    io.byte(4660, whole(k.Key4Long));
    io.byte(4661, whole(k.Key4Short));
    io.byte(4662);
    io.byte(4663, whole(k.Key5Long));
    io.byte(4664, whole(k.Key5Short));
    io.byte(4665);
    io.byte(4666, whole(k.Key6Long));
    io.byte(4667, whole(k.Key6Short));
}

template <class IO, class R>
void walkScan(IO& io, R& s) {
    io.byte(4640, bits(s.ScanMode, 7, 1), bits(s.ScanEntryTone, 6, 1), bits(s.PriorityMode, 4, 2),
            bits(s.ScanExitTone, 3, 1), bits(s.RevertChannel, 0, 3));
    io.byte(4641, whole(s.PriorityCh1));
    io.byte(4642, whole(s.PriorityCh2));
    io.byte(4643, whole(s.LookBackA));
    io.byte(4644, whole(s.LookBackB));
    io.byte(4645, whole(s.RxResumeDelay));
    io.byte(4646, whole(s.TxResumeDelay));
    io.byte(4647, whole(s.WaitTime));
}

template <class IO, class R>
void walkAlert(IO& io, R& a) {
    io.byte(4616, bits(a.EmergencyAlarm, 0, 2), bits(a.EmgIdType, 2, 1), bits(a.ChannelSelect, 3, 1));
    io.byte(4617, whole(a.EmgIdGroup));
    io.byte(4618, whole(a.EmgChannel));
    io.byte(4619, whole(a.AlarmTime));
    io.byte(4620, whole(a.AlertTxTime));
    io.byte(4621, whole(a.AlertRxTime));
    io.byte(4622, whole(a.AlertCycles));
}

// D is StoredDocument or its const.
template <class IO, class D>
void walkSettings(IO& io, D& doc) {
    walkOptFeat(io, doc.OptFeat, doc.AlarmMode);
    walkDtmf(io, doc.Dtmf);
    walkEmbMsg(io, doc.EmbMsg);
    walkKeys(io, doc.Keys);
    walkScan(io, doc.Scan);
    walkAlert(io, doc.Alert);
}

}  // namespace

DtmfCodeEntry DecodeDtmfCode(const RadioImage& image, int offset) {
    DtmfCodeEntry e;
    if (offset < 0 || offset + 16 > kRadioImageSize) return e;
    int length = image[offset + 8];
    if (length > 16) length = 0;
    std::string text;
    for (int i = 0; i < (length + 1) / 2; ++i) text += hexByte(image[offset + i]);
    text.resize(length);
    for (char& c : text) {
        if (c == 'E') c = '*';
        else if (c == 'F') c = '#';
    }
    e.Length = static_cast<int16_t>(length);
    e.Digits.set(text + '\0');
    return e;
}

void EncodeDtmfCode(const DtmfCodeEntry& entry, RadioImage& image, int offset) {
    if (offset < 0 || offset + 16 > kRadioImageSize) return;
    int length = entry.Length;
    if (length < 0 || length > 16) length = 0;
    std::string text = CleanText(entry.Digits.raw());
    // Only the first Length characters form the code.
    if (static_cast<int>(text.size()) > length) text.resize(length);
    for (char& c : text) {
        if (c == '*') c = 'E';
        else if (c == '#') c = 'F';
    }
    if (static_cast<int>(text.size()) < length) text.append(length - text.size(), '0');
    if (length % 2 == 1) text += '0';
    for (int i = 0; i < 16; ++i) image[offset + i] = 0;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        image[offset + static_cast<int>(i / 2)] = hexPair(text[i], text[i + 1]);
    image[offset + 8] = static_cast<uint8_t>(length);
}

void DecodeSettings(const RadioImage& image, StoredDocument& doc) {
    ImageReader reader(image);
    walkSettings(reader, doc);
}

void EncodeSettings(const StoredDocument& doc, RadioImage& image) {
    ImageWriter writer(image);
    walkSettings(writer, doc);
}

void TakeRadioFlags(const RadioImage& image, RadioFlags& current, RadioFlags& capability) {
    const uint8_t b = image[kRadioFlagsOffset];
    for (int i = 3; i >= 0; --i) {
        const uint8_t bit = static_cast<uint8_t>((b >> i) & 1);
        current[3 - i] = bit;
        if (capability[3 - i] == 0) capability[3 - i] = bit;
    }
}

}  // namespace zr
