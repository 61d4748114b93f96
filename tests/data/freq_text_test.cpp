#include <gtest/gtest.h>

#include "data/bands.h"
#include "data/freq_text.h"
#include "shell/session.h"
#include "support/support.h"

namespace {

struct FreqFixture : ::testing::Test {
    zr::Session s;
    void SetUp() override { band("400 - 470 MHz"); }
    void band(const char* text) {
        s.doc.currentBand = text;
        zr::RefreshBandLimits(s.doc);
    }
    zr::ChannelRecord channel(const char* rx, const char* offset, int dir) {
        zr::ChannelRecord c;
        c.RxFreq.set(rx);
        c.Offset.set(offset);
        c.OffsetDir = static_cast<uint8_t>(dir);
        return c;
    }
};

}  // namespace

TEST_F(FreqFixture, ShowAndSaveFrequencyTexts) {
    EXPECT_EQ(zr::ShowFreText(LimitsOf(s.doc), "FFFFFFFF"), "");
    EXPECT_EQ(zr::ShowFreText(LimitsOf(s.doc), ""), "");
    EXPECT_EQ(zr::ShowFreText(LimitsOf(s.doc), std::string("\0       ", 8)), "");
    EXPECT_EQ(zr::ShowFreText(LimitsOf(s.doc), "46256250"), "462.56250");
    EXPECT_EQ(zr::ShowFreText(LimitsOf(s.doc), "09050000"), "90.50000");
    for (const char* stored : {"FFFFFFFF", "", "46256250", "09050000"})
        EXPECT_FALSE(zr::IsUnreadableFrequency(stored)) << stored;

    // A damaged stored text shows the lower limit, and is known as damaged
    // so that the window showing it can say so.
    EXPECT_EQ(zr::ShowFreText(LimitsOf(s.doc), "46A56250"), "400");
    for (const char* stored : {"46A56250", "4625625-", "462.5625"})
        EXPECT_TRUE(zr::IsUnreadableFrequency(stored)) << stored;

    EXPECT_EQ(zr::SaveFreText(zr::LimitsOf(s.doc), "462.5625"), "46256250");
    EXPECT_EQ(zr::SaveFreText(zr::LimitsOf(s.doc), "462"), "46200000");
    EXPECT_EQ(zr::SaveFreText(zr::LimitsOf(s.doc), ""), "");
    EXPECT_EQ(zr::SaveFreText(zr::LimitsOf(s.doc), "446.00625"), "44600625");
    EXPECT_EQ(zr::SaveFreText(zr::LimitsOf(s.doc), "462.562559"), "46256255");  // decimals beyond five are cut
    EXPECT_EQ(zr::SaveFreText(zr::LimitsOf(s.doc), "90.5"), "09050000");
    EXPECT_EQ(zr::SaveFreText(zr::LimitsOf(s.doc), "abc"), "40000000");
    EXPECT_EQ(zr::SaveFreText(zr::LimitsOf(s.doc), "1234.5"), "40000000");
    EXPECT_EQ(zr::SaveFreText(zr::LimitsOf(s.doc), "4.625e2"), "46250000");
}

TEST_F(FreqFixture, OffsetAndTxTexts) {
    EXPECT_EQ(zr::ShowOffsetText("0060000", 1), "-0.60000");
    EXPECT_EQ(zr::ShowOffsetText("0500000", 0), "5.00000");
    EXPECT_EQ(zr::ShowOffsetText("0500000", 2), "+5.00000");
    EXPECT_EQ(zr::ShowOffsetText("", 2), "+0.00000");
    EXPECT_EQ(zr::ShowOffsetText("05x0000", 1), "-0.00000");

    EXPECT_EQ(zr::ShowTxFreText(LimitsOf(s.doc), "46256250", "0500000", 2, false), "467.56250");
    EXPECT_EQ(zr::ShowTxFreText(LimitsOf(s.doc), "46256250", "0500000", 1, false), "457.56250");
    EXPECT_EQ(zr::ShowTxFreText(LimitsOf(s.doc), "46256250", "0500000", 0, false), "462.56250");
    EXPECT_EQ(zr::ShowTxFreText(LimitsOf(s.doc), "46256250", "0500000", 2, true), "+5.00000");
}

TEST_F(FreqFixture, SaveTxTextSetsDirectionAndMagnitude) {
    uint8_t dir = 2;
    // Typing the RX itself keeps the magnitude and clears the direction.
    EXPECT_EQ(zr::SaveTxFreText(LimitsOf(s.doc), "46256250", "462.5625", false, "0500000", dir), "0500000");
    EXPECT_EQ(dir, 0);
    EXPECT_EQ(zr::SaveTxFreText(LimitsOf(s.doc), "46256250", "467.5625", false, "0000000", dir), "0500000");
    EXPECT_EQ(dir, 2);
    EXPECT_EQ(zr::SaveTxFreText(LimitsOf(s.doc), "46256250", "461.9625", false, "0000000", dir), "0060000");
    EXPECT_EQ(dir, 1);
    EXPECT_EQ(zr::SaveTxFreText(LimitsOf(s.doc), "46256250", "5", true, "0000000", dir), "0500000");
    EXPECT_EQ(dir, 0);
    EXPECT_EQ(zr::SaveTxFreText(LimitsOf(s.doc), "46256250", "-5", true, "0000000", dir), "0500000");
    EXPECT_EQ(dir, 1);
    EXPECT_EQ(zr::SaveTxFreText(LimitsOf(s.doc), "46256250", "+0.6", true, "0000000", dir), "0060000");
    EXPECT_EQ(dir, 2);
    // Nothing usable typed: no shift, magnitude kept.
    EXPECT_EQ(zr::SaveTxFreText(LimitsOf(s.doc), "46256250", "x", true, "0070000", dir), "0070000");
    EXPECT_EQ(dir, 0);
    dir = 2;
    EXPECT_EQ(zr::SaveTxFreText(LimitsOf(s.doc), "FFFFFFFF", "462", false, "0070000", dir), "0070000");
    EXPECT_EQ(dir, 0);
    // A magnitude beyond two whole digits is held, not wrapped.
    EXPECT_EQ(zr::SaveTxFreText(LimitsOf(s.doc), "46256250", "+150", true, "0000000", dir), "9999999");
}

TEST_F(FreqFixture, BandCheckAndFormat) {
    // The limits alone decide, and nothing is shown: the caller tells.
    const zr::BandLimits band{400.0, 470.0};
    EXPECT_DOUBLE_EQ(zr::CheckFreInBand(band, 470.0), 470.0);
    EXPECT_DOUBLE_EQ(zr::CheckFreInBand(band, 470.00001), 470.0);
    EXPECT_DOUBLE_EQ(zr::CheckFreInBand(band, 399.0), 400.0);
    EXPECT_EQ(zr::CheckFreInBandUnits(band, 47000001), 47000000);
    EXPECT_EQ(zr::CheckFreInBandUnits(band, 44600625), 44600625);

    const auto inBand = [&](std::string_view text) {
        const zr::FreqInBand f = zr::FormatFreInBand(band, text);
        return f.text + (f.moved ? " moved" : "");
    };
    EXPECT_EQ(inBand("446.00625"), "446.00625");
    EXPECT_EQ(inBand("470.00001"), "470.00000 moved");
    EXPECT_EQ(inBand("470"), "470.00000");
    EXPECT_EQ(inBand("12"), "400.00000 moved");
    EXPECT_EQ(inBand("1e40"), "470.00000 moved");
    EXPECT_EQ(inBand("-1e40"), "400.00000 moved");
    EXPECT_EQ(inBand("4x"), "");
    EXPECT_EQ(inBand(""), "");
    // Another band's limits.
    EXPECT_EQ(zr::FormatFreInBand(zr::BandLimits{136.0, 174.0}, "446").text, "174.00000");
}

TEST_F(FreqFixture, StepSnapsToRasterFromBandStart) {
    auto c = channel("44600625", "0000625", 2);
    zr::StepChannelFre(zr::LimitsOf(s.doc), c);
    EXPECT_EQ(c.RxFreq.text(), "44600625");  // must not drift to ...624
    EXPECT_EQ(c.RxStep, 1);
    EXPECT_EQ(c.Offset.text(), "0000625");
    EXPECT_EQ(c.OffsetStep, 1);
    EXPECT_EQ(c.OffsetDir, 2);

    c = channel("44600700", "0000700", 1);
    zr::StepChannelFre(zr::LimitsOf(s.doc), c);
    EXPECT_EQ(c.RxFreq.text(), "44600500");
    EXPECT_EQ(c.RxStep, 0);
    EXPECT_EQ(c.Offset.text(), "0000500");
    EXPECT_EQ(c.OffsetStep, 0);
    EXPECT_EQ(c.OffsetDir, 1);

    c = channel("46256250", "0500000", 0);
    zr::StepChannelFre(zr::LimitsOf(s.doc), c);
    EXPECT_EQ(c.RxStep, 1);
    EXPECT_EQ(c.OffsetStep, 0);

    // Counted from the band start: 136 - 174 MHz puts 146.00625 on 6.25 kHz.
    band("136 - 174 MHz");
    c = channel("14600625", "0000000", 0);
    zr::StepChannelFre(zr::LimitsOf(s.doc), c);
    EXPECT_EQ(c.RxFreq.text(), "14600625");
    EXPECT_EQ(c.RxStep, 1);

    // No frequency: nothing changes.
    c = channel("FFFFFFFF", "0000700", 2);
    c.RxStep = 7;
    zr::StepChannelFre(zr::LimitsOf(s.doc), c);
    EXPECT_EQ(c.RxStep, 7);
    EXPECT_EQ(c.Offset.text(), "0000700");
}

TEST_F(FreqFixture, AValueOnBothRastersCountsAsFiveKilohertz) {
    // 25 kHz above the band start and an offset of 25 kHz lie on both the
    // 5 kHz and the 6.25 kHz raster: both count as 5 kHz and stay as they are.
    auto c = channel("40002500", "0002500", 2);
    c.RxStep = 1;
    c.OffsetStep = 1;
    zr::StepChannelFre(zr::LimitsOf(s.doc), c);
    EXPECT_EQ(c.RxStep, 0);
    EXPECT_EQ(c.OffsetStep, 0);
    EXPECT_EQ(c.RxFreq.text(), "40002500");
    EXPECT_EQ(c.Offset.text(), "0002500");

    // The band start itself, and a frequency on both rasters counted from
    // another band start (136 - 174 MHz: 146.1 MHz lies 10.1 MHz above it).
    c = channel("40000000", "0000000", 0);
    c.RxStep = 1;
    c.OffsetStep = 1;
    zr::StepChannelFre(zr::LimitsOf(s.doc), c);
    EXPECT_EQ(c.RxStep, 0);
    EXPECT_EQ(c.OffsetStep, 0);
    band("136 - 174 MHz");
    c = channel("14610000", "1000000", 1);
    c.RxStep = 1;
    zr::StepChannelFre(zr::LimitsOf(s.doc), c);
    EXPECT_EQ(c.RxStep, 0);
    EXPECT_EQ(c.RxFreq.text(), "14610000");
    EXPECT_EQ(c.OffsetStep, 0);
}

TEST(ToneList, NamesByPosition) {
    const auto list = zr::ToneList("None");
    ASSERT_EQ(list.size(), 1075u);
    EXPECT_EQ(list[0], "None");
    EXPECT_EQ(list[1], "67.0");
    EXPECT_EQ(list[13], "100.0");
    EXPECT_EQ(list[50], "254.1");
    EXPECT_EQ(list[51], "D000N");
    EXPECT_EQ(list[70], "D023N");
    EXPECT_EQ(list[562], "D777N");
    EXPECT_EQ(list[563], "D000I");
    EXPECT_EQ(list[582], "D023I");
    EXPECT_EQ(list[1074], "D777I");
    EXPECT_EQ(zr::ToneName(1075, "x"), "");
    EXPECT_EQ(zr::ToneName(-1, "x"), "");
}
