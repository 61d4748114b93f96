#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "data/settings_codec.h"

namespace {

using zr::RadioImage;
using zr::StoredDocument;

RadioImage zeroImage() {
    RadioImage im{};
    im.fill(0x00);
    return im;
}

TEST(SettingsCodec, BeepVolumeIsStoredPlusOne) {
    StoredDocument doc;
    doc.OptFeat.BeepVolume = 0;
    RadioImage im = zeroImage();
    zr::EncodeSettings(doc, im);
    EXPECT_EQ(im[4274] & 0x07, 1);
    doc.OptFeat.BeepVolume = 4;
    zr::EncodeSettings(doc, im);
    EXPECT_EQ(im[4274] & 0x07, 5);

    im[4274] = 0x00;
    zr::DecodeSettings(im, doc);
    EXPECT_EQ(doc.OptFeat.BeepVolume, -1);
    // -1 goes back to the radio as bits 000.
    zr::EncodeSettings(doc, im);
    EXPECT_EQ(im[4274] & 0x07, 0);
}

TEST(SettingsCodec, VoxLevelAboveThreeReadsAsThree) {
    RadioImage im = zeroImage();
    im[4281] = 0x57;  // VoxDelay 5, VoxLevel 7
    StoredDocument doc;
    zr::DecodeSettings(im, doc);
    EXPECT_EQ(doc.OptFeat.VoxLevel, 3);
    EXPECT_EQ(doc.OptFeat.VoxDelay, 5);
}

TEST(SettingsCodec, PowerOnTextIsBlankPaddedAroundTheGap) {
    StoredDocument doc;
    doc.OptFeat.PowerOnText.set("HELLO");
    RadioImage im = zeroImage();
    zr::EncodeSettings(doc, im);
    EXPECT_EQ(std::string(im.begin() + 4672, im.begin() + 4677), "HELLO");
    EXPECT_EQ(im[4677], 0x20);
    EXPECT_EQ(im[4678], 0x00);
    EXPECT_EQ(im[4679], 0x00);
    for (int i = 4680; i < 4686; ++i) EXPECT_EQ(im[i], 0x20);

    // A cleared text (NUL then blanks) is written as twelve blanks.
    doc.OptFeat.PowerOnText.clear();
    zr::EncodeSettings(doc, im);
    for (int i : {4672, 4677, 4680, 4685}) EXPECT_EQ(im[i], 0x20);

    // Twelve characters span both parts; decoding takes the bytes as they are.
    doc.OptFeat.PowerOnText.set("ABCDEFGHIJKL");
    zr::EncodeSettings(doc, im);
    EXPECT_EQ(std::string(im.begin() + 4680, im.begin() + 4686), "GHIJKL");
    im[4673] = 0x00;
    StoredDocument back;
    zr::DecodeSettings(im, back);
    EXPECT_EQ(back.OptFeat.PowerOnText.raw(), std::string("A\0CDEFGHIJKL", 12));
}

TEST(SettingsCodec, DtmfCodeEntriesAreNibblePacked) {
    RadioImage im = zeroImage();
    zr::DtmfCodeEntry e;
    e.Length = 4;
    e.Digits.set("12*#");
    zr::EncodeDtmfCode(e, im, 4288);
    EXPECT_EQ(im[4288], 0x12);
    EXPECT_EQ(im[4289], 0xEF);
    EXPECT_EQ(im[4290], 0x00);
    EXPECT_EQ(im[4296], 4);
    zr::DtmfCodeEntry back = zr::DecodeDtmfCode(im, 4288);
    EXPECT_EQ(back.Length, 4);
    EXPECT_EQ(back.Digits.raw(), std::string("12*#\0           ", 16));

    e.Length = 3;
    e.Digits.set("123");
    zr::EncodeDtmfCode(e, im, 4304);
    EXPECT_EQ(im[4304], 0x12);
    EXPECT_EQ(im[4305], 0x30);
    EXPECT_EQ(im[4312], 3);
    EXPECT_EQ(zr::DecodeDtmfCode(im, 4304).Digits.text(), "123");

    // A length longer than the text is made up with "0"; only the first
    // Length characters count.
    e.Length = 5;
    e.Digits.set("AB");
    zr::EncodeDtmfCode(e, im, 4320);
    EXPECT_EQ(im[4320], 0xAB);
    EXPECT_EQ(im[4321], 0x00);
    EXPECT_EQ(im[4322], 0x00);
    EXPECT_EQ(im[4328], 5);
    e.Length = 1;
    e.Digits.set("789");
    zr::EncodeDtmfCode(e, im, 4320);
    EXPECT_EQ(im[4320], 0x70);
    EXPECT_EQ(im[4321], 0x00);

    // Empty code: everything 0, even over earlier contents.
    std::fill(im.begin() + 4336, im.begin() + 4352, 0xFF);
    e.Length = 0;
    e.Digits.clear();
    zr::EncodeDtmfCode(e, im, 4336);
    for (int i = 4336; i < 4352; ++i) EXPECT_EQ(im[i], 0) << i;

    // Sixteen characters fill eight bytes.
    e.Length = 16;
    e.Digits.set("0123456789ABCD*#");
    zr::EncodeDtmfCode(e, im, 4336);
    EXPECT_EQ(im[4343], 0xEF);
    EXPECT_EQ(zr::DecodeDtmfCode(im, 4336).Digits.raw(), "0123456789ABCD*#");

    // Length bytes above 16 read as an empty code; lengths out of range in a
    // record are written as an empty code.
    im[4344] = 17;
    back = zr::DecodeDtmfCode(im, 4336);
    EXPECT_EQ(back.Length, 0);
    EXPECT_EQ(back.Digits.text(), "");
    e.Length = 40;
    zr::EncodeDtmfCode(e, im, 4336);
    EXPECT_EQ(im[4344], 0);
    EXPECT_EQ(im[4336], 0);
    e.Length = -3;
    zr::EncodeDtmfCode(e, im, 4336);
    EXPECT_EQ(im[4344], 0);

    // Offsets that would leave the image are refused.
    const RadioImage before = im;
    zr::EncodeDtmfCode(e, im, zr::kRadioImageSize - 8);
    zr::EncodeDtmfCode(e, im, -1);
    EXPECT_EQ(im, before);
    EXPECT_EQ(zr::DecodeDtmfCode(im, zr::kRadioImageSize - 1).Length, 0);
}

TEST(SettingsCodec, MessageLinesFollowEachOtherWithoutEndByte) {
    StoredDocument doc;
    doc.EmbMsg.Lines[0].set("0123456789ABCDEF");
    doc.EmbMsg.Lines[1].set("HI");
    doc.EmbMsg.Lines[2].clear();
    doc.EmbMsg.Lines[3].set(std::string("X Y\0ZZ", 6));
    RadioImage im = zeroImage();
    std::fill(im.begin() + 4864, im.begin() + 4928, 0xEE);
    zr::EncodeSettings(doc, im);
    EXPECT_EQ(std::string(im.begin() + 4864, im.begin() + 4880), "0123456789ABCDEF");
    EXPECT_EQ(im[4880], 'H');
    EXPECT_EQ(im[4881], 'I');
    for (int i = 4882; i < 4912; ++i) EXPECT_EQ(im[i], 0) << i;
    EXPECT_EQ(std::string(im.begin() + 4912, im.begin() + 4915), "X Y");
    EXPECT_EQ(im[4915], 0);

    StoredDocument back;
    zr::DecodeSettings(im, back);
    EXPECT_EQ(back.EmbMsg.Lines[0].text(), "0123456789ABCDEF");
    EXPECT_EQ(back.EmbMsg.Lines[1].text(), "HI");
    EXPECT_EQ(back.EmbMsg.Lines[2].text(), "");
    EXPECT_EQ(back.EmbMsg.Lines[3].text(), "X Y");

    // An erased line reads as empty; 0xFF ends a line.
    std::fill(im.begin() + 4864, im.begin() + 4880, 0xFF);
    im[4880 + 3] = 0xFF;
    zr::DecodeSettings(im, back);
    EXPECT_EQ(back.EmbMsg.Lines[0].text(), "");
    EXPECT_EQ(back.EmbMsg.Lines[1].text(), "HI");
}

// Distinct in-range values for every stored field; decoding what was encoded
// must give them back, which catches fields placed on the wrong bits.
StoredDocument richSettings() {
    StoredDocument d;
    auto& o = d.OptFeat;
    o.SquelchLevel = 9; o.FreqStep = 6;
    o.ChDisplayMode = 2; o.ScreenColor = 1; o.Backlight = 2; o.BatterySave = 3;
    o.InhibitInit = 1; o.VoicePrompt = 2; o.KeyBeep = 1; o.BeepVolume = 3;
    o.ReservedFlag = 1; o.VoxTone = 1; o.PowerOnDisplay = 2; o.VoxEnable = 1; o.NoSigTailElim = 1;
    o.WorkMode = 1; o.RadioWorkMode = 1; o.TailElimMode = 3; o.FmRadio = 1; o.ChLock = 1; o.InvertFreq = 2;
    o.ScanPauseTime = 2; o.TotPreAlert = 15; o.TotTime = 240; o.TotRekey = 60; o.TotReset = 30;
    o.VoxDelay = 9; o.VoxLevel = 2; o.UhfCurrentCh = 128; o.FmCurrentCh = 20;
    o.DirectCh1 = 77; o.DirectCh2 = 5;
    o.PowerOnText.set("WELCOME 2 U!");
    d.AlarmMode = 1;
    auto& t = d.Dtmf;
    t.SideTone = 1; t.DtmfSignalling = 1; t.CallAlert = 2; t.DtmfRate = 10; t.FirstDigitTime = 20;
    t.FirstDigitDelay = 50; t.StarHashTime = 10; t.DKeySetting = 16; t.SeparatorCode = 15;
    t.GroupCode = 6; t.AutoResetTime = 15;
    auto code = [](const std::string& s) {
        zr::DtmfCodeEntry e;
        e.Length = static_cast<int16_t>(s.size());
        e.Digits.set(s + '\0');
        return e;
    };
    t.BotCode = code("123");
    t.EotCode = code("#*0");
    t.StunCode = code("ABCD");
    t.KillCode = code("9999999999999999");
    for (int k = 0; k < 16; ++k) t.GroupCodes[k] = code(std::string(k, static_cast<char>('0' + k % 10)));
    d.EmbMsg.Lines[0].set("LINE ONE");
    d.EmbMsg.Lines[1].set("SIXTEEN CHARS!!!");
    d.EmbMsg.Lines[2].set("3");
    d.EmbMsg.Lines[3].clear();
    auto& k = d.Keys;
    k.LongPressTime = 25; k.Pf1Long = 1; k.Pf1Short = 2; k.Pf2Long = 3; k.Pf2Short = 4;
    k.Key3Long = 5; k.Key4Long = 6; k.Key5Long = 7; k.Key6Long = 8;
    k.Key3Short = 9; k.Key4Short = 10; k.Key5Short = 11; k.Key6Short = 29;
    auto& s = d.Scan;
    s.ScanMode = 1; s.ScanEntryTone = 1; s.PriorityMode = 2; s.ScanExitTone = 1; s.RevertChannel = 7;
    s.PriorityCh1 = 12; s.PriorityCh2 = 128; s.LookBackA = 5; s.LookBackB = 50;
    s.RxResumeDelay = 10; s.TxResumeDelay = 49; s.WaitTime = 255;
    auto& a = d.Alert;
    a.EmergencyAlarm = 3; a.EmgIdType = 1; a.ChannelSelect = 1; a.EmgIdGroup = 16; a.EmgChannel = 100;
    a.AlarmTime = 255; a.AlertTxTime = 1; a.AlertRxTime = 2; a.AlertCycles = 0;
    return d;
}

TEST(SettingsCodec, EveryStoredFieldComesBack) {
    const StoredDocument d = richSettings();
    RadioImage im = zeroImage();
    zr::EncodeSettings(d, im);
    StoredDocument back;
    zr::DecodeSettings(im, back);
    EXPECT_EQ(back.OptFeat, d.OptFeat);
    EXPECT_EQ(back.Dtmf, d.Dtmf);
    EXPECT_EQ(back.EmbMsg.Lines[0].text(), "LINE ONE");
    EXPECT_EQ(back.EmbMsg.Lines[1].text(), "SIXTEEN CHARS!!!");
    EXPECT_EQ(back.Keys, d.Keys);
    EXPECT_EQ(back.Scan, d.Scan);
    EXPECT_EQ(back.Alert, d.Alert);
    EXPECT_EQ(back.AlarmMode, 1);

    // A few bytes spelled out.
    EXPECT_EQ(im[4272], 0x96);                         // squelch 9, step 6
    EXPECT_EQ(im[4273], 3 + 4 * 2 + 16 * 1 + 64 * 2);   // 4273 formula
    EXPECT_EQ(im[4274], 0x80 | 0x40 | 0x20 | 0x08 | 4);
    EXPECT_EQ(im[4608], 0x80 | 0x40 | 2);
    EXPECT_EQ(im[4614], 0xF6);
    EXPECT_EQ(im[4616], 3 | 4 | 8);
    EXPECT_EQ(im[4640], 0x80 | 0x40 | 0x20 | 0x08 | 7);
    EXPECT_EQ(im[4648], 25);
    EXPECT_EQ(im[4667], 29);
    EXPECT_EQ(im[4670], 77);
    for (int gap : {4649, 4650, 4653, 4656, 4659, 4662, 4665}) EXPECT_EQ(im[gap], 0);
    // Fields the radio does not keep are not touched by decoding.
    StoredDocument keep;
    keep.OptFeat.PriorityCh = 12;
    keep.OptFeat.AlarmSwitch = 1;
    keep.Dtmf.AutoAnswer = 2;
    zr::DecodeSettings(im, keep);
    EXPECT_EQ(keep.OptFeat.PriorityCh, 12);
    EXPECT_EQ(keep.OptFeat.AlarmSwitch, 1);
    EXPECT_EQ(keep.Dtmf.AutoAnswer, 2);
}

TEST(SettingsCodec, OutOfRangeFieldsDoNotSpillIntoNeighbours) {
    StoredDocument d;
    d.OptFeat.FreqStep = 0x1F;      // 5 bits into a 4-bit field
    d.OptFeat.SquelchLevel = 0;
    d.OptFeat.BatterySave = 4;      // would carry into Backlight
    d.OptFeat.UhfCurrentCh = 300;   // own byte: low 8 bits
    d.OptFeat.FmCurrentCh = -1;
    d.Dtmf.DtmfSignalling = 2;      // any non-zero value means three digits
    d.Scan.RevertChannel = 9;
    RadioImage im = zeroImage();
    zr::EncodeSettings(d, im);
    EXPECT_EQ(im[4272], 0x0F);
    EXPECT_EQ(im[4273] & 0x0F, 0);
    EXPECT_EQ(im[4282], 300 & 0xFF);
    EXPECT_EQ(im[4283], 0xFF);
    EXPECT_EQ(im[4608] & 0x40, 0x40);
    EXPECT_EQ(im[4640], 1);
}

TEST(SettingsCodec, CapabilityFlagsAreSetButNeverCleared) {
    RadioImage im = zeroImage();
    zr::RadioFlags current{}, capability{};
    im[zr::kRadioFlagsOffset] = 0xF1;  // bit 0 only (bits 7..4 unused)
    zr::TakeRadioFlags(im, current, capability);
    EXPECT_EQ(current, (zr::RadioFlags{0, 0, 0, 1}));
    EXPECT_EQ(capability, (zr::RadioFlags{0, 0, 0, 1}));

    im[zr::kRadioFlagsOffset] = 0x08;  // a later radio: bit 3, bit 0 clear
    zr::TakeRadioFlags(im, current, capability);
    EXPECT_EQ(current, (zr::RadioFlags{1, 0, 0, 0}));
    EXPECT_EQ(capability, (zr::RadioFlags{1, 0, 0, 1}));

    // A capability flag already set keeps its stored value.
    capability = {2, 0, 0, 0};
    im[zr::kRadioFlagsOffset] = 0x00;
    zr::TakeRadioFlags(im, current, capability);
    EXPECT_EQ(capability, (zr::RadioFlags{2, 0, 0, 0}));
}

}  // namespace
