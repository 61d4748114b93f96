#include "data/settings_codec.h"

#include <algorithm>
#include <string>

#include "data/codec_util.h"
#include "shell/mod_fun.h"
#include "shell/number_text.h"

namespace zr {

using namespace codec;

namespace {

constexpr int kOptFeat = 4272;
constexpr int kOptFeat2 = 4670;
constexpr int kDtmfCodes = 4288;
constexpr int kGroupCodes = 4352;
constexpr int kDtmf = 4608;
constexpr int kAlert = 4616;
constexpr int kScan = 4640;
constexpr int kEmbMsg = 4864;

struct KeyPlace {
    int16_t KeyRecord::*field;
    int offset;
};
constexpr KeyPlace kKeyPlaces[] = {
    {&KeyRecord::LongPressTime, 4648}, {&KeyRecord::Pf1Long, 4651},   {&KeyRecord::Pf1Short, 4652},
    {&KeyRecord::Pf2Long, 4654},       {&KeyRecord::Pf2Short, 4655},  {&KeyRecord::Key3Long, 4657},
    {&KeyRecord::Key3Short, 4658},     {&KeyRecord::Key4Long, 4660},  {&KeyRecord::Key4Short, 4661},
    {&KeyRecord::Key5Long, 4663},      {&KeyRecord::Key5Short, 4664}, {&KeyRecord::Key6Long, 4666},
    {&KeyRecord::Key6Short, 4667},
};
constexpr int kKeyGaps[] = {4649, 4650, 4653, 4656, 4659, 4662, 4665};

uint8_t low8(int v) { return static_cast<uint8_t>(v & 0xFF); }

void decodeOptFeat(const RadioImage& im, OptFeatRecord& o, uint8_t& alarmMode) {
    uint8_t b = im[kOptFeat];
    o.SquelchLevel = bitsOf(b, 4, 4);
    o.FreqStep = bitsOf(b, 0, 4);
    b = im[kOptFeat + 1];
    o.ChDisplayMode = bitsOf(b, 6, 2);
    o.ScreenColor = bitsOf(b, 4, 2);
    o.Backlight = bitsOf(b, 2, 2);
    o.BatterySave = bitsOf(b, 0, 2);
    b = im[kOptFeat + 2];
    o.InhibitInit = bitsOf(b, 7, 1);
    alarmMode = static_cast<uint8_t>(bitsOf(b, 6, 1));
    o.VoicePrompt = bitsOf(b, 4, 2);
    o.KeyBeep = bitsOf(b, 3, 1);
    o.BeepVolume = static_cast<int16_t>(bitsOf(b, 0, 3) - 1);
    b = im[kOptFeat + 3];
    o.ReservedFlag = bitsOf(b, 7, 1);
    o.VoxTone = bitsOf(b, 6, 1);
    o.PowerOnDisplay = bitsOf(b, 4, 2);
    o.VoxEnable = bitsOf(b, 3, 1);
    o.NoSigTailElim = bitsOf(b, 0, 1);
    b = im[kOptFeat + 4];
    o.WorkMode = bitsOf(b, 7, 1);
    o.RadioWorkMode = bitsOf(b, 6, 1);
    o.TailElimMode = bitsOf(b, 4, 2);
    o.FmRadio = bitsOf(b, 3, 1);
    o.ChLock = bitsOf(b, 2, 1);
    o.InvertFreq = bitsOf(b, 0, 2);
    b = im[kOptFeat + 5];
    o.ScanPauseTime = bitsOf(b, 4, 2);
    o.TotPreAlert = bitsOf(b, 0, 4);
    o.TotTime = im[kOptFeat + 6];
    o.TotRekey = im[kOptFeat + 7];
    o.TotReset = im[kOptFeat + 8];
    b = im[kOptFeat + 9];
    o.VoxDelay = bitsOf(b, 4, 4);
    o.VoxLevel = static_cast<int16_t>(std::min(bitsOf(b, 0, 4), 3));
    o.UhfCurrentCh = im[kOptFeat + 10];
    o.FmCurrentCh = im[kOptFeat + 11];
    o.DirectCh1 = im[kOptFeat2];
    o.DirectCh2 = im[kOptFeat2 + 1];
    for (int i = 0; i < 6; ++i) {
        o.PowerOnText.bytes[i] = static_cast<char>(im[kOptFeat2 + 2 + i]);
        o.PowerOnText.bytes[6 + i] = static_cast<char>(im[kOptFeat2 + 10 + i]);
    }
}

void encodeOptFeat(const OptFeatRecord& o, uint8_t alarmMode, RadioImage& im) {
    im[kOptFeat] = placeBits(o.SquelchLevel, 4, 4) | placeBits(o.FreqStep, 0, 4);
    im[kOptFeat + 1] = placeBits(o.ChDisplayMode, 6, 2) | placeBits(o.ScreenColor, 4, 2) |
                       placeBits(o.Backlight, 2, 2) | placeBits(o.BatterySave, 0, 2);
    im[kOptFeat + 2] = placeBits(o.InhibitInit, 7, 1) | placeBits(alarmMode, 6, 1) |
                       placeBits(o.VoicePrompt, 4, 2) | placeBits(o.KeyBeep, 3, 1) |
                       placeBits(o.BeepVolume + 1, 0, 3);
    im[kOptFeat + 3] = placeBits(o.ReservedFlag, 7, 1) | placeBits(o.VoxTone, 6, 1) |
                       placeBits(o.PowerOnDisplay, 4, 2) | placeBits(o.VoxEnable, 3, 1) |
                       placeBits(o.NoSigTailElim, 0, 1);
    im[kOptFeat + 4] = placeBits(o.WorkMode, 7, 1) | placeBits(o.RadioWorkMode, 6, 1) |
                       placeBits(o.TailElimMode, 4, 2) | placeBits(o.FmRadio, 3, 1) |
                       placeBits(o.ChLock, 2, 1) | placeBits(o.InvertFreq, 0, 2);
    im[kOptFeat + 5] = placeBits(o.ScanPauseTime, 4, 2) | placeBits(o.TotPreAlert, 0, 4);
    im[kOptFeat + 6] = low8(o.TotTime);
    im[kOptFeat + 7] = low8(o.TotRekey);
    im[kOptFeat + 8] = low8(o.TotReset);
    im[kOptFeat + 9] = placeBits(o.VoxDelay, 4, 4) | placeBits(o.VoxLevel, 0, 4);
    im[kOptFeat + 10] = low8(o.UhfCurrentCh);
    im[kOptFeat + 11] = low8(o.FmCurrentCh);
    im[kOptFeat2] = low8(o.DirectCh1);
    im[kOptFeat2 + 1] = low8(o.DirectCh2);
    const std::string text = CleanText(o.PowerOnText.raw());
    for (int i = 0; i < 12; ++i) {
        const uint8_t c = i < static_cast<int>(text.size()) ? static_cast<uint8_t>(text[i]) : 0x20;
        im[kOptFeat2 + (i < 6 ? 2 + i : 4 + i)] = c;
    }
    im[kOptFeat2 + 8] = 0;
    im[kOptFeat2 + 9] = 0;
}

void decodeDtmf(const RadioImage& im, DtmfRecord& d) {
    uint8_t b = im[kDtmf];
    d.SideTone = bitsOf(b, 7, 1);
    d.DtmfSignalling = bitsOf(b, 6, 1);
    d.CallAlert = bitsOf(b, 0, 2);
    d.DtmfRate = im[kDtmf + 1];
    d.FirstDigitTime = im[kDtmf + 2];
    d.FirstDigitDelay = im[kDtmf + 3];
    d.StarHashTime = im[kDtmf + 4];
    d.DKeySetting = im[kDtmf + 5];
    b = im[kDtmf + 6];
    d.SeparatorCode = bitsOf(b, 4, 4);
    d.GroupCode = bitsOf(b, 0, 4);
    d.AutoResetTime = im[kDtmf + 7];
    d.BotCode = DecodeDtmfCode(im, kDtmfCodes);
    d.EotCode = DecodeDtmfCode(im, kDtmfCodes + 16);
    d.StunCode = DecodeDtmfCode(im, kDtmfCodes + 32);
    d.KillCode = DecodeDtmfCode(im, kDtmfCodes + 48);
    for (int k = 0; k < 16; ++k) d.GroupCodes[k] = DecodeDtmfCode(im, kGroupCodes + 16 * k);
}

void encodeDtmf(const DtmfRecord& d, RadioImage& im) {
    // Any non-zero signalling choice means three-digit ID codes; it is one bit
    // in the radio.
    im[kDtmf] = placeBits(d.SideTone, 7, 1) | placeBits(d.DtmfSignalling != 0, 6, 1) |
                placeBits(d.CallAlert, 0, 2);
    im[kDtmf + 1] = low8(d.DtmfRate);
    im[kDtmf + 2] = low8(d.FirstDigitTime);
    im[kDtmf + 3] = low8(d.FirstDigitDelay);
    im[kDtmf + 4] = low8(d.StarHashTime);
    im[kDtmf + 5] = low8(d.DKeySetting);
    im[kDtmf + 6] = placeBits(d.SeparatorCode, 4, 4) | placeBits(d.GroupCode, 0, 4);
    im[kDtmf + 7] = low8(d.AutoResetTime);
    EncodeDtmfCode(d.BotCode, im, kDtmfCodes);
    EncodeDtmfCode(d.EotCode, im, kDtmfCodes + 16);
    EncodeDtmfCode(d.StunCode, im, kDtmfCodes + 32);
    EncodeDtmfCode(d.KillCode, im, kDtmfCodes + 48);
    for (int k = 0; k < 16; ++k) EncodeDtmfCode(d.GroupCodes[k], im, kGroupCodes + 16 * k);
}

void decodeEmbMsg(const RadioImage& im, EmbMsgRecord& m) {
    for (int k = 0; k < 4; ++k) {
        std::string line;
        for (int i = 0; i < 16; ++i) {
            const uint8_t c = im[kEmbMsg + 16 * k + i];
            if (c == 0xFF) break;
            line.push_back(static_cast<char>(c));
        }
        m.Lines[k].set(line);
    }
}

void encodeEmbMsg(const EmbMsgRecord& m, RadioImage& im) {
    for (int k = 0; k < 4; ++k) {
        const std::string line = CleanText(m.Lines[k].raw());
        for (int i = 0; i < 16; ++i)
            im[kEmbMsg + 16 * k + i] = i < static_cast<int>(line.size()) ? static_cast<uint8_t>(line[i]) : 0;
    }
}

void decodeKeys(const RadioImage& im, KeyRecord& k) {
    for (const auto& p : kKeyPlaces) k.*(p.field) = im[p.offset];
}

void encodeKeys(const KeyRecord& k, RadioImage& im) {
    for (const auto& p : kKeyPlaces) im[p.offset] = low8(k.*(p.field));
    for (int gap : kKeyGaps) im[gap] = 0;
}

void decodeScan(const RadioImage& im, ScanRecord& s) {
    const uint8_t b = im[kScan];
    s.ScanMode = static_cast<uint8_t>(bitsOf(b, 7, 1));
    s.ScanEntryTone = static_cast<uint8_t>(bitsOf(b, 6, 1));
    s.PriorityMode = static_cast<uint8_t>(bitsOf(b, 4, 2));
    s.ScanExitTone = static_cast<uint8_t>(bitsOf(b, 3, 1));
    s.RevertChannel = static_cast<uint8_t>(bitsOf(b, 0, 3));
    s.PriorityCh1 = im[kScan + 1];
    s.PriorityCh2 = im[kScan + 2];
    s.LookBackA = im[kScan + 3];
    s.LookBackB = im[kScan + 4];
    s.RxResumeDelay = im[kScan + 5];
    s.TxResumeDelay = im[kScan + 6];
    s.WaitTime = im[kScan + 7];
}

void encodeScan(const ScanRecord& s, RadioImage& im) {
    im[kScan] = placeBits(s.ScanMode, 7, 1) | placeBits(s.ScanEntryTone, 6, 1) |
                placeBits(s.PriorityMode, 4, 2) | placeBits(s.ScanExitTone, 3, 1) |
                placeBits(s.RevertChannel, 0, 3);
    im[kScan + 1] = s.PriorityCh1;
    im[kScan + 2] = s.PriorityCh2;
    im[kScan + 3] = s.LookBackA;
    im[kScan + 4] = s.LookBackB;
    im[kScan + 5] = s.RxResumeDelay;
    im[kScan + 6] = s.TxResumeDelay;
    im[kScan + 7] = s.WaitTime;
}

void decodeAlert(const RadioImage& im, AlertRecord& a) {
    const uint8_t b = im[kAlert];
    a.EmergencyAlarm = static_cast<uint8_t>(bitsOf(b, 0, 2));
    a.EmgIdType = static_cast<uint8_t>(bitsOf(b, 2, 1));
    a.ChannelSelect = static_cast<uint8_t>(bitsOf(b, 3, 1));
    a.EmgIdGroup = im[kAlert + 1];
    a.EmgChannel = im[kAlert + 2];
    a.AlarmTime = im[kAlert + 3];
    a.AlertTxTime = im[kAlert + 4];
    a.AlertRxTime = im[kAlert + 5];
    a.AlertCycles = im[kAlert + 6];
}

void encodeAlert(const AlertRecord& a, RadioImage& im) {
    im[kAlert] = placeBits(a.EmergencyAlarm, 0, 2) | placeBits(a.EmgIdType, 2, 1) |
                 placeBits(a.ChannelSelect, 3, 1);
    im[kAlert + 1] = a.EmgIdGroup;
    im[kAlert + 2] = a.EmgChannel;
    im[kAlert + 3] = a.AlarmTime;
    im[kAlert + 4] = a.AlertTxTime;
    im[kAlert + 5] = a.AlertRxTime;
    im[kAlert + 6] = a.AlertCycles;
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
    decodeOptFeat(image, doc.OptFeat, doc.AlarmMode);
    decodeDtmf(image, doc.Dtmf);
    decodeEmbMsg(image, doc.EmbMsg);
    decodeKeys(image, doc.Keys);
    decodeScan(image, doc.Scan);
    decodeAlert(image, doc.Alert);
}

void EncodeSettings(const StoredDocument& doc, RadioImage& image) {
    encodeOptFeat(doc.OptFeat, doc.AlarmMode, image);
    encodeDtmf(doc.Dtmf, image);
    encodeEmbMsg(doc.EmbMsg, image);
    encodeKeys(doc.Keys, image);
    encodeScan(doc.Scan, image);
    encodeAlert(doc.Alert, image);
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
