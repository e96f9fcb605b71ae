// The portable ini writer's edits, line by line: what it keeps and where new lines go.
#include "IniText.h"

#include <gtest/gtest.h>

namespace {

TEST(IniText, UpdatesAKeyInPlaceKeepingEveryOtherLine) {
    EXPECT_EQ(
        IniText::SetValue("; note\r\n[Connectivity]\r\n User = old \r\nQuote=q\r\n\r\n[Data]\r\n",
                          "connectivity", "USER", "new"),
        "; note\r\n[Connectivity]\r\nUser=new\r\nQuote=q\r\n\r\n[Data]\r\n");
}

TEST(IniText, AppendsAKeyAfterTheSectionsLastLine) {
    EXPECT_EQ(IniText::SetValue("[A]\nx=1\n\n[B]\ny=2\n", "A", "z", "3"),
              "[A]\nx=1\nz=3\n\n[B]\ny=2\n");
    EXPECT_EQ(IniText::SetValue("[A]\r\nx=1", "A", "z", "3"), "[A]\r\nx=1\r\nz=3");
    EXPECT_EQ(IniText::SetValue("[A]\n[B]\n", "a", "z", "3"), "[A]\nz=3\n[B]\n");
}

TEST(IniText, CreatesAMissingSectionAtTheEnd) {
    EXPECT_EQ(IniText::SetValue("", "Date Time", "Timezone", "2"), "[Date Time]\r\nTimezone=2\r\n");
    EXPECT_EQ(IniText::SetValue("[A]\nx=1", "B", "y", "2"), "[A]\nx=1\n[B]\ny=2\n");
}

TEST(IniText, ParsesIntegersLikeWinesGetPrivateProfileInt) {
    EXPECT_EQ(IniText::ParseInteger("0x1F", 2), 31);
    EXPECT_EQ(IniText::ParseInteger("-0b101", 2), -5);
    EXPECT_EQ(IniText::ParseInteger("4294967297", 2), 1);
}

} // namespace
