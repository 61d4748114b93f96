#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "data/channel_codec.h"

namespace {

using zr::ChannelList;
using zr::ChannelRecord;
using zr::RadioImage;

// An image as the encoder starts from: slots 0x00, both bitmaps 0xFF.
RadioImage blankImage() {
    RadioImage im{};
    im.fill(0x00);
    std::fill(im.begin() + 4128, im.begin() + 4160, 0xFF);
    return im;
}

ChannelRecord channel(int number, const char* rx) {
    ChannelRecord r;
    r.ChannelNumber = static_cast<int16_t>(number);
    r.RxFreq.set(rx);
    r.Offset.set("0000000");
    r.IdCode.set("000");
    r.TxPower = 2;
    return r;
}

// Marks memory channel n present in the bitmaps of `im`.
void markPresent(RadioImage& im, int n, bool scanned = true) {
    im[4128 + (n - 1) / 8] &= static_cast<uint8_t>(~(1u << ((n - 1) % 8)));
    if (scanned) im[4144 + (n - 1) / 8] &= static_cast<uint8_t>(~(1u << ((n - 1) % 8)));
}

ChannelRecord decodeOne(const RadioImage& im, int k) {
    ChannelList list;
    zr::DecodeChannel(im, k, list);
    EXPECT_EQ(list.count, 1);
    return list.entries[0];
}

const uint8_t* slot(const RadioImage& im, int number) {
    return im.data() + (number > 128 ? 4096 : (number - 1) * 32);
}

TEST(ChannelCodec, SlotsWithoutChannelAreSkipped) {
    RadioImage im = blankImage();
    ChannelList list;

    // Presence bit set: empty whatever the slot holds.
    zr::DecodeChannel(im, 0, list);
    EXPECT_EQ(list.count, 0);

    // Presence bit clear but R = FF FF FF: still no channel.
    markPresent(im, 1);
    std::fill(im.begin(), im.begin() + 32, 0xFF);
    zr::DecodeChannel(im, 0, list);
    EXPECT_EQ(list.count, 0);

    // R = 200000 exactly is the first value that holds no channel; 199999 does.
    im[0] = 0x03; im[1] = 0x0D; im[2] = 0x40;
    zr::DecodeChannel(im, 0, list);
    EXPECT_EQ(list.count, 0);
    im[2] = 0x3F;
    std::fill(im.begin() + 3, im.begin() + 32, 0x00);
    zr::DecodeChannel(im, 0, list);
    EXPECT_EQ(list.count, 1);

    // The VFO has no presence bit; an erased VFO slot gives no record.
    std::fill(im.begin() + 4096, im.begin() + 4128, 0xFF);
    zr::DecodeChannel(im, 128, list);
    EXPECT_EQ(list.count, 1);

    // Slot indexes outside 0..128 are ignored.
    zr::DecodeChannel(im, -1, list);
    zr::DecodeChannel(im, 129, list);
    EXPECT_EQ(list.count, 1);
}

TEST(ChannelCodec, FrequencyAndOffsetAreBigEndianStepCounts) {
    RadioImage im = blankImage();
    markPresent(im, 1);
    uint8_t* s = im.data();
    s[0] = 0x01; s[1] = 0x16; s[2] = 0xC1;  // 71361 steps
    s[3] = 0x03; s[4] = 0xE8;              // 1000 steps
    s[5] = 0x40 | 0x20;                     // RxStep and OffsetStep: 6.25 kHz
    s[27] = 3;
    ChannelRecord r = decodeOne(im, 0);
    EXPECT_EQ(r.RxFreq.text(), "44600625");
    EXPECT_EQ(r.Offset.text(), "0625000");
    EXPECT_EQ(r.RxStep, 1);
    EXPECT_EQ(r.OffsetStep, 1);

    RadioImage out = blankImage();
    zr::EncodeChannel(r, false, out);
    EXPECT_EQ(out[0], 0x01);
    EXPECT_EQ(out[1], 0x16);
    EXPECT_EQ(out[2], 0xC1);
    EXPECT_EQ(out[3], 0x03);
    EXPECT_EQ(out[4], 0xE8);

    // 5 kHz raster: 462.5625 MHz is 92512.5 steps, rounded to the even 92512
    // (0x016960); 5 MHz offset is 1000 steps.
    ChannelRecord c = channel(3, "46256250");
    c.Offset.set("0500000");
    out = blankImage();
    zr::EncodeChannel(c, false, out);
    const uint8_t* o = slot(out, 3);
    EXPECT_EQ(o[0], 0x01);
    EXPECT_EQ(o[1], 0x69);
    EXPECT_EQ(o[2], 0x60);
    EXPECT_EQ(o[3], 0x03);
    EXPECT_EQ(o[4], 0xE8);
    EXPECT_EQ(o[5] & 0x60, 0);
}

TEST(ChannelCodec, FlagBytesCarryEachField) {
    ChannelRecord c = channel(2, "44600000");
    c.BusyLock = 2;
    c.Scramble = 1;
    c.TxInhibit = 1;
    c.OffsetDir = 2;
    c.Compander = 1;
    c.Whisper = 1;
    c.SignalRelation = 1;
    c.OptSignal = 3;
    c.PttId = 1;
    c.TxPower = 0;
    c.Bandwidth = 2;
    c.AutoDialMemory = 200;
    RadioImage out = blankImage();
    zr::EncodeChannel(c, false, out);
    const uint8_t* o = slot(out, 2);
    EXPECT_EQ(o[5], 0x08 | 0x10);                 // BusyLock 2, Scramble
    EXPECT_EQ(o[6], 0x08 | 0x20 | 0x40);          // TxInhibit, OffsetDir 2, Compander
    EXPECT_EQ(o[7], 2 | 0x04 | 0x30 | 0x40 | 0x80);
    EXPECT_EQ(o[8], 0x20);
    EXPECT_EQ(o[11], 200);

    ChannelRecord back = decodeOne(out, 1);
    EXPECT_EQ(back.BusyLock, 2);
    EXPECT_EQ(back.Scramble, 1);
    EXPECT_EQ(back.TxInhibit, 1);
    EXPECT_EQ(back.OffsetDir, 2);
    EXPECT_EQ(back.Compander, 1);
    EXPECT_EQ(back.Whisper, 1);
    EXPECT_EQ(back.SignalRelation, 1);
    EXPECT_EQ(back.OptSignal, 3);
    EXPECT_EQ(back.PttId, 1);
    EXPECT_EQ(back.TxPower, 0);
    EXPECT_EQ(back.Bandwidth, 2);
    EXPECT_EQ(back.AutoDialMemory, 200);
}

TEST(ChannelCodec, PowerBitsAndOffsetDirectionAreNormalised) {
    RadioImage im = blankImage();
    markPresent(im, 1);
    im[7] = 0x03;         // raw power 3
    im[6] = 0x30;         // OffsetDir bits 3
    im[27] = 3;
    ChannelRecord r = decodeOne(im, 0);
    EXPECT_EQ(r.TxPower, 0);
    EXPECT_EQ(r.OffsetDir, 0);

    RadioImage out = blankImage();
    zr::EncodeChannel(r, false, out);
    EXPECT_EQ(out[7] & 0x03, 2);
    EXPECT_EQ(out[6] & 0x30, 0);

    im[7] = 0x00;
    EXPECT_EQ(decodeOne(im, 0).TxPower, 2);
    im[7] = 0x01;
    EXPECT_EQ(decodeOne(im, 0).TxPower, 1);
}

TEST(ChannelCodec, TonesCtcssAndDcsNormalAndInverted) {
    struct Case {
        int tone;
        uint8_t type, low, high, inverted;
    } cases[] = {
        {70, 2, 19, 0, 0},      // D023N
        {582, 2, 19, 0, 1},     // D023I
        {562, 2, 0xFF, 1, 0},   // D777N
        {1074, 2, 0xFF, 1, 1},  // D777I
        {51, 2, 0, 0, 0},       // D000N
        {563, 2, 0, 0, 1},      // D000I
    };
    for (const Case& t : cases) {
        ChannelRecord c = channel(1, "44600000");
        c.RxTone = static_cast<int16_t>(t.tone);
        RadioImage out = blankImage();
        zr::EncodeChannel(c, false, out);
        SCOPED_TRACE(t.tone);
        EXPECT_EQ(out[5] & 0x03, t.type);
        EXPECT_EQ(out[14], t.low);
        EXPECT_EQ(out[8] & 0x01, t.high);
        EXPECT_EQ(out[5] >> 7, t.inverted);
        EXPECT_EQ(out[12], 0);
    }

    ChannelRecord c = channel(1, "44600000");
    c.TxTone = 1;
    c.RxTone = 50;
    RadioImage out = blankImage();
    zr::EncodeChannel(c, false, out);
    EXPECT_EQ(out[6] & 0x03, 1);
    EXPECT_EQ(out[13], 0);
    EXPECT_EQ(out[5] & 0x03, 1);
    EXPECT_EQ(out[12], 49);
    EXPECT_EQ(out[15], 0);

    // Every tone value survives encoding and decoding, on both sides.
    for (int v = 0; v < zr::kToneCount; ++v) {
        ChannelRecord t = channel(5, "44600000");
        t.RxTone = static_cast<int16_t>(v);
        t.TxTone = static_cast<int16_t>(zr::kToneCount - 1 - v);
        RadioImage im = blankImage();
        zr::EncodeChannel(t, false, im);
        ChannelRecord back = decodeOne(im, 4);
        ASSERT_EQ(back.RxTone, v);
        ASSERT_EQ(back.TxTone, zr::kToneCount - 1 - v);
    }
}

TEST(ChannelCodec, IdCodesOfThreeToTenDigits) {
    ChannelRecord c = channel(1, "44600000");
    c.IdCode.set("1234567");
    RadioImage out = blankImage();
    zr::EncodeChannel(c, false, out);
    EXPECT_EQ(out[22], 0x12);
    EXPECT_EQ(out[23], 0x34);
    EXPECT_EQ(out[24], 0x56);
    EXPECT_EQ(out[25], 0x70);
    EXPECT_EQ(out[26], 0x00);
    EXPECT_EQ(out[27], 7);
    EXPECT_EQ(decodeOne(out, 0).IdCode.text(), "1234567");

    // The three-digit DTMF option fixes the length byte at 3.
    out = blankImage();
    zr::EncodeChannel(c, true, out);
    EXPECT_EQ(out[27], 3);
    EXPECT_EQ(decodeOne(out, 0).IdCode.text(), "123");

    const std::string digits = "9081726354";
    for (int n = 3; n <= 10; ++n) {
        ChannelRecord t = channel(1, "44600000");
        t.IdCode.set(digits.substr(0, n));
        RadioImage im = blankImage();
        zr::EncodeChannel(t, false, im);
        SCOPED_TRACE(n);
        EXPECT_EQ(im[27], n);
        EXPECT_EQ(decodeOne(im, 0).IdCode.text(), digits.substr(0, n));
    }

    // Stored lengths outside 3..10 read as three digits.
    for (uint8_t bad : {0, 2, 11, 255}) {
        out[27] = bad;
        EXPECT_EQ(decodeOne(out, 0).IdCode.text(), "123");
    }
    // Nibbles that are not decimal digits give "000".
    out[27] = 4;
    out[22] = 0x1A;
    EXPECT_EQ(decodeOne(out, 0).IdCode.text(), "000");

    // A code shorter than three digits is widened with leading zeros, so the
    // length byte stays within 3..10.
    c.IdCode.set("12");
    out = blankImage();
    zr::EncodeChannel(c, false, out);
    EXPECT_EQ(out[22], 0x01);
    EXPECT_EQ(out[23], 0x20);
    EXPECT_EQ(out[27], 3);
    c.IdCode.clear();
    out = blankImage();
    zr::EncodeChannel(c, false, out);
    EXPECT_EQ(out[27], 3);
    EXPECT_EQ(decodeOne(out, 0).IdCode.text(), "000");
}

TEST(ChannelCodec, NamesEndAtZeroOrErasedBytes) {
    RadioImage im = blankImage();
    markPresent(im, 1);
    im[27] = 3;
    im[16] = 'A'; im[17] = 'B';
    EXPECT_EQ(decodeOne(im, 0).ChannelName.text(), "AB");
    std::fill(im.begin() + 16, im.begin() + 22, 0xFF);
    EXPECT_EQ(decodeOne(im, 0).ChannelName.text(), "");
    const char six[] = "CALL12";
    std::copy(six, six + 6, im.begin() + 16);
    EXPECT_EQ(decodeOne(im, 0).ChannelName.text(), "CALL12");

    ChannelRecord c = channel(1, "44600000");
    c.ChannelName.set("XY");
    RadioImage out = blankImage();
    out[18] = 0x55;  // must be overwritten
    zr::EncodeChannel(c, false, out);
    EXPECT_EQ(out[16], 'X');
    EXPECT_EQ(out[17], 'Y');
    for (int i = 18; i < 22; ++i) EXPECT_EQ(out[i], 0);

    // The VFO keeps no name.
    ChannelRecord vfo = channel(129, "44600000");
    vfo.ChannelName.set("VFO");
    out = blankImage();
    zr::EncodeChannel(vfo, false, out);
    for (int i = 16; i < 22; ++i) EXPECT_EQ(out[4096 + i], 0);
    EXPECT_EQ(decodeOne(out, 128).ChannelName.text(), "");
}

TEST(ChannelCodec, PresenceAndScanSkipBitmaps) {
    RadioImage out = blankImage();
    ChannelRecord a = channel(9, "44600000");
    ChannelRecord b = channel(128, "44600000");
    b.ScanSkip = 1;
    zr::EncodeChannel(a, false, out);
    zr::EncodeChannel(b, false, out);
    EXPECT_EQ(out[4128 + 1], 0xFE);   // channel 9: bit 0 of byte 1
    EXPECT_EQ(out[4144 + 1], 0xFE);
    EXPECT_EQ(out[4128 + 15], 0x7F);  // channel 128: bit 7 of byte 15
    EXPECT_EQ(out[4144 + 15], 0xFF);  // skipped by scan: bit stays set
    for (int i : {0, 2, 14}) {
        EXPECT_EQ(out[4128 + i], 0xFF);
        EXPECT_EQ(out[4144 + i], 0xFF);
    }
    EXPECT_EQ(decodeOne(out, 8).ScanSkip, 0);
    EXPECT_EQ(decodeOne(out, 127).ScanSkip, 1);

    // The VFO touches no bitmap bit.
    RadioImage v = blankImage();
    ChannelRecord vfo = channel(129, "44600000");
    zr::EncodeChannel(vfo, false, v);
    for (int i = 4128; i < 4160; ++i) EXPECT_EQ(v[i], 0xFF);
    EXPECT_EQ(decodeOne(v, 128).ChannelNumber, 129);
}

TEST(ChannelCodec, EmptyRecordsWriteNothing) {
    for (const char* rx : {"", "FFFFFFFF", "        "}) {
        ChannelRecord c = channel(4, rx);
        RadioImage out = blankImage();
        const RadioImage before = out;
        zr::EncodeChannel(c, false, out);
        EXPECT_EQ(c.IsEmpty, 1) << rx;
        EXPECT_EQ(out, before) << rx;
    }
    ChannelRecord c = channel(4, "44600000");
    c.IsEmpty = 1;  // stale flag from an earlier encode
    RadioImage out = blankImage();
    zr::EncodeChannel(c, false, out);
    EXPECT_EQ(c.IsEmpty, 0);
}

TEST(ChannelCodec, OutOfRangeRecordsStayInsideTheImage) {
    // Channel numbers outside 1..129 and non-numeric frequencies write nothing.
    for (int number : {0, -1, -32768, 130, 300, 32767}) {
        ChannelRecord c = channel(number, "44600000");
        RadioImage out = blankImage();
        const RadioImage before = out;
        zr::EncodeChannel(c, false, out);
        EXPECT_EQ(out, before) << number;
    }
    {
        ChannelRecord c = channel(1, "44X00000");
        RadioImage out = blankImage();
        const RadioImage before = out;
        zr::EncodeChannel(c, false, out);
        EXPECT_EQ(out, before);
    }

    // Over-wide field values are masked to their bits and cannot change a
    // neighbouring field; steps and power outside their ranges become 0.
    ChannelRecord c = channel(1, "44600000");
    c.BusyLock = 7;
    c.Scramble = 0;
    c.RxStep = 5;
    c.OffsetStep = -1;
    c.TxPower = 9;
    c.OffsetDir = 200;
    c.Bandwidth = 0x7F;
    c.RxTone = 2000;
    c.TxTone = -4;
    c.AutoDialMemory = 0x1FF;
    RadioImage out = blankImage();
    zr::EncodeChannel(c, false, out);
    EXPECT_EQ(c.RxStep, 0);
    EXPECT_EQ(c.OffsetStep, 0);
    EXPECT_EQ(c.TxPower, 0);
    EXPECT_EQ(out[5], 0x0C);           // BusyLock 3 only: no tone, no scramble
    EXPECT_EQ(out[6], 0x00);           // simplex, no tone
    EXPECT_EQ(out[7] & 0x03, 2);
    EXPECT_EQ(out[8], 0x30);
    EXPECT_EQ(out[11], 0xFF);

    // The largest 8-digit frequency rounds to 200000 steps (no channel when
    // read back); negative values are held at 0.
    c = channel(1, "99999999");
    out = blankImage();
    zr::EncodeChannel(c, false, out);
    EXPECT_EQ((out[0] << 16) | (out[1] << 8) | out[2], 200000);
    c = channel(1, "-4460000");
    c.Offset.set("-500000");
    out = blankImage();
    zr::EncodeChannel(c, false, out);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(out[i], 0);

    // A full list takes no more records.
    ChannelList full;
    full.count = zr::kMaxChannels;
    RadioImage im = blankImage();
    markPresent(im, 1);
    zr::DecodeChannel(im, 0, full);
    EXPECT_EQ(full.count, zr::kMaxChannels);
}

}  // namespace
