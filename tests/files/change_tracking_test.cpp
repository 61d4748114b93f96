// Change tracking: which differences between the document and its saved copy
// count as unsaved changes.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "files/change_tracking.h"
#include "shell/session.h"
#include "support/record_fields.h"

using namespace zr;

namespace {

ChannelRecord channel(int number, const char* freq) {
    ChannelRecord c;
    c.ChannelNumber = static_cast<int16_t>(number);
    c.RxFreq.set(freq);
    c.Offset.set("0000000");
    c.ChannelName.set("CH");
    c.IdCode.set("0000000001");
    c.IdCodeLength = 10;
    return c;
}

// A saved document with three channels and some settings; the working copy
// equals it.
Session threeChannels() {
    Session s;
    auto& st = s.doc.stored;
    st.Channels.count = 3;
    st.Channels.entries[0] = channel(129, "46500000");
    st.Channels.entries[1] = channel(1, "46100000");
    st.Channels.entries[2] = channel(7, "46200000");
    st.ModelBand.ModelId.set("ZR614");
    st.ModelBand.BandCode = 1;
    st.OptFeat.PowerOnText.clear();
    for (auto& l : st.EmbMsg.Lines) l.clear();
    s.doc.saved = st;
    return s;
}

}  // namespace

TEST(ChangeTracking, EveryComparedMemberCounts) {
    using Edit = std::function<void(StoredDocument&)>;
    const std::pair<const char*, Edit> edits[] = {
        {"count", [](StoredDocument& d) { d.Channels.count = 2; }},
        {"TxPower", [](StoredDocument& d) { d.Channels.entries[1].TxPower = 2; }},
        {"RxFreq", [](StoredDocument& d) { d.Channels.entries[2].RxFreq.set("46200625"); }},
        {"Offset", [](StoredDocument& d) { d.Channels.entries[2].Offset.set("0500000"); }},
        {"OffsetDir", [](StoredDocument& d) { d.Channels.entries[0].OffsetDir = 1; }},
        {"name", [](StoredDocument& d) { d.Channels.entries[1].ChannelName.set("ABC"); }},
        {"IdCode", [](StoredDocument& d) { d.Channels.entries[1].IdCode.set("123"); }},
        {"RxTone", [](StoredDocument& d) { d.Channels.entries[1].RxTone = 5; }},
        {"TxTone", [](StoredDocument& d) { d.Channels.entries[1].TxTone = 5; }},
        {"ScanSkip", [](StoredDocument& d) { d.Channels.entries[2].ScanSkip = 1; }},
        {"SignalRelation", [](StoredDocument& d) { d.Channels.entries[2].SignalRelation = 1; }},
        {"Reverse", [](StoredDocument& d) { d.Channels.entries[2].Reverse = 1; }},
        {"AutoDialMemory", [](StoredDocument& d) { d.Channels.entries[2].AutoDialMemory = 9; }},
        {"renumbered", [](StoredDocument& d) { d.Channels.entries[2].ChannelNumber = 8; }},
        {"ModelId", [](StoredDocument& d) { d.ModelBand.ModelId.set("ZR615"); }},
        {"BandCode", [](StoredDocument& d) { d.ModelBand.BandCode = 8; }},
        {"EmbMsg", [](StoredDocument& d) { d.EmbMsg.Lines[3].set("HI"); }},
        {"FmIsEmpty", [](StoredDocument& d) { d.FmChannels[19].IsEmpty = 0; }},
        {"FmFreq", [](StoredDocument& d) { d.FmChannels[0].FmFreq.set("09050000"); }},
        {"OptFeat", [](StoredDocument& d) { d.OptFeat.DirectCh2 = 5; }},
        {"OptFeat first", [](StoredDocument& d) { d.OptFeat.FreqStep = 1; }},
        {"AlarmSwitch", [](StoredDocument& d) { d.OptFeat.AlarmSwitch = 1; }},
        {"PowerOnText", [](StoredDocument& d) { d.OptFeat.PowerOnText.set("HELLO"); }},
        {"TestFreq", [](StoredDocument& d) { d.TestFreqs[10].TestFreq2.set("43500000"); }},
        {"DtmfRate", [](StoredDocument& d) { d.Dtmf.DtmfRate = 3; }},
        {"AutoResetTime", [](StoredDocument& d) { d.Dtmf.AutoResetTime = 3; }},
        {"KillCode", [](StoredDocument& d) { d.Dtmf.KillCode.Digits.set("1"); }},
        {"GroupCode length", [](StoredDocument& d) { d.Dtmf.GroupCodes[15].Length = 1; }},
        {"Keys", [](StoredDocument& d) { d.Keys.Key6Short = 3; }},
        {"Scan", [](StoredDocument& d) { d.Scan.WaitTime = 7; }},
        {"Alert", [](StoredDocument& d) { d.Alert.AlertCycles = 1; }},
        {"AlarmMode", [](StoredDocument& d) { d.AlarmMode = 1; }},
    };
    for (const auto& [what, edit] : edits) {
        Session s = threeChannels();
        ASSERT_FALSE(IsModified(s));
        edit(s.doc.stored);
        EXPECT_TRUE(IsModified(s)) << what;
        EXPECT_FALSE(IsUnchanged(s)) << what;
        // Reverting by hand makes it unchanged again.
        s.doc.stored = s.doc.saved;
        EXPECT_FALSE(IsModified(s)) << what;
    }
}

TEST(ChangeTracking, DifferencesThatDoNotCount) {
    Session s = threeChannels();
    auto& d = s.doc.stored;
    d.Channels.entries[1].IsEmpty = 1;
    d.Channels.entries[1].Spare = 99;
    d.Channels.entries[1].IdCodeLength = 3;
    d.OptFeat.ChLock = 1;
    // Entries beyond the count carry no meaning.
    d.Channels.entries[3] = channel(9, "44600000");
    d.Channels.entries[128].TxPower = 2;
    // Cleared texts and blank texts read the same.
    d.Channels.entries[2].ChannelName.clear();
    s.doc.saved.Channels.entries[2].ChannelName.set("");
    d.EmbMsg.Lines[0].set("");
    d.Channels.entries[0].IdCode.set(std::string("0000000001\0", 10));
    d.OptFeat.PowerOnText.set("");
    d.Dtmf.BotCode.Digits.set(std::string("\0xyz", 4));
    d.TestFreqs[3].TestFreq1.set(std::string("\0abc", 4));
    s.doc.saved.TestFreqs[3].TestFreq1.clear();
    // Test data count only in factory test mode.
    d.Channels.count = 3;
    s.doc.testData.bytes[15] = 0xA5;
    EXPECT_FALSE(IsModified(s));
    s.settings.factoryTestMode = true;
    EXPECT_TRUE(IsModified(s));
    s.doc.savedTestData = s.doc.testData;
    EXPECT_FALSE(IsModified(s));
}

TEST(ChangeTracking, TextsComparedAsStoredWhereTheyMustBe) {
    // Frequencies, offsets and the model identifier are compared byte for
    // byte: a trailing NUL is a difference there.
    Session s = threeChannels();
    s.doc.saved.Channels.entries[1].RxFreq.set("4610000");
    s.doc.stored.Channels.entries[1].RxFreq.set(std::string("4610000\0", 8));
    EXPECT_TRUE(IsModified(s));
    s = threeChannels();
    s.doc.saved.Channels.entries[1].Offset.set("000000");
    s.doc.stored.Channels.entries[1].Offset.set(std::string("000000\0", 7));
    EXPECT_TRUE(IsModified(s));
    s = threeChannels();
    s.doc.stored.ModelBand.ModelId.set(std::string("ZR614\0 ", 7));
    EXPECT_TRUE(IsModified(s));
}

TEST(ChangeTracking, ChannelsMatchByNumberInAnyOrder) {
    Session s = threeChannels();
    auto& e = s.doc.stored.Channels.entries;
    std::swap(e[0], e[2]);
    EXPECT_FALSE(IsModified(s));
    std::swap(e[0], e[1]);
    EXPECT_FALSE(IsModified(s));

    // A channel that moved and changed is still found and still differs.
    e[0].TxPower = 1;
    EXPECT_TRUE(IsModified(s));

    // Same count, but one channel replaced by another number.
    s = threeChannels();
    s.doc.stored.Channels.entries[1].ChannelNumber = 50;
    EXPECT_TRUE(IsModified(s));

    // A used entry beyond the count is not looked at when searching.
    s = threeChannels();
    s.doc.stored.Channels.entries[3] = s.doc.stored.Channels.entries[2];
    s.doc.stored.Channels.entries[2] = channel(8, "46200000");
    EXPECT_TRUE(IsModified(s));
}

TEST(ChangeTracking, OutOfRangeCountsStayInsideTheList) {
    // Counts the file reader never produces, set by a faulty edit: the
    // comparison must not read outside the 129 entries.
    Session s = threeChannels();
    s.doc.stored.Channels.count = 30000;
    s.doc.saved.Channels.count = 30000;
    EXPECT_FALSE(IsModified(s));
    s.doc.stored.Channels.count = -4;
    s.doc.saved.Channels.count = -4;
    EXPECT_FALSE(IsModified(s));
    s.doc.saved.Channels.count = 3;
    EXPECT_TRUE(IsModified(s));
}

namespace {

// Runs `edit` on a fresh copy of the saved three-channel document and expects
// the change to count, both with the list in the saved order and with the
// same channels at other positions (found by their number).
void expectCounted(const std::string& what, const std::function<void(StoredDocument&)>& edit) {
    for (bool reordered : {false, true}) {
        Session s = threeChannels();
        if (reordered) {
            auto& e = s.doc.stored.Channels.entries;
            std::rotate(e.begin(), e.begin() + 1, e.begin() + 3);
        }
        ASSERT_FALSE(IsModified(s)) << what;
        edit(s.doc.stored);
        EXPECT_TRUE(IsModified(s)) << what << (reordered ? " (list in another order)" : "");
    }
}

ChannelRecord& channelNumbered(StoredDocument& d, int n) {
    for (int i = 0; i < d.Channels.count; ++i)
        if (d.Channels.entries[i].ChannelNumber == n) return d.Channels.entries[i];
    throw std::logic_error("no channel " + std::to_string(n));
}

}  // namespace

TEST(ChangeTracking, EveryComparedChannelMemberCountsAlone) {
    const std::pair<const char*, int16_t ChannelRecord::*> ints[] = {
        {"RxTone", &ChannelRecord::RxTone},
        {"TxTone", &ChannelRecord::TxTone},
        {"RxStep", &ChannelRecord::RxStep},
        {"OffsetStep", &ChannelRecord::OffsetStep},
        {"Scramble", &ChannelRecord::Scramble},
        {"BusyLock", &ChannelRecord::BusyLock},
        {"ReverseTalkaround", &ChannelRecord::ReverseTalkaround},
        {"TxInhibit", &ChannelRecord::TxInhibit},
        {"Talkaround", &ChannelRecord::Talkaround},
        {"PttId", &ChannelRecord::PttId},
        {"Whisper", &ChannelRecord::Whisper},
        {"Bandwidth", &ChannelRecord::Bandwidth},
        {"OptSignal", &ChannelRecord::OptSignal},
        {"Compander", &ChannelRecord::Compander},
        {"Reverse", &ChannelRecord::Reverse},
        {"TxPower", &ChannelRecord::TxPower},
        {"AutoDialMemory", &ChannelRecord::AutoDialMemory},
        {"ScanSkip", &ChannelRecord::ScanSkip},
        {"SignalRelation", &ChannelRecord::SignalRelation},
    };
    for (const auto& [name, field] : ints)
        expectCounted(name, [field = field](StoredDocument& d) { channelNumbered(d, 7).*field += 1; });
    expectCounted("OffsetDir", [](StoredDocument& d) { channelNumbered(d, 7).OffsetDir = 2; });
    expectCounted("RxFreq", [](StoredDocument& d) { channelNumbered(d, 7).RxFreq.set("46200625"); });
    expectCounted("Offset", [](StoredDocument& d) { channelNumbered(d, 7).Offset.set("0000625"); });
    expectCounted("ChannelName", [](StoredDocument& d) { channelNumbered(d, 7).ChannelName.set("CX"); });
    expectCounted("IdCode", [](StoredDocument& d) { channelNumbered(d, 7).IdCode.set("0000000002"); });
    // Every used entry is compared, the last one and the VFO included.
    expectCounted("VFO TxPower", [](StoredDocument& d) { channelNumbered(d, kVfoChannel).TxPower = 1; });
    expectCounted("first TxPower", [](StoredDocument& d) { channelNumbered(d, 1).TxPower = 1; });
}

TEST(ChangeTracking, EveryComparedSettingsMemberCountsAlone) {
    using Edit = std::function<void(StoredDocument&)>;
    std::vector<std::pair<std::string, Edit>> edits;
    auto add = [&](std::string name, Edit e) { edits.emplace_back(std::move(name), std::move(e)); };

    auto addAll = [&](const std::string& record, const auto& fields, auto member) {
        for (std::size_t k = 0; k < std::size(fields); ++k)
            add(record + " field " + std::to_string(k + 1),
                [member, f = fields[k]](StoredDocument& d) { (d.*member).*f += 1; });
    };
    addAll("OptFeat", zrtest::kOptFeatLeadingFields, &StoredDocument::OptFeat);
    addAll("OptFeat after PowerOnText", std::array{&OptFeatRecord::AlarmSwitch, &OptFeatRecord::DirectCh1, &OptFeatRecord::DirectCh2},
           &StoredDocument::OptFeat);
    add("PowerOnText", [](StoredDocument& d) { d.OptFeat.PowerOnText.set("HI"); });
    addAll("Dtmf", zrtest::kDtmfLeadingFields, &StoredDocument::Dtmf);
    for (int i = 0; i < 20; ++i) {
        add("code entry " + std::to_string(i) + " Length",
            [=](StoredDocument& d) { zrtest::DtmfCodeAt(d.Dtmf, i).Length += 1; });
        add("code entry " + std::to_string(i) + " Digits",
            [=](StoredDocument& d) { zrtest::DtmfCodeAt(d.Dtmf, i).Digits.set("5"); });
    }
    addAll("Keys", zrtest::kKeyFields, &StoredDocument::Keys);
    addAll("Scan", zrtest::kScanFields, &StoredDocument::Scan);
    addAll("Alert", zrtest::kAlertFields, &StoredDocument::Alert);

    add("AlarmMode", [](StoredDocument& d) { d.AlarmMode = 1; });
    add("ModelId", [](StoredDocument& d) { d.ModelBand.ModelId.set("ZR61"); });
    add("BandCode", [](StoredDocument& d) { d.ModelBand.BandCode = 2; });
    for (std::size_t k = 0; k < 4; ++k)
        add("EmbMsg line " + std::to_string(k + 1), [k](StoredDocument& d) { d.EmbMsg.Lines[k].set("X"); });
    for (std::size_t i : {std::size_t{0}, std::size_t{19}}) {
        add("FM IsEmpty " + std::to_string(i), [i](StoredDocument& d) { d.FmChannels[i].IsEmpty = 0; });
        add("FM FmFreq " + std::to_string(i), [i](StoredDocument& d) { d.FmChannels[i].FmFreq.set("08800000"); });
    }
    for (std::size_t i : {std::size_t{0}, std::size_t{10}}) {
        add("TestFreq1 " + std::to_string(i), [i](StoredDocument& d) { d.TestFreqs[i].TestFreq1.set("1"); });
        add("TestFreq2 " + std::to_string(i), [i](StoredDocument& d) { d.TestFreqs[i].TestFreq2.set("1"); });
    }
    for (const auto& [name, edit] : edits) expectCounted(name, edit);
}
