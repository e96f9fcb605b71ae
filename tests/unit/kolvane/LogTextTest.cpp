// The text kolvane writes: one line per call, whatever the call's strings hold.
#include "LogText.h"

#include <gtest/gtest.h>

using namespace Kolvane::Library;

// A line never spans lines: one trailing line feed ends it, other line breaks are escaped (tabs
// too, except in the text, the last field).
TEST(LogText, LogLineHasTabSeparatedFieldsAndEscapesLineBreaks) {
    LogLineFields fields{"2026-12-06 18:00:53.577", 4242,     "src/dde/Dde\nServer.cpp", 120,
                         "DdeServer::\tStart",      0xABCDEF, "DDE initialize failed\n"};
    const std::string object = sizeof(std::uintptr_t) == 8 ? "0x0000000000ABCDEF" : "0x00ABCDEF";
    EXPECT_EQ(FormatLogLine(fields),
              "2026-12-06 18:00:53.577\t4242\tsrc/dde/Dde\\nServer.cpp(120)\t"
              "DdeServer::\\tStart\t" +
                  object + "\tDDE initialize failed\n");
    fields.text = "a\nb\r\nc\td\n\n";
    EXPECT_TRUE(FormatLogLine(fields).ends_with("\ta\\nb\\r\\nc\td\\n\n"));
}

TEST(LogText, Utf16BecomesUtf8) {
    EXPECT_EQ(Utf16ToUtf8(u"caf\u00e9 \u20ac \U0001F600"),
              "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00, 0};
    EXPECT_EQ(Utf16ToUtf8(lone), "a\xEF\xBF\xBD"
                                 "b\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(nullptr), "");
}

TEST(LogText, LogFileStemIsAPlainFileNameFromTheLogName) {
    EXPECT_EQ(LogFileStem("Zanvo.exe"), "Zanvo");
    EXPECT_EQ(LogFileStem("C:\\Program Files\\Zanvo\\Zanvo.exe"), "Zanvo");
    EXPECT_EQ(LogFileStem("../../etc/passwd"), "passwd");
    EXPECT_EQ(LogFileStem("a:b*c?.exe"), "a_b_c_");
    EXPECT_EQ(LogFileStem(""), "undefined");
    EXPECT_EQ(LogFileStem(".."), "undefined");
}
