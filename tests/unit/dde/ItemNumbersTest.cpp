#include "ItemNumbers.h"
#include "SessionWindow.h"
#include "TextCase.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <tuple>

namespace {
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
} // namespace

TEST(ParseDecimal, ReadsLeadingDigitsLikeTheRuntimeAndSaturates) {
    const std::string huge = "99999999999999999999999";
    const std::pair<std::string, std::int32_t> cases[] = {
        {"100", 100},       {"  -5", -5},
        {"+7X", 7},         {"1D", 1},
        {"X1", 0},          {"", 0},
        {"-", 0},           {"2147483647", kMax},
        {huge, kMax},       {"2147483648", kMax},
        {"-" + huge, kMin}, {"-2147483648", kMin}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseDecimal(text), value) << text;
    }
}

TEST(ParseInterval, CalendarWordsAndMinutesBelowOneDay) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"D", -1},      {"d", -1},   {"W", -2}, {"M", -3}, {"q", -4}, {"5", 5},          {"1D", 1},
        {"1439", 1439}, {"1440", 0}, {"0", 0},  {"-1", 0}, {"DD", 0}, {"99999999999", 0}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseInterval(text), value) << text;
    }
}

// All four numbers are needed; signs and huge numbers are read without overflow.
TEST(ReadSessionWindow, NeedsAllFourNumbers) {
    using Window = std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t>;
    const std::pair<const char*, std::optional<Window>> cases[] = {
        {"9:30-16:00", Window{9, 30, 16, 0}},
        {"9:30-16:00XYZ", Window{9, 30, 16, 0}},
        {"99999999999:1-1:-99999999999", Window{kMax, 1, 1, kMin}},
        {"9:30", std::nullopt},
        {"9:30-16", std::nullopt},
        {"9 :30-16:00", std::nullopt},
        {"", std::nullopt}};
    for (const auto& [text, expected] : cases) {
        const std::optional<SessionWindow> read = ReadSessionWindow(text);
        const auto window = read ? std::optional(Window(read->startHour, read->startMinute,
                                                        read->endHour, read->endMinute))
                                 : std::nullopt;
        EXPECT_EQ(window, expected) << text;
    }
}

TEST(TextCase, UpperCaseAndCaselessOrder) {
    EXPECT_EQ(ToUpperText("ibm,d"), "IBM,D");
    EXPECT_EQ(CompareTextNoCase("ibm,5", "IBM,5"), 0);
    EXPECT_LT(CompareTextNoCase("ABC", "abd"), 0);
    EXPECT_GT(CompareTextNoCase("abc", "AB"), 0);
    EXPECT_LT(CompareTextNoCase("", "A"), 0);
    EXPECT_GT(CompareTextNoCase("B0001,TTL,t", "B0001,ttl,S"), 0);
    // Bytes the locale cannot decode keep their value and still order totally.
    const std::string raw = "\xff\x80";
    EXPECT_EQ(ToUpperText(raw), raw);
    EXPECT_EQ(CompareTextNoCase(raw, raw), 0);
    EXPECT_NE(CompareTextNoCase(raw, "\xfe\x80"), 0);
    EXPECT_LT(CompareTextNoCase("a" + raw, "a\xff\x81"), 0);
}
