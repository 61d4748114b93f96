// Where every radio-wide setting lives in the memory image, written down from
// the radio's memory map on its own (not from the codec's tables). A field
// set alone must change exactly its own bits, bits set at a field's place
// must decode into that field and no other, and all fields together with
// distinct values must each land at their place; so two fields swapped,
// shifted or forgotten in either direction show up.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "data/settings_codec.h"
#include "support/record_fields.h"

using namespace zr;

namespace {

// One field of a settings record, read and written as the raw bits the
// radio keeps (BeepVolume is kept as its value plus one).
struct Field {
    std::function<void(StoredDocument&, int)> set;
    std::function<int(const StoredDocument&)> get;
};

template <class Rec, class T>
Field member(Rec StoredDocument::*rec, T Rec::*field, int storedPlus = 0) {
    return {[=](StoredDocument& d, int raw) { (d.*rec).*field = static_cast<T>(raw - storedPlus); },
            [=](const StoredDocument& d) { return static_cast<int>((d.*rec).*field) + storedPlus; }};
}

Field alarmMode() {
    return {[](StoredDocument& d, int raw) { d.AlarmMode = static_cast<uint8_t>(raw); },
            [](const StoredDocument& d) { return static_cast<int>(d.AlarmMode); }};
}

struct Place {
    const char* name;
    int byte;
    int low;     // lowest bit of the field
    int width;   // number of bits, 8 for a byte of its own
    int value;   // distinct raw test value; the highest bit of the field is set where it can be
    Field field;

    int mask() const { return ((1 << width) - 1) << low; }
};

#define OPT(f) member(&StoredDocument::OptFeat, &OptFeatRecord::f)
#define DTMF(f) member(&StoredDocument::Dtmf, &DtmfRecord::f)
#define KEY(f) member(&StoredDocument::Keys, &KeyRecord::f)
#define ALERT(f) member(&StoredDocument::Alert, &AlertRecord::f)
#define SCAN(f) member(&StoredDocument::Scan, &ScanRecord::f)

const std::vector<Place>& places() {
    static const std::vector<Place> all = {
        // Optional features.
        {"SquelchLevel", 4272, 4, 4, 9, OPT(SquelchLevel)},
        {"FreqStep", 4272, 0, 4, 8, OPT(FreqStep)},
        {"ChDisplayMode", 4273, 6, 2, 2, OPT(ChDisplayMode)},
        {"ScreenColor", 4273, 4, 2, 3, OPT(ScreenColor)},
        {"Backlight", 4273, 2, 2, 2, OPT(Backlight)},
        {"BatterySave", 4273, 0, 2, 3, OPT(BatterySave)},
        {"InhibitInit", 4274, 7, 1, 1, OPT(InhibitInit)},
        {"AlarmMode", 4274, 6, 1, 1, alarmMode()},
        {"VoicePrompt", 4274, 4, 2, 2, OPT(VoicePrompt)},
        {"KeyBeep", 4274, 3, 1, 1, OPT(KeyBeep)},
        {"BeepVolume", 4274, 0, 3, 5, member(&StoredDocument::OptFeat, &OptFeatRecord::BeepVolume, 1)},
        {"ReservedFlag", 4275, 7, 1, 1, OPT(ReservedFlag)},
        {"VoxTone", 4275, 6, 1, 1, OPT(VoxTone)},
        {"PowerOnDisplay", 4275, 4, 2, 2, OPT(PowerOnDisplay)},
        {"VoxEnable", 4275, 3, 1, 1, OPT(VoxEnable)},
        {"NoSigTailElim", 4275, 0, 1, 1, OPT(NoSigTailElim)},
        {"WorkMode", 4276, 7, 1, 1, OPT(WorkMode)},
        {"RadioWorkMode", 4276, 6, 1, 1, OPT(RadioWorkMode)},
        {"TailElimMode", 4276, 4, 2, 3, OPT(TailElimMode)},
        {"FmRadio", 4276, 3, 1, 1, OPT(FmRadio)},
        {"ChLock", 4276, 2, 1, 1, OPT(ChLock)},
        {"InvertFreq", 4276, 0, 2, 2, OPT(InvertFreq)},
        {"ScanPauseTime", 4277, 4, 2, 2, OPT(ScanPauseTime)},
        {"TotPreAlert", 4277, 0, 4, 13, OPT(TotPreAlert)},
        {"TotTime", 4278, 0, 8, 240, OPT(TotTime)},
        {"TotRekey", 4279, 0, 8, 60, OPT(TotRekey)},
        {"TotReset", 4280, 0, 8, 30, OPT(TotReset)},
        {"VoxDelay", 4281, 4, 4, 9, OPT(VoxDelay)},
        {"VoxLevel", 4281, 0, 4, 3, OPT(VoxLevel)},   // above 3 reads as 3
        {"UhfCurrentCh", 4282, 0, 8, 128, OPT(UhfCurrentCh)},
        {"FmCurrentCh", 4283, 0, 8, 19, OPT(FmCurrentCh)},
        {"DirectCh1", 4670, 0, 8, 77, OPT(DirectCh1)},
        {"DirectCh2", 4671, 0, 8, 101, OPT(DirectCh2)},
        // DTMF.
        {"SideTone", 4608, 7, 1, 1, DTMF(SideTone)},
        {"DtmfSignalling", 4608, 6, 1, 1, DTMF(DtmfSignalling)},
        {"CallAlert", 4608, 0, 2, 2, DTMF(CallAlert)},
        {"DtmfRate", 4609, 0, 8, 7, DTMF(DtmfRate)},
        {"FirstDigitTime", 4610, 0, 8, 18, DTMF(FirstDigitTime)},
        {"FirstDigitDelay", 4611, 0, 8, 46, DTMF(FirstDigitDelay)},
        {"StarHashTime", 4612, 0, 8, 20, DTMF(StarHashTime)},
        {"DKeySetting", 4613, 0, 8, 15, DTMF(DKeySetting)},
        {"SeparatorCode", 4614, 4, 4, 14, DTMF(SeparatorCode)},
        {"GroupCode", 4614, 0, 4, 6, DTMF(GroupCode)},
        {"AutoResetTime", 4615, 0, 8, 11, DTMF(AutoResetTime)},
        // Alert and emergency.
        {"EmergencyAlarm", 4616, 0, 2, 2, ALERT(EmergencyAlarm)},
        {"EmgIdType", 4616, 2, 1, 1, ALERT(EmgIdType)},
        {"ChannelSelect", 4616, 3, 1, 1, ALERT(ChannelSelect)},
        {"EmgIdGroup", 4617, 0, 8, 16, ALERT(EmgIdGroup)},
        {"EmgChannel", 4618, 0, 8, 99, ALERT(EmgChannel)},
        {"AlarmTime", 4619, 0, 8, 201, ALERT(AlarmTime)},
        {"AlertTxTime", 4620, 0, 8, 31, ALERT(AlertTxTime)},
        {"AlertRxTime", 4621, 0, 8, 42, ALERT(AlertRxTime)},
        {"AlertCycles", 4622, 0, 8, 255, ALERT(AlertCycles)},
        // Scan.
        {"ScanMode", 4640, 7, 1, 1, SCAN(ScanMode)},
        {"ScanEntryTone", 4640, 6, 1, 1, SCAN(ScanEntryTone)},
        {"PriorityMode", 4640, 4, 2, 2, SCAN(PriorityMode)},
        {"ScanExitTone", 4640, 3, 1, 1, SCAN(ScanExitTone)},
        {"RevertChannel", 4640, 0, 3, 5, SCAN(RevertChannel)},
        {"PriorityCh1", 4641, 0, 8, 12, SCAN(PriorityCh1)},
        {"PriorityCh2", 4642, 0, 8, 127, SCAN(PriorityCh2)},
        {"LookBackA", 4643, 0, 8, 5, SCAN(LookBackA)},
        {"LookBackB", 4644, 0, 8, 50, SCAN(LookBackB)},
        {"RxResumeDelay", 4645, 0, 8, 17, SCAN(RxResumeDelay)},
        {"TxResumeDelay", 4646, 0, 8, 43, SCAN(TxResumeDelay)},
        {"WaitTime", 4647, 0, 8, 250, SCAN(WaitTime)},
        // Programmable keys.
        {"LongPressTime", 4648, 0, 8, 25, KEY(LongPressTime)},
        {"Pf1Long", 4651, 0, 8, 1, KEY(Pf1Long)},
        {"Pf1Short", 4652, 0, 8, 2, KEY(Pf1Short)},
        {"Pf2Long", 4654, 0, 8, 3, KEY(Pf2Long)},
        {"Pf2Short", 4655, 0, 8, 4, KEY(Pf2Short)},
        {"Key3Long", 4657, 0, 8, 5, KEY(Key3Long)},
        {"Key3Short", 4658, 0, 8, 9, KEY(Key3Short)},
        {"Key4Long", 4660, 0, 8, 6, KEY(Key4Long)},
        {"Key4Short", 4661, 0, 8, 10, KEY(Key4Short)},
        {"Key5Long", 4663, 0, 8, 7, KEY(Key5Long)},
        {"Key5Short", 4664, 0, 8, 11, KEY(Key5Short)},
        {"Key6Long", 4666, 0, 8, 8, KEY(Key6Long)},
        {"Key6Short", 4667, 0, 8, 29, KEY(Key6Short)},
    };
    return all;
}

#undef OPT
#undef DTMF
#undef KEY
#undef ALERT
#undef SCAN

// The 16-byte places of the twenty DTMF code entries (in the order of
// zrtest::DtmfCodeAt).
int codePlace(int i) {
    const int fixed[] = {4288, 4304, 4320, 4336};   // BOT, EOT, stun, kill
    return i < 4 ? fixed[i] : 4352 + 16 * (i - 4);  // group codes 1..16
}
// A different code for every entry, of every length 1..16.
std::string codeText(int i) {
    const std::string digits = "0123456789ABCD*#";
    std::string s;
    for (int k = 0; k < 1 + (i * 7) % 16; ++k) s += digits[static_cast<std::size_t>((i + i / 16 + 3 * k) % 16)];
    return s;
}
// The 16 bytes of a code: characters as nibbles two per byte ("*" 0xE,
// "#" 0xF), an odd length padded with 0, the length in byte 8.
std::array<uint8_t, 16> packedCode(const std::string& s) {
    std::array<uint8_t, 16> b{};
    for (std::size_t k = 0; k < s.size(); ++k) {
        const char c = s[k];
        const int nibble = c == '*' ? 0xE : c == '#' ? 0xF : c <= '9' ? c - '0' : c - 'A' + 10;
        b[k / 2] |= static_cast<uint8_t>(k % 2 == 0 ? nibble << 4 : nibble);
    }
    b[8] = static_cast<uint8_t>(s.size());
    return b;
}

// Every listed field at raw 0, so that a field set alone is the only one
// with bits.
StoredDocument zeroSettings() {
    StoredDocument d;
    for (const Place& p : places()) p.field.set(d, 0);
    return d;
}

// Offsets where two images differ, with both values, for failure messages.
std::string differences(const RadioImage& got, const RadioImage& want) {
    std::ostringstream out;
    for (int i = 0; i < kRadioImageSize; ++i)
        if (got[i] != want[i]) out << " [" << i << "] " << int(got[i]) << " instead of " << int(want[i]);
    return out.str();
}

// Names of the listed fields whose values differ between two documents.
std::string fieldDifferences(const StoredDocument& got, const StoredDocument& want) {
    std::string out;
    for (const Place& p : places())
        if (p.field.get(got) != p.field.get(want)) out += std::string(" ") + p.name;
    return out;
}

}  // namespace

TEST(SettingsPlaces, EachFieldAloneChangesOnlyItsOwnBits) {
    const StoredDocument base = zeroSettings();
    RadioImage baseImage{};
    EncodeSettings(base, baseImage);
    for (const Place& p : places()) {
        ASSERT_EQ(baseImage[p.byte] & p.mask(), 0) << p.name;
        StoredDocument d = base;
        p.field.set(d, p.value);
        RadioImage im{};
        EncodeSettings(d, im);
        RadioImage want = baseImage;
        want[p.byte] = static_cast<uint8_t>(want[p.byte] | (p.value << p.low));
        EXPECT_EQ(differences(im, want), "") << p.name;
    }
}

TEST(SettingsPlaces, BitsAtEachPlaceDecodeIntoThatFieldOnly) {
    const RadioImage zero{};
    StoredDocument baseDecoded = zeroSettings();
    DecodeSettings(zero, baseDecoded);
    for (const Place& p : places()) {
        RadioImage im{};
        im[p.byte] = static_cast<uint8_t>(p.value << p.low);
        StoredDocument got = zeroSettings();
        DecodeSettings(im, got);
        StoredDocument want = baseDecoded;
        p.field.set(want, p.value);
        EXPECT_EQ(p.field.get(got), p.value) << p.name;
        EXPECT_TRUE(got == want) << p.name << " also changed:" << fieldDifferences(got, want);
    }
}

TEST(SettingsPlaces, AllFieldsTogetherEachAtItsPlace) {
    StoredDocument d = zeroSettings();
    for (const Place& p : places()) p.field.set(d, p.value);
    for (int i = 0; i < 20; ++i) {
        zrtest::DtmfCodeAt(d.Dtmf, i).Length = static_cast<int16_t>(codeText(i).size());
        zrtest::DtmfCodeAt(d.Dtmf, i).Digits.set(codeText(i));
    }
    const std::string lines[] = {"FIRST LINE", "Second line 2", "3rd", "the fourth line!"};
    for (int k = 0; k < 4; ++k) d.EmbMsg.Lines[static_cast<std::size_t>(k)].set(lines[k]);
    d.OptFeat.PowerOnText.set("ABCDEFGHIJKL");

    // Written over an image full of 0xFF: every byte of the settings blocks is
    // written whole, bits no field owns are 0.
    RadioImage im{};
    im.fill(0xFF);
    EncodeSettings(d, im);
    for (const Place& p : places())
        EXPECT_EQ((im[p.byte] & p.mask()) >> p.low, p.value) << p.name << " at " << p.byte;
    RadioImage owned{};
    for (const Place& p : places()) owned[p.byte] = static_cast<uint8_t>(owned[p.byte] | p.mask());
    for (int a : {4272, 4273, 4274, 4275, 4276, 4277, 4281, 4608, 4614, 4616, 4640, 4678, 4679, 4649,
                  4650, 4653, 4656, 4659, 4662, 4665})
        EXPECT_EQ(im[a] & ~owned[a] & 0xFF, 0) << "bits no field owns at " << a;
    for (int i = 0; i < 20; ++i) {
        const auto want = packedCode(codeText(i));
        const std::vector<uint8_t> got(im.begin() + codePlace(i), im.begin() + codePlace(i) + 16);
        EXPECT_EQ(got, std::vector<uint8_t>(want.begin(), want.end())) << "code entry " << i;
    }
    for (int k = 0; k < 4; ++k) {
        std::string want = lines[k];
        want.resize(16, '\0');
        EXPECT_EQ(std::string(im.begin() + 4864 + 16 * k, im.begin() + 4880 + 16 * k), want) << "line " << k;
    }
    EXPECT_EQ(std::string(im.begin() + 4672, im.begin() + 4678), "ABCDEF");
    EXPECT_EQ(std::string(im.begin() + 4680, im.begin() + 4686), "GHIJKL");

    // The same places read back, from an image the test lays out itself.
    RadioImage laid{};
    for (const Place& p : places()) laid[p.byte] = static_cast<uint8_t>(laid[p.byte] | (p.value << p.low));
    for (int i = 0; i < 20; ++i) {
        const auto code = packedCode(codeText(i));
        std::copy(code.begin(), code.end(), laid.begin() + codePlace(i));
    }
    for (int k = 0; k < 4; ++k)
        std::copy(lines[k].begin(), lines[k].end(), laid.begin() + 4864 + 16 * k);
    const std::string text = "ABCDEFGHIJKL";
    std::copy(text.begin(), text.begin() + 6, laid.begin() + 4672);
    std::copy(text.begin() + 6, text.end(), laid.begin() + 4680);

    StoredDocument back = zeroSettings();
    DecodeSettings(laid, back);
    for (const Place& p : places()) EXPECT_EQ(p.field.get(back), p.value) << p.name;
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(zrtest::DtmfCodeAt(back.Dtmf, i).Length, static_cast<int>(codeText(i).size())) << "code entry " << i;
        EXPECT_EQ(zrtest::DtmfCodeAt(back.Dtmf, i).Digits.text(), codeText(i)) << "code entry " << i;
    }
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(back.EmbMsg.Lines[static_cast<std::size_t>(k)].text(), lines[k]) << "line " << k;
    EXPECT_EQ(back.OptFeat.PowerOnText.raw(), text);
}
