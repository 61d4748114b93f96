// Renumbering the channels (sort, compact, moving a block) with the settings
// that name channels following them, and the channel plans of the services.

#include <gtest/gtest.h>

#include "channels/channel_ops.h"
#include "channels/channel_order.h"
#include "channels/channel_plans.h"
#include "data/bands.h"
#include "data/freq_text.h"
#include "shell/session.h"
#include "support/channel_lookup.h"
#include "support/support.h"

using namespace zr;

namespace {

struct Doc : ::testing::Test {
    zrtest::ScriptedPrompter prompter;
    Session s;
    void SetUp() override {
        s.prompter = &prompter;
        band("400 - 470 MHz");
    }
    void TearDown() override {
        EXPECT_TRUE(prompter.asked.empty()) << "unexpected question: " << prompter.texts().front();
    }
    void band(const char* text) {
        s.doc.currentBand = text;
        RefreshBandLimits(s.doc);
    }
    // A channel with a name and a mark in a field no rule touches, so the
    // tests can tell which record went where.
    void add(int n, const char* rx, const char* name = "") {
        SetChannelItem(s, n, item::kRxFreq, rx);
        SetChannelItem(s, n, item::kName, name);
        SetChannelItem(s, n, item::kAutoDialMemory, n);
    }
    // The channel number that now holds the record first made as channel n.
    int whereIs(int original) const {
        const ChannelList& l = s.doc.stored.Channels;
        for (int i = 0; i < l.count; ++i)
            if (l.entries[i].AutoDialMemory == original) return l.entries[i].ChannelNumber;
        return 0;
    }
    // Whether many channels were noted as changed at once since the test
    // began (or since the last call).
    bool manyNoted() { return s.doc.changes.take().hasAllChannels(); }
    const ChannelRecord& ch(int n) const { return zrtest::channelOrBlank(s, n); }
    std::string tx(int n) {
        const ChannelRecord& c = ch(n);
        return ShowTxFreText(LimitsOf(s.doc), c.RxFreq.raw(), c.Offset.raw(), c.OffsetDir, false);
    }
};

}  // namespace

TEST_F(Doc, SortByRxMovesChannelsAndEveryReferenceFollows) {
    add(5, "462.6", "FIVE");
    add(9, "446.1", "NINE");
    add(20, "462.55", "TWENTY");
    add(31, "462.6", "SAME");   // equal RX: keeps its place after channel 5
    SetChannelItem(s, kVfoChannel, item::kRxFreq, "401.0");
    OptFeatRecord& o = s.doc.stored.OptFeat;
    o.UhfCurrentCh = 20;
    o.DirectCh1 = 5;
    o.DirectCh2 = 31;
    o.PriorityCh = 9;
    s.doc.stored.Scan.PriorityCh1 = 20;
    s.doc.stored.Scan.PriorityCh2 = 9;
    s.doc.stored.Alert.EmgChannel = 5;
    const ChannelRecord vfo = ch(kVfoChannel);
    const ChannelRecord five = ch(5);

    EXPECT_TRUE(ReorderChannels(s, ChannelOrder::RxFrequency));

    EXPECT_EQ(whereIs(9), 1);
    EXPECT_EQ(whereIs(20), 2);
    EXPECT_EQ(whereIs(5), 3);
    EXPECT_EQ(whereIs(31), 4);
    EXPECT_EQ(o.UhfCurrentCh, 2);
    EXPECT_EQ(o.DirectCh1, 3);
    EXPECT_EQ(o.DirectCh2, 4);
    EXPECT_EQ(o.PriorityCh, 1);
    EXPECT_EQ(s.doc.stored.Scan.PriorityCh1, 2);
    EXPECT_EQ(s.doc.stored.Scan.PriorityCh2, 1);
    EXPECT_EQ(s.doc.stored.Alert.EmgChannel, 3);
    // Whole records move; only their number changes. The VFO stays.
    ChannelRecord moved = five;
    moved.ChannelNumber = 3;
    EXPECT_EQ(ch(3), moved);
    EXPECT_EQ(ch(kVfoChannel), vfo);
    EXPECT_EQ(s.doc.stored.Channels.count, 5);
    // The list is in channel order afterwards.
    for (int i = 1; i < s.doc.stored.Channels.count; ++i)
        EXPECT_LT(s.doc.stored.Channels.entries[i - 1].ChannelNumber, s.doc.stored.Channels.entries[i].ChannelNumber);
    EXPECT_TRUE(manyNoted());

    // Sorted and compact already: nothing changes, the document stays equal.
    const StoredDocument sorted = s.doc.stored;
    EXPECT_FALSE(ReorderChannels(s, ChannelOrder::RxFrequency));
    EXPECT_FALSE(ReorderChannels(s, ChannelOrder::Compact));
    EXPECT_EQ(s.doc.stored, sorted);
}

TEST_F(Doc, SortByNamePutsUnnamedChannelsLastAndCompactKeepsTheOrder) {
    add(2, "462.6", "ZULU");
    add(4, "462.55");
    add(6, "446.1", "ALPHA");
    add(8, "440.0");
    add(10, "450.0", "MIKE");
    s.doc.stored.OptFeat.UhfCurrentCh = 8;

    EXPECT_TRUE(ReorderChannels(s, ChannelOrder::Name));
    EXPECT_EQ(whereIs(6), 1);
    EXPECT_EQ(whereIs(10), 2);
    EXPECT_EQ(whereIs(2), 3);
    EXPECT_EQ(whereIs(8), 4);   // unnamed channels by RX: 440 before 462.55
    EXPECT_EQ(whereIs(4), 5);
    EXPECT_EQ(s.doc.stored.OptFeat.UhfCurrentCh, 4);

    s.doc = RadioDocument{};
    band("400 - 470 MHz");
    add(3, "446.1", "C");
    add(70, "440.0", "A");
    add(128, "462.5", "B");
    s.doc.stored.OptFeat.DirectCh1 = 128;
    EXPECT_TRUE(ReorderChannels(s, ChannelOrder::Compact));
    EXPECT_EQ(whereIs(3), 1);
    EXPECT_EQ(whereIs(70), 2);
    EXPECT_EQ(whereIs(128), 3);
    EXPECT_EQ(s.doc.stored.OptFeat.DirectCh1, 3);
}

TEST_F(Doc, MovingABlockClosesUpAndReferencesFollow) {
    for (int n = 1; n <= 6; ++n) add(n, "462.55");
    s.doc.stored.OptFeat.UhfCurrentCh = 2;
    s.doc.stored.OptFeat.DirectCh1 = 4;

    EXPECT_EQ(MoveChannelsBefore(s, {3, 2}, 6), (std::vector<int>{4, 5}));
    // 1 4 5 2 3 6
    EXPECT_EQ(whereIs(1), 1);
    EXPECT_EQ(whereIs(4), 2);
    EXPECT_EQ(whereIs(5), 3);
    EXPECT_EQ(whereIs(2), 4);
    EXPECT_EQ(whereIs(3), 5);
    EXPECT_EQ(whereIs(6), 6);
    EXPECT_EQ(s.doc.stored.OptFeat.UhfCurrentCh, 4);
    EXPECT_EQ(s.doc.stored.OptFeat.DirectCh1, 2);

    // To the top, and behind the last memory channel (rows in between are
    // empty and close up too).
    EXPECT_EQ(MoveChannelsBefore(s, {6}, 1), (std::vector<int>{1}));
    EXPECT_EQ(whereIs(6), 1);
    EXPECT_EQ(whereIs(1), 2);
    EXPECT_EQ(MoveChannelsBefore(s, {1}, kMemoryChannels + 1), (std::vector<int>{kMemoryChannels}));
    EXPECT_EQ(whereIs(6), kMemoryChannels);

    // Dropping a block onto itself, the VFO or nowhere changes nothing.
    const StoredDocument before = s.doc.stored;
    EXPECT_TRUE(MoveChannelsBefore(s, {2, 3}, 3).empty());
    EXPECT_TRUE(MoveChannelsBefore(s, {kVfoChannel}, 1).empty());
    EXPECT_TRUE(MoveChannelsBefore(s, {2}, 0).empty());
    EXPECT_EQ(s.doc.stored, before);
}

TEST_F(Doc, PlansAreOfferedWhenTheBandHoldsThem) {
    const auto names = [&] {
        std::vector<std::string> out;
        for (const ChannelPlan* p : PlansForBand(s)) out.push_back(p->name);
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(names(), (V{"PMR446", "FRS", "GMRS"}));
    band("446 - 447 MHz");
    EXPECT_EQ(names(), (V{"PMR446"}));
    band("460 - 470 MHz");
    EXPECT_EQ(names(), (V{"FRS", "GMRS"}));
    band("450 - 520 MHz");
    EXPECT_EQ(names(), (V{"FRS", "GMRS"}));
    band("136 - 174 MHz");
    EXPECT_EQ(names(), V{});

    const auto& plans = ChannelPlans();
    ASSERT_EQ(plans.size(), 3u);
    ASSERT_EQ(plans[0].channels.size(), 16u);
    EXPECT_EQ(plans[0].channels.front().rx, 44600625);
    EXPECT_EQ(plans[0].channels.back().rx, 44619375);
    EXPECT_EQ(plans[1].channels.size(), 22u);
    ASSERT_EQ(plans[2].channels.size(), 30u);
}

TEST_F(Doc, PmrPlanFillsTheFirstFreeChannelsWithTheirNames) {
    band("446 - 447 MHz");
    add(1, "446.5", "MINE");
    add(3, "446.6");
    const ChannelRecord mine = ch(1);
    s.settings.habits.UseOffset = true;

    const PlanFill f = FillFromPlan(s, ChannelPlans()[0]);

    ASSERT_EQ(f.channels.size(), 16u);
    EXPECT_EQ(f.channels.front(), 2);
    EXPECT_EQ(f.channels[1], 4);
    EXPECT_EQ(f.channels.back(), 18);
    EXPECT_EQ(ch(1), mine);
    EXPECT_EQ(ch(2).ChannelName.text(), "PMR01");
    EXPECT_EQ(ch(2).RxFreq.text(), "44600625");
    EXPECT_EQ(ch(18).ChannelName.text(), "PMR16");
    EXPECT_EQ(ch(18).RxFreq.text(), "44619375");
    EXPECT_EQ(tx(18), "446.19375");
    EXPECT_EQ(ch(18).Bandwidth, 0);
    EXPECT_EQ(ch(18).TxPower, 0);
    EXPECT_EQ(ch(18).RxStep, 1);
    EXPECT_TRUE(s.settings.habits.UseOffset);   // the user's habit is given back
    EXPECT_TRUE(manyNoted());
}

TEST_F(Doc, GmrsPlanHasRepeaterPairsAndGoesIntoChosenChannels) {
    band("460 - 470 MHz");
    const ChannelPlan& gmrs = ChannelPlans()[2];
    PlanFill f = FillFromPlan(s, gmrs);
    ASSERT_EQ(f.channels.size(), 30u);
    EXPECT_EQ(ch(8).ChannelName.text(), "GMRS08");
    EXPECT_EQ(ch(8).RxFreq.text(), "46756250");
    EXPECT_EQ(ch(8).Bandwidth, 0);   // interstitial channels are narrow and low power
    EXPECT_EQ(ch(8).TxPower, 0);
    EXPECT_EQ(ch(15).ChannelName.text(), "GMRS15");
    EXPECT_EQ(ch(15).RxFreq.text(), "46255000");
    EXPECT_EQ(ch(15).Bandwidth, 1);
    EXPECT_EQ(ch(23).ChannelName.text(), "RPT15");
    EXPECT_EQ(ch(23).RxFreq.text(), "46255000");
    EXPECT_EQ(tx(23), "467.55000");
    EXPECT_EQ(ch(23).OffsetDir, 2);
    EXPECT_EQ(ch(23).Offset.text(), "0500000");
    EXPECT_EQ(tx(30), "467.72500");

    // Into chosen channels: only as many as chosen; an existing channel
    // keeps what the plan does not set.
    SetChannelItem(s, 50, item::kRxFreq, "465.0");
    SetChannelItem(s, 50, item::kRxTone, 12);
    f = FillFromPlan(s, ChannelPlans()[1], {50, 52, 0, 129});
    EXPECT_EQ(f.channels, (std::vector<int>{50, 52}));
    EXPECT_EQ(ch(50).ChannelName.text(), "FRS01");
    EXPECT_EQ(ch(50).RxFreq.text(), "46256250");
    EXPECT_EQ(tx(50), "462.56250");
    EXPECT_EQ(ch(50).RxTone, 12);
    EXPECT_EQ(ch(52).ChannelName.text(), "FRS02");
    EXPECT_EQ(FindChannelRecord(s, 129), nullptr);

    // A plan the band does not hold changes nothing.
    const StoredDocument before = s.doc.stored;
    EXPECT_TRUE(FillFromPlan(s, ChannelPlans()[0]).channels.empty());
    EXPECT_EQ(s.doc.stored, before);
}

TEST_F(Doc, PlanStopsWhenTheChannelsRunOut) {
    band("400 - 470 MHz");
    for (int n = 1; n <= 120; ++n) add(n, "440.0");
    const PlanFill f = FillFromPlan(s, ChannelPlans()[0]);
    ASSERT_EQ(f.channels.size(), 8u);
    EXPECT_EQ(f.channels.front(), 121);
    EXPECT_EQ(ch(128).ChannelName.text(), "PMR08");
    EXPECT_EQ(s.doc.stored.Channels.count, 128);
}
