#include <gtest/gtest.h>

#include <filesystem>

#include "channels/channel_commands.h"
#include "channels/channel_ops.h"
#include "shell/language.h"
#include "support/channel_lookup.h"
#include "support/support.h"

using namespace zr;

namespace {

ChannelRecord channel(int n, const char* rx = "46256250") {
    ChannelRecord c;
    c.ChannelNumber = static_cast<int16_t>(n);
    c.RxFreq.set(rx);
    c.Offset.set("0000000");
    c.IdCode.set("000");
    c.IdCodeLength = 10;
    return c;
}

void add(Session& s, const ChannelRecord& c) {
    auto& l = s.doc.stored.Channels;
    l.entries[l.count++] = c;
}

const ChannelRecord* find(const Session& s, int n) {
    const auto& l = s.doc.stored.Channels;
    for (int i = 0; i < l.count; ++i)
        if (l.entries[i].ChannelNumber == n) return &l.entries[i];
    return nullptr;
}

const ChannelRecord& ch(const Session& s, int n) { return zrtest::channelOrBlank(s, n); }

struct FakeHost : ChannelCommandHost {
    std::vector<ConfirmAnswer> answers;
    std::vector<ConfirmMode> asked;
    std::vector<bool> allowLosingLast;   // answers to the insert question, in order
    int losingLastAsked = 0;
    ConfirmAnswer confirm(ConfirmMode mode) override {
        asked.push_back(mode);
        if (answers.empty()) return {};
        ConfirmAnswer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    bool allowLosingLastChannel() override {
        ++losingLastAsked;
        if (allowLosingLast.empty()) {
            ADD_FAILURE() << "unexpected question before an insert";
            return false;
        }
        const bool a = allowLosingLast.front();
        allowLosingLast.erase(allowLosingLast.begin());
        return a;
    }
};

struct CommandsTest : ::testing::Test {
    zrtest::TempDir dir;
    zrtest::ScriptedPrompter prompter;
    Session s;
    FakeHost host;
    void SetUp() override {
        s.paths.programFolder = dir.str();
        s.prompter = &prompter;
    }
};

}  // namespace

TEST_F(CommandsTest, InsertWithAFullListDropsChannel128AndKeepsTheVfo) {
    for (int n = 1; n <= 128; ++n) {
        ChannelRecord c = channel(n);
        c.RxTone = static_cast<int16_t>(n);  // marks the record
        add(s, c);
    }
    add(s, channel(kVfoChannel, "46000000"));
    host.allowLosingLast = {true};   // channel 128 will be lost
    InsertChannel(s, host, 10);
    EXPECT_EQ(s.doc.stored.Channels.count, 128);
    EXPECT_EQ(find(s, 10), nullptr);
    ASSERT_NE(find(s, 11), nullptr);
    EXPECT_EQ(ch(s, 11).RxTone, 10);
    EXPECT_EQ(ch(s, 128).RxTone, 127);
    EXPECT_EQ(ch(s, 9).RxTone, 9);
    ASSERT_NE(find(s, kVfoChannel), nullptr);
    EXPECT_EQ(ch(s, kVfoChannel).RxFreq.text(), "46000000");
    // Every channel is noted as changed at once.
    EXPECT_TRUE(s.doc.changes.take().hasAllChannels());
}

TEST_F(CommandsTest, InsertExaminesTheRecordMovingIntoARemovedPlace) {
    add(s, channel(128));
    add(s, channel(3));
    host.allowLosingLast = {true};   // channel 128 will be lost
    InsertChannel(s, host, 3);
    EXPECT_EQ(s.doc.stored.Channels.count, 1);
    EXPECT_EQ(find(s, 3), nullptr);
    EXPECT_NE(find(s, 4), nullptr);
    EXPECT_EQ(find(s, 128), nullptr);
}

TEST_F(CommandsTest, MovesWrapAndSwapWithEmptyChannels) {
    ChannelRecord one = channel(1);
    one.RxTone = 1;
    ChannelRecord last = channel(128);
    last.RxTone = 128;
    add(s, one);
    add(s, last);
    EXPECT_EQ(MoveChannelUp(s, 1), 128);
    EXPECT_EQ(ch(s, 128).RxTone, 1);
    EXPECT_EQ(ch(s, 1).RxTone, 128);
    const DocumentChanges moved = s.doc.changes.take();
    EXPECT_TRUE(moved.hasChannel(1));
    EXPECT_TRUE(moved.hasChannel(128));
    EXPECT_FALSE(moved.hasChannel(2));
    EXPECT_EQ(MoveChannelDown(s, 128), 1);
    EXPECT_EQ(ch(s, 1).RxTone, 1);

    add(s, channel(5));
    EXPECT_EQ(MoveChannelDown(s, 5), 6);
    EXPECT_EQ(find(s, 5), nullptr);
    EXPECT_NE(find(s, 6), nullptr);
    // The VFO row never moves.
    EXPECT_EQ(MoveChannelUp(s, kVfoChannel), kVfoChannel);
}

TEST_F(CommandsTest, PasteOverwritesOrInsertsAsTheHabitsSay) {
    ChannelRecord src = channel(2, "46255000");
    add(s, src);
    add(s, channel(7, "46700000"));
    add(s, channel(8, "46800000"));
    CopyChannel(s, 2);
    ASSERT_TRUE(s.clipboard.hasChannel);

    // VFO row: nothing happens, no question.
    PasteChannel(s, host, kVfoChannel);
    EXPECT_TRUE(host.asked.empty());
    EXPECT_EQ(find(s, kVfoChannel), nullptr);

    // No question, overwrite.
    s.settings.habits.PasteNoAsk = true;
    s.settings.habits.PasteInsert = false;
    PasteChannel(s, host, 7);
    EXPECT_TRUE(host.asked.empty());
    EXPECT_EQ(ch(s, 7).RxFreq.text(), "46255000");
    EXPECT_EQ(ch(s, 7).ChannelNumber, 7);
    EXPECT_EQ(ch(s, 8).RxFreq.text(), "46800000");

    // Asked: Yes with "do not ask again" inserts and takes the answer into
    // the habits; keeping them in Habit.ini is the caller's work.
    s.settings.habits.PasteNoAsk = false;
    host.answers = {ConfirmAnswer{true, true, true}};
    const std::vector<unsigned char> habitFile = zrtest::readBytes(HabitFilePath(s));
    PasteChannel(s, host, 8);
    EXPECT_EQ(host.asked.size(), 1u);
    EXPECT_TRUE(s.settings.habits.PasteInsert);
    EXPECT_TRUE(s.settings.habits.PasteNoAsk);
    EXPECT_EQ(ch(s, 8).RxFreq.text(), "46255000");
    EXPECT_EQ(ch(s, 9).RxFreq.text(), "46800000");
    EXPECT_EQ(zrtest::readBytes(HabitFilePath(s)), habitFile);

    // Pasting onto an empty channel appends a copy with the new number.
    s.settings.habits.PasteInsert = false;
    PasteChannel(s, host, 50);
    ASSERT_NE(find(s, 50), nullptr);
    EXPECT_EQ(ch(s, 50).RxFreq.text(), "46255000");
}

TEST_F(CommandsTest, InsertAndPasteAskBeforeChannel128IsLost) {
    add(s, channel(5, "46255000"));
    add(s, channel(128, "46700000"));
    add(s, channel(3, "46300000"));
    CopyChannel(s, 3);

    // Not allowed: nothing moves, nothing is lost.
    host.allowLosingLast = {false};
    EXPECT_FALSE(InsertChannel(s, host, 5));
    EXPECT_EQ(host.losingLastAsked, 1);
    EXPECT_EQ(ch(s, 5).RxFreq.text(), "46255000");
    EXPECT_NE(find(s, 128), nullptr);
    EXPECT_EQ(find(s, 6), nullptr);

    // A paste that inserts is cancelled with it: channel 5 is not overwritten.
    s.settings.habits.PasteNoAsk = true;
    s.settings.habits.PasteInsert = true;
    host.allowLosingLast = {false};
    PasteChannel(s, host, 5);
    EXPECT_EQ(host.losingLastAsked, 2);
    EXPECT_EQ(ch(s, 5).RxFreq.text(), "46255000");
    EXPECT_NE(find(s, 128), nullptr);

    // Allowed: channel 128 goes, the rest moves down.
    host.allowLosingLast = {true};
    PasteChannel(s, host, 5);
    EXPECT_EQ(find(s, 128), nullptr);
    EXPECT_EQ(ch(s, 5).RxFreq.text(), "46300000");
    EXPECT_EQ(ch(s, 6).RxFreq.text(), "46255000");

    // With channel 128 empty nothing is lost and nothing is asked.
    EXPECT_TRUE(InsertChannel(s, host, 1));
    EXPECT_EQ(host.losingLastAsked, 3);
    EXPECT_EQ(ch(s, 7).RxFreq.text(), "46255000");
    // The rules never ask through the session's prompter themselves.
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(CommandsTest, DeleteAndCutFollowTheAnswer) {
    add(s, channel(4));
    add(s, channel(5));
    s.settings.habits.DeleteNoAsk = true;
    s.settings.habits.DeleteRemove = false;
    DeleteChannel(s, host, 4);
    EXPECT_NE(find(s, 4), nullptr);

    s.settings.habits.DeleteRemove = true;
    DeleteChannel(s, host, 4);
    EXPECT_EQ(find(s, 4), nullptr);
    EXPECT_TRUE(host.asked.empty());

    // Cut answered No: on the clipboard, still in place.
    s.settings.habits.DeleteNoAsk = false;
    host.answers = {ConfirmAnswer{true, false, false}};
    CutChannel(s, host, 5);
    EXPECT_TRUE(s.clipboard.hasChannel);
    EXPECT_EQ(s.clipboard.record.ChannelNumber, 5);
    EXPECT_NE(find(s, 5), nullptr);
    EXPECT_FALSE(s.settings.habits.DeleteRemove);

    // A dialog closed without an answer changes no habit.
    s.settings.habits.DeleteRemove = true;
    host.answers = {ConfirmAnswer{}};
    DeleteChannel(s, host, 5);
    EXPECT_TRUE(s.settings.habits.DeleteRemove);
    EXPECT_EQ(find(s, 5), nullptr);
}

TEST_F(CommandsTest, CommandStatesFollowTheRowAndTheClipboard) {
    add(s, channel(kVfoChannel));
    add(s, channel(3));
    ChannelCommandStates st = UpdateChannelCommands(s, 2);
    EXPECT_FALSE(st.copy);
    EXPECT_FALSE(st.cut);
    EXPECT_FALSE(st.paste);
    EXPECT_TRUE(st.insert && st.del && st.moveUp && st.moveDown);
    st = UpdateChannelCommands(s, kVfoChannel);
    EXPECT_TRUE(st.copy);
    EXPECT_FALSE(st.cut);
    EXPECT_FALSE(st.insert || st.del || st.moveUp || st.moveDown);
    CopyChannel(s, 3);
    st = UpdateChannelCommands(s, 3);
    EXPECT_TRUE(st.cut && st.copy && st.paste);
    EXPECT_TRUE(st.enabled(kCmdPaste));
    EXPECT_FALSE(UpdateChannelCommands(s, 2).enabled(kCmdCopy));
}

TEST(MoveScrolling, KeepsTheMovedRowVisible) {
    EXPECT_EQ(VisibleRowsFor(290, 20), 10);  // 14.5 - 4 = 10.5 -> 10
    EXPECT_EQ(VisibleRowsFor(310, 20), 12);  // 11.5 -> 12
    EXPECT_EQ(TopRowAfterMoveUp(5, 10, 10), 5);
    EXPECT_EQ(TopRowAfterMoveUp(12, 10, 10), 10);
    EXPECT_EQ(TopRowAfterMoveUp(128, 1, 10), 128);
    EXPECT_EQ(TopRowAfterMoveDown(1, 120, 10), 1);
    EXPECT_EQ(TopRowAfterMoveDown(20, 10, 10), 11);
    EXPECT_EQ(TopRowAfterMoveDown(15, 10, 10), 10);
}

TEST_F(CommandsTest, BlockCopyAndPasteKeepTheDistancesAndStopAtTheLastChannel) {
    for (int n : {4, 5, 7}) {
        ChannelRecord c = channel(n);
        c.RxTone = static_cast<int16_t>(n);
        c.PttId = 2;   // an item the text form of the clipboard does not carry
        add(s, c);
    }
    EXPECT_EQ(CopyChannelBlock(s, {7, 6, 5, 4}), 3);   // 6 is empty
    ASSERT_TRUE(s.clipboard.hasChannel);
    EXPECT_EQ(s.clipboard.record.ChannelNumber, 4);   // a single Paste takes the first

    add(s, channel(20));
    EXPECT_EQ(PasteChannelBlock(s, 20), (std::vector<int>{20, 21, 23}));
    EXPECT_EQ(ch(s, 20).RxTone, 4);
    EXPECT_EQ(ch(s, 21).RxTone, 5);
    EXPECT_EQ(find(s, 22), nullptr);
    EXPECT_EQ(ch(s, 23).RxTone, 7);
    EXPECT_EQ(ch(s, 23).PttId, 2);
    EXPECT_EQ(s.doc.stored.Channels.count, 6);   // 20 was overwritten, not added

    // Near the end only what fits; the VFO row and nothing copied do nothing.
    EXPECT_EQ(PasteChannelBlock(s, 126), (std::vector<int>{126, 127}));
    EXPECT_EQ(find(s, 129), nullptr);
    EXPECT_TRUE(PasteChannelBlock(s, kVfoChannel).empty());
    EXPECT_EQ(CopyChannelBlock(s, {30, 31}), 0);
    EXPECT_EQ(s.clipboard.block.size(), 3u);   // an empty copy keeps the clipboard
}
