#include <gtest/gtest.h>

#include <filesystem>

#include "channels/channel_batch.h"
#include "channels/channel_ops.h"
#include "shell/settings_files.h"
#include "shell/language.h"
#include "support/channel_lookup.h"
#include "support/support.h"

using namespace zr;

namespace {

struct BatchTest : ::testing::Test {
    zrtest::TempDir dir;
    zrtest::ScriptedPrompter prompter;
    Session s;
    BatchFlags items{};
    BatchFields f;
    void SetUp() override {
        s.paths.programFolder = dir.str();
        s.prompter = &prompter;
        band("400 - 470 MHz", 400, 470);
    }
    void band(const char* text, double lo, double hi) {
        s.doc.currentBand = text;
        s.doc.bandLower = lo;
        s.doc.bandUpper = hi;
        f = DefaultBatchFields(LimitsOf(s.doc));
    }
    void addChannel(int n, const char* rx = "46256250") {
        auto& l = s.doc.stored.Channels;
        ChannelRecord c;
        c.ChannelNumber = static_cast<int16_t>(n);
        c.RxFreq.set(rx);
        c.Offset.set("0000000");
        l.entries[l.count++] = c;
    }
    const ChannelRecord* find(int n) const { return FindChannelRecord(s, n); }
    const ChannelRecord& ch(int n) const { return zrtest::channelOrBlank(s, n); }
    void range(int a, int b) {
        f.allChannels = false;
        f.fromText = std::to_string(a);
        f.toText = std::to_string(b);
    }
};

}  // namespace

TEST(BatchRules, FieldNormalisation) {
    EXPECT_EQ(NormaliseRangeText("300"), "128");
    EXPECT_EQ(NormaliseRangeText(""), "1");
    EXPECT_EQ(NormaliseRangeText("0"), "1");
    EXPECT_EQ(NormaliseRangeText("17"), "17");
    EXPECT_EQ(StepData("7"), "5");
    EXPECT_EQ(StepData("12.5"), "12.5");
    EXPECT_EQ(StepData("6.25"), "6.25");
    EXPECT_EQ(StepData("x"), "0");
    EXPECT_EQ(LimitStepWhileTyping("1500"), "1000");
    EXPECT_EQ(LimitStepWhileTyping("12.5"), "12.5");
    EXPECT_EQ(StepDataFree("0.0070"), "0.00500");
    EXPECT_EQ(StepDataFree("0.00625"), "0.00625");
    EXPECT_EQ(StepDataFree("."), "0.00000");
    EXPECT_DOUBLE_EQ(StepDataFre(446.0070, 400), 446.005);
    EXPECT_DOUBLE_EQ(StepDataFre(446.00625, 400), 446.00625);
    EXPECT_EQ(DefaultData("12", "0"), "12");
    EXPECT_EQ(DefaultData("", "0"), "0");
    EXPECT_EQ(NormaliseStartId("12"), "000");
    EXPECT_EQ(NormaliseStartId("1234"), "1234");
    EXPECT_EQ(NormaliseStartId("abc"), "000");
    EXPECT_EQ(CutToLengthOf("12345", "123"), "123");
}

TEST_F(BatchTest, StartFrequencyIsClampedRasteredAndFallsBackToTheLowerLimit) {
    EXPECT_EQ(NormaliseStartFre(LimitsOf(s.doc), "500"), "470.00000");
    EXPECT_EQ(NormaliseStartFre(LimitsOf(s.doc), "446.0070"), "446.00500");
    EXPECT_EQ(NormaliseStartFre(LimitsOf(s.doc), ""), "400.00000");
    EXPECT_EQ(NormaliseStartFre(LimitsOf(s.doc), "."), "400.00000");
}

TEST_F(BatchTest, RxSequenceCreatesChannelsOnTheRaster) {
    band("446 - 447 MHz", 446, 447);
    items[kBatchRxFreq] = 1;
    range(1, 8);
    f.rxStart = "446.00625";
    f.rxStep = "12.5";
    ApplyBatch(s, items, f);
    EXPECT_EQ(s.doc.stored.Channels.count, 8);
    ASSERT_NE(find(8), nullptr);
    EXPECT_EQ(ch(8).RxFreq.text(), "44609375");
    EXPECT_EQ(ch(1).RxFreq.text(), "44600625");
    EXPECT_EQ(ch(1).TxPower, 0);   // defaults of a new channel in this band
    EXPECT_EQ(ch(1).Bandwidth, 2);

    // 7 kHz becomes 5 kHz.
    f.rxStep = "7";
    ApplyBatch(s, items, f);
    EXPECT_EQ(f.rxStep, "5");
    EXPECT_EQ(ch(3).RxFreq.text(), "44601500");  // 446.01625 is put on the 5 kHz raster
}

TEST_F(BatchTest, CountingUpFromTheUpperLimitStaysThere) {
    items[kBatchRxFreq] = 1;
    range(1, 3);
    f.rxStart = "470";
    f.rxStep = "25";
    ApplyBatch(s, items, f);
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(ch(n).RxFreq.text(), "47000000") << n;
}

TEST_F(BatchTest, ReversedRangeAndItemsOnlyOnExistingChannels) {
    for (int n : {4, 5, 12, 20, 21}) addChannel(n);
    items[kBatchScanSkip] = 1;
    items[kBatchIdCode] = 1;
    f.scanSkip = true;
    f.idStart = "12";  // too short, becomes 000
    range(20, 5);
    ApplyBatch(s, items, f);
    EXPECT_EQ(f.idStart, "000");
    EXPECT_EQ(ch(4).ScanSkip, 0);
    EXPECT_EQ(ch(5).ScanSkip, 1);
    EXPECT_EQ(ch(20).ScanSkip, 1);
    EXPECT_EQ(ch(21).ScanSkip, 0);
    EXPECT_EQ(ch(12).IdCode.text(), "000");
    EXPECT_EQ(s.doc.stored.Channels.count, 5);  // missing channels stay missing
}

TEST_F(BatchTest, TonesCountThroughTheListAndWrap) {
    for (int n = 1; n <= 9; ++n) addChannel(n);
    items[kBatchRxTone] = 1;
    items[kBatchTxTone] = 1;
    range(1, 9);
    f.rxToneStart = 70;
    f.rxToneInterval = "10";
    f.rxToneDown = true;
    f.txToneDefault = true;
    ApplyBatch(s, items, f, [] { return 0.5; });
    EXPECT_EQ(ch(1).RxTone, 70);
    EXPECT_EQ(ch(9).RxTone, 1065);  // 70 - 80 wraps
    EXPECT_EQ(ch(9).TxTone, 1065);

    // Random tones take any of the 1075 positions.
    f.rxToneRandom = true;
    f.txToneDefault = false;
    f.txToneRandom = true;
    ApplyBatch(s, items, f, [] { return 0.99999; });
    EXPECT_EQ(ch(1).RxTone, 1074);
    EXPECT_EQ(ch(1).TxTone, 1074);
    ApplyBatch(s, items, f, [] { return 0.0; });
    EXPECT_EQ(ch(2).RxTone, 0);
}

TEST_F(BatchTest, NumberedNamesAndIds) {
    for (int n = 1; n <= 3; ++n) addChannel(n);
    items[kBatchName] = 1;
    items[kBatchIdCode] = 1;
    range(1, 3);
    f.nameNumbered = true;
    f.nameText = "CH";
    f.nameStart = "01";
    f.nameStep = "1";
    f.idStart = "998";
    f.idInterval = "1";
    ApplyBatch(s, items, f);
    EXPECT_EQ(ch(1).ChannelName.text(), "CH01");
    EXPECT_EQ(ch(2).ChannelName.text(), "CH02");
    EXPECT_EQ(ch(3).ChannelName.text(), "CH03");
    EXPECT_EQ(ch(3).IdCode.text(), "000");  // 998, 999, 1000 wraps to 000
    EXPECT_EQ(ch(2).IdCode.text(), "999");

    f.nameStart = "9";
    ApplyBatch(s, items, f);
    EXPECT_EQ(ch(1).ChannelName.text(), "CH9");
    EXPECT_EQ(ch(2).ChannelName.text(), "CH0");
    EXPECT_EQ(ch(3).ChannelName.text(), "CH1");

    f.nameNumbered = false;
    f.nameText = "ab12";
    ApplyBatch(s, items, f);
    EXPECT_EQ(ch(2).ChannelName.text(), "AB12");
    EXPECT_EQ(ch(2).ChannelName.raw(), "AB12  ");
}

TEST_F(BatchTest, NumberedNamesAndIdsCountDownPastZero) {
    for (int n = 1; n <= 4; ++n) addChannel(n);
    items[kBatchName] = 1;
    items[kBatchIdCode] = 1;
    range(1, 4);
    f.nameNumbered = true;
    f.nameText = "CH";
    f.nameStart = "01";
    f.nameStep = "1";
    f.nameDown = true;
    f.idStart = "002";
    f.idInterval = "1";
    f.idDown = true;
    ApplyBatch(s, items, f);
    const char* names[] = {"CH01", "CH00", "CH99", "CH98"};
    const char* ids[] = {"002", "001", "000", "999"};
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(ch(n).ChannelName.text(), names[n - 1]) << n;
        EXPECT_EQ(ch(n).IdCode.text(), ids[n - 1]) << n;
    }

    // Steps that pass zero more than once on the way down: 3 - 7k wraps
    // through 10 as often as it takes; IDs keep their leading zeros.
    f.nameStart = "3";
    f.nameStep = "7";
    f.idStart = "0005";
    f.idInterval = "2500";
    ApplyBatch(s, items, f);
    const char* names2[] = {"CH3", "CH6", "CH9", "CH2"};
    const char* ids2[] = {"0005", "7505", "5005", "2505"};
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(ch(n).ChannelName.text(), names2[n - 1]) << n;
        EXPECT_EQ(ch(n).IdCode.text(), ids2[n - 1]) << n;
    }
}

TEST_F(BatchTest, BusyLockNeedsAToneToReceiveWith) {
    addChannel(1);
    addChannel(2);
    s.doc.stored.Channels.entries[1].Reverse = 1;
    s.doc.stored.Channels.entries[1].TxTone = 5;
    items[kBatchBusyLock] = 1;
    f.busyLock = 2;
    range(1, 2);
    ApplyBatch(s, items, f);
    EXPECT_EQ(ch(1).BusyLock, 1);
    EXPECT_EQ(ch(2).BusyLock, 2);
}

TEST_F(BatchTest, OffsetModeSetsDirectionAndMagnitude) {
    addChannel(1, "46256250");
    addChannel(2, "46900000");
    items[kBatchTxFreq] = 1;
    f.txMode = BatchTxMode::Offset;
    f.offset = "5";
    range(1, 2);
    ApplyBatch(s, items, f);
    EXPECT_EQ(f.offset, "5.00000");
    EXPECT_EQ(ch(1).OffsetDir, 2);
    EXPECT_EQ(ch(1).Offset.text(), "0500000");
    // 469 + 5 is clamped to 470: one MHz up.
    EXPECT_EQ(ch(2).OffsetDir, 2);
    EXPECT_EQ(ch(2).Offset.text(), "0100000");

    f.offsetMinus = true;
    ApplyBatch(s, items, f);
    EXPECT_EQ(ch(1).OffsetDir, 1);

    f.txMode = BatchTxMode::Default;
    ApplyBatch(s, items, f);
    EXPECT_EQ(ch(1).OffsetDir, 0);
    EXPECT_EQ(ch(1).Offset.text(), "0000000");
}

TEST_F(BatchTest, ClearOutsideTheRangeKeepsTheVfo) {
    for (int n = 1; n <= 128; ++n) addChannel(n);
    addChannel(kVfoChannel);
    f.clearOutside = true;
    range(10, 20);
    ApplyBatch(s, items, f);
    EXPECT_EQ(s.doc.stored.Channels.count, 12);
    EXPECT_EQ(find(9), nullptr);
    EXPECT_EQ(find(21), nullptr);
    EXPECT_NE(find(10), nullptr);
    EXPECT_NE(find(kVfoChannel), nullptr);
    // Without the range mode the box does nothing.
    f.allChannels = true;
    addChannel(1);
    ApplyBatch(s, items, f);
    EXPECT_NE(find(1), nullptr);
}

TEST_F(BatchTest, ClearingOutsideTheRangeLeavesNoReferenceToARemovedChannel) {
    for (int n = 1; n <= 30; ++n) addChannel(n);
    addChannel(kVfoChannel);
    auto& o = s.doc.stored.OptFeat;
    o.UhfCurrentCh = 3;
    o.DirectCh1 = 25;
    o.DirectCh2 = 12;
    o.PriorityCh = 28;
    f.clearOutside = true;
    range(10, 20);
    ApplyBatch(s, items, f);
    EXPECT_EQ(o.UhfCurrentCh, 20);   // the last memory channel left
    EXPECT_EQ(o.DirectCh1, 20);
    EXPECT_EQ(o.DirectCh2, 12);      // still there: kept
    EXPECT_EQ(o.PriorityCh, 0);
}

TEST_F(BatchTest, AKeptOffsetNeverCarriesTheTxOutOfTheBand) {
    addChannel(1, "46000000");
    addChannel(2, "46000000");
    for (int n : {1, 2}) {
        auto& l = s.doc.stored.Channels;
        for (int i = 0; i < l.count; ++i)
            if (l.entries[i].ChannelNumber == n) {
                l.entries[i].Offset.set("0500000");   // TX 5 MHz above
                l.entries[i].OffsetDir = 2;
            }
    }
    items[kBatchRxFreq] = 1;
    range(1, 2);
    f.rxStart = "469";
    s.prompter = nullptr;   // the notes come back; nothing is told here
    EXPECT_EQ(ApplyBatch(s, items, f), (ChannelNotes{false, true}));
    for (int n : {1, 2}) {
        EXPECT_EQ(ch(n).RxFreq.text(), "46900000") << n;
        EXPECT_EQ(ch(n).OffsetDir, 2) << n;
        EXPECT_EQ(ch(n).Offset.text(), "0100000") << n;   // TX held at 470
    }

    // Inside the band the offset stays, and nothing is noted.
    f.rxStart = "460";
    EXPECT_FALSE(ApplyBatch(s, items, f).any());
    EXPECT_EQ(ch(1).Offset.text(), "0100000");
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(BatchTest, SelectionFlagsFile) {
    s.settings.batchFlags = BatchFlags{};
    s.settings.batchFlags[0] = 1;
    s.settings.batchFlags[20] = 1;
    ASSERT_TRUE(SaveBatchFlags(s));
    const auto bytes = zrtest::readBytes(dir.path() / "BatchFun.ini");
    ASSERT_EQ(bytes.size(), 21u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[20], 1);
    s.paths.programFolder = dir.str("no/such");
    const Result saved = SaveBatchFlags(s);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(saved.message().ends_with(dir.str("no/such/BatchFun.ini"))) << saved.message();
}

TEST_F(BatchTest, FieldsAndApplyKeepThePointUnderACommaLocale) {
    zrtest::CommaLocale comma;
    if (!comma.active()) GTEST_SKIP() << "no locale with a \",\" decimal separator is installed";
    f = DefaultBatchFields(LimitsOf(s.doc));
    EXPECT_EQ(f.rxStart, "400.00000");
    EXPECT_EQ(NormaliseStartFre(LimitsOf(s.doc), "446.0070"), "446.00500");
    EXPECT_EQ(StepDataFree("0.0070"), "0.00500");
    items[kBatchRxFreq] = 1;
    range(1, 2);
    f.rxStart = "462.5625";
    f.rxStep = "12.5";
    ApplyBatch(s, items, f);
    ASSERT_NE(find(2), nullptr);
    EXPECT_EQ(ch(1).RxFreq.text(), "46256250");
    EXPECT_EQ(ch(2).RxFreq.text(), "46257500");
}

TEST_F(BatchTest, RangeAndTheCountOfChangedChannelsForTheStatusLine) {
    EXPECT_EQ(BatchRange(f), std::make_pair(1, 128));
    range(20, 5);
    EXPECT_EQ(BatchRange(f), std::make_pair(5, 20));

    for (int n : {4, 5, 12, 20, 21}) addChannel(n);
    s.doc.stored.Channels.entries[2].ScanSkip = 1;   // channel 12 is skipped already
    const ChannelList before = s.doc.stored.Channels;
    items[kBatchScanSkip] = 1;
    f.scanSkip = true;
    ApplyBatch(s, items, f);
    // 5 and 20 change; 12 was skipped already; 4 and 21 lie outside.
    EXPECT_EQ(CountChangedChannels(before, s.doc.stored.Channels), 2);
    // A created and a removed channel count too, whatever the list order.
    ChannelList other = before;
    std::swap(other.entries[0], other.entries[1]);
    EXPECT_EQ(CountChangedChannels(before, other), 0);
    other.count = 4;   // channel 21 gone
    EXPECT_EQ(CountChangedChannels(other, before), 1);
}

TEST_F(BatchTest, ItemsSetOnSelectedChannelsFollowTheChannelRules) {
    for (int n : {2, 3, 7}) addChannel(n);
    ASSERT_EQ(SetItemsOnChannels(s, {2, 3, 4, 7}, {{item::kBusyLock, 2}, {item::kRxTone, 13}, {item::kTxPower, 0},
                                                   {item::kBandwidth, 2}, {item::kScanSkip, 1}}),
              3);
    EXPECT_FALSE(find(4));   // an empty row stays empty
    for (int n : {2, 3, 7}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(ch(n).RxTone, 13);
        EXPECT_EQ(ch(n).TxTone, 13);   // a first decode tone sets the encode tone too
        EXPECT_EQ(ch(n).BusyLock, 2);  // allowed: the tone came first
        EXPECT_EQ(ch(n).TxPower, 0);
        EXPECT_EQ(ch(n).Bandwidth, 2);
        EXPECT_EQ(ch(n).ScanSkip, 1);
    }
    // Setting what is set already changes no channel.
    EXPECT_EQ(SetItemsOnChannels(s, {2, 3}, {{item::kTxPower, 0}}), 0);
    // Taking the tone away takes the tone lockout with it.
    EXPECT_EQ(SetItemsOnChannels(s, {7}, {{item::kRxTone, 0}}), 1);
    EXPECT_EQ(ch(7).BusyLock, 1);
}
