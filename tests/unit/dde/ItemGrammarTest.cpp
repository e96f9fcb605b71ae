// What the three topics make of item strings: accepted layouts, refusals with their log lines and
// the session windows of minute bars.
#include "ComputerTimeZone.h"
#include "ServerFixture.h"
#include "SessionWindow.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// A computer zone with a fixed bias and no daylight time.
class FixedZone final : public ComputerTimeZone {
public:
    explicit FixedZone(std::int32_t bias) : m_bias(bias) {}
    ComputerZoneState GetTimeZoneInformation(std::int32_t* bias) override {
        *bias = m_bias;
        return czsStandard;
    }
    bool LocalTime(std::int64_t, std::tm*) override { return false; }

private:
    std::int32_t m_bias;
};

// 2026-03-10 15:00:00 UTC.
constexpr std::int32_t kNow = 1773154800;

} // namespace

class ItemGrammarTest : public ServerTest {
protected:
    // Requests the item in a new conversation on the topic; true when it was served.
    bool Served(const std::string& topic, const std::string& item) {
        HCONV hconv = model.Connect("Zanvo", topic);
        EXPECT_TRUE(hconv);
        return model.Request(hconv, item).has_value();
    }
};

// Items refused with exactly one log line, before anything is subscribed (hostile items, sent end
// to end by hostile-test.sh and fuzzed by FuzzDdeItem, take the same paths).
TEST_F(ItemGrammarTest, RefusedItemsLogTheirOneLine) {
    const std::string split = "DdeServer::SplitDdeRequest", bars = "DdeServer::CreateBarTopic",
                      snapshot = "DdeServer::CreateSnapshotTopic",
                      ticks = "DdeServer::CreateTickTopic";
    const std::string unsupported = "Error: Unable to create topic - Unsupported parameter ";
    const std::string field = "Error: Unable to create topic: Unsupported field ";
    const struct {
        const char* topic;
        std::string item;
        std::string function;
        std::string line;
    } cases[] = {
        {"Snapshot", "IBM, ,B", split, "Error: 'IBM, ,B' request contain empty parameter\n"},
        {"Bars", " ,5,10,C", split, "Error: ' ,5,10,C' request contain empty parameter\n"},
        {"TS", "IBM,10,P,\t", split, "Error: 'IBM,10,P,\t' request contain empty parameter\n"},
        {"Snapshot", ",,,", snapshot, "Error: Too little parameters\n"},
        {"Bars", "IBM,5,10", bars, "Error: Too little parameters\n"},
        {"TS", "IBM,10", ticks, "Error: Too little parameters\n"},
        {"Bars", "IBM,5,10,dx", bars, field + "'X'\n"},
        {"TS", "IBM,10,DTX", ticks, field + "'X'\n"},
        {"TS", "IBM,10,O", ticks, field + "'O'\n"}, // bar letters are no tick fields
        {"Snapshot", "IBM,B,Bid", snapshot, unsupported + "('BID')\n"},
        {"Bars", "IBM,D,10,C,9:30-16:00", bars, unsupported + "('9:30-16:00')\n"},
        {"TS", "IBM,10,P,FILL", ticks, unsupported + "('FILL')\n"},
        {"TS", "IBM,10,P,9:30-16:00", ticks, unsupported + "('9:30-16:00')\n"},
        {"TS", "IBM,1,P,%n%s%x", ticks, unsupported + "('%N%S%X')\n"},
        {"Bars", "IBM,5,10,C,9:30", bars,
         "Error: Unable to create topic - Unsupported session format ('9:30')\n"},
        {"TS", "IBM,99999999999,P", ticks,
         "Error: Unable to create topic - Count 2147483647 is more than 100000 rows\n"},
    };
    for (const auto& c : cases) {
        fake::LogCapture::Clear();
        EXPECT_FALSE(Served(c.topic, c.item)) << c.item;
        EXPECT_THAT(fake::LogCapture::Lines(), ElementsAre(fake::Reported(c.function, c.line)))
            << c.item;
    }
    EXPECT_THAT(DmCalls("SubscribeQuote"), IsEmpty());
    EXPECT_THAT(DmCalls("Request"), IsEmpty());
    // Runs of commas and a trailing comma give no empty parameter.
    EXPECT_TRUE(Served("TS", " ibm ,,10,p,"));
    EXPECT_THAT(DmCalls("RequestTicks"), ElementsAre("RequestTicks(IBM)"));
}

TEST_F(ItemGrammarTest, BarOptionsAndLayout) {
    HCONV hconv = Connect("Bars");
    EXPECT_EQ(Text(model.Request(hconv, "IBM,d,3,CC,REVERSE,fill,HEADERS,ALLSESSIONS,FILL")),
              "Close\tClose\n\n\n\n");
    EXPECT_TRUE(Served("Bars", "IBM,1,10,C,ALLSESSIONS,9:30-16:00,FILL"));
    EXPECT_THAT(DmCalls("RequestBars"), ElementsAre("RequestBars(IBM,-1)", "RequestBars(IBM,1)"));
}

TEST_F(ItemGrammarTest, SessionWindowsInUtcStartWithinTheDayAndKeepTheirLength) {
    FixedZone behind(300);
    FixedZone ahead(-120);
    struct Row {
        ComputerTimeZone* zone; // GMT without one
        SessionWindow window;
        std::int32_t start;
        std::int32_t end;
    };
    const Row rows[] = {
        {nullptr, {9, 30, 16, 0}, 34200, 57600},
        // Crossing midnight UTC once converted: the end lies on the next UTC day.
        {&behind, {20, 0, 23, 0}, 3600, 14400},
        {&ahead, {1, 0, 8, 0}, 82800, 108000},
        // Backwards in the display zone: the end stays before the start, for the supplier.
        {&ahead, {16, 0, 9, 30}, 50400, 27000},
        // Numbers far outside a day, without overflow.
        {&ahead, {99999, 99999, 1, 1}, 85140, -365907540},
        {&ahead, {-1, -1, -1, -1}, 75540, 75540},
        {&ahead, {2147483647, 2147483647, 0, 0}, 25620, -2147483647 - 1},
    };
    for (const Row& row : rows) {
        dm->intOptions[moTimeZoneMode] = row.zone ? 0 : 1;
        SetComputerTimeZone(row.zone);
        const UtcSessionWindow utc = SessionWindowUtc(row.window, kNow, "IBM");
        EXPECT_EQ(utc.start, row.start) << row.window.startHour << ":" << row.window.startMinute;
        EXPECT_EQ(utc.end, row.end) << row.window.endHour << ":" << row.window.endMinute;
    }
    SetComputerTimeZone(nullptr);
}
