#include <gtest/gtest.h>

#include "pages/settings_pages.h"
#include "pages_test_util.h"

using namespace zr;
using namespace zr::pages;
using pagestest::numberedTexts;

namespace {
DtmfCodeEntry code(const std::string& digits, int length) {
    DtmfCodeEntry e;
    e.Digits.set(digits);
    e.Length = static_cast<int16_t>(length);
    return e;
}
}  // namespace

TEST(DtmfPageTest, TimingListsMatchMillisecondsAndReplaceUnmatched) {
    StoredDocument doc;
    doc.Dtmf.DtmfRate = 3;
    doc.Dtmf.FirstDigitTime = 3;
    doc.Dtmf.FirstDigitDelay = 50;
    doc.Dtmf.StarHashTime = 4;
    doc.Dtmf.DKeySetting = 17;
    doc.Dtmf.AutoAnswer = 5;
    doc.Dtmf.AutoResetTime = 15;
    DtmfPage page(doc, numberedTexts());
    page.open();
    EXPECT_EQ(page.list(DtmfPage::Rate).shown(), "150");
    EXPECT_EQ(doc.Dtmf.DtmfRate, 3);
    EXPECT_EQ(page.list(DtmfPage::FirstDigitTime).shown(), "0");
    EXPECT_EQ(doc.Dtmf.FirstDigitTime, 0);
    EXPECT_EQ(page.list(DtmfPage::FirstDigitDelay).shown(), "2500");
    EXPECT_EQ(doc.Dtmf.StarHashTime, 0);
    EXPECT_EQ(doc.Dtmf.DKeySetting, 0);
    EXPECT_EQ(page.list(DtmfPage::DKey).count(), 17);
    EXPECT_EQ(doc.Dtmf.AutoAnswer, 0);
    EXPECT_EQ(page.list(DtmfPage::AutoReset).shown(), "15s");

    page.choose(DtmfPage::StarHash, 2);  // "500"
    EXPECT_EQ(doc.Dtmf.StarHashTime, 10);
    page.choose(DtmfPage::Rate, 9);
    EXPECT_EQ(doc.Dtmf.DtmfRate, 10);

    doc.Dtmf.DtmfRate = 11;
    page.open();
    EXPECT_EQ(page.list(DtmfPage::Rate).shown(), "50");
    EXPECT_EQ(doc.Dtmf.DtmfRate, 1);
}

TEST(DtmfPageTest, CodeTextsShowAndStoreTheirLength) {
    StoredDocument doc;
    doc.Dtmf.BotCode = code("123", 3);
    doc.Dtmf.BotCode.Digits.bytes[3] = '\0';  // as read from a radio
    doc.Dtmf.EotCode = code("99999", 20);
    doc.Dtmf.StunCode = code("12345", -1);
    doc.Dtmf.GroupCodes[4] = code("ABCD", 2);
    int groupChanges = 0;
    DtmfPage page(doc, numberedTexts(), {}, [&] { ++groupChanges; });
    page.open();
    EXPECT_EQ(page.code(0), "123");
    EXPECT_EQ(doc.Dtmf.BotCode.Length, 3);
    EXPECT_EQ(doc.Dtmf.BotCode.Digits.raw(), "123             ");
    EXPECT_EQ(page.code(1), "");
    EXPECT_EQ(page.code(2), "");
    EXPECT_EQ(doc.Dtmf.StunCode.Length, 0);
    EXPECT_EQ(page.code(8), "AB");
    EXPECT_EQ(doc.Dtmf.GroupCodes[4].Length, 2);
    EXPECT_EQ(groupChanges, 0);

    page.setCode(3, "12AB*#");
    EXPECT_EQ(doc.Dtmf.KillCode.Length, 6);
    EXPECT_EQ(doc.Dtmf.KillCode.Digits.raw(), "12AB*#          ");
    EXPECT_EQ(groupChanges, 0);
    page.setCode(19, "0123456789ABCD*#9");  // 17 characters: cut at 16
    EXPECT_EQ(doc.Dtmf.GroupCodes[15].Length, 16);
    EXPECT_EQ(groupChanges, 1);
    page.setCode(19, "");
    EXPECT_EQ(doc.Dtmf.GroupCodes[15].Length, 0);
}

TEST(DtmfPageTest, SignallingEnablesSeparatorAndRunsFollowUp) {
    StoredDocument doc;
    doc.Dtmf.DtmfSignalling = 0;
    doc.Dtmf.SideTone = 2;
    std::vector<int> seen;
    DtmfPage page(doc, numberedTexts(), [&] { seen.push_back(doc.Dtmf.DtmfSignalling); });
    page.open();
    EXPECT_EQ(seen, std::vector<int>{0});
    EXPECT_FALSE(page.list(DtmfPage::Separator).enabled);
    EXPECT_FALSE(page.sideTone());
    EXPECT_EQ(doc.Dtmf.SideTone, 0);
    page.choose(DtmfPage::Signalling, 1);
    EXPECT_TRUE(page.list(DtmfPage::Separator).enabled);
    EXPECT_EQ(seen, (std::vector<int>{0, 1}));
    page.choose(DtmfPage::Signalling, 0);
    EXPECT_FALSE(page.list(DtmfPage::Separator).enabled);
    page.choose(DtmfPage::Separator, 15);
    EXPECT_EQ(doc.Dtmf.SeparatorCode, 15);
}

TEST(ScanPageTest, ScanModeZeroDisablesEverythingElse) {
    StoredDocument doc;
    pagestest::setChannels(doc, {5, 2});
    doc.Scan.ScanMode = 0;
    doc.Scan.PriorityMode = 1;
    int keyRefreshes = 0;
    ScanPage page(doc, numberedTexts(), [&] { ++keyRefreshes; });
    page.open();
    EXPECT_EQ(keyRefreshes, 1);
    EXPECT_TRUE(page.list(ScanPage::Mode).enabled);
    for (int id = ScanPage::Priority; id < ScanPage::ListCount; ++id)
        EXPECT_FALSE(page.list(id).enabled) << id;
    EXPECT_FALSE(page.tonesEnabled());

    page.choose(ScanPage::Mode, 1);
    EXPECT_EQ(keyRefreshes, 2);
    EXPECT_TRUE(page.list(ScanPage::PriorityCh1).enabled);
    EXPECT_FALSE(page.list(ScanPage::PriorityCh2).enabled);
    EXPECT_TRUE(page.list(ScanPage::LookBackB).enabled);
    EXPECT_TRUE(page.tonesEnabled());
    page.choose(ScanPage::Priority, 0);
    EXPECT_FALSE(page.list(ScanPage::PriorityCh1).enabled);
    EXPECT_FALSE(page.list(ScanPage::PriorityCh2).enabled);
    page.choose(ScanPage::Priority, 3);
    EXPECT_TRUE(page.list(ScanPage::PriorityCh1).enabled);
    EXPECT_TRUE(page.list(ScanPage::PriorityCh2).enabled);
}

TEST(ScanPageTest, RevertListFollowsPriorityMode) {
    StoredDocument doc;
    doc.Scan.ScanMode = 1;
    doc.Scan.PriorityMode = 2;
    doc.Scan.RevertChannel = 6;
    ScanPage page(doc, numberedTexts());
    page.open();
    const auto& full = page.fullRevertList();
    ASSERT_EQ(full.size(), 8u);
    EXPECT_EQ(full[1], "T28032 + T28033");
    EXPECT_EQ(full[6], "T280021 + T28033");
    EXPECT_EQ(page.list(ScanPage::Revert).entries,
              (std::vector<std::string>{full[0], full[1], full[3], full[4], full[5], full[7]}));
    EXPECT_EQ(page.list(ScanPage::Revert).selected, 0);
    EXPECT_EQ(doc.Scan.RevertChannel, 0);

    page.choose(ScanPage::Revert, 5);
    EXPECT_EQ(doc.Scan.RevertChannel, 7);
    page.choose(ScanPage::Priority, 3);
    EXPECT_EQ(page.list(ScanPage::Revert).count(), 8);
    EXPECT_EQ(page.list(ScanPage::Revert).shown(), full[7]);
    page.choose(ScanPage::Revert, 7);
    EXPECT_EQ(doc.Scan.RevertChannel, 7);
    page.choose(ScanPage::Priority, 0);
    EXPECT_EQ(page.list(ScanPage::Revert).count(), 4);
    EXPECT_EQ(doc.Scan.RevertChannel, 0);
    EXPECT_EQ(doc.Scan.PriorityMode, 0);
    page.choose(ScanPage::Revert, 3);
    EXPECT_EQ(doc.Scan.RevertChannel, 5);
}

TEST(ScanPageTest, TimesChannelsAndTonesAreNormalised) {
    StoredDocument doc;
    pagestest::setChannels(doc, {9, 4});
    doc.Scan.ScanMode = 1;
    doc.Scan.LookBackA = 3;
    doc.Scan.LookBackB = 50;
    doc.Scan.RxResumeDelay = 25;
    doc.Scan.TxResumeDelay = 51;
    doc.Scan.WaitTime = 2;
    doc.Scan.PriorityCh1 = 77;
    doc.Scan.PriorityCh2 = 9;
    doc.Scan.ScanEntryTone = 2;
    doc.Scan.ScanExitTone = 1;
    ScanPage page(doc, numberedTexts());
    page.open();
    EXPECT_EQ(page.list(ScanPage::LookBackA).shown(), "0.5");
    EXPECT_EQ(doc.Scan.LookBackA, 5);
    EXPECT_EQ(page.list(ScanPage::LookBackB).shown(), "5.0");
    EXPECT_EQ(page.list(ScanPage::RxResume).shown(), "2.5");
    EXPECT_EQ(doc.Scan.TxResumeDelay, 10);
    EXPECT_EQ(doc.Scan.WaitTime, 4);
    EXPECT_EQ(page.list(ScanPage::WaitTime).count(), 252);
    EXPECT_EQ(page.list(ScanPage::PriorityCh1).shown(), "4");
    EXPECT_EQ(doc.Scan.PriorityCh1, 4);
    EXPECT_EQ(doc.Scan.PriorityCh2, 9);
    EXPECT_FALSE(page.entryTone());
    EXPECT_EQ(doc.Scan.ScanEntryTone, 0);
    EXPECT_TRUE(page.exitTone());
    page.choose(ScanPage::LookBackA, 45);
    EXPECT_EQ(doc.Scan.LookBackA, 50);

    // Without channels the priority channels keep their values.
    pagestest::setChannels(doc, {});
    doc.Scan.PriorityCh1 = 33;
    page.open();
    EXPECT_EQ(page.list(ScanPage::PriorityCh1).selected, -1);
    EXPECT_EQ(doc.Scan.PriorityCh1, 33);
}

TEST(AlertPageTest, EmergencyTypeDecidesEnabledFields) {
    StoredDocument doc;
    pagestest::setChannels(doc, {8, 2});
    doc.Alert.EmergencyAlarm = 1;
    AlertPage page(doc, numberedTexts());
    page.open();
    EXPECT_EQ(page.list(AlertPage::Emergency).selected, 0);
    EXPECT_EQ(doc.Alert.EmergencyAlarm, 0);
    EXPECT_TRUE(page.list(AlertPage::AlarmTime).enabled);
    for (int id : {AlertPage::IdType, AlertPage::IdGroup, AlertPage::TxTime, AlertPage::RxTime})
        EXPECT_FALSE(page.list(id).enabled) << id;
    page.choose(AlertPage::Emergency, 2);
    EXPECT_EQ(doc.Alert.EmergencyAlarm, 3);
    EXPECT_FALSE(page.list(AlertPage::AlarmTime).enabled);
    EXPECT_TRUE(page.list(AlertPage::TxTime).enabled);
    page.choose(AlertPage::Emergency, 1);
    EXPECT_EQ(doc.Alert.EmergencyAlarm, 2);
}

TEST(AlertPageTest, EmergencyIdListsNonEmptyDtmfCodes) {
    StoredDocument doc;
    doc.Dtmf.GroupCodes[1] = code("12", 2);
    doc.Dtmf.GroupCodes[4] = code("5", 1);
    doc.Dtmf.GroupCodes[6] = code("77", 20);  // damaged length: not a code
    doc.Alert.EmgIdType = 1;
    doc.Alert.EmgIdGroup = 5;
    AlertPage page(doc, numberedTexts());
    page.open();
    EXPECT_EQ(page.list(AlertPage::IdGroup).entries, (std::vector<std::string>{"M2", "M5"}));
    EXPECT_EQ(page.list(AlertPage::IdGroup).shown(), "M5");
    EXPECT_EQ(doc.Alert.EmgIdGroup, 5);

    doc.Alert.EmgIdGroup = 3;
    page.open();
    EXPECT_EQ(page.list(AlertPage::IdGroup).shown(), "M2");
    EXPECT_EQ(doc.Alert.EmgIdGroup, 2);
    page.choose(AlertPage::IdGroup, 1);
    EXPECT_EQ(doc.Alert.EmgIdGroup, 5);

    page.choose(AlertPage::IdType, 0);
    EXPECT_TRUE(page.list(AlertPage::IdGroup).entries.empty());
    EXPECT_EQ(doc.Alert.EmgIdGroup, 0);
    EXPECT_EQ(doc.Alert.EmgIdType, 0);

    // Type 1 without any code: nothing selected, no code sent.
    StoredDocument bare;
    bare.Alert.EmgIdType = 1;
    bare.Alert.EmgIdGroup = 4;
    AlertPage empty(bare, numberedTexts());
    empty.open();
    EXPECT_EQ(empty.list(AlertPage::IdGroup).selected, -1);
    EXPECT_EQ(bare.Alert.EmgIdGroup, 0);
}

TEST(AlertPageTest, TimesChannelAndCycles) {
    StoredDocument doc;
    pagestest::setChannels(doc, {8, 2});
    doc.Alert.AlarmTime = 0;
    doc.Alert.AlertTxTime = 255;
    doc.Alert.ChannelSelect = 1;
    doc.Alert.EmgChannel = 99;
    doc.Alert.AlertCycles = 0;
    doc.AlarmMode = 3;
    AlertPage page(doc, numberedTexts());
    page.open();
    EXPECT_EQ(page.list(AlertPage::AlarmTime).shown(), "1");
    EXPECT_EQ(doc.Alert.AlarmTime, 1);
    EXPECT_EQ(page.list(AlertPage::TxTime).shown(), "255");
    EXPECT_FALSE(page.list(AlertPage::EmgChannel).enabled);
    EXPECT_EQ(page.list(AlertPage::EmgChannel).shown(), "2");
    EXPECT_EQ(doc.Alert.EmgChannel, 2);
    EXPECT_EQ(page.list(AlertPage::Cycles).shown(), "T27036");
    EXPECT_EQ(doc.AlarmMode, 0);
    page.choose(AlertPage::ChannelSelect, 0);
    EXPECT_TRUE(page.list(AlertPage::EmgChannel).enabled);
    EXPECT_EQ(doc.Alert.EmgChannel, 2);
    page.choose(AlertPage::Cycles, 255);
    EXPECT_EQ(doc.Alert.AlertCycles, 255);
    page.choose(AlertPage::AlarmMode, 1);
    EXPECT_EQ(doc.AlarmMode, 1);
}

TEST(KeyPageTest, FunctionsNotOfferedBecomeFunctionZero) {
    StoredDocument doc;
    KeyPage page(doc, numberedTexts());
    page.open();
    EXPECT_EQ(page.list(KeyPage::kLongPress).shown(), "2.0");
    for (int id = 0; id <= 13; ++id) {
        if (!KeyPage::isKeyList(id)) continue;
        EXPECT_EQ(page.list(id).count(), 24);
        EXPECT_EQ(page.list(id).shown(), "T29040") << id;
    }
    page.choose(KeyPage::kLongPress, 3);
    EXPECT_EQ(doc.Keys.LongPressTime, 13);
    page.choose(KeyPage::kLongPress, 15);
    EXPECT_EQ(doc.Keys.LongPressTime, 25);

    page.choose(11, 23);  // Key5Short: last entry is function 29
    EXPECT_EQ(doc.Keys.Key5Short, 29);
    page.choose(13, 10);  // Key6Short: entry 10 is function 12
    EXPECT_EQ(doc.Keys.Key6Short, 12);
    KeyRecord before = doc.Keys;
    page.choose(KeyPage::kEmergencyLongPress, 4);
    page.choose(KeyPage::kFunctionList, 3);
    EXPECT_EQ(doc.Keys, before);

    doc.Keys.Pf1Long = 3;
    doc.Keys.Pf2Short = 40;
    doc.Keys.Key4Long = 27;
    doc.Keys.LongPressTime = 30;
    page.open();
    EXPECT_EQ(doc.Keys.Pf1Long, 0);
    EXPECT_EQ(doc.Keys.Pf2Short, 0);
    EXPECT_EQ(page.list(6).shown(), "T29067");
    EXPECT_EQ(doc.Keys.Key4Long, 27);
    EXPECT_EQ(page.list(KeyPage::kLongPress).shown(), "1.0");
    EXPECT_EQ(doc.Keys.LongPressTime, 10);

    // Refresh after the record changed underneath the page.
    doc.Keys.Key3Short = 25;
    doc.Keys.Key3Long = 15;
    page.refreshKeys();
    EXPECT_EQ(doc.Keys.Key3Short, 0);
    EXPECT_EQ(page.list(4).shown(), "T29055");
}

TEST(KeyPageTest, MissingFunctionTextsStoreFunctionZero) {
    StoredDocument doc;
    KeyPage page(doc, [](int) { return std::string(); });
    page.open();
    page.choose(0, 7);
    EXPECT_EQ(doc.Keys.Pf1Long, 0);
}

TEST(EmbMsgTest, LinesStoreWithOrWithoutNul) {
    EmbMsgRecord r;
    EmbMsgStore(r, 0, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(r.Lines[0].raw(), "ABCDEFGHIJKLMNOP");
    EmbMsgStore(r, 1, "HI");
    EXPECT_EQ(r.Lines[1].raw(), std::string("HI\0             ", 16));
    EmbMsgStore(r, 2, "");
    EXPECT_EQ(r.Lines[2].raw(), std::string("\0               ", 16));
    r.Lines[3].set("HELLO");
    EXPECT_EQ(EmbMsgShown(r, 3), "HELLO");
    EmbMsgStore(r, 3, EmbMsgShown(r, 3));
    EXPECT_EQ(r.Lines[3].raw(), std::string("HELLO\0          ", 16));
    EXPECT_EQ(r.Lines[3].text(), "HELLO");
    EmbMsgStore(r, 7, "X");  // no such line: nothing happens
}
