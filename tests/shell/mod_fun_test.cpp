#include <gtest/gtest.h>

#include <clocale>
#include <locale>

#include "channels/channel_ops.h"
#include "data/bands.h"
#include "data/freq_text.h"
#include "shell/mod_fun.h"
#include "shell/session.h"
#include "shell/number_text.h"

namespace {

zr::ChoiceList Abc() {
    zr::ChoiceList l;
    for (const char* t : {"A", "B", "C"}) l.add(t);
    return l;
}

// A numpunct with "," as decimal point and "." as thousands separator.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

}  // namespace

TEST(CleanText, TrailingBlanksThenNul) {
    EXPECT_EQ(zr::CleanText(std::string("ABC\0            ", 16)), "ABC");
    EXPECT_EQ(zr::CleanText(std::string("\0               ", 16)), "");
    EXPECT_EQ(zr::CleanText("A B "), "A B");
    EXPECT_EQ(zr::CleanText(std::string("AB  \0", 5)), "AB  ");
    EXPECT_EQ(zr::CleanText(""), "");
}

TEST(TextToNumber, NumbersAndDefaults) {
    EXPECT_EQ(zr::TextToNumber("", 7), 7);
    EXPECT_EQ(zr::TextToNumber("12", 7), 12);
    EXPECT_EQ(zr::TextToNumber("1x", 7), 7);
    EXPECT_EQ(zr::TextToNumber(" -3 ", 7), -3);
    EXPECT_EQ(zr::TextToNumber("2.5", 7), 2);   // halves to even
    EXPECT_EQ(zr::TextToNumber("3.5", 7), 4);
    EXPECT_EQ(zr::TextToNumber("99999999999", 7), 7);
}

TEST(FileNamePart, LastSeparator) {
    EXPECT_EQ(zr::FileNamePart("C:\\data\\radio.dat"), "radio.dat");
    EXPECT_EQ(zr::FileNamePart("radio.dat"), "radio.dat");
    EXPECT_EQ(zr::FileNamePart("C:\\data\\"), "");
    EXPECT_EQ(zr::FileNamePart("/home/u/radio.dat"), "radio.dat");
}

TEST(ChoiceListHelpers, LookupsFallBackToFirstEntry) {
    zr::ChoiceList l = Abc();
    zr::ChoiceList empty;
    EXPECT_EQ(zr::ListIndexOfText(l, "B", 9), 1);
    EXPECT_EQ(zr::ListIndexOfText(l, "D", 9), 0);
    EXPECT_EQ(zr::ListIndexOfText(l, "", 9), 9);
    EXPECT_EQ(zr::ListIndexOfText(empty, "A", 9), 9);
    EXPECT_EQ(zr::ListTextOfText(l, "C"), "C");
    EXPECT_EQ(zr::ListTextOfText(l, "x"), "A");
    EXPECT_EQ(zr::ListTextOfText(empty, "x"), "");
    EXPECT_EQ(zr::ListTextAt(l, -1), "A");
    EXPECT_EQ(zr::ListTextAt(l, 3), "A");
    EXPECT_EQ(zr::ListTextAt(l, 2), "C");
    EXPECT_EQ(zr::ListTextAt(empty, 0), "");
}

TEST(ChoiceListHelpers, SelectingRunsTheStoringRule) {
    zr::ChoiceList l;
    for (const char* t : {"5", "10", "10", "x"}) l.add(t);
    int16_t stored = -1;
    int changes = 0;
    l.onChange = [&] {
        ++changes;
        zr::StoreListNumber(l, stored);
    };
    zr::SelectListText(l, "10");
    EXPECT_EQ(l.selected, 1);  // the first entry with that text
    EXPECT_EQ(stored, 10);
    zr::SelectListAt(l, 7);
    EXPECT_EQ(l.selected, 0);
    EXPECT_EQ(stored, 5);
    zr::SelectListAt(l, 3);
    EXPECT_EQ(stored, 0);  // "x" reads as 0
    EXPECT_EQ(changes, 3);

    zr::ChoiceList empty;
    empty.selected = 2;
    zr::SelectListAt(empty, 0);
    EXPECT_EQ(empty.selected, -1);
    int16_t keep = 42;
    zr::StoreListNumber(empty, keep);
    zr::StoreListPosition(empty, keep);
    EXPECT_EQ(keep, 42);
    uint8_t pos = 9;
    l.selected = 2;
    zr::StoreListPosition(l, pos);
    EXPECT_EQ(pos, 2);
}

TEST(ChoiceListHelpers, StoredValues) {
    zr::ChoiceList l;
    l.add("Off", 0);
    l.add("English", 2);
    EXPECT_EQ(l.positionOfValue(2), 1);
    EXPECT_EQ(l.positionOfValue(1), -1);
    l.selectValue(1);
    EXPECT_EQ(l.selected, 0);
    l.selectValue(2);
    EXPECT_EQ(l.selectedValue(-1), 2);
    EXPECT_EQ(l.shownText(), "English");
}

TEST(ShowCheck, NormalisesStoredValue) {
    int16_t v = 2;
    EXPECT_FALSE(zr::ShowCheck(v));
    EXPECT_EQ(v, 0);
    v = 1;
    EXPECT_TRUE(zr::ShowCheck(v));
    uint8_t b = 200;
    EXPECT_FALSE(zr::ShowCheck(b));
    EXPECT_EQ(b, 0);
}

TEST(NumberText, ExactScaledDecimals) {
    EXPECT_EQ(zr::ParseScaled("446.00625", 5), 44600625);
    EXPECT_EQ(zr::ParseScaled("0.000005", 5), 0);   // half to even
    EXPECT_EQ(zr::ParseScaled("0.000015", 5), 2);
    EXPECT_EQ(zr::ParseScaled("0.0000150001", 5), 2);
    EXPECT_EQ(zr::ParseScaled("-1.5", 0), -2);
    EXPECT_EQ(zr::ParseScaled(".5", 1), 5);
    EXPECT_EQ(zr::ParseScaled("4.6e2", 0), 460);
    EXPECT_FALSE(zr::ParseScaled("1,5", 1));
    EXPECT_FALSE(zr::ParseScaled(".", 1));
    EXPECT_FALSE(zr::ParseScaled("1e", 1));
    EXPECT_FALSE(zr::ParseScaled("99999999999999999999", 0));
    EXPECT_EQ(zr::ScaleRound(446.00625, 5), 44600625);
    EXPECT_EQ(zr::ScaleRound(0.1 + 0.2, 1), 3);
    EXPECT_EQ(zr::FormatScaled(46256250, 5), "462.56250");
    EXPECT_EQ(zr::FormatScaled(500000, 5, 2), "05.00000");
    EXPECT_EQ(zr::FormatScaled(-60000, 5), "-0.60000");
    EXPECT_EQ(zr::FormatScaledShortest(43500000, 5), "435");
    EXPECT_EQ(zr::FormatScaledShortest(-60000, 5), "-0.6");
    EXPECT_EQ(zr::FormatShortest(446.5), "446.5");
    EXPECT_EQ(zr::FormatShortest(435.0), "435");
    EXPECT_EQ(zr::FormatFixed(462.5625, 5), "462.56250");
}

// Whatever the user's locale says, numbers use ".".
TEST(NumberText, IndependentOfACommaLocale) {
    const std::locale before = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    std::string cBefore = std::setlocale(LC_NUMERIC, nullptr);
    const bool commaC = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    if (commaC) {
        EXPECT_EQ(std::string(std::localeconv()->decimal_point), ",");
    }

    EXPECT_EQ(zr::FormatShortest(446.5), "446.5");
    EXPECT_EQ(zr::FormatFixed(1234.5, 2), "1234.50");
    EXPECT_EQ(zr::ParseNumber("446.5"), 446.5);
    EXPECT_FALSE(zr::ParseNumber("446,5"));
    EXPECT_EQ(zr::TextToNumber("1.000", 7), 1);
    EXPECT_EQ(zr::IntText(12345), "12345");

    zr::Session s;
    s.doc.currentBand = "400 - 470 MHz";
    zr::RefreshBandLimits(s.doc);
    EXPECT_EQ(zr::ShowFreText(LimitsOf(s.doc), "46256250"), "462.56250");
    EXPECT_EQ(zr::SaveFreText(zr::LimitsOf(s.doc), "462.5625"), "46256250");
    EXPECT_EQ(zr::FormatFreInBand(zr::LimitsOf(s.doc), "446.00625").text, "446.00625");
    EXPECT_EQ(zr::FormatFreInBand(zr::LimitsOf(s.doc), "446,00625").text, "");
    EXPECT_EQ(zr::NewChannel(s, 1, 435.5).value_or(-1), 0);
    EXPECT_EQ(s.doc.stored.Channels.entries[0].RxFreq.text(), "43550000");

    std::setlocale(LC_NUMERIC, cBefore.c_str());
    std::locale::global(before);
}
