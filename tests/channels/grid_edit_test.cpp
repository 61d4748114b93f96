#include <gtest/gtest.h>

#include "channels/channel_ops.h"
#include "channels/grid_edit.h"
#include "data/bands.h"
#include "shell/language.h"
#include "shell/session.h"
#include "support/channel_lookup.h"
#include "support/support.h"

using namespace zr;

TEST(GridEditState, EntriesBeforeEditingIsEnabledDoNothing) {
    GridEditState st;
    EXPECT_EQ(st.enterCell({3, 4}, true, true).action, EntryAction::Ignore);
    st.editingEnabled = true;
    EXPECT_EQ(st.enterCell({3, 1}, true, true).action, EntryAction::Open);
}

TEST(GridEditState, EmptyRowSendsTheUserToTheRxColumnOnce) {
    GridEditState st;
    st.editingEnabled = true;
    // Column 5 of a row without a frequency: go to column 1 of the same row.
    EntryDecision d = st.enterCell({12, 5}, true, true);
    EXPECT_EQ(d.action, EntryAction::Redirect);
    EXPECT_EQ(d.target, (GridCell{12, 1}));
    EXPECT_EQ(st.editCell, (GridCell{12, 1}));
    EXPECT_TRUE(st.skipChecks);
    // The entry caused by the redirect skips the checks and opens the editor.
    d = st.enterCell({12, 1}, true, true);
    EXPECT_EQ(d.action, EntryAction::Open);
    EXPECT_FALSE(st.skipChecks);
    // Column 0 and 10 of an empty row are not redirected.
    EXPECT_EQ(st.enterCell({12, 10}, true, true).action, EntryAction::Open);
    EXPECT_EQ(st.enterCell({12, 0}, true, true).action, EntryAction::Open);
}

TEST(GridEditState, EncodeToneWithoutTxGoesToTheTxColumn) {
    GridEditState st;
    st.editingEnabled = true;
    EntryDecision d = st.enterCell({4, 5}, false, true);
    EXPECT_EQ(d.action, EntryAction::Redirect);
    EXPECT_EQ(d.target, (GridCell{4, 2}));
    // The program's move to column 2 opens the TX chooser.
    EXPECT_EQ(st.enterCell({4, 2}, false, true).action, EntryAction::Open);
    // Column 4 has no such rule.
    EXPECT_EQ(st.enterCell({4, 4}, false, true).action, EntryAction::Open);
}

TEST(GridEditState, SelectionIsArmedByTheFirstEventAfterOpening) {
    GridEditState st;
    EXPECT_EQ(st.openEditor({2, 4}), GridEditor::ToneChooser);
    EXPECT_EQ(st.editCell, (GridCell{2, 4}));
    EXPECT_FALSE(st.chooserSelected());  // the program selecting the shown entry
    EXPECT_TRUE(st.chooserSelected());   // the user's choice
    EXPECT_TRUE(st.chooserSelected());
    // Opening the name box leaves the armed flag alone.
    EXPECT_EQ(st.openEditor({2, 3}), GridEditor::NameBox);
    EXPECT_TRUE(st.chooserSelected());
    EXPECT_EQ(st.openEditor({2, 9}), GridEditor::None);
}

TEST(GridEditState, NextLineAndNextColumnWrap) {
    EXPECT_EQ(GridEditState::nextLine(1), 2);
    EXPECT_EQ(GridEditState::nextLine(128), 129);
    EXPECT_EQ(GridEditState::nextLine(129), 1);

    GridEditState st;
    st.editingEnabled = true;
    auto m = st.nextCol({7, 8});
    EXPECT_FALSE(m.wraps);
    EXPECT_EQ(m.target, (GridCell{7, 9}));
    EXPECT_FALSE(st.skipEntry);

    m = st.nextCol({129, 9});
    EXPECT_TRUE(m.wraps);
    EXPECT_EQ(m.intermediate, (GridCell{129, 1}));
    EXPECT_EQ(m.target, (GridCell{1, 1}));
    // The column change is swallowed, the row change enters the cell.
    EXPECT_EQ(st.enterCell(m.intermediate, false, false).action, EntryAction::Ignore);
    EXPECT_EQ(st.enterCell(m.target, false, false).action, EntryAction::Open);
}

TEST(GridNameFilter, AcceptsCapitalsDigitsAndBlankOnly) {
    std::string out;
    for (char c : std::string("ab-1 z?")) {
        if (int r = FilterGridNameChar(static_cast<unsigned char>(c))) out.push_back(static_cast<char>(r));
    }
    EXPECT_EQ(out, "AB1 Z");
    EXPECT_EQ(FilterGridNameChar(3), 0);
    EXPECT_EQ(FilterGridNameChar(22), 0);
    EXPECT_EQ(FilterGridNameChar(24), 0);
    EXPECT_EQ(FilterGridNameChar(0xE9), 0);
    EXPECT_EQ(FilterGridNameChar(8), 8);  // Backspace passes
    // The edit window's boxes take no blank; the ID box digits only.
    EXPECT_EQ(FilterEditNameChar(' '), 0);
    EXPECT_EQ(FilterEditNameChar('q'), 'Q');
    EXPECT_EQ(FilterDigitChar('7'), '7');
    EXPECT_EQ(FilterDigitChar('.'), 0);
    EXPECT_EQ(FilterDecimalChar('.'), '.');
    EXPECT_EQ(FilterAlnumChar('x'), 'x');
    EXPECT_EQ(FilterAlnumChar('_'), 0);
}

TEST(ChooserFormat, NumbersArePaddedAndOtherTextsStay) {
    EXPECT_EQ(FormatChooserRx("462.5625"), "462.56250");
    EXPECT_EQ(FormatChooserRx("46.5"), "046.50000");
    EXPECT_EQ(FormatChooserRx("NONE"), "NONE");
    EXPECT_EQ(FormatChooserTx("467.5"), "467.50000");
    EXPECT_EQ(FormatChooserTx("-0.6"), "-0.60000");
    EXPECT_EQ(FormatChooserTx(".5"), "0.50000");
    EXPECT_FALSE(IsNumberText("."));
    EXPECT_FALSE(IsNumberText("1.2.3"));
    EXPECT_FALSE(IsNumberText(""));
    EXPECT_TRUE(IsNumberText(" +5 "));
    EXPECT_EQ(EditorHelpContext(5), 3107);
    EXPECT_EQ(EditorHelpContext(6), 0);
}

TEST(ChooserFormat, KeepsThePointUnderACommaLocale) {
    zrtest::CommaLocale comma;
    if (!comma.active()) GTEST_SKIP() << "no locale with a \",\" decimal separator is installed";
    EXPECT_EQ(FormatChooserRx("462.5625"), "462.56250");
    EXPECT_EQ(FormatChooserRx("46.5"), "046.50000");
    EXPECT_EQ(FormatChooserTx("-0.6"), "-0.60000");
    double v = 0;
    ASSERT_TRUE(ParseNumberText("446.00625", v));
    EXPECT_DOUBLE_EQ(v, 446.00625);
    EXPECT_FALSE(IsNumberText("446,00625"));
}

namespace {

// No prompter: the writes tell nothing themselves, they say what happened.
struct Typed : ::testing::Test {
    Session s;
    void SetUp() override { band("400 - 470 MHz"); }
    void band(const char* text) {
        s.doc.currentBand = text;
        RefreshBandLimits(s.doc);
    }
    const ChannelRecord* ch(int n) const { return FindChannelRecord(s, n); }
    const ChannelRecord& chan(int n) const { return zrtest::channelOrBlank(s, n); }
};

}  // namespace

TEST_F(Typed, ChooserEntriesFollowTheBand) {
    auto list = ChooserFrequencies(s.doc);
    ASSERT_EQ(list.size(), 30u);
    EXPECT_EQ(list.front(), "462.55000");
    EXPECT_EQ(list[15], "467.55000");
    EXPECT_EQ(list.back(), "467.72500");
    band("446 - 447 MHz");
    list = ChooserFrequencies(s.doc);
    ASSERT_EQ(list.size(), 16u);
    EXPECT_EQ(list.front(), "446.00625");
    EXPECT_EQ(list[1], "446.01875");
    EXPECT_EQ(list.back(), "446.19375");
    band("136 - 174 MHz");
    EXPECT_TRUE(ChooserFrequencies(s.doc).empty());
}

TEST_F(Typed, RxTextsAreFrequenciesWithAPointOrRefused) {
    const ChooserOutcome inBand = WriteChooserRx(s, 5, " 446.00625 ");
    EXPECT_EQ(inBand.write, ChooserWrite::Written);
    EXPECT_FALSE(inBand.notes.any());
    ASSERT_NE(ch(5), nullptr);
    EXPECT_EQ(chan(5).RxFreq.text(), "44600625");

    // Below the band: the lower limit, noted as moved into the band.
    const ChooserOutcome below = WriteChooserRx(s, 6, "145.5");
    EXPECT_EQ(below.write, ChooserWrite::Written);
    EXPECT_EQ(below.notes, (ChannelNotes{true, false}));
    EXPECT_EQ(chan(6).RxFreq.text(), "40000000");

    // Not a frequency: refused, nothing written.
    for (const char* bad : {"446,00625", "abc", "-446", "1.2.3"}) {
        EXPECT_EQ(WriteChooserRx(s, 7, bad).write, ChooserWrite::Refused) << bad;
        EXPECT_EQ(ch(7), nullptr) << bad;
    }
    EXPECT_EQ(WriteChooserRx(s, 5, "").write, ChooserWrite::Nothing);
    EXPECT_NE(ch(5), nullptr);
    EXPECT_EQ(WriteChooserRx(s, 5, "none").write, ChooserWrite::Written);   // clears the channel
    EXPECT_EQ(ch(5), nullptr);
}

TEST_F(Typed, TxTextsAreFrequenciesOrSignedOffsetsUnderEitherHabit) {
    WriteChooserRx(s, 1, "462.5625");
    for (bool useOffset : {false, true}) {
        s.settings.habits.UseOffset = useOffset;
        EXPECT_EQ(WriteChooserTx(s, 1, "+5").write, ChooserWrite::Written) << useOffset;
        EXPECT_EQ(chan(1).OffsetDir, 2) << useOffset;
        EXPECT_EQ(chan(1).Offset.text(), "0500000") << useOffset;
        EXPECT_EQ(WriteChooserTx(s, 1, "462.0625").write, ChooserWrite::Written) << useOffset;
        EXPECT_EQ(chan(1).OffsetDir, 1) << useOffset;
        EXPECT_EQ(chan(1).Offset.text(), "0050000") << useOffset;
        EXPECT_EQ(WriteChooserTx(s, 1, "462.5625").write, ChooserWrite::Written) << useOffset;
        EXPECT_EQ(chan(1).OffsetDir, 0) << useOffset;
        EXPECT_EQ(WriteChooserTx(s, 1, "NONE").write, ChooserWrite::Nothing) << useOffset;
        EXPECT_EQ(WriteChooserTx(s, 1, "4 62").write, ChooserWrite::Refused) << useOffset;
    }
    // Beyond the band the TX is held at the limit and noted, under either habit.
    for (bool useOffset : {false, true}) {
        s.settings.habits.UseOffset = useOffset;
        const ChooserOutcome out = WriteChooserTx(s, 1, "+80");
        EXPECT_EQ(out.write, ChooserWrite::Written) << useOffset;
        EXPECT_EQ(out.notes, (ChannelNotes{true, false})) << useOffset;
        EXPECT_EQ(chan(1).Offset.text(), "0743750") << useOffset;
    }
    // No channel, no TX.
    EXPECT_EQ(WriteChooserTx(s, 9, "462.5625").write, ChooserWrite::Nothing);
    EXPECT_EQ(ch(9), nullptr);
}
