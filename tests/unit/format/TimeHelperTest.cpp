#include "TimeHelper.h"
#include "FakeComputerZone.h"
#include "FormatTestSupport.h"
#include "ScopedDataManager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr TimeValue kWinter = 1232460000; // 2009-01-20 14:00:00 UTC
constexpr TimeValue kSummer = 1248098400; // 2009-07-20 14:00:00 UTC

class TimeHelperTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager.intOptions[moTimeZoneMode] = 2;
        manager.marketInfo.timeZones["IBM"] = 7;
        // Daylight time from 2009-03-08 07:00 to 2009-11-01 06:00.
        SetExchangeClock(manager.marketInfo, -300, {{1236495600, 1257055200}});
        TakeDiagnostics();
    }

    fake::FakeMondrel manager;
    ScopedDataManager installed{&manager};
    FakeComputerZone computer;
};

TEST(TimeHelperCalendar, RollsDaysOverAndRefusesWhatThirtyTwoBitsCannotHold) {
    TakeDiagnostics();
    EXPECT_EQ(TimeHelper::MakeTimeGMT(2009, 4, 31, 0, 0, 0),
              TimeHelper::MakeTimeGMT(2009, 5, 1, 0, 0, 0));
    EXPECT_EQ(TimeHelper::MakeTimeGMT(2038, 1, 19, 3, 14, 7), 2147483647);
    EXPECT_EQ(TimeHelper::MakeTimeGMT(2038, 1, 19, 3, 14, 8), -1);
    EXPECT_EQ(TimeHelper::MakeTimeGMT(1969, 12, 31, 23, 59, 59), -1);
    EXPECT_EQ(TimeHelper::MakeTimeGMT64(2009, 2, 30, 0, 0, 0), 1235952000); // 2009-03-02
    EXPECT_EQ(TimeHelper::MakeTimeGMT64(1969, 12, 31, 0, 0, 0), -86400);
    EXPECT_THAT(TakeDiagnostics(), IsEmpty());
}

TEST(TimeHelperCalendar, ReportsFieldsOutOfRange) {
    TakeDiagnostics();
    TimeHelper::MakeTimeGMT(2009, 13, 0, 24, -1, 60);
    EXPECT_THAT(TakeDiagnostics(),
                ElementsAre("assert TimeHelper::MakeTimeGMT: month >= 1 && month <= 12",
                            "assert TimeHelper::MakeTimeGMT: day >= 1 && day <= 31",
                            "assert TimeHelper::MakeTimeGMT: hour >= 0 && hour <= 23",
                            "assert TimeHelper::MakeTimeGMT: minutes >= 0 && minutes <= 59",
                            "assert TimeHelper::MakeTimeGMT: seconds >= 0 && seconds <= 59"));
}

TEST(TimeHelperCalendar, NegativeTimeIsReportedAndLeavesTheBreakdownUnset) {
    TakeDiagnostics();
    EXPECT_EQ(TimeHelper::GetWeekDay(-1), -1);
    EXPECT_THAT(TakeDiagnostics(), ElementsAre("assert TimeHelper::GetTmTime: err == 0"));
}

TEST_F(TimeHelperTest, LocalModeUsesTheComputersDaylightStateOfNow) {
    manager.intOptions[moTimeZoneMode] = 0;
    computer.bias = 300;
    computer.state = czsStandard;
    EXPECT_EQ(TimeHelper::ToDisplayTime(kSummer, "IBM"), kSummer - 18000);
    EXPECT_EQ(TimeHelper::FromDisplayTime(kSummer - 18000, "IBM"), kSummer);
    // While the computer is in daylight time, a winter time gets the summer offset too.
    computer.state = czsDaylight;
    EXPECT_EQ(TimeHelper::ToDisplayTime(kWinter, "IBM"), kWinter - 14400);
    EXPECT_EQ(TimeHelper::FromDisplayTime(kWinter - 14400, "IBM"), kWinter);
    EXPECT_THAT(TakeDiagnostics(), IsEmpty());
    // A zone without a daylight rule is reported and converted as standard time.
    computer.state = czsUnknown;
    EXPECT_EQ(TimeHelper::ToDisplayTime(kWinter, "IBM"), kWinter - 18000);
    EXPECT_THAT(TakeDiagnostics(),
                ElementsAre("assert TimeHelper::TransferTime: ret != TIME_ZONE_ID_UNKNOWN"));
}

TEST_F(TimeHelperTest, LocalModeDaylightComesFromTheLocalBreakdown) {
    manager.intOptions[moTimeZoneMode] = 0;
    computer.localDaylight = true;
    EXPECT_TRUE(TimeHelper::IsDst("IBM", kWinter));
    computer.localDaylight = false;
    EXPECT_FALSE(TimeHelper::IsDst("IBM", kSummer));
}

TEST_F(TimeHelperTest, ExchangeModeFollowsTheExchangesRuleAtTheConvertedTime) {
    manager.intOptions[moTimeZoneMode] = 2;
    EXPECT_EQ(TimeHelper::ToDisplayTime(kWinter, "IBM"), kWinter - 300 * 60);
    EXPECT_EQ(TimeHelper::ToDisplayTime(kSummer, "IBM"), kSummer - 240 * 60);
    EXPECT_EQ(TimeHelper::FromDisplayTime(TimeHelper::ToDisplayTime(kSummer, "IBM"), "IBM"),
              kSummer);
    EXPECT_TRUE(TimeHelper::IsDst("IBM", kSummer));
    EXPECT_FALSE(TimeHelper::IsDst("IBM", kWinter));
    EXPECT_EQ(CallCount(manager, "GetMarketInfo"), 6u);
    EXPECT_EQ(manager.marketInfoReleases, 6);
}

TEST_F(TimeHelperTest, ExchangeModeWithAnUnknownZoneUsesTheSymbolsOffsets) {
    manager.marketInfo.timeOffsets["VOD"] = {60, 0}; // a symbol without a known zone
    EXPECT_EQ(TimeHelper::ToDisplayTime(kWinter, "VOD"), kWinter + 3600);
    EXPECT_EQ(TimeHelper::FromDisplayTime(kWinter + 3600, "VOD"), kWinter);
}

TEST_F(TimeHelperTest, MissingMarketInformationIsReportedAndReleased) {
    manager.marketInfoAvailable = false;
    EXPECT_EQ(TimeHelper::ToDisplayTime(kSummer, "IBM"), kSummer);
    EXPECT_FALSE(TimeHelper::IsDst("IBM", kSummer));
    EXPECT_THAT(TakeDiagnostics(), ElementsAre("assert TimeHelper::TransferTime: mktInfo",
                                               "assert TimeHelper::IsDst: mktInfo"));
    EXPECT_EQ(manager.marketInfoReleases, 2);
}

TEST_F(TimeHelperTest, GmtAndUnknownModesConvertNothingAndAnUnansweredOptionIsExchange) {
    manager.intOptions[moTimeZoneMode] = 1;
    EXPECT_EQ(TimeHelper::ToDisplayTime(kSummer, "IBM"), kSummer);
    EXPECT_EQ(TimeHelper::FromDisplayTime(kSummer, "IBM"), kSummer);
    EXPECT_FALSE(TimeHelper::IsDst("IBM", kSummer));
    EXPECT_THAT(TakeDiagnostics(), IsEmpty());

    manager.intOptions[moTimeZoneMode] = 7;
    EXPECT_EQ(TimeHelper::ToDisplayTime(kSummer, "IBM"), kSummer);
    EXPECT_FALSE(TimeHelper::IsDst("IBM", kSummer));
    EXPECT_THAT(TakeDiagnostics(),
                ElementsAre("assert TimeHelper::TransferTime: 0", "assert TimeHelper::IsDst: 0"));

    manager.intOptions.erase(moTimeZoneMode);
    EXPECT_EQ(TimeHelper::ToDisplayTime(kSummer, "IBM"), kSummer - 240 * 60);
}

TEST_F(TimeHelperTest, EmptySymbolIsReportedAndConvertedAsUsual) {
    manager.intOptions[moTimeZoneMode] = 0;
    EXPECT_EQ(TimeHelper::ToDisplayTime(kSummer, ""), kSummer - 18000);
    EXPECT_THAT(TakeDiagnostics(),
                ElementsAre("assert TimeHelper::TransferTime: (symbol && strlen(symbol))"));
}

TEST(TimeHelperWithoutDataManager, ConvertsNothingAndReportsNothing) {
    TakeDiagnostics();
    EXPECT_EQ(TimeHelper::ToDisplayTime(kSummer, "IBM"), kSummer);
    EXPECT_FALSE(TimeHelper::IsDst("IBM", kSummer));
    EXPECT_THAT(TakeDiagnostics(), IsEmpty());
}

} // namespace
