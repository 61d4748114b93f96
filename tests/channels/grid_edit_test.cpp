#include <gtest/gtest.h>

#include "channels/grid_edit.h"

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
    EXPECT_EQ(std::string(ChooserFrequencies()[0]), "462.55000");
    EXPECT_EQ(std::string(ChooserFrequencies()[29]), "467.72500");
    EXPECT_EQ(EditorHelpContext(5), 3107);
    EXPECT_EQ(EditorHelpContext(6), 0);
}
