#include <gtest/gtest.h>

#include <algorithm>

#include "data/fm_channels.h"

namespace {

using zr::FmChannelList;
using zr::RadioImage;

// The state EncodeImage leaves before the FM presets are written.
RadioImage fmReadyImage() {
    RadioImage im{};
    im.fill(0x00);
    std::fill(im.begin() + 4160, im.begin() + 4176, 0xFF);
    return im;
}

FmChannelList allEmpty() {
    FmChannelList list;
    for (auto& ch : list) {
        ch.IsEmpty = 1;
        ch.FmFreq.set("");
    }
    return list;
}

TEST(FmChannels, TypedTextsAreCheckedAndStored) {
    struct Case {
        const char* typed;
        const char* checked;
        const char* stored;
    } cases[] = {
        {"90.52", "090.50000", "09050000"},
        {"90.53", "090.55000", "09055000"},
        {"50", "076.00000", "07600000"},
        {"120", "108.00000", "10800000"},
        {"76", "076.00000", "07600000"},
        {"108", "108.00000", "10800000"},
        {"107.99", "108.00000", "10800000"},
        {"88", "088.00000", "08800000"},
        {"1.2.3", "076.00000", "07600000"},  // not a number counts as 76
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::string checked = zr::CheckRadioFre(c.typed);
        EXPECT_EQ(checked, c.checked);
        EXPECT_EQ(zr::GetSaveRadioFreData(checked), c.stored);
    }
    EXPECT_EQ(zr::GetSaveRadioFreData("abc"), "76");
}

TEST(FmChannels, StepRadioMovesOntoTheFiftyKilohertzRaster) {
    EXPECT_DOUBLE_EQ(zr::StepRadio(90.52), 90.50);
    EXPECT_DOUBLE_EQ(zr::StepRadio(90.53), 90.55);
    EXPECT_DOUBLE_EQ(zr::StepRadio(90.55), 90.55);
    EXPECT_DOUBLE_EQ(zr::StepRadio(99.99), 100.00);
    EXPECT_DOUBLE_EQ(zr::StepRadio(90.574), 90.55);  // 9057 units: remainder 2
}

TEST(FmChannels, PresetsAreBcdWithAPresenceBitmap) {
    FmChannelList list = allEmpty();
    list[0].IsEmpty = 0;
    list[0].FmFreq.set("09050000");
    list[8].IsEmpty = 0;
    list[8].FmFreq.set("10795");   // short text padded with "0"
    list[19].IsEmpty = 0;
    list[19].FmFreq.set("08800000");
    list[5].IsEmpty = 1;
    list[5].FmFreq.set("09900000");  // empty: nothing written
    list[6].IsEmpty = 0;
    list[6].FmFreq.clear();          // present but no text: bit only

    RadioImage im = fmReadyImage();
    zr::EncodeFmChannels(list, im);
    EXPECT_EQ(im[4160], 0xFE & 0xBF);  // channels 1 and 7 present
    EXPECT_EQ(im[4161], 0xFE);         // channel 9
    EXPECT_EQ(im[4162], 0xF7);         // channel 20; bits 7..4 stay 1
    const uint8_t ch1[] = {0x09, 0x05, 0x00, 0x00};
    const uint8_t ch9[] = {0x10, 0x79, 0x50, 0x00};
    const uint8_t ch20[] = {0x08, 0x80, 0x00, 0x00};
    EXPECT_TRUE(std::equal(ch1, ch1 + 4, im.begin() + 4192));
    EXPECT_TRUE(std::equal(ch9, ch9 + 4, im.begin() + 4192 + 32));
    EXPECT_TRUE(std::equal(ch20, ch20 + 4, im.begin() + 4192 + 76));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(im[4192 + 20 + i], 0);  // channel 6: empty keeps four 0x00
        EXPECT_EQ(im[4192 + 24 + i], 0);  // channel 7: no text
    }

    FmChannelList back = allEmpty();
    zr::DecodeFmChannels(im, back);
    EXPECT_EQ(back[0].IsEmpty, 0);
    EXPECT_EQ(back[0].FmFreq.raw(), "09050000");
    EXPECT_EQ(back[8].FmFreq.raw(), "10795000");
    EXPECT_EQ(back[19].FmFreq.raw(), "08800000");
    EXPECT_EQ(back[5].IsEmpty, 1);
    EXPECT_EQ(back[1].IsEmpty, 1);
}

TEST(FmChannels, AllPresenceBitsSetDecodeAsEmpty) {
    RadioImage im{};
    im.fill(0x12);
    std::fill(im.begin() + 4160, im.begin() + 4163, 0xFF);
    std::fill(im.begin() + 4192, im.begin() + 4272, 0xFF);
    FmChannelList list;
    for (auto& ch : list) ch.IsEmpty = 0;
    zr::DecodeFmChannels(im, list);
    for (const auto& ch : list) {
        EXPECT_EQ(ch.IsEmpty, 1);
        EXPECT_EQ(ch.FmFreq.raw(), "FFFFFFFF");
    }
}

}  // namespace
