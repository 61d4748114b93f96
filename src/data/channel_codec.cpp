#include "data/channel_codec.h"

#include <algorithm>
#include <string>

#include "data/codec_util.h"
#include "shell/mod_fun.h"
#include "shell/number_text.h"

namespace zr {

using namespace codec;

namespace {

bool bitSet(const RadioImage& image, int bitmapOffset, int k) {
    return (image[bitmapOffset + k / 8] >> (k % 8)) & 1;
}

void clearBit(RadioImage& image, int bitmapOffset, int k) {
    image[bitmapOffset + k / 8] &= static_cast<uint8_t>(~(1u << (k % 8)));
}

// The byte form of one tone value.
struct ToneBytes {
    int type = 0;        // 0 none, 1 CTCSS, 2 DCS
    uint8_t ctcss = 0;   // CTCSS tone number - 1
    uint8_t dcsLow = 0;  // bits 7-0 of the DCS code
    int dcsHigh = 0;     // bit 8 of the DCS code
    int inverted = 0;    // DCS polarity
};

ToneBytes toneBytes(int v) {
    ToneBytes t;
    // Values outside 0..1074 name no tone; they are written as "none" rather
    // than as some other tone the radio would then use.
    if (v <= 0 || v >= kToneCount) return t;
    if (v <= 50) {
        t.type = 1;
        t.ctcss = static_cast<uint8_t>(v - 1);
        return t;
    }
    t.type = 2;
    int c = (v - 51) % 512;
    t.dcsHigh = c > 255 ? 1 : 0;
    t.dcsLow = static_cast<uint8_t>((v - 51) % 256);
    t.inverted = v > 562 ? 1 : 0;
    return t;
}

int decodeTone(int type, uint8_t ctcss, uint8_t dcsLow, int dcsHigh, int inverted) {
    if (type == 1) return ctcss + 1;
    if (type == 2) return dcsLow + 51 + 256 * dcsHigh + 512 * inverted;
    return 0;
}

// Value of a stored frequency text in units of 10 Hz, divided into steps and
// kept within `maxSteps`.
uint32_t stepCount(double value, int step, uint32_t maxSteps) {
    double r = roundHalfEven(value / step);
    if (!(r > 0)) return 0;
    if (r > maxSteps) return maxSteps;
    return static_cast<uint32_t>(r);
}

}  // namespace

void DecodeChannel(const RadioImage& image, int k, ChannelList& list) {
    if (k < 0 || k > kMemoryChannels) return;
    if (list.count < 0) list.count = 0;
    if (list.count >= kMaxChannels) return;
    if (k < kMemoryChannels && bitSet(image, kPresenceBitmapOffset, k)) return;

    const int base = k < kMemoryChannels ? k * kSlotSize : kVfoSlotOffset;
    auto b = [&](int i) { return image[base + i]; };

    const uint32_t R = (uint32_t{b(0)} << 16) | (uint32_t{b(1)} << 8) | b(2);
    const uint32_t S = (uint32_t{b(3)} << 8) | b(4);
    if (R >= kNoChannelSteps) return;

    ChannelRecord rec;
    rec.ChannelNumber = static_cast<int16_t>(k + 1);
    rec.IsEmpty = 0;
    rec.ScanSkip = k < kMemoryChannels && bitSet(image, kScanSkipBitmapOffset, k) ? 1 : 0;

    rec.RxStep = bitsOf(b(5), 6, 1);
    rec.OffsetStep = bitsOf(b(5), 5, 1);
    rec.Scramble = bitsOf(b(5), 4, 1);
    rec.BusyLock = bitsOf(b(5), 2, 2);
    const int decType = bitsOf(b(5), 0, 2);
    const int decInv = bitsOf(b(5), 7, 1);

    rec.Compander = bitsOf(b(6), 6, 1);
    rec.OffsetDir = static_cast<uint8_t>(bitsOf(b(6), 4, 2));
    rec.TxInhibit = bitsOf(b(6), 3, 1);
    const int encType = bitsOf(b(6), 0, 2);
    const int encInv = bitsOf(b(6), 7, 1);

    rec.Whisper = bitsOf(b(7), 7, 1);
    rec.SignalRelation = bitsOf(b(7), 6, 1);
    rec.OptSignal = bitsOf(b(7), 4, 2);
    rec.PttId = bitsOf(b(7), 2, 2);
    const int p = std::min(bitsOf(b(7), 0, 2), 2);
    rec.TxPower = static_cast<int16_t>(2 - p);

    rec.Bandwidth = bitsOf(b(8), 4, 2);
    const int decHigh = bitsOf(b(8), 0, 1);
    const int encHigh = bitsOf(b(9), 0, 1);
    rec.AutoDialMemory = b(11);

    rec.RxTone = static_cast<int16_t>(decodeTone(decType, b(12), b(14), decHigh, decInv));
    rec.TxTone = static_cast<int16_t>(decodeTone(encType, b(13), b(15), encHigh, encInv));

    if (k < kMemoryChannels) rec.ChannelName.set(textUntilEnd(image, base + 16, 6));
    else rec.ChannelName.set("");

    int n = b(27);
    if (n < 3 || n > 10) n = 3;
    std::string digits;
    for (int i = 0; i < (n + 1) / 2; ++i) digits += hexByte(b(22 + i));
    digits.resize(n);
    if (!allDigits(digits)) digits = "000";
    rec.IdCode.set(digits);

    rec.RxFreq.set(zeroPadded(uint64_t{R} * (rec.RxStep == 1 ? 625 : 500), 8).substr(0, 8));
    if (rec.OffsetDir > 2) rec.OffsetDir = 0;
    rec.Offset.set(zeroPadded(uint64_t{S} * (rec.OffsetStep == 1 ? 625 : 500), 7).substr(0, 7));

    // Not kept by the radio.
    rec.ReverseTalkaround = 0;
    rec.Talkaround = 0;
    rec.Spare = 0;
    rec.Reverse = 0;
    rec.IdCodeLength = 0;

    list.entries[list.count] = rec;
    ++list.count;
}

void EncodeChannel(ChannelRecord& rec, bool threeDigitIds, RadioImage& image) {
    const std::string rx = CleanText(rec.RxFreq.raw());
    if (rx.empty() || rx == "FFFFFFFF") {
        rec.IsEmpty = 1;
        return;
    }
    rec.IsEmpty = 0;
    const int number = rec.ChannelNumber;
    if (number < 1 || number > kVfoChannel) return;
    const auto rxValue = ParseNumber(rx);
    if (!rxValue) return;

    if (number <= kMemoryChannels) {
        clearBit(image, kPresenceBitmapOffset, number - 1);
        if (rec.ScanSkip == 0) clearBit(image, kScanSkipBitmapOffset, number - 1);
    }
    const int base = number > kMemoryChannels ? kVfoSlotOffset : (number - 1) * kSlotSize;
    auto put = [&](int i, unsigned v) { image[base + i] = static_cast<uint8_t>(v); };

    if (rec.RxStep < 0 || rec.RxStep > 1) rec.RxStep = 0;
    if (rec.OffsetStep < 0 || rec.OffsetStep > 1) rec.OffsetStep = 0;
    if (rec.TxPower < 0 || rec.TxPower > 2) rec.TxPower = 0;

    const uint32_t R = stepCount(*rxValue, rec.RxStep == 1 ? 625 : 500, 0xFFFFFF);
    put(0, R >> 16);
    put(1, R >> 8);
    put(2, R);

    double offsetValue = 0;
    const std::string off = CleanText(rec.Offset.raw());
    if (!off.empty() && off != "FFFFFFF")
        if (auto v = ParseNumber(off)) offsetValue = *v;
    const uint32_t S = stepCount(offsetValue, rec.OffsetStep == 1 ? 625 : 500, 0xFFFF);
    put(3, S >> 8);
    put(4, S);

    const ToneBytes dec = toneBytes(rec.RxTone);
    const ToneBytes enc = toneBytes(rec.TxTone);
    // A direction outside 0..2 has no meaning; it is sent as simplex.
    const int offsetDir = rec.OffsetDir > 2 ? 0 : rec.OffsetDir;

    put(5, placeBits(dec.type, 0, 2) | placeBits(rec.BusyLock, 2, 2) | placeBits(rec.Scramble, 4, 1) |
               placeBits(rec.OffsetStep, 5, 1) | placeBits(rec.RxStep, 6, 1) | placeBits(dec.inverted, 7, 1));
    put(6, placeBits(enc.type, 0, 2) | placeBits(rec.TxInhibit, 3, 1) | placeBits(offsetDir, 4, 2) |
               placeBits(rec.Compander, 6, 1) | placeBits(enc.inverted, 7, 1));
    put(7, placeBits(2 - rec.TxPower, 0, 2) | placeBits(rec.PttId, 2, 2) | placeBits(rec.OptSignal, 4, 2) |
               placeBits(rec.SignalRelation, 6, 1) | placeBits(rec.Whisper, 7, 1));
    put(8, placeBits(rec.Bandwidth, 4, 2) | placeBits(dec.dcsHigh, 0, 1));
    put(9, placeBits(enc.dcsHigh, 0, 1));
    put(11, rec.AutoDialMemory & 0xFF);
    if (dec.type == 1) put(12, dec.ctcss);
    if (enc.type == 1) put(13, enc.ctcss);
    if (dec.type == 2) put(14, dec.dcsLow);
    if (enc.type == 2) put(15, enc.dcsLow);

    if (number <= kMemoryChannels) {
        const std::string name = CleanText(rec.ChannelName.raw());
        for (int i = 0; i < 6; ++i)
            put(16 + i, i < static_cast<int>(name.size()) ? static_cast<uint8_t>(name[i]) : 0);
    }

    // ID code: 3..10 decimal digits, two per byte. A shorter code is widened
    // with leading zeros so that the stored length stays within 3..10; a
    // character that is not a digit is stored as the digit 0.
    std::string id = CleanText(rec.IdCode.raw());
    if (id.size() > 10) id.resize(10);
    if (id.size() < 3) id.insert(0, 3 - id.size(), '0');
    const int idLength = static_cast<int>(id.size());
    if (idLength % 2 == 1) id += '0';
    for (std::size_t i = 0; i + 1 < id.size(); i += 2) {
        auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : 0; };
        put(22 + static_cast<int>(i / 2), (digit(id[i]) << 4) | digit(id[i + 1]));
    }
    put(27, threeDigitIds ? 3 : idLength);
}

}  // namespace zr
