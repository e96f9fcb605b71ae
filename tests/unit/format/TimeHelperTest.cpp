#include "TimeHelper.h"
#include "FakeComputerZone.h"
#include "FormatTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr TimeValue kWinter = 1232460000; // 2009-01-20 14:00:00 UTC
constexpr TimeValue kSummer = 1248098400; // 2009-07-20 14:00:00 UTC

TEST(TimeHelperCalendar, RefusesWhatThirtyTwoBitsCannotHold) {
    TakeDiagnostics();
    EXPECT_EQ(TimeHelper::MakeTimeGMT(2038, 1, 19, 3, 14, 7), 2147483647);
    EXPECT_EQ(TimeHelper::MakeTimeGMT(2038, 1, 19, 3, 14, 8), -1);
    EXPECT_EQ(TimeHelper::MakeTimeGMT(1969, 12, 31, 23, 59, 59), -1);
    EXPECT_TRUE(TakeDiagnostics().empty());
    EXPECT_EQ(TimeHelper::GetWeekDay(-1), -1);
    EXPECT_EQ(TakeDiagnostics(),
              std::vector<std::string>{"assert TimeHelper::GetTmTime: err == 0"});
}

constexpr int kNoMode = -1;

enum Library { noLibrary, noMarketInfo, answering };

struct Conversion {
    const char* what;
    int mode; // 0 local, 1 GMT, 2 exchange; kNoMode: the library does not answer
    TimeValue time, displayed;
    bool daylight = false;
    const char* symbol = "IBM";
    ComputerZoneState computer = czsStandard;
    bool localDaylight = false;
    Library library = answering;
    // A text that the assertion reports hold; without one, no report and the way back is exact.
    const char* diagnostics = "";
};

const Conversion kConversions[] = {
    {"local: the computer's offset of now", 0, kSummer, kSummer - 18000},
    {"local: a winter time in daylight time", 0, kWinter, kWinter - 14400, false, "IBM",
     czsDaylight},
    {"local: daylight from the local breakdown", 0, kWinter, kWinter - 18000, true, "IBM",
     czsStandard, true},
    {"local: a zone without a daylight rule", 0, kWinter, kWinter - 18000, false, "IBM", czsUnknown,
     false, answering, "assert TimeHelper::TransferTime: ret != TIME_ZONE_ID_UNKNOWN"},
    {"local: an empty symbol", 0, kSummer, kSummer - 18000, false, "", czsStandard, false,
     answering, "assert TimeHelper::TransferTime: (symbol && strlen(symbol))"},
    {"exchange: winter", 2, kWinter, kWinter - 300 * 60},
    {"exchange: summer", 2, kSummer, kSummer - 240 * 60, true},
    {"exchange: a zone the library does not know uses the symbol's offsets", 2, kWinter,
     kWinter + 3600, false, "VOD"},
    {"exchange: no market information", 2, kSummer, kSummer, false, "IBM", czsStandard, false,
     noMarketInfo, "assert TimeHelper::TransferTime: mktInfo|assert TimeHelper::IsDst: mktInfo"},
    {"no answer is exchange", kNoMode, kSummer, kSummer - 240 * 60, true},
    {"GMT", 1, kSummer, kSummer},
    {"an unknown mode", 7, kSummer, kSummer, false, "IBM", czsStandard, false, answering,
     "assert TimeHelper::TransferTime: 0|assert TimeHelper::IsDst: 0"},
    {"no data manager converts nothing", kNoMode, kSummer, kSummer, false, "IBM", czsStandard,
     false, noLibrary},
};

class TimeHelperTest : public ::testing::TestWithParam<Conversion> {};

TEST_P(TimeHelperTest, DisplayTimeAndDaylight) {
    const Conversion& c = GetParam();
    SCOPED_TRACE(c.what);
    fake::FakeMondrel dataManager;
    Mondrel* manager = c.library == noLibrary ? nullptr : &dataManager;
    FakeComputerZone computer;
    if (c.mode != kNoMode) {
        dataManager.intOptions[moTimeZoneMode] = c.mode;
    }
    dataManager.marketInfo.timeZones["IBM"] = 7;
    dataManager.marketInfo.timeOffsets["VOD"] = {60, 0};
    dataManager.marketInfoAvailable = c.library == answering;
    // Daylight time from 2009-03-08 07:00 to 2009-11-01 06:00.
    SetExchangeClock(dataManager.marketInfo, -300, 1236495600, 1257055200);
    computer.state = c.computer;
    computer.localDaylight = c.localDaylight;
    TakeDiagnostics();
    EXPECT_EQ(TimeHelper::ToDisplayTime(manager, c.time, c.symbol), c.displayed);
    EXPECT_EQ(TimeHelper::IsDst(manager, c.symbol, c.time), c.daylight);
    std::string diagnostics;
    for (const std::string& line : TakeDiagnostics()) {
        diagnostics += (diagnostics.empty() ? "" : "|") + line;
    }
    if (*c.diagnostics == 0) {
        EXPECT_EQ(diagnostics, "");
        EXPECT_EQ(TimeHelper::FromDisplayTime(manager, c.displayed, c.symbol), c.time);
    } else {
        EXPECT_NE(diagnostics.find(c.diagnostics), std::string::npos) << diagnostics;
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, TimeHelperTest, ::testing::ValuesIn(kConversions));

} // namespace
