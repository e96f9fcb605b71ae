// What the three topics' grammars make of item strings, read without a server: accepted layouts,
// refusals with their log lines and the session windows of minute bars.
#include "DdeServer.h"
#include "FakeComputerZone.h"
#include "FormatTestSupport.h"
#include "SessionWindow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

using ::testing::ElementsAre;

namespace {

using Strings = std::vector<std::string>;

// 2026-03-10 15:00:00 UTC.
constexpr std::int32_t kNow = 1773154800;

// Whether the topic's grammar accepts the item.
bool Reads(const std::string& topic, const std::string& item) {
    return topic == "Bars" ? DdeServer::CreateBarTopic(item, nullptr, nullptr).has_value()
           : topic == "TS" ? DdeServer::CreateTickTopic(item, nullptr).has_value()
                           : DdeServer::CreateSnapshotTopic(item, nullptr).has_value();
}

} // namespace

// Beside the refusals that hostile-test.sh checks end to end; hostile items take the same paths
// under FuzzDdeItem.
TEST(ItemGrammar, RefusesWithExactlyTheLineOfItsCause) {
    const std::string split = "log DdeServer::SplitDdeRequest: Error: ",
                      bars = "log DdeServer::CreateBarTopic: Error: ",
                      snapshot = "log DdeServer::CreateSnapshotTopic: Error: ",
                      ticks = "log DdeServer::CreateTickTopic: Error: ";
    const std::string unsupported = "Unable to create topic - Unsupported parameter ";
    const std::string field = "Unable to create topic: Unsupported field ";
    const struct {
        const char* topic;
        std::string item;
        std::string line;
    } rows[] = {
        {"TS", "IBM,10,P,\t", split + "'IBM,10,P,\t' request contain empty parameter\n"},
        {"Snapshot", ",,,", snapshot + "Too little parameters\n"},
        {"Bars", "IBM,5,10", bars + "Too little parameters\n"},
        {"TS", "IBM,10", ticks + "Too little parameters\n"},
        {"Bars", "IBM,5,10,dx", bars + field + "'X'\n"},
        {"TS", "IBM,10,O", ticks + field + "'O'\n"}, // bar letters are no tick fields
        {"Bars", "IBM,D,10,C,9:30-16:00", bars + unsupported + "('9:30-16:00')\n"},
        {"TS", "IBM,10,P,FILL", ticks + unsupported + "('FILL')\n"},
        {"TS", "IBM,10,P,9:30-16:00", ticks + unsupported + "('9:30-16:00')\n"},
    };
    TakeDiagnostics();
    for (const auto& row : rows) {
        EXPECT_FALSE(Reads(row.topic, row.item)) << row.item;
        EXPECT_EQ(TakeDiagnostics(), Strings{row.line}) << row.item;
    }
}

TEST(ItemGrammar, ReadsOptionsInAnyCaseAndOrder) {
    DisplayZone gmt(1, 0);
    TakeDiagnostics();
    // Runs of commas and a trailing comma give no empty parameter.
    const auto ticks = DdeServer::CreateTickTopic(" ibm ,,10,p,Reverse,", nullptr).value();
    EXPECT_EQ(std::tie(ticks.request.symbol, ticks.format.count, ticks.format.reverse),
              std::make_tuple(std::string("IBM"), 10, true));
    EXPECT_THAT(ticks.format.fields, ElementsAre(tfPrice));
    const auto daily = DdeServer::CreateBarTopic("IBM,d,3,CC,REVERSE,fill,HEADERS,ALLSESSIONS,FILL",
                                                 &gmt.manager, nullptr)
                           .value();
    EXPECT_EQ(std::tie(daily.request.interval, daily.request.fill, daily.request.customSession,
                       daily.format.headers, daily.format.reverse),
              std::make_tuple(-1, true, false, true, true));
    EXPECT_THAT(daily.format.fields, ElementsAre(bfClose, bfClose));
    const auto minutes =
        DdeServer::CreateBarTopic("IBM,1,10,C,9:30-16:00", &gmt.manager, nullptr).value();
    EXPECT_EQ(std::tie(minutes.request.customSession, minutes.request.sessionStart,
                       minutes.request.sessionEnd),
              std::make_tuple(true, 34200, 57600));
    const auto snapshot = DdeServer::CreateSnapshotTopic("ibm,b,Vertical,a,B", nullptr).value();
    EXPECT_TRUE(snapshot.symbol == "IBM" && snapshot.format.vertical && !snapshot.format.headers);
    EXPECT_THAT(snapshot.format.fields, ElementsAre(10, 11, 10));
    EXPECT_EQ(TakeDiagnostics(), Strings{});
}

TEST(ItemGrammar, SessionWindowsInUtcStartWithinTheDayAndKeepTheirLength) {
    // Shown in the computer's zone.
    DisplayZone local(0, 0);
    FakeComputerZone zone;
    struct Row {
        std::int32_t bias; // minutes west of UTC
        SessionWindow window;
        std::int32_t start;
        std::int32_t end;
    };
    const Row rows[] = {
        // Crossing midnight UTC once converted: the start lies on the day before.
        {-120, {1, 0, 8, 0}, 82800, 108000},
        // Backwards in the display zone: the end stays before the start, for the supplier.
        {-120, {16, 0, 9, 30}, 50400, 27000},
        // Numbers far outside a day, without overflow.
        {-120, {99999, 99999, 1, 1}, 85140, -365907540},
        {-120, {-1, -1, -1, -1}, 75540, 75540},
        {-120, {2147483647, 2147483647, 0, 0}, 25620, -2147483647 - 1},
    };
    for (const Row& row : rows) {
        zone.bias = row.bias;
        const UtcSessionWindow utc = SessionWindowUtc(&local.manager, row.window, kNow, "IBM");
        EXPECT_EQ(utc.start, row.start) << row.window.startHour << ":" << row.window.startMinute;
        EXPECT_EQ(utc.end, row.end) << row.window.endHour << ":" << row.window.endMinute;
    }
}
