#include <gtest/gtest.h>

#include "channels/channel_ops.h"
#include "data/bands.h"
#include "data/freq_text.h"
#include "data/new_document_defaults.h"
#include "shell/session.h"
#include "support/support.h"

namespace {

// The channels noted as changed since the last call, in number order.
std::vector<int> takeChangedChannels(zr::Session& s) {
    const zr::DocumentChanges c = s.doc.changes.take();
    std::vector<int> out;
    for (int n = 0; n <= zr::kVfoChannel; ++n)
        if (c.hasChannel(n)) out.push_back(n);
    return out;
}

// No prompter: the operations tell nothing themselves.
struct Ops : ::testing::Test {
    zr::Session s;
    void SetUp() override { band("400 - 470 MHz"); }
    void band(const char* text) {
        s.doc.currentBand = text;
        zr::RefreshBandLimits(s.doc);
    }
    zr::ChannelRecord& ch(int n) {
        auto* c = zr::FindChannelRecord(s, n);
        EXPECT_NE(c, nullptr) << "channel " << n;
        static zr::ChannelRecord dummy;
        dummy = {};
        return c ? *c : dummy;
    }
    int count() const { return s.doc.stored.Channels.count; }
};

}  // namespace

TEST_F(Ops, SettingRxOfAnEmptyChannelCreatesIt) {
    zr::SetChannelItem(s, 7, zr::item::kRxFreq, "462.5625");
    ASSERT_EQ(count(), 1);
    const auto& c = ch(7);
    EXPECT_EQ(c.RxFreq.text(), "46256250");
    EXPECT_EQ(c.RxStep, 1);
    EXPECT_EQ(c.Offset.text(), "0000000");
    EXPECT_EQ(c.OffsetDir, 0);
    EXPECT_EQ(c.TxPower, 2);
    EXPECT_EQ(c.Bandwidth, 0);
    EXPECT_EQ(c.IdCode.text(), "000");
    EXPECT_EQ(c.IdCode.raw(), std::string("000\0      ", 10));
    EXPECT_EQ(c.IdCodeLength, 10);
    EXPECT_TRUE(zr::ChannelHasFrequency(s, 7));
    EXPECT_FALSE(zr::ChannelHasFrequency(s, 8));

    // Other items on an empty channel do nothing.
    zr::SetChannelItem(s, 9, zr::item::kTxPower, 1);
    zr::SetChannelItem(s, 9, zr::item::kRxFreq, "");
    EXPECT_EQ(count(), 1);

    // A typed text that is not a number creates nothing.
    zr::SetChannelItem(s, 9, zr::item::kRxFreq, "abc");
    EXPECT_EQ(count(), 1);
}

TEST_F(Ops, NewChannelDefaultsFollowBandAndDtmf) {
    band("446 - 447 MHz");
    s.doc.stored.Dtmf.DtmfSignalling = 1;
    auto p = zr::NewChannel(s, 3, 446.5);
    ASSERT_TRUE(p);
    const auto& c = s.doc.stored.Channels.entries[*p];
    EXPECT_EQ(c.RxFreq.text(), "44650000");
    EXPECT_EQ(c.TxPower, 0);
    EXPECT_EQ(c.Bandwidth, 2);
    EXPECT_EQ(c.IdCodeLength, 3);
    EXPECT_EQ(c.ChannelName.raw(), "      ");

    // The list holds at most 129 records.
    for (int n = 1; n <= 140; ++n) zr::NewChannel(s, n, "446.1");
    EXPECT_EQ(count(), 129);
    EXPECT_FALSE(zr::NewChannel(s, 5, "446.1"));
}

TEST_F(Ops, RxBeyondTheBandIsClampedAndNotedForRxAndTx) {
    using Notes = zr::ChannelNotes;
    EXPECT_EQ(zr::SetChannelItem(s, 1, zr::item::kRxFreq, "465"), Notes{});
    EXPECT_EQ(zr::SetChannelItem(s, 1, zr::item::kTxFreq, "469"), Notes{});  // offset +4
    // The kept TX (469) lies in the band: the RX alone is noted.
    EXPECT_EQ(zr::SetChannelItem(s, 1, zr::item::kRxFreq, "480"), (Notes{true, false}));
    EXPECT_EQ(ch(1).RxFreq.text(), "47000000");
    EXPECT_EQ(zr::ShowTxFreText(LimitsOf(s.doc), ch(1).RxFreq.raw(), ch(1).Offset.raw(), ch(1).OffsetDir, false),
              "469.00000");

    // A typed TX above the band is held at its edge (470 = RX).
    EXPECT_EQ(zr::SetChannelItem(s, 1, zr::item::kTxFreq, "475"), (Notes{true, false}));
    EXPECT_EQ(ch(1).OffsetDir, 0);
    zr::SetChannelItem(s, 2, zr::item::kRxFreq, "410");
    zr::SetChannelItem(s, 2, zr::item::kTxFreq, "469");
    EXPECT_EQ(zr::SetChannelItem(s, 2, zr::item::kRxFreq, "380"), (Notes{true, false}));
    EXPECT_EQ(ch(2).RxFreq.text(), "40000000");
    EXPECT_EQ(ch(2).OffsetDir, 2);
    EXPECT_EQ(ch(2).Offset.text(), "6900000");

    // In the band the RX moves, but the kept offset would carry the TX
    // beyond it: the TX is held at the band's edge and noted on its own.
    s.settings.habits.UseOffset = true;
    zr::SetChannelItem(s, 3, zr::item::kRxFreq, "450");
    zr::SetChannelItem(s, 3, zr::item::kTxFreq, "+10");
    EXPECT_EQ(zr::SetChannelItem(s, 3, zr::item::kRxFreq, "465"), (Notes{false, true}));
    EXPECT_EQ(ch(3).RxFreq.text(), "46500000");
    EXPECT_EQ(zr::ShowTxFreText(LimitsOf(s.doc), ch(3).RxFreq.raw(), ch(3).Offset.raw(), ch(3).OffsetDir, false),
              "470.00000");
    // Both at once: the RX beyond the band and the TX carried beyond it.
    zr::SetChannelItem(s, 3, zr::item::kTxFreq, "-60");
    EXPECT_EQ(zr::SetChannelItem(s, 3, zr::item::kRxFreq, "390"), (Notes{true, true}));
    EXPECT_EQ(ch(3).RxFreq.text(), "40000000");
    EXPECT_EQ(ch(3).OffsetDir, 0);   // the TX held at 400 = RX

    // Items other than the frequencies, and frequencies in the band, note nothing.
    EXPECT_FALSE(zr::SetChannelItem(s, 3, zr::item::kName, "ABC").any());
    EXPECT_FALSE(zr::SetChannelItem(s, 3, zr::item::kTxPower, 1).any());
    EXPECT_FALSE(zr::SetChannelItem(s, 3, zr::item::kRxFreq, "470").any());
}

TEST_F(Ops, ChangingRxKeepsTxOrOffsetByHabit) {
    zr::SetChannelItem(s, 1, zr::item::kRxFreq, "462.5625");
    zr::SetChannelItem(s, 1, zr::item::kTxFreq, "467.5625");
    EXPECT_EQ(ch(1).OffsetDir, 2);
    EXPECT_EQ(ch(1).Offset.text(), "0500000");

    zr::SetChannelItem(s, 1, zr::item::kRxFreq, "463");
    EXPECT_EQ(zr::ShowTxFreText(LimitsOf(s.doc), ch(1).RxFreq.raw(), ch(1).Offset.raw(), ch(1).OffsetDir, false),
              "467.56250");
    EXPECT_EQ(ch(1).Offset.text(), "0456250");

    s.settings.habits.UseOffset = true;
    zr::SetChannelItem(s, 1, zr::item::kRxFreq, "450");
    EXPECT_EQ(ch(1).Offset.text(), "0456250");
    EXPECT_EQ(ch(1).OffsetDir, 2);
    EXPECT_EQ(zr::ShowTxFreText(LimitsOf(s.doc), ch(1).RxFreq.raw(), ch(1).Offset.raw(), ch(1).OffsetDir, false),
              "454.56250");
}

TEST_F(Ops, SignedOffsetIsBoundByTheBand) {
    s.settings.habits.UseOffset = true;
    zr::SetChannelItem(s, 1, zr::item::kRxFreq, "462.5625");
    EXPECT_EQ(zr::SetChannelItem(s, 1, zr::item::kTxFreq, "+80"), (zr::ChannelNotes{true, false}));
    EXPECT_EQ(ch(1).OffsetDir, 2);
    EXPECT_EQ(ch(1).Offset.text(), "0743750");
    EXPECT_EQ(ch(1).OffsetStep, 1);

    zr::SetChannelItem(s, 1, zr::item::kTxFreq, "-0.6");
    EXPECT_EQ(ch(1).OffsetDir, 1);
    EXPECT_EQ(ch(1).Offset.text(), "0060000");
    zr::SetChannelItem(s, 1, zr::item::kTxFreq, "5");
    EXPECT_EQ(ch(1).OffsetDir, 0);
    EXPECT_EQ(ch(1).Offset.text(), "0500000");
}

TEST_F(Ops, ClearingRxDeletesExceptTheLastChannel) {
    zr::SetChannelItem(s, 1, zr::item::kRxFreq, "450");
    zr::SetChannelItem(s, 2, zr::item::kRxFreq, "451");
    zr::SetChannelItem(s, 1, zr::item::kRxFreq, "");
    EXPECT_EQ(count(), 1);
    EXPECT_FALSE(zr::FindChannel(s, 1));
    zr::SetChannelItem(s, 2, zr::item::kRxFreq, "");
    EXPECT_EQ(count(), 1);
    EXPECT_TRUE(zr::FindChannel(s, 2));
}

TEST_F(Ops, ToneBusyLockAndMemoryOnlyItems) {
    zr::SetChannelItem(s, 1, zr::item::kRxFreq, "450");
    zr::SetChannelItem(s, 129, zr::item::kRxFreq, "450");
    zr::SetChannelItem(s, 1, zr::item::kRxTone, 12);
    EXPECT_EQ(ch(1).RxTone, 12);
    EXPECT_EQ(ch(1).TxTone, 12);
    zr::SetChannelItem(s, 1, zr::item::kBusyLock, 2);
    EXPECT_EQ(zr::BusyLockChoiceCount(s, 1), 3);
    zr::SetChannelItem(s, 1, zr::item::kRxTone, 0);
    EXPECT_EQ(ch(1).TxTone, 12);
    EXPECT_EQ(ch(1).BusyLock, 1);
    zr::SetChannelItem(s, 1, zr::item::kRxTone, 2000);  // not a tone value
    EXPECT_EQ(ch(1).RxTone, 0);

    zr::SetChannelItem(s, 1, zr::item::kTxTone, 0);
    zr::SetChannelItem(s, 1, zr::item::kTxTone, 70);
    EXPECT_EQ(ch(1).RxTone, 70);
    zr::SetChannelItem(s, 1, zr::item::kBusyLock, 2);
    zr::SetChannelItem(s, 1, zr::item::kRxTone, 0);
    zr::SetChannelItem(s, 1, zr::item::kBusyLock, 2);
    zr::SetChannelItem(s, 1, zr::item::kOptSignal, 1);
    EXPECT_EQ(ch(1).BusyLock, 1);
    ch(1).BusyLock = 2;
    ch(1).Reverse = 1;  // the reference tone is then the TX tone (70)
    EXPECT_EQ(zr::BusyLockChoiceCount(s, 1), 3);
    ch(1).Reverse = 0;
    EXPECT_EQ(zr::BusyLockChoiceCount(s, 1), 2);
    EXPECT_EQ(ch(1).BusyLock, 1);

    zr::SetChannelItem(s, 129, zr::item::kName, "VFONAME");
    EXPECT_EQ(ch(129).ChannelName.text(), "");
    zr::SetChannelItem(s, 1, zr::item::kName, "ABCDEFGH");
    EXPECT_EQ(ch(1).ChannelName.raw(), "ABCDEF");
    zr::SetChannelItem(s, 1, zr::item::kName, "AB");
    EXPECT_EQ(ch(1).ChannelName.raw(), "AB    ");
    zr::SetChannelItem(s, 129, zr::item::kScanSkip, 1);
    EXPECT_EQ(ch(129).ScanSkip, 0);
    zr::SetChannelItem(s, 1, zr::item::kIdCode, std::string("12345\0zz", 8));
    EXPECT_EQ(ch(1).IdCode.raw(), "12345     ");

    const std::pair<int, int16_t zr::ChannelRecord::*> plain[] = {
        {6, &zr::ChannelRecord::TxPower},      {9, &zr::ChannelRecord::Bandwidth},
        {10, &zr::ChannelRecord::PttId},       {12, &zr::ChannelRecord::ReverseTalkaround},
        {13, &zr::ChannelRecord::AutoDialMemory}, {14, &zr::ChannelRecord::Scramble},
        {15, &zr::ChannelRecord::TxInhibit},   {16, &zr::ChannelRecord::Talkaround},
        {17, &zr::ChannelRecord::Reverse},     {18, &zr::ChannelRecord::Whisper},
        {19, &zr::ChannelRecord::Compander},   {21, &zr::ChannelRecord::SignalRelation}};
    for (auto [item, field] : plain) {
        zr::SetChannelItem(s, 1, item, std::string("3"));
        EXPECT_EQ(ch(1).*field, 3) << "item " << item;
    }
}

TEST_F(Ops, EveryCallNotesTheChannelItChangedAndNothingElse) {
    s.doc.changes.take();
    zr::SetChannelItem(s, 4, zr::item::kTxPower, 1);  // empty channel: still noted for a redraw
    EXPECT_EQ(takeChangedChannels(s), std::vector<int>{4});
    zr::SetChannelItem(s, 4, zr::item::kRxFreq, "450");   // created
    zr::SetChannelItem(s, 7, zr::item::kRxFreq, "451");
    zr::SetChannelItem(s, 4, zr::item::kName, "A");
    const zr::DocumentChanges c = s.doc.changes.take();
    EXPECT_TRUE(c.hasChannel(4));
    EXPECT_TRUE(c.hasChannel(7));
    EXPECT_FALSE(c.hasChannel(5));
    EXPECT_FALSE(c.hasAllChannels());
    EXPECT_FALSE(c.isReplaced());
    // A created channel may be offered by the optional features' lists.
    EXPECT_TRUE(c.hasSettings(zr::SettingsRecord::OptFeat));
    // Taken notes are gone.
    EXPECT_TRUE(s.doc.changes.empty());
    zr::SetChannelItem(s, 4, zr::item::kRxFreq, "");   // cleared: deleted
    EXPECT_EQ(takeChangedChannels(s), std::vector<int>{4});
}

TEST_F(Ops, RemovalsCloseTheGapWithoutRenumbering) {
    for (int n : {5, 3, 9, 1}) zr::NewChannel(s, n, "450");
    zr::RemoveChannel(s, 3);
    ASSERT_EQ(count(), 3);
    EXPECT_EQ(s.doc.stored.Channels.entries[0].ChannelNumber, 5);
    EXPECT_EQ(s.doc.stored.Channels.entries[1].ChannelNumber, 9);
    EXPECT_EQ(s.doc.stored.Channels.entries[2].ChannelNumber, 1);
    zr::RemoveChannel(s, 77);
    zr::RemoveChannelAt(s, 7);
    zr::RemoveChannelAt(s, -1);
    EXPECT_EQ(count(), 3);

    // DeleteChannelAt re-checks the references, RemoveChannelAt does not.
    s.doc.stored.OptFeat.UhfCurrentCh = 1;
    zr::RemoveChannelAt(s, 2);
    EXPECT_EQ(s.doc.stored.OptFeat.UhfCurrentCh, 1);
    zr::NewChannel(s, 1, "450");
    s.doc.stored.OptFeat.UhfCurrentCh = 5;
    zr::DeleteChannelAt(s, 0);
    EXPECT_EQ(s.doc.stored.OptFeat.UhfCurrentCh, 1);  // last element of the list
}

TEST_F(Ops, ClosedPageRevalidation) {
    auto& o = s.doc.stored.OptFeat;
    auto& fm = s.doc.stored.FmChannels;
    zr::NewChannel(s, 2, "450");
    zr::NewChannel(s, 129, "450");
    o.PriorityCh = 2;
    o.UhfCurrentCh = 2;
    o.DirectCh1 = 7;
    o.DirectCh2 = 129;
    o.FmCurrentCh = 3;
    o.RadioWorkMode = 1;
    o.WorkMode = 1;
    fm[4].IsEmpty = 0;
    fm[9].IsEmpty = 0;
    zr::RevalidateChannelRefs(s);
    EXPECT_EQ(o.PriorityCh, 2);
    EXPECT_EQ(o.UhfCurrentCh, 2);
    // The VFO, last in the list, is no memory channel: the references go to
    // the last memory channel of the list.
    EXPECT_EQ(o.DirectCh1, 2);
    EXPECT_EQ(o.DirectCh2, 2);
    EXPECT_EQ(o.FmCurrentCh, 5);
    zr::NewChannel(s, 6, "450");
    zr::NewChannel(s, 4, "450");   // the last memory channel in list order
    o.UhfCurrentCh = 129;
    zr::RemoveChannel(s, 2);
    zr::RevalidateChannelRefs(s);
    EXPECT_EQ(o.UhfCurrentCh, 4);
    EXPECT_EQ(o.DirectCh1, 4);
    zr::RemoveChannel(s, 6);
    zr::RemoveChannel(s, 4);
    zr::NewChannel(s, 2, "450");

    ch(2).ScanSkip = 1;
    o.FmCurrentCh = 25;  // outside the 20 presets: not in use
    zr::RevalidateChannelRefs(s);
    EXPECT_EQ(o.PriorityCh, 0);
    EXPECT_EQ(o.FmCurrentCh, 5);
    o.PriorityCh = 129;  // the VFO is no memory channel
    o.FmCurrentCh = -3;
    fm[4].IsEmpty = 1;
    fm[9].IsEmpty = 1;
    zr::RevalidateChannelRefs(s);
    EXPECT_EQ(o.PriorityCh, 0);
    EXPECT_EQ(o.FmCurrentCh, -3);
    EXPECT_EQ(o.RadioWorkMode, 0);

    // Only the VFO left: no memory channel, as for an empty list.
    zr::RemoveChannel(s, 2);
    o.WorkMode = 1;
    o.UhfCurrentCh = 4;
    o.DirectCh1 = 129;
    zr::RevalidateChannelRefs(s);
    EXPECT_EQ(o.WorkMode, 0);
    EXPECT_EQ(o.UhfCurrentCh, 4);
    EXPECT_EQ(o.DirectCh1, 0);
    EXPECT_EQ(o.DirectCh2, 0);

    s.doc.stored.Channels.count = 0;
    o.UhfCurrentCh = 4;
    zr::RevalidateChannelRefs(s);
    EXPECT_EQ(o.WorkMode, 0);
    EXPECT_EQ(o.UhfCurrentCh, 4);
    EXPECT_EQ(o.DirectCh1, 0);
    EXPECT_EQ(o.DirectCh2, 0);
}

TEST_F(Ops, RevalidationCorrectsTheReferencesAndNotesTheRecord) {
    auto run = [](bool pageOpen) {
        zrtest::ScriptedPrompter p;
        zr::Session x;
        x.prompter = &p;
        x.doc.currentBand = "400 - 470 MHz";
        zr::RefreshBandLimits(x.doc);
        for (int n : {1, 2, 3}) zr::NewChannel(x, n, "450");
        zr::NewChannel(x, zr::kVfoChannel, "450");
        auto& o = x.doc.stored.OptFeat;
        o.UhfCurrentCh = o.DirectCh1 = o.DirectCh2 = 3;
        // Notes left from before do not change what the rule does.
        if (pageOpen) x.doc.changes.settings(zr::SettingsRecord::OptFeat);
        else x.doc.changes.take();
        zr::DeleteChannelAt(x, *zr::FindChannel(x, 3));
        EXPECT_TRUE(x.doc.changes.hasSettings(zr::SettingsRecord::OptFeat));
        return std::array<int, 3>{o.UhfCurrentCh, o.DirectCh1, o.DirectCh2};
    };
    EXPECT_EQ(run(false), (std::array<int, 3>{2, 2, 2}));
    EXPECT_EQ(run(true), (std::array<int, 3>{2, 2, 2}));
}

TEST_F(Ops, DamagedCountNeverIndexesOutside) {
    s.doc.stored.Channels.count = 500;
    EXPECT_FALSE(zr::FindChannel(s, 300));
    EXPECT_FALSE(zr::NewChannel(s, 1, "450"));
    s.doc.stored.Channels.count = -4;
    EXPECT_FALSE(zr::FindChannel(s, 0));
    EXPECT_TRUE(zr::NewChannel(s, 1, "450"));
    EXPECT_EQ(count(), 1);
}

TEST(HoldTxInBand, MovesOnlyATxOutsideTheGivenBand) {
    zr::ChannelRecord c;
    c.RxFreq.set("17000000");
    c.Offset.set("0600000");
    c.OffsetDir = 2;   // TX 176 MHz
    const zr::BandLimits vhf{136.0, 174.0};
    EXPECT_TRUE(zr::HoldTxInBand(vhf, c));
    EXPECT_EQ(c.RxFreq.text(), "17000000");   // the RX stays
    EXPECT_EQ(c.OffsetDir, 2);
    EXPECT_EQ(c.Offset.text(), "0400000");    // TX 174 MHz, the band's edge
    EXPECT_FALSE(zr::HoldTxInBand(vhf, c));
    c.OffsetDir = 1;   // TX 166 MHz
    EXPECT_FALSE(zr::HoldTxInBand(vhf, c));
    EXPECT_EQ(c.Offset.text(), "0400000");
}
