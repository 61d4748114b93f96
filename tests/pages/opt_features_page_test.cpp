#include <gtest/gtest.h>

#include "pages/opt_features_page.h"
#include "pages_test_util.h"

using namespace zr;
using namespace zr::pages;
using pagestest::numberedTexts;

namespace {

struct OptFeatFixture : ::testing::Test {
    StoredDocument doc;
    OptFeatPage page{doc, numberedTexts()};
    void SetUp() override {
        pagestest::setChannels(doc, {3, 1, 7, 129});
        pagestest::setFm(doc, {2, 5});
        doc.OptFeat.UhfCurrentCh = 1;
        doc.OptFeat.FmCurrentCh = 2;
        doc.OptFeat.DirectCh1 = 3;
        doc.OptFeat.DirectCh2 = 7;
    }
};

}  // namespace

TEST_F(OptFeatFixture, OpeningReplacesValuesThatFitNoList) {
    doc.OptFeat.FreqStep = 12;
    doc.OptFeat.SquelchLevel = -1;
    doc.OptFeat.TotTime = 20;
    doc.OptFeat.VoicePrompt = 1;
    doc.OptFeat.ScanPauseTime = 7;
    doc.OptFeat.ToneScanMode = 2;
    doc.OptFeat.VoxDelay = 9;
    doc.OptFeat.TotRekey = 61;
    page.open();
    EXPECT_EQ(page.list(0).shown(), "5K");
    EXPECT_EQ(doc.OptFeat.FreqStep, 0);
    EXPECT_EQ(doc.OptFeat.SquelchLevel, 0);
    EXPECT_EQ(page.list(19).shown(), "15");
    EXPECT_EQ(doc.OptFeat.TotTime, 15);
    EXPECT_EQ(page.list(9).shown(), "T16056");
    EXPECT_EQ(doc.OptFeat.VoicePrompt, 0);
    EXPECT_EQ(doc.OptFeat.ScanPauseTime, 0);
    EXPECT_EQ(doc.OptFeat.ToneScanMode, 2);
    EXPECT_EQ(page.list(25).shown(), "5.0");
    EXPECT_EQ(doc.OptFeat.VoxDelay, 9);
    EXPECT_EQ(doc.OptFeat.TotRekey, 0);

    doc.OptFeat.TotTime = 255;
    page.open();
    EXPECT_EQ(page.list(19).shown(), "T16046");
    EXPECT_EQ(doc.OptFeat.TotTime, 0);
}

TEST_F(OptFeatFixture, StoredValuesSurviveOpeningAndChoicesStoreOneField) {
    doc.OptFeat.TotTime = 240;
    doc.OptFeat.VoicePrompt = 2;
    doc.OptFeat.BeepVolume = 4;
    doc.OptFeat.PriorityCh = 77;
    doc.OptFeat.ReservedFlag = 1;
    page.open();
    EXPECT_EQ(page.list(19).shown(), "240");
    EXPECT_EQ(page.list(9).shown(), "T16058");
    EXPECT_EQ(page.list(11).shown(), "5");
    EXPECT_EQ(doc.OptFeat.PriorityCh, 77);
    EXPECT_EQ(doc.OptFeat.ReservedFlag, 1);

    OptFeatRecord before = doc.OptFeat;
    page.choose(9, 0);
    EXPECT_EQ(doc.OptFeat.VoicePrompt, 0);
    page.choose(9, 1);
    EXPECT_EQ(doc.OptFeat.VoicePrompt, 2);
    page.choose(19, 3);
    EXPECT_EQ(doc.OptFeat.TotTime, 45);
    page.choose(31, 2);  // "7"
    EXPECT_EQ(doc.OptFeat.DirectCh1, 7);
    doc.OptFeat.TotTime = before.TotTime;
    doc.OptFeat.DirectCh1 = before.DirectCh1;
    EXPECT_EQ(doc.OptFeat, before);
    // An id without a field changes nothing.
    page.SaveOptFeat(2);
    page.SaveOptFeat(105);
    EXPECT_EQ(doc.OptFeat, before);
}

TEST_F(OptFeatFixture, ChannelListsHoldMemoryChannelsAndStoreNumbers) {
    doc.OptFeat.UhfCurrentCh = 50;  // gone
    doc.OptFeat.FmCurrentCh = 5;
    page.open();
    EXPECT_EQ(page.list(17).entries, (std::vector<std::string>{"1", "3", "7"}));
    EXPECT_EQ(page.list(18).entries, (std::vector<std::string>{"2", "5"}));
    EXPECT_EQ(doc.OptFeat.UhfCurrentCh, 1);
    EXPECT_EQ(page.list(18).shown(), "5");
    EXPECT_EQ(page.list(32).shown(), "7");
}

TEST_F(OptFeatFixture, DisplayModeOneForcesWorkModeButNotOnOpening) {
    doc.OptFeat.ChDisplayMode = 1;
    doc.OptFeat.WorkMode = 0;
    doc.OptFeat.ChLock = 1;
    page.open();
    EXPECT_EQ(doc.OptFeat.WorkMode, 0);
    EXPECT_EQ(page.list(13).selected, 0);
    EXPECT_FALSE(page.list(13).enabled);
    EXPECT_EQ(doc.OptFeat.ChLock, 1);

    page.choose(3, 0);
    EXPECT_TRUE(page.list(13).enabled);
    EXPECT_EQ(doc.OptFeat.WorkMode, 0);
    page.choose(3, 1);
    EXPECT_EQ(doc.OptFeat.WorkMode, 1);
    EXPECT_EQ(page.list(13).selected, 1);
    EXPECT_FALSE(page.list(13).enabled);
    page.choose(3, 2);
    EXPECT_TRUE(page.list(13).enabled);
    EXPECT_EQ(doc.OptFeat.WorkMode, 1);

    // The channel lock is kept only with display mode 1.
    doc.OptFeat.ChDisplayMode = 0;
    doc.OptFeat.ChLock = 1;
    page.open();
    EXPECT_EQ(doc.OptFeat.ChLock, 0);
}

TEST_F(OptFeatFixture, NoChannelsDisablesListsAndKeepsReferences) {
    pagestest::setChannels(doc, {});
    pagestest::setFm(doc, {});
    doc.OptFeat.WorkMode = 1;
    doc.OptFeat.RadioWorkMode = 1;
    page.open();
    EXPECT_TRUE(page.list(17).entries.empty());
    EXPECT_FALSE(page.list(17).enabled);
    EXPECT_FALSE(page.list(13).enabled);
    EXPECT_EQ(doc.OptFeat.WorkMode, 0);
    EXPECT_EQ(doc.OptFeat.RadioWorkMode, 0);
    EXPECT_FALSE(page.list(18).enabled);
    EXPECT_FALSE(page.list(33).enabled);
    EXPECT_EQ(page.list(31).selected, -1);
    EXPECT_EQ(doc.OptFeat.DirectCh1, 3);
    EXPECT_EQ(doc.OptFeat.DirectCh2, 7);
    EXPECT_EQ(doc.OptFeat.UhfCurrentCh, 1);

    // Choosing display mode 0 with no channels does not unlock the work mode.
    page.choose(3, 0);
    EXPECT_FALSE(page.list(13).enabled);

    // One FM channel appears: the FM current-channel list stays disabled.
    pagestest::setFm(doc, {4});
    pagestest::setChannels(doc, {9});
    page.ReshowByCh();
    EXPECT_FALSE(page.list(18).enabled);
    EXPECT_TRUE(page.list(33).enabled);
    EXPECT_EQ(doc.OptFeat.FmCurrentCh, 4);
    EXPECT_TRUE(page.list(17).enabled);
    EXPECT_TRUE(page.list(13).enabled);
    EXPECT_EQ(doc.OptFeat.UhfCurrentCh, 9);
    EXPECT_EQ(doc.OptFeat.DirectCh1, 9);
    pagestest::setFm(doc, {4, 6});
    page.ReshowByCh();
    EXPECT_TRUE(page.list(18).enabled);
}

TEST_F(OptFeatFixture, PowerOnTextBoxes) {
    doc.OptFeat.PowerOnText.set("AB CD");
    page.open();
    const auto& b = page.powerOnBoxes();
    EXPECT_EQ(b[0], "A");
    EXPECT_EQ(b[1], "B");
    EXPECT_EQ(b[2], "");
    EXPECT_EQ(b[3], "C");
    for (int n = 5; n < 12; ++n) EXPECT_EQ(b[n], "") << n;
    EXPECT_EQ(doc.OptFeat.PowerOnText.raw(), "AB CD       ");

    page.setPowerOnBox(2, "x");
    EXPECT_EQ(doc.OptFeat.PowerOnText.raw(), "ABxCD       ");
    page.setPowerOnBox(11, "9");
    EXPECT_EQ(doc.OptFeat.PowerOnText.raw(), "ABxCD      9");
    page.setPowerOnBox(2, "");
    EXPECT_EQ(doc.OptFeat.PowerOnText.raw(), "AB CD      9");

    // A text cut by a NUL shows only what stands before it.
    doc.OptFeat.PowerOnText.set(std::string("HI\0XY", 5));
    page.open();
    EXPECT_EQ(page.powerOnBoxes()[1], "I");
    EXPECT_EQ(page.powerOnBoxes()[3], "");
}

TEST_F(OptFeatFixture, CheckBoxesShowOnlyOneAsChecked) {
    doc.OptFeat.VoxTone = 1;
    doc.OptFeat.InhibitInit = 2;
    doc.OptFeat.VoxEnable = 1;
    doc.OptFeat.AlarmSwitch = 0;
    page.open();
    EXPECT_TRUE(page.check(100));
    EXPECT_FALSE(page.check(106));
    EXPECT_EQ(doc.OptFeat.InhibitInit, 0);
    EXPECT_EQ(doc.OptFeat.VoxEnable, 1);
    page.setCheck(104, true);
    EXPECT_EQ(doc.OptFeat.NoSigTailElim, 1);
    page.setCheck(100, false);
    EXPECT_EQ(doc.OptFeat.VoxTone, 0);
}

TEST(PageKeyFilters, EachBoxAcceptsItsCharacters) {
    EXPECT_EQ(FilterPowerOnKey('-'), 0);
    EXPECT_EQ(FilterPowerOnKey(' '), 0);
    EXPECT_EQ(FilterPowerOnKey('q'), 'q');
    EXPECT_EQ(FilterPowerOnKey('7'), '7');
    EXPECT_EQ(FilterPowerOnKey(8), 8);    // Backspace
    EXPECT_EQ(FilterPowerOnKey(22), 0);   // Ctrl+V
    EXPECT_EQ(FilterPowerOnKey(0xE9), 0);

    std::string typed;
    for (char c : std::string("12ab*#E d")) {
        int k = FilterDtmfCodeKey(static_cast<unsigned char>(c));
        if (k) typed.push_back(static_cast<char>(k));
    }
    EXPECT_EQ(typed, "12AB*#D");

    EXPECT_EQ(FilterFmKey('.'), '.');
    EXPECT_EQ(FilterFmKey('a'), 0);
    EXPECT_EQ(FilterDigitKey('.'), 0);
    EXPECT_EQ(FilterDigitKey(3), 0);       // Ctrl+C
    EXPECT_EQ(FilterAsciiKey('~'), '~');
    EXPECT_EQ(FilterAsciiKey(24), 0);      // Ctrl+X
    EXPECT_EQ(FilterAsciiKey(200), 0);
}

TEST(FillChannelListTest, SortsEveryChannelNumberVfoIncluded) {
    StoredDocument doc;
    pagestest::setChannels(doc, {12, 3, 129});
    Choice c;
    c.entries = {"old"};
    c.selected = 0;
    FillChannelList(c, doc.Channels);
    EXPECT_EQ(c.entries, (std::vector<std::string>{"3", "12", "129"}));
    EXPECT_EQ(c.selected, -1);
    pagestest::setChannels(doc, {});
    FillChannelList(c, doc.Channels);
    EXPECT_TRUE(c.entries.empty());
    // A damaged count never reads past the list.
    doc.Channels.count = 500;
    FillChannelList(c, doc.Channels);
    EXPECT_EQ(c.count(), kMaxChannels);
}
