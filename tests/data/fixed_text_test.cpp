#include <gtest/gtest.h>

#include "data/fixed_text.h"
#include "data/records.h"

namespace {

TEST(FixedText, PadsCutsAndClears) {
    zr::FixedText<6> name;
    name.set("ABC");
    EXPECT_EQ(name.raw(), std::string("ABC   "));
    EXPECT_EQ(name.text(), "ABC");

    name.set("TOOLONGNAME");
    EXPECT_EQ(name.raw(), "TOOLON");

    name.clear();
    EXPECT_EQ(name.raw(), std::string("\0     ", 6));
    EXPECT_EQ(name.text(), "");
}

TEST(FixedText, ReadsUpToTheFirstNulWithoutTrailingBlanks) {
    zr::DtmfCodeEntry e;
    e.Digits.bytes = {'1', '2', '3', '\0', '4', '5', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    EXPECT_EQ(e.Digits.text(), "123");
    zr::FixedText<8> f;
    f.set("12 4  ");
    EXPECT_EQ(f.text(), "12 4");
}

}  // namespace
